// The options window: sound, volumes, the number of enemies and the range of a cannonball,
// on three tab pages, loaded from and saved to the group "Allgemein".
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyleOption>
#include <QTabWidget>
#include <QWidget>

#include "launcher/controls.h"
#include "launcher/key_window.h"
#include "launcher/launcher.h"
#include "launcher/launcher_resources.h"
#include "launcher/number_text.h"
#include "launcher/translated.h"
#include "settings/captain_settings.h"
#include "settings/language_settings.h"
#include "settings/network_settings.h"
#include "settings/settings_text.h"

using namespace launcher_ids;

namespace {

// Arrows narrower than the style's own, and a thinner frame, so that a digit in the large
// font fits the small box beside them.
class NarrowArrowsStyle : public QProxyStyle {
 public:
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                       const QWidget* widget) const override {
    if (control != CC_SpinBox) return QProxyStyle::subControlRect(control, option, part, widget);
    const QRect box = option->rect;
    const int arrowsX = box.right() - kArrowWidth + 1;
    const int half = box.height() / 2;
    switch (part) {
      case SC_SpinBoxUp:
        return {arrowsX, box.top(), kArrowWidth, half};
      case SC_SpinBoxDown:
        return {arrowsX, box.top() + half, kArrowWidth, box.height() - half};
      case SC_SpinBoxEditField:
        return box.adjusted(kFrame, kFrame, -kArrowWidth - kFrame, -kFrame);
      default:
        return QProxyStyle::subControlRect(control, option, part, widget);
    }
  }

 private:
  static constexpr int kArrowWidth = 10;
  static constexpr int kFrame = 2;
};

// Its number changes by the arrows only; nothing can be typed into it.
class ArrowsOnlySpinBox : public QSpinBox {
 public:
  explicit ArrowsOnlySpinBox(QWidget* parent) : QSpinBox(parent) {
    lineEdit()->setReadOnly(true);
    auto* style = new NarrowArrowsStyle;
    style->setParent(this);
    setStyle(style);
    setAlignment(Qt::AlignCenter);
  }
};

QWidget* addPage(QTabWidget* tabs, const QString& title) {
  auto* page = new QWidget;
  tabs->addTab(page, title);
  return page;
}

}  // namespace

void Launcher::createVolumeSlider(QWidget* page, int n, int y) {
  auto* slider = controls_->add(n, new QSlider(Qt::Horizontal, page), QRect(8, y, 165, 25));
  slider->setRange(0, 100);
}

void Launcher::createOptionsWindow() {
  QWidget* window = controls_->createWindow(kOptionsWindow, translated("Options", "Einstellungen"),
                                            {211, 220}, std::nullopt);
  controls_->createButton(window, kOptionsSaveButton, QRect(110, 190, 95, 25),
                          translated("Options", "Speichern"));
  controls_->createButton(window, kOptionsCancelButton, QRect(45, 190, 60, 25),
                          translated("Options", "Abbrechen"));
  controls_->setEscapeControl(kOptionsWindow, kOptionsCancelButton);
  auto* tabs = controls_->add(kOptionsTabs, new QTabWidget(window), QRect(5, 5, 200, 180));

  QWidget* sound = addPage(tabs, translated("Options", "Sound"));
  auto* soundBox = controls_->add(
      kSoundBox, new QCheckBox(translated("Options", "Sound an"), sound), QRect(58, 3, 80, 15));
  QObject::connect(soundBox, &QCheckBox::clicked, [this] { controls_->report(kSoundBox); });
  controls_->createLabel(sound, kShotVolumeLabel, QRect(8, 28, 180, 15),
                         translated("Options", "Schuss Lautstärke:"));
  createVolumeSlider(sound, kShotVolume, 48);
  controls_->createLabel(sound, kHitVolumeLabel, QRect(8, 88, 180, 15),
                         translated("Options", "Treffer Lautstärke:"));
  createVolumeSlider(sound, kHitVolume, 108);

  QWidget* enemies = addPage(tabs, translated("Options", "Gegner"));
  auto* count = controls_->add(kEnemyCount, new ArrowsOnlySpinBox(enemies), QRect(93, 10, 30, 25));
  count->setRange(1, 3);
  count->setFont(resources_->classTitleFont);
  QObject::connect(count, &QSpinBox::valueChanged, [this] { controls_->report(kEnemyCount); });
  controls_->createLabel(enemies, kEnemyCountLabel, QRect(13, 15, 70, 15),
                         translated("Options", "Gegneranzahl:"), Qt::AlignLeft);
  createCaptainLevel(enemies);
  // Network battles, in the page's free space below: this player's input delay in frames.
  auto* delayLabel = new QLabel(translated("Options", "Netzwerk: Verzögerung"), enemies);
  delayLabel->setGeometry(13, 90, 120, 15);
  inputDelayBox_ = new ArrowsOnlySpinBox(enemies);
  inputDelayBox_->setGeometry(133, 85, 30, 25);
  inputDelayBox_->setRange(0, kMaxInputDelay);
  createLanguageChoice(enemies);

  QWidget* gameplay = addPage(tabs, translated("Options", "Gameplay"));
  controls_
      ->createLabel(gameplay, kRangeHeading, QRect(3, 3, 185, 20),
                    translated("Options", "Schussentfernung:"))
      ->setFont(resources_->headingFont);
  for (int n : {kUnlimitedRange, kLimitedRange}) {
    const bool unlimited = n == kUnlimitedRange;
    auto* option = controls_->add(n,
                                  new QRadioButton(unlimited ? translated("Options", "Unendlich")
                                                             : translated("Options", "Begrenzt"),
                                                   gameplay),
                                  QRect(58, unlimited ? 28 : 48, 75, 15));
    QObject::connect(option, &QRadioButton::clicked, [this, n] { controls_->report(n); });
  }
  controls_->createLabel(gameplay, kRangeLabel, QRect(3, 73, 185, 15),
                         translated("Options", "Distanz bis Schüsse gelöscht werden:"));
  QLineEdit* range = controls_->createEdit(gameplay, kRangeField, QRect(63, 93, 60, 15));
  QObject::connect(range, &QLineEdit::textChanged, [range](const QString& text) {
    markStoredValue(range, rangeStoredValue(text.toStdString()));
  });
  createKeyWindow(window, gameplay);
}

