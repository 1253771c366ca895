// The window "Wiederholungen": one line per kept replay (date, mode, ship classes, result,
// length), to watch one, delete one or open the folder in the desktop's file manager. It is
// reached from the launcher window's menu (right click, or Ctrl+R) and moves none of the
// launcher's controls.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "replay/replay_file.h"

class QFont;
class QPushButton;
class QTableWidget;
class QWidget;

// The line's texts for one replay.
struct ReplayLine {
  std::string mode, ships, result, length;
};
ReplayLine replayLine(const Replay& replay);

class ReplayWindow {
 public:
  ReplayWindow(std::string folder, const QFont& font);
  ~ReplayWindow();
  ReplayWindow(const ReplayWindow&) = delete;
  ReplayWindow& operator=(const ReplayWindow&) = delete;

  // Reads the folder again and shows the window.
  void show();
  void hide();
  QWidget* widget() const { return window_.get(); }
  QTableWidget* list() const { return list_; }
  QPushButton* watchButton() const { return watch_; }
  QPushButton* deleteButton() const { return delete_; }
  QPushButton* folderButton() const { return folder_; }
  // The replay file "Ansehen" chose, once it was read whole.
  const std::optional<std::string>& chosen() const { return chosen_; }
  // What "Ordner öffnen" hands the folder's absolute path to; the desktop's file manager
  // unless a test says otherwise. False when it could not be opened.
  void setFolderOpener(std::function<bool(const std::string&)> opener) {
    opener_ = std::move(opener);
  }

 private:
  void fill();
  std::string selectedFile() const;
  void watchSelected();
  void deleteSelected();
  void openFolder();

  std::string folderPath_;
  std::unique_ptr<QWidget> window_;
  QTableWidget* list_ = nullptr;
  QPushButton* watch_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* folder_ = nullptr;
  std::optional<std::string> chosen_;
  std::function<bool(const std::string&)> opener_;
};
