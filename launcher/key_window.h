// The window in which the players choose their own battle keys: a key is bound by pressing
// it, a key bound already (or kept by the game: Return, Escape, P) is refused, "Standard"
// brings back the usual keys, "Speichern" stores them in the settings file.
#pragma once

#include <QWidget>
#include <array>
#include <optional>
#include <string>

#include "basis/key_bindings.h"
#include "settings/settings_store.h"

class QLabel;
class QPushButton;

class KeyWindow : public QWidget {
 public:
  // A window of its own above `parent`, hidden until open().
  KeyWindow(QWidget* parent, SettingsStore& store, std::string settingsFile);

  // Shows the keys stored in the settings file.
  void open();

  QPushButton* keyButton(int player, int control) const;
  QPushButton* defaultsButton() const { return defaults_; }
  QPushButton* saveButton() const { return save_; }
  QPushButton* cancelButton() const { return cancel_; }
  QString message() const;
  const KeyBindings& bindings() const { return bindings_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // However it is closed, a window waiting for a key gives the keyboard back.
  void hideEvent(QHideEvent* event) override;

 private:
  struct Slot {
    int player, control;
  };

  void createRows();
  void await(Slot slot);
  void take(int code);
  void stopWaiting(const QString& message);
  std::optional<Slot> holder(int code) const;
  void showKeys();
  void saveAndClose();

  SettingsStore& store_;
  std::string settingsFile_;
  KeyBindings bindings_ = kDefaultKeyBindings;
  std::array<std::array<QPushButton*, kControlsPerPlayer>, 2> buttons_{};
  QPushButton* defaults_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QLabel* message_ = nullptr;
  std::optional<Slot> waiting_;
};