// Under the enemy count: how well the computer's captains fight, in the order of the levels.
void Launcher::createCaptainLevel(QWidget* page) {
  controls_->createLabel(page, kCaptainLevelLabel, QRect(13, 50, 70, 15),
                         translated("Options", "Stärke:"), Qt::AlignLeft);
  auto* level = controls_->add(kCaptainLevel, new QComboBox(page), QRect(93, 45, 85, 25));
  level->addItem(translated("Options", "Leicht"), kStufeLeicht);
  level->addItem(translated("Options", "Normal"), kStufeNormal);
  level->addItem(translated("Options", "Schwer"), kStufeSchwer);
}

// Below the network delay, where the page has room. The names of the languages stay as each
// language writes itself, so that a player finds their own.
void Launcher::createLanguageChoice(QWidget* page) {
  auto* label = new QLabel(translated("Options", "Sprache:"), page);
  label->setGeometry(13, 123, 75, 15);
  languageBox_ = new QComboBox(page);
  languageBox_->setGeometry(93, 118, 95, 25);
  languageBox_->addItem(translated("Options", "Automatisch"), kLanguageAutomatic);
  languageBox_->addItem(QStringLiteral("Deutsch"), kLanguageGerman);
  languageBox_->addItem(QStringLiteral("English"), kLanguageEnglish);
}

// Below the range, where the page has room: the way to the players' own keys.
void Launcher::createKeyWindow(QWidget* optionsWindow, QWidget* page) {
  keyWindow_ = new KeyWindow(optionsWindow, store_, settingsFile_);
  auto* open = new QPushButton(translated("Options", "Tasten …"), page);
  open->setGeometry(48, 118, 95, 25);
  open->setAutoDefault(false);
  QObject::connect(open, &QPushButton::clicked, keyWindow_, &KeyWindow::open);
}

void Launcher::loadOptions() {
  const GameOptions options = ::loadOptions(store_, settingsFile_);
  const int chosen = options.Option == 1 ? kLimitedRange : kUnlimitedRange;
  controls_->get<QRadioButton>(chosen)->setChecked(true);
  controls_->get<QLineEdit>(kRangeField)
      ->setText(QString::fromStdString(settings::formatInt(options.Reichweite)));
  // Stored values outside a control's range show as the nearest value the control has.
  controls_->get<QCheckBox>(kSoundBox)->setChecked(options.Sound == 1);
  controls_->get<QSlider>(kShotVolume)->setValue(options.SchussLautstaerke);
  controls_->get<QSlider>(kHitVolume)->setValue(options.TrefferLautstaerke);
  controls_->get<QSpinBox>(kEnemyCount)->setValue(options.Gegneranzahl);
  inputDelayBox_->setValue(loadInputDelay(store_, settingsFile_));
  auto* level = controls_->get<QComboBox>(kCaptainLevel);
  level->setCurrentIndex(level->findData(loadCaptainLevel(store_, settingsFile_)));
  languageBox_->setCurrentIndex(languageBox_->findData(loadLanguageChoice(store_, settingsFile_)));
}

bool Launcher::saveOptions() {
  GameOptions options;
  options.Option = spiel_.Option;
  options.Sound = controls_->get<QCheckBox>(kSoundBox)->isChecked() ? 1 : 0;
  const QByteArray range = controls_->get<QLineEdit>(kRangeField)->text().toUtf8();
  options.Reichweite = rangeNumber(std::string_view(range.data(), range.size()));
  options.SchussLautstaerke = controls_->get<QSlider>(kShotVolume)->value();
  options.TrefferLautstaerke = controls_->get<QSlider>(kHitVolume)->value();
  options.Gegneranzahl = controls_->get<QSpinBox>(kEnemyCount)->value();
  const int32_t level = controls_->get<QComboBox>(kCaptainLevel)->currentData().toInt();
  const int32_t language = languageBox_->currentData().toInt();
  const bool changed = language != loadLanguageChoice(store_, settingsFile_);
  const bool done = saved(::saveOptions(store_, options, settingsFile_) &&
                              saveCaptainLevel(store_, level, settingsFile_),
                          kOptionsWindow) &&
                    saved(saveInputDelay(store_, inputDelayBox_->value(), settingsFile_) &&
                              saveLanguageChoice(store_, language, settingsFile_),
                          kOptionsWindow);
  languageChanged_ = done && changed;
  return done;
}

void Launcher::updateOptions() {
  if (controls_->get<QRadioButton>(kLimitedRange)->isChecked()) {
    controls_->control(kRangeField)->setEnabled(true);
    spiel_.Option = 1;
  } else if (controls_->get<QRadioButton>(kUnlimitedRange)->isChecked()) {
    controls_->control(kRangeField)->setEnabled(false);
    spiel_.Option = 0;
  }
  controls_->control(kShotVolume)->setEnabled(soundBox_ == 1);
  controls_->control(kHitVolume)->setEnabled(soundBox_ == 1);
}
