// The ship editor window: the eight values of each of the eight classes as edit fields,
// loaded from and saved to the settings file.
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "launcher/controls.h"
#include "launcher/launcher.h"
#include "launcher/launcher_resources.h"
#include "launcher/number_text.h"
#include "launcher/translated.h"

using namespace launcher_ids;

namespace {

struct EditorField {
  const char* label;
  float SchiffsTyp::*value;
};

// Top to bottom within each class panel.
constexpr std::array<EditorField, 8> kFields = {{
    {QT_TRANSLATE_NOOP("ShipEditor", "Beschleunigung:"), &SchiffsTyp::Beschleunigung},
    {QT_TRANSLATE_NOOP("ShipEditor", "TopSpeed:"), &SchiffsTyp::TopSpeed},
    {QT_TRANSLATE_NOOP("ShipEditor", "Health:"), &SchiffsTyp::Health},
    {QT_TRANSLATE_NOOP("ShipEditor", "SchussTempo:"), &SchiffsTyp::SchussTempo},
    {QT_TRANSLATE_NOOP("ShipEditor", "Kanonenanzahl:"), &SchiffsTyp::KanonenAnzahl},
    {QT_TRANSLATE_NOOP("ShipEditor", "Schaden:"), &SchiffsTyp::Schaden},
    {QT_TRANSLATE_NOOP("ShipEditor", "Manövrierbarkeit:"), &SchiffsTyp::Manoevrierfaehigkeit},
    {QT_TRANSLATE_NOOP("ShipEditor", "Nachladezeit:"), &SchiffsTyp::Nachladezeit},
}};

constexpr int kDamageField = 5;  // sits one pixel below its label

QPoint panelOrigin(int klasse) { return {5 + 145 * (klasse % 4), 5 + 195 * (klasse / 4)}; }

}  // namespace

void Launcher::createShipEditor() {
  QWidget* window = controls_->createWindow(
      kShipEditorWindow, translated("ShipEditor", "Schiffe Anpassen"), {585, 426}, std::nullopt);
  for (int k = 0; k < kKlassenAnzahl; ++k) {
    const QPoint at = panelOrigin(k);
    auto* frame = controls_->add(editorFrame(k), new QFrame(window), QRect(at, QSize(140, 190)));
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    QLabel* title =
        controls_->createLabel(window, editorTitle(k), QRect(at + QPoint(5, 5), QSize(130, 20)),
                               translated("ShipEditor", "Schiff %1").arg(k + 1));
    title->setFont(resources_->classTitleFont);
    for (int j = 0; j < 8; ++j) {
      controls_->createLabel(window, editorLabel(k, j),
                             QRect(at + QPoint(5, 30 + 20 * j), QSize(80, 15)),
                             translated("ShipEditor", kFields[j].label));
    }
    for (int j = 0; j < 8; ++j) {
      const int y = 30 + 20 * j + (j == kDamageField ? 1 : 0);
      QLineEdit* field = controls_->createEdit(window, editorField(k, j),
                                               QRect(at + QPoint(95, y), QSize(40, 15)));
      // Before "Speichern" the player sees what a text will be stored as.
      QObject::connect(field, &QLineEdit::textChanged, [field](const QString& text) {
        markStoredValue(field, editorStoredValue(text.toStdString()));
      });
    }
  }
  controls_->createButton(window, kEditorSaveButton, QRect(465, 395, 115, 25),
                          translated("ShipEditor", "Speichern"));
  controls_->createButton(window, kEditorCancelButton, QRect(390, 395, 70, 25),
                          translated("ShipEditor", "Abbrechen"));
  controls_->setEscapeControl(kShipEditorWindow, kEditorCancelButton);
}

void Launcher::loadShipEditor() {
  const std::array<SchiffsTyp, 8> classes = ::loadShipClasses(store_, settingsFile_);
  for (int k = 0; k < kKlassenAnzahl; ++k) {
    for (int j = 0; j < 8; ++j) {
      const std::string text = classValueText(classes[k].*kFields[j].value);
      auto* field = controls_->get<QLineEdit>(editorField(k, j));
      field->setText(QString::fromStdString(text));
      field->setCursorPosition(0);  // most values are wider than the field: show their start
    }
  }
}

bool Launcher::saveShipEditor() {
  std::array<SchiffsTyp, 8> classes{};
  for (int k = 0; k < kKlassenAnzahl; ++k) {
    for (int j = 0; j < 8; ++j) {
      const QByteArray text = controls_->get<QLineEdit>(editorField(k, j))->text().toUtf8();
      classes[k].*kFields[j].value = editorNumber(std::string_view(text.data(), text.size()));
    }
  }
  return saved(::saveShipClasses(store_, classes, settingsFile_), kShipEditorWindow);
}
