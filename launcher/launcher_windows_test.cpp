// The launcher's windows on Qt's offscreen platform, driven through real widget events.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "assets/embedded.h"
#include "launcher/jpeg_picture.h"
#include "launcher/key_names.h"
#include "launcher/key_window.h"
#include "launcher/launcher.h"
#include "launcher/launcher_numbers.h"
#include "launcher/network_lobby.h"
#include "launcher/replay_window.h"
#include "media/headless.h"
#include "replay/replay_folder.h"
#include "replay/replay_texts.h"
#include "settings/language_settings.h"
#include "settings/settings_test_util.h"

namespace {

using namespace launcher_ids;
using settings_test::crlfLines;
using settings_test::readBytes;
using settings_test::writeBytes;

class LauncherTest : public ::testing::Test {
 protected:
  settings_test::TempDir dir;
  std::string file = dir.file();
  Spiel spiel;
  Media media{std::make_unique<HeadlessBackend>(), 11};
  Launcher launcher{spiel, media, file};

  void SetUp() override {
    launcher.start();
    EXPECT_EQ(launcher.pass(0), std::nullopt);
  }

  template <class Widget = QWidget>
  Widget* control(int n) {
    auto* widget = qobject_cast<Widget*>(launcher.control(n));
    EXPECT_NE(widget, nullptr) << "control " << n;
    return widget;
  }

  // Turns the loop until every queued event is handled; the result once the run ends.
  std::optional<int32_t> drain() {
    for (int i = 0; i < 8; ++i) {
      if (std::optional<int32_t> result = launcher.pass(0)) return result;
    }
    return std::nullopt;
  }

  std::optional<int32_t> click(int n) {
    QTest::mouseClick(launcher.control(n), Qt::LeftButton);
    return drain();
  }

  std::optional<int32_t> clickRow(int row, bool twice = false) {
    auto* list = control<QTableWidget>(kShipList);
    const QPoint at = list->visualItemRect(list->item(row, 3)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    return drain();
  }

  void type(int n, const QString& text) {
    auto* edit = control<QLineEdit>(n);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }

  // Clicks control n; the text of the message box that the click opened, which is closed
  // again, or an empty text when none opened.
  QString clickAndReadBox(int n) {
    return readBoxAfter([this, n] { click(n); });
  }

  // The text of the message box that `act` opened, closed again; empty when none opened.
  QString readBoxAfter(const std::function<void()>& act) {
    QString text;
    QTimer answer;  // looks for the box until it comes up
    QObject::connect(&answer, &QTimer::timeout, [&text, &answer] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        text = box->text();
        box->accept();
        answer.stop();
      }
    });
    answer.start(5);
    act();
    return text;
  }

  std::optional<int32_t> closeWindow(int n) {
    launcher.window(n)->close();
    return drain();
  }

  bool shown(int n) { return launcher.window(n)->isVisible(); }
  QString fieldText(int k, int j) { return control<QLineEdit>(editorField(k, j))->text(); }
  QString windowTitle(int n) { return launcher.window(n)->windowTitle(); }
};

// Every cell's text is shown whole: it fits between the margins the item views keep, and
// the list scrolls sideways only when its columns cannot fit together. The total width when
// they must fit.
int expectCellsWhole(const QTableWidget* list) {
  const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
  int total = 0;
  for (int c = 0; c < list->columnCount(); ++c) {
    total += list->columnWidth(c);
    for (int row = 0; row < list->rowCount(); ++row) {
      const QString text = list->item(row, c)->text();
      EXPECT_LE(list->fontMetrics().horizontalAdvance(text) + margins, list->columnWidth(c))
          << text.toStdString() << " in column " << c;
    }
    const QString title = list->horizontalHeaderItem(c)->text();
    EXPECT_LE(list->horizontalHeader()->fontMetrics().horizontalAdvance(title) + margins,
              list->columnWidth(c))
        << title.toStdString();
  }
  return total;
}

// Every text of a window is shown whole in its control's own font: labels (wrapped ones in
// their height), buttons, check and option boxes beside their mark, choices beside the
// arrow, tabs within their panel, list cells and field hints.
void expectTextsFit(const QWidget* window) {
  const QString name = window->windowTitle();
  for (const QWidget* w : window->findChildren<QWidget*>()) {
    const QFontMetrics metrics = w->fontMetrics();
    const auto fits = [&](const QString& text, int room) {
      EXPECT_LE(metrics.horizontalAdvance(QString(text).remove('&')), room)
          << text.toStdString() << " in " << name.toStdString();
    };
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
      if (label->text().isEmpty()) continue;
      if (label->wordWrap()) {
        EXPECT_LE(label->heightForWidth(label->width()), label->height())
            << label->text().toStdString();
      } else {
        for (const QString& line : label->text().split('\n')) fits(line, label->width());
      }
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
      int mark = 0;
      if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) {
        mark = w->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
               w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
      }
      if (!button->text().isEmpty()) fits(button->text(), button->width() - mark);
    } else if (const auto* box = qobject_cast<const QComboBox*>(w)) {
      QStyleOptionComboBox option;
      option.initFrom(box);
      const int arrow =
          w->style()
              ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, box)
              .width();
      for (int i = 0; i < box->count(); ++i) fits(box->itemText(i), box->width() - arrow - 4);
    } else if (const auto* tabs = qobject_cast<const QTabBar*>(w)) {
      EXPECT_LE(tabs->sizeHint().width(), tabs->parentWidget()->width()) << name.toStdString();
    } else if (const auto* field = qobject_cast<const QLineEdit*>(w)) {
      fits(field->placeholderText(), field->width() - 8);
    }
  }
}

QImage shownImage(QLabel* label) {
  return label->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage classImage(int klasse) {
  const std::span<const uint8_t> bmp = embeddedFile("ship" + std::to_string(klasse) + ".bmp");
  return QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP")
      .convertToFormat(QImage::Format_RGB32);
}

// --- The windows and their controls

TEST_F(LauncherTest, StartShowsOnlyTheLauncherWindowWithFreshControls) {
  EXPECT_TRUE(shown(kLauncherWindow));
  EXPECT_FALSE(shown(kShipSelectionWindow));
  EXPECT_FALSE(shown(kShipEditorWindow));
  EXPECT_FALSE(shown(kOptionsWindow));
  // Set on the first pass, before the window is ever shown.
  EXPECT_EQ(windowTitle(kShipSelectionWindow), "Player1 Schiff auswählen");
  EXPECT_TRUE(control<QTableWidget>(kShipList)->selectedItems().isEmpty());
  EXPECT_EQ(fieldText(0, 0), "");
  EXPECT_EQ(fieldText(7, 7), "");
  EXPECT_FALSE(control<QCheckBox>(kSoundBox)->isChecked());
  EXPECT_EQ(control<QSlider>(kShotVolume)->value(), 0);
  EXPECT_EQ(control<QSlider>(kHitVolume)->maximum(), 100);
  EXPECT_EQ(control<QSpinBox>(kEnemyCount)->value(), 1);
  EXPECT_FALSE(control<QRadioButton>(kUnlimitedRange)->isChecked());
  EXPECT_FALSE(control<QRadioButton>(kLimitedRange)->isChecked());
  EXPECT_EQ(control<QLineEdit>(kRangeField)->text(), "");
  // The sound box is not ticked, so the volume sliders are off.
  EXPECT_FALSE(control(kShotVolume)->isEnabled());
}

TEST_F(LauncherTest, WindowsHaveTheirTitlesSizesAndOnlyACloseBox) {
  const struct {
    int n;
    const char* title;
    QSize client;
  } windows[] = {{kLauncherWindow, "Kaper-Fahrt", {520, 400}},
                 {kShipEditorWindow, "Schiffe Anpassen", {585, 426}},
                 {kOptionsWindow, "Einstellungen", {211, 220}},
                 {kShipSelectionWindow, "Player1 Schiff auswählen", {765, 210}}};
  for (const auto& w : windows) {
    QWidget* window = launcher.window(w.n);
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8(w.title));
    EXPECT_EQ(window->size(), w.client);
    EXPECT_EQ(window->minimumSize(), w.client) << "resizable window " << w.n;
    EXPECT_EQ(window->maximumSize(), w.client) << "resizable window " << w.n;
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  }
  EXPECT_EQ(launcher.window(kLauncherWindow)->palette().color(QPalette::Window), QColor(0, 0, 0));
  EXPECT_EQ(launcher.window(kShipSelectionWindow)->palette().color(QPalette::Window),
            QColor(197, 197, 197));
}

TEST_F(LauncherTest, ControlsStandWhereTheLayoutPutsThem) {
  const struct {
    int n;
    QRect area;
    const char* text;
  } controls[] = {
      {kTitlePicture, {15, 0, 500, 361}, nullptr},
      {kSinglePlayerButton, {15, 370, 90, 20}, "Einzelspieler"},
      {kTwoPlayerButton, {115, 370, 90, 20}, "2 Spieler VS"},
      {kEditorButton, {215, 370, 90, 20}, "Schiffe Anpassen"},
      {kOptionsButton, {315, 370, 90, 20}, "Einstellungen"},
      {kQuitButton, {415, 370, 90, 20}, "Spiel Beenden"},
      {kShipList, {5, 5, 600, 200}, nullptr},
      {kClassPicture, {610, 5, 150, 150}, nullptr},
      {kStartButton, {700, 175, 60, 30}, "Start"},
      {kEditorSaveButton, {465, 395, 115, 25}, "Speichern"},
      {kEditorCancelButton, {390, 395, 70, 25}, "Abbrechen"},
      {kOptionsSaveButton, {110, 190, 95, 25}, "Speichern"},
      {kOptionsCancelButton, {45, 190, 60, 25}, "Abbrechen"},
      {kOptionsTabs, {5, 5, 200, 180}, nullptr},
      {kSoundBox, {58, 3, 80, 15}, "Sound an"},
      {kShotVolumeLabel, {8, 28, 180, 15}, "Schuss Lautstärke:"},
      {kShotVolume, {8, 48, 165, 25}, nullptr},
      {kHitVolumeLabel, {8, 88, 180, 15}, "Treffer Lautstärke:"},
      {kHitVolume, {8, 108, 165, 25}, nullptr},
      {kEnemyCount, {93, 10, 30, 25}, nullptr},
      {kEnemyCountLabel, {13, 15, 70, 15}, "Gegneranzahl:"},
      {kRangeHeading, {3, 3, 185, 20}, "Schussentfernung:"},
      {kUnlimitedRange, {58, 28, 75, 15}, "Unendlich"},
      {kLimitedRange, {58, 48, 75, 15}, "Begrenzt"},
      {kRangeLabel, {3, 73, 185, 15}, "Distanz bis Schüsse gelöscht werden:"},
      {kRangeField, {63, 93, 60, 15}, nullptr},
  };
  for (const auto& c : controls) {
    QWidget* widget = control(c.n);
    EXPECT_EQ(widget->geometry(), c.area) << "control " << c.n;
    if (c.text == nullptr) continue;
    const QString text = QString::fromUtf8(c.text);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      EXPECT_EQ(button->text(), text);
    } else {
      EXPECT_EQ(qobject_cast<QLabel*>(widget)->text(), text);
    }
    // Nothing is cut off: the text fits its control in the control's own font.
    EXPECT_LE(widget->fontMetrics().horizontalAdvance(text), c.area.width()) << c.text;
  }
  EXPECT_EQ(control(kSoundBox)->parentWidget(), control(kShotVolume)->parentWidget());
  EXPECT_EQ(control(kShotVolume)->parentWidget()->parentWidget()->parentWidget(),
            control(kOptionsTabs));
  EXPECT_TRUE(control<QLabel>(kEnemyCountLabel)->alignment() & Qt::AlignLeft);
  EXPECT_TRUE(control<QLabel>(kRangeLabel)->alignment() & Qt::AlignHCenter);
}

TEST_F(LauncherTest, EditorHasEightPanelsOfEightLabelledFields) {
  const char* const labels[] = {
      "Beschleunigung:", "TopSpeed:", "Health:",           "SchussTempo:",
      "Kanonenanzahl:",  "Schaden:",  "Manövrierbarkeit:", "Nachladezeit:"};
  for (int k = 0; k < 8; ++k) {
    const int x = 5 + 145 * (k % 4), y = 5 + 195 * (k / 4);
    EXPECT_EQ(control(editorFrame(k))->geometry(), QRect(x, y, 140, 190));
    auto* title = control<QLabel>(editorTitle(k));
    EXPECT_EQ(title->geometry(), QRect(x + 5, y + 5, 130, 20));
    EXPECT_EQ(title->text(), QString("Schiff %1").arg(k + 1));
    for (int j = 0; j < 8; ++j) {
      auto* label = control<QLabel>(editorLabel(k, j));
      EXPECT_EQ(label->geometry(), QRect(x + 5, y + 30 + 20 * j, 80, 15));
      EXPECT_EQ(label->text(), QString::fromUtf8(labels[j]));
      EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), 80) << labels[j];
      const int dy = j == 5 ? 1 : 0;
      EXPECT_EQ(control(editorField(k, j))->geometry(),
                QRect(x + 95, y + 30 + 20 * j + dy, 40, 15));
    }
  }
}

TEST_F(LauncherTest, FontsComeFromFontconfigInTheirSizes) {
  const QFont title = control(editorTitle(3))->font();
  EXPECT_EQ(title.family(), "Liberation Sans");
  EXPECT_EQ(title.pixelSize(), 19);  // 14 points
  EXPECT_EQ(control(kEnemyCount)->font().pixelSize(), 19);
  const QFont heading = control(kRangeHeading)->font();
  EXPECT_EQ(heading.family(), "Liberation Sans");
  EXPECT_EQ(heading.pixelSize(), 12);  // 9 points
  EXPECT_EQ(heading.weight(), QFont::Bold);
  EXPECT_EQ(QFontInfo(heading).family(), "Liberation Sans");
}

TEST_F(LauncherTest, PicturesAreTheEmbeddedTitleAndClassPictures) {
  const std::optional<RgbPicture> title = decodeJpeg(embeddedFile("title.jpg"));
  ASSERT_TRUE(title);
  const QImage expected = QImage(title->rgb.data(), title->width, title->height, title->width * 3,
                                 QImage::Format_RGB888)
                              .convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shownImage(control<QLabel>(kTitlePicture)), expected);
  EXPECT_EQ(shownImage(control<QLabel>(kClassPicture)), classImage(0));
}

// --- Ship selection

TEST_F(LauncherTest, ShipListShowsTheDefaultsInItsColumns) {
  auto* list = control<QTableWidget>(kShipList);
  ASSERT_EQ(list->columnCount(), 9);
  ASSERT_EQ(list->rowCount(), 8);
  const char* const titles[] = {"Schiff",      "Beschleunigung", "Health",
                                "SchussSpeed", "TopSpeed",       "Kanonen",
                                "Schaden",     "Wendigkeit",     "Nachladezeit"};
  const char* const values[] = {"Schiff 3",  "0.015000", "100.000000", "4.000000", "2.000000",
                                "40.000000", "1.000000", "0.500000",   "0.150000"};
  for (int c = 0; c < 9; ++c) {
    EXPECT_EQ(list->horizontalHeaderItem(c)->text(), titles[c]);
    EXPECT_EQ(list->item(2, c)->text(), values[c]);
  }
  EXPECT_EQ(list->item(7, 0)->text(), "Schiff 8");
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_LE(expectCellsWhole(list), 600 - 2 * list->frameWidth());
}

TEST_F(LauncherTest, ModeButtonsRefillTheListFromTheFile) {
  writeBytes(file, crlfLines({"[Schiff_3]", "Health = 150.7", "TopSpeed = 3.4e38", "[HMS Victory]",
                              "Man\xF6vrierf\xE4higkeit = -0", "Schaden = 1e39"}));
  EXPECT_EQ(control<QTableWidget>(kShipList)->item(2, 2)->text(), "100.000000");
  click(kSinglePlayerButton);
  auto* list = control<QTableWidget>(kShipList);
  EXPECT_EQ(list->item(2, 2)->text(), "150.699997");
  EXPECT_EQ(list->item(7, 7)->text(), "0.000000");
  EXPECT_EQ(list->item(7, 6)->text(), "+Infinity");
  EXPECT_EQ(list->item(2, 4)->text(), "339999995214436424907732413799364296704.000000");
  expectCellsWhole(list);  // wider than the list: it scrolls
}

TEST_F(LauncherTest, SinglePlayerChoosesOnceAndTheLauncherReturnsAtOnce) {
  spiel.Flotte[1].Klasse = -1;
  EXPECT_EQ(click(kSinglePlayerButton), std::nullopt);
  EXPECT_TRUE(shown(kShipSelectionWindow));
  EXPECT_EQ(spiel.SpielModus, kEinzelspieler);
  EXPECT_EQ(clickRow(2), std::nullopt);
  EXPECT_EQ(click(kStartButton), kEinzelspieler);
  EXPECT_EQ(spiel.Flotte[0].Klasse, 2);
  EXPECT_GE(spiel.Flotte[1].Klasse, 0);
  EXPECT_LE(spiel.Flotte[1].Klasse, 7);
  for (int n = 1; n <= 4; ++n) EXPECT_FALSE(shown(n)) << "window " << n;
  EXPECT_EQ(launcher.pass(0), kEinzelspieler);  // stays ended
}

TEST_F(LauncherTest, ASingleClickOnlyChangesThePictureADoubleClickChooses) {
  click(kTwoPlayerButton);
  EXPECT_EQ(clickRow(5), std::nullopt);
  EXPECT_EQ(shownImage(control<QLabel>(kClassPicture)), classImage(5));
  EXPECT_EQ(launcher.choices(), 0);
  EXPECT_EQ(spiel.Flotte[0].Klasse, 0);
  EXPECT_EQ(clickRow(6, true), std::nullopt);
  EXPECT_EQ(shownImage(control<QLabel>(kClassPicture)), classImage(6));
  EXPECT_EQ(launcher.choices(), 1);
  EXPECT_EQ(spiel.Flotte[0].Klasse, 6);
}

TEST_F(LauncherTest, OnlyALeftDoubleClickChooses) {
  click(kTwoPlayerButton);
  auto* list = control<QTableWidget>(kShipList);
  const QPoint at = list->visualItemRect(list->item(3, 1)).center();
  for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
    QTest::mouseDClick(list->viewport(), button, {}, at);
    EXPECT_EQ(drain(), std::nullopt);
    EXPECT_EQ(launcher.choices(), 0) << button;
  }
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  drain();
  EXPECT_EQ(launcher.choices(), 1);
}

TEST_F(LauncherTest, TwoPlayersChooseOneAfterTheOther) {
  click(kTwoPlayerButton);
  EXPECT_EQ(spiel.SpielModus, kZweiSpieler);
  clickRow(4);
  EXPECT_EQ(click(kStartButton), std::nullopt);
  EXPECT_EQ(windowTitle(kShipSelectionWindow), "Player2 Schiff auswählen");
  EXPECT_TRUE(shown(kShipSelectionWindow));
  EXPECT_EQ(clickRow(4, true), kZweiSpieler);
  EXPECT_EQ(spiel.Flotte[0].Klasse, 4);
  EXPECT_EQ(spiel.Flotte[1].Klasse, 4);
  EXPECT_FALSE(shown(kShipSelectionWindow));
}

// The arrow keys move the selection without an event of their own: a "Start" handled in the
// same pass must see the row the player moved to, so the controls are read before the event.
TEST_F(LauncherTest, StartUsesTheRowSelectedByTheArrowKeysJustBefore) {
  click(kSinglePlayerButton);
  clickRow(2);
  QTest::keyClick(control(kShipList), Qt::Key_Down);
  QTest::mouseClick(launcher.control(kStartButton), Qt::LeftButton);
  EXPECT_EQ(drain(), kEinzelspieler);
  EXPECT_EQ(spiel.Flotte[0].Klasse, 3);
}

TEST_F(LauncherTest, StartWithoutASelectedRowDoesNothing) {
  click(kSinglePlayerButton);
  EXPECT_EQ(click(kStartButton), std::nullopt);
  EXPECT_EQ(launcher.choices(), 0);
  EXPECT_TRUE(shown(kShipSelectionWindow));
}

TEST_F(LauncherTest, ClosingTheSelectionKeepsTheFirstChoice) {
  click(kTwoPlayerButton);
  clickRow(1);
  click(kStartButton);
  EXPECT_EQ(closeWindow(kShipSelectionWindow), std::nullopt);
  EXPECT_FALSE(shown(kShipSelectionWindow));
  click(kTwoPlayerButton);
  EXPECT_TRUE(shown(kShipSelectionWindow));
  EXPECT_EQ(windowTitle(kShipSelectionWindow), "Player2 Schiff auswählen");
  EXPECT_EQ(launcher.choices(), 1);
}

TEST_F(LauncherTest, SinglePlayerAfterPlayerOnesChoiceEndsAtOnce) {
  spiel.Flotte[1].Klasse = 3;
  click(kTwoPlayerButton);
  clickRow(7);
  click(kStartButton);
  EXPECT_EQ(click(kSinglePlayerButton), kEinzelspieler);
  EXPECT_EQ(spiel.Flotte[0].Klasse, 7);
  EXPECT_EQ(spiel.Flotte[1].Klasse, 3);
}

// --- Ending the game

TEST_F(LauncherTest, SpielBeendenAndTheLaunchersCloseBoxEndTheGame) {
  spiel.SpielModus = kZweiSpieler;
  EXPECT_EQ(click(kQuitButton), kQuitGame);
  EXPECT_FALSE(shown(kLauncherWindow));
  EXPECT_EQ(spiel.SpielModus, kZweiSpieler);
  launcher.start();
  EXPECT_TRUE(shown(kLauncherWindow));
  EXPECT_EQ(closeWindow(kLauncherWindow), kQuitGame);
  EXPECT_FALSE(shown(kLauncherWindow));
}

TEST_F(LauncherTest, OtherCloseBoxesOnlyHideTheirWindow) {
  click(kSinglePlayerButton);
  click(kEditorButton);
  click(kOptionsButton);
  for (int n : {kShipSelectionWindow, kShipEditorWindow, kOptionsWindow}) {
    EXPECT_TRUE(shown(n));
    EXPECT_EQ(closeWindow(n), std::nullopt);
    EXPECT_FALSE(shown(n));
  }
  EXPECT_TRUE(shown(kLauncherWindow));
}

// Return and keypad Enter press the focused button; Escape is "Abbrechen" in the editor and
// the options window, wherever the focus is there.
TEST_F(LauncherTest, ReturnEnterAndEscapeActAsPlayersExpect) {
  const struct {
    int button;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int window;
  } presses[] = {{kOptionsButton, Qt::Key_Return, {}, kOptionsWindow},
                 {kEditorButton, Qt::Key_Enter, Qt::KeypadModifier, kShipEditorWindow}};
  for (const auto& p : presses) {
    QTest::keyClick(control(p.button), p.key, p.modifiers);
    drain();
    EXPECT_TRUE(shown(p.window)) << p.button;
  }
  type(editorField(4, 4), "9");
  type(kRangeField, "9");
  const int focused[] = {editorField(4, 4), kRangeField,  kEnemyCount,
                         kShotVolume,       kOptionsTabs, kEditorSaveButton};
  for (int n : focused) {
    const int window =
        n == kEditorSaveButton || n == editorField(4, 4) ? kShipEditorWindow : kOptionsWindow;
    launcher.window(window)->show();
    QWidget* target = n == kOptionsTabs ? control<QTabWidget>(n)->tabBar() : control(n);
    QTest::keyClick(target, Qt::Key_Escape);
    drain();
    EXPECT_FALSE(shown(window)) << "Escape on control " << n;
  }
  EXPECT_FALSE(std::filesystem::exists(file));  // nothing saved
  EXPECT_EQ(fieldText(4, 4), "9");
  QTest::keyClick(control(kOptionsSaveButton), Qt::Key_Return);
  drain();
  EXPECT_NE(readBytes(file).find("\r\nReichweite = 9\r\n"), std::string::npos);
}

// The list is no modal window: an editor save while it is open shows at once, the selected
// row staying selected; Return and keypad Enter on it choose that row, as "Start" does.
TEST_F(LauncherTest, AnOpenListFollowsAnEditorSaveAndReturnChoosesItsRow) {
  click(kTwoPlayerButton);
  clickRow(2);
  click(kEditorButton);
  type(editorField(2, 2), "5");
  click(kEditorSaveButton);
  auto* list = control<QTableWidget>(kShipList);
  EXPECT_EQ(list->item(2, 2)->text(), "5.000000");
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(drain(), std::nullopt);
  EXPECT_EQ(launcher.choices(), 1);
  EXPECT_EQ(spiel.Flotte[0].Klasse, 2);
  QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(drain(), kZweiSpieler);
  EXPECT_EQ(spiel.Flotte[1].Klasse, 2);
}

TEST_F(LauncherTest, ARunEndingWithOtherWindowsOpenHidesThemAll) {
  click(kSinglePlayerButton);
  click(kEditorButton);
  click(kOptionsButton);
  clickRow(0);
  EXPECT_EQ(click(kStartButton), kEinzelspieler);
  for (int n = 1; n <= 4; ++n) EXPECT_FALSE(shown(n)) << "window " << n;
}

TEST_F(LauncherTest, ANewRunStartsWithFreshControls) {
  click(kTwoPlayerButton);
  clickRow(2);
  click(kStartButton);
  click(kEditorButton);
  launcher.start();
  EXPECT_EQ(launcher.choices(), 0);
  EXPECT_EQ(drain(), std::nullopt);
  EXPECT_EQ(windowTitle(kShipSelectionWindow), "Player1 Schiff auswählen");
  EXPECT_FALSE(shown(kShipEditorWindow));
  EXPECT_EQ(fieldText(0, 0), "");
  EXPECT_TRUE(control<QTableWidget>(kShipList)->selectedItems().isEmpty());
}

TEST(RunLauncher, ReturnsTheQuitResultInsteadOfEndingTheProcess) {
  settings_test::TempDir dir;
  Spiel spiel;
  Media media(std::make_unique<HeadlessBackend>(), 3);
  QTimer::singleShot(50, [] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->isVisible() && window->windowTitle() == "Kaper-Fahrt") window->close();
    }
  });
  EXPECT_EQ(runLauncher(spiel, media, dir.file()), kQuitGame);
}

// --- Ship editor

TEST_F(LauncherTest, EditorWithoutAFileShowsTheDefaultsAndItsSaveCreatesTheFile) {
  click(kEditorButton);
  EXPECT_TRUE(shown(kShipEditorWindow));
  const char* const defaults[] = {"0.015000",  "2.000000", "100.000000", "4.000000",
                                  "40.000000", "1.000000", "0.500000",   "0.150000"};
  for (int k = 0; k < 8; ++k) {
    for (int j = 0; j < 8; ++j) EXPECT_EQ(fieldText(k, j), defaults[j]) << k << " " << j;
  }
  type(editorField(0, 0), "1");
  EXPECT_EQ(clickAndReadBox(kEditorSaveButton), "");
  EXPECT_FALSE(shown(kShipEditorWindow));
  EXPECT_EQ(readBytes(file).substr(0, 39), crlfLines({"[Schiff_1]", "Beschleunigung = 1.000000"}));
}

// Values beyond the float range show as "+Infinity" and "-Infinity"; saving the editor
// untouched must not turn them into 0.
TEST_F(LauncherTest, InfiniteValuesSurviveAnUntouchedSave) {
  writeBytes(file, crlfLines({"[Schiff_2]", "Health = 1e40", "TopSpeed = -1e99"}));
  for (int round = 0; round < 2; ++round) {
    click(kEditorButton);
    EXPECT_EQ(fieldText(1, 2), "+Infinity") << round;
    EXPECT_EQ(fieldText(1, 1), "-Infinity") << round;
    click(kEditorSaveButton);
  }
  click(kSinglePlayerButton);
  EXPECT_EQ(control<QTableWidget>(kShipList)->item(1, 2)->text(), "+Infinity");
}

// A save that cannot be done (here: something unreadable holds the file's name) is told in a
// German box; the window stays open with what was typed, and nothing on disk changes.
TEST_F(LauncherTest, ASaveThatFailsIsToldAndChangesNothing) {
  std::filesystem::create_directory(file);
  const struct {
    int open, edit, save, window;
  } cases[] = {{kEditorButton, editorField(0, 0), kEditorSaveButton, kShipEditorWindow},
               {kOptionsButton, kRangeField, kOptionsSaveButton, kOptionsWindow}};
  for (const auto& c : cases) {
    click(c.open);
    type(c.edit, "7");
    const QString told = clickAndReadBox(c.save);
    EXPECT_TRUE(
        told.startsWith("Die Einstellungen konnten nicht in „" + QString::fromStdString(file)))
        << told.toStdString();
    EXPECT_TRUE(told.endsWith("lässt sich nicht lesen und wird darum nicht ersetzt."))
        << told.toStdString();
    EXPECT_TRUE(shown(c.window));
    EXPECT_EQ(control<QLineEdit>(c.edit)->text(), "7");
  }
  KeyWindow& keys = *launcher.keyWindow();
  keys.open();
  const QString told = readBoxAfter([&keys] { keys.saveButton()->click(); });
  EXPECT_TRUE(told.startsWith("Die Einstellungen konnten nicht")) << told.toStdString();
  EXPECT_TRUE(keys.isVisible());
  keys.hide();
  EXPECT_TRUE(std::filesystem::is_empty(file));
}

TEST_F(LauncherTest, EditorSavesWhatWasTypedByTheNumberRule) {
  writeBytes(file, "");
  click(kEditorButton);
  type(editorField(0, 1), "3,5");
  type(editorField(0, 2), "");
  type(editorField(7, 5), " 2.5e1x");
  type(editorField(1, 0), "schnell");
  click(kEditorSaveButton);
  EXPECT_FALSE(shown(kShipEditorWindow));
  const std::string saved = readBytes(file);
  const std::string first =
      crlfLines({"[Schiff_1]", "Beschleunigung = 0.015000", "TopSpeed = 3.000000",
                 "SchussTempo = 4.000000", "Health = 0.000000", "KanonenAnzahl = 40.000000",
                 "Nachladezeit = 0.150000", "Man\xF6vrierf\xE4higkeit = 0.500000",
                 "Schaden = 1.000000", "[Schiff_2]", "Beschleunigung = 0.000000"});
  EXPECT_EQ(saved.substr(0, first.size()), first);
  EXPECT_NE(saved.find("\r\nSchaden = 25.000000\r\n", saved.find("[HMS Victory]")),
            std::string::npos);
  EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 8 * 9);
  // Loaded again, and shown in the ship list after the next mode button.
  click(kEditorButton);
  EXPECT_EQ(fieldText(0, 1), "3.000000");
  click(kSinglePlayerButton);
  EXPECT_EQ(control<QTableWidget>(kShipList)->item(0, 4)->text(), "3.000000");
}

// A text that will not be stored as it reads is marked before "Speichern", with the value
// it will be stored as in its tooltip; the file gets what the rules make of it all the same.
TEST_F(LauncherTest, FieldsThatWillNotBeStoredAsTheyReadAreMarked) {
  click(kEditorButton);
  click(kOptionsButton);
  const QColor plain = control(editorField(0, 1))->palette().color(QPalette::Base);
  const struct {
    int field;
    const char* typed;
    const char* note;  // empty: no mark
  } cases[] = {{editorField(0, 1), "0,5", "wird als 0 gespeichert"},
               {editorField(3, 7), "", "wird als 0 gespeichert"},
               {editorField(0, 1), "0.5", ""},
               {kRangeField, "2147483648", "wird als -2147483648 gespeichert"},
               {kRangeField, "$64", ""}};
  for (const auto& c : cases) {
    type(c.field, c.typed);
    QWidget* field = control(c.field);
    EXPECT_EQ(field->toolTip(), c.note) << c.typed;
    EXPECT_EQ(field->palette().color(QPalette::Base) == plain, *c.note == 0) << c.typed;
  }
  type(kRangeField, "2147483648");
  click(kOptionsSaveButton);
  EXPECT_NE(readBytes(file).find("\r\nReichweite = -2147483648\r\n"), std::string::npos);
  click(kEditorButton);  // loaded values read as what they are
  EXPECT_EQ(control(editorField(3, 7))->toolTip(), "");
}

TEST_F(LauncherTest, EditorCancelAndCloseBoxKeepTheFileAndTheTypedText) {
  writeBytes(file, "");
  click(kEditorButton);
  type(editorField(2, 2), "7");
  click(kEditorCancelButton);
  EXPECT_FALSE(shown(kShipEditorWindow));
  EXPECT_EQ(readBytes(file), "");
  EXPECT_EQ(fieldText(2, 2), "7");
  click(kEditorButton);
  EXPECT_EQ(fieldText(2, 2), "100.000000");
}

// --- Options

TEST_F(LauncherTest, OptionsWithoutAFileShowTheDefaultsAndSaveOnlyAllgemein) {
  click(kOptionsButton);
  EXPECT_TRUE(shown(kOptionsWindow));
  EXPECT_TRUE(control<QRadioButton>(kLimitedRange)->isChecked());
  EXPECT_FALSE(control<QRadioButton>(kUnlimitedRange)->isChecked());
  EXPECT_EQ(control<QLineEdit>(kRangeField)->text(), "100");
  EXPECT_TRUE(control<QCheckBox>(kSoundBox)->isChecked());
  EXPECT_EQ(control<QSlider>(kShotVolume)->value(), 20);
  EXPECT_EQ(control<QSlider>(kHitVolume)->value(), 20);
  EXPECT_EQ(control<QSpinBox>(kEnemyCount)->value(), 1);
  EXPECT_TRUE(control(kRangeField)->isEnabled());
  EXPECT_TRUE(control(kShotVolume)->isEnabled());
  EXPECT_EQ(spiel.Option, 1);

  QTest::mouseClick(control(kUnlimitedRange), Qt::LeftButton);
  EXPECT_EQ(launcher.pass(0), std::nullopt);  // the pass that handles the click
  EXPECT_FALSE(control(kRangeField)->isEnabled());
  EXPECT_EQ(spiel.Option, 0);

  click(kOptionsSaveButton);
  EXPECT_FALSE(shown(kOptionsWindow));
  EXPECT_EQ(readBytes(file), crlfLines({"[Allgemein]", "Option = 0", "Sound = 1",
                                        "Reichweite = 100", "SchussLautst\xE4rke = 20",
                                        "TrefferLautst\xE4rke = 20", "Gegneranzahl = 1"}));
}

TEST_F(LauncherTest, RangeTextsAreSavedByTheIntegerRule) {
  const struct {
    const char* typed;
    const char* saved;
  } cases[] = {{"$64", "Reichweite = 100"},
               {"%101", "Reichweite = 5"},
               {"-20", "Reichweite = -20"},
               {"12 Schritte", "Reichweite = 12"},
               {"", "Reichweite = 0"}};
  for (const auto& c : cases) {
    click(kOptionsButton);
    type(kRangeField, c.typed);
    click(kOptionsSaveButton);
    EXPECT_NE(readBytes(file).find(std::string("\r\n") + c.saved + "\r\n"), std::string::npos)
        << c.typed;
  }
}

TEST_F(LauncherTest, SoundBoxTurnsTheVolumeSlidersOffAndOn) {
  click(kOptionsButton);
  QTest::mouseClick(control(kSoundBox), Qt::LeftButton);
  EXPECT_EQ(launcher.pass(0), std::nullopt);
  EXPECT_FALSE(control(kShotVolume)->isEnabled());
  EXPECT_FALSE(control(kHitVolume)->isEnabled());
  control<QSlider>(kHitVolume)->setValue(35);
  click(kOptionsSaveButton);
  const std::string saved = readBytes(file);
  EXPECT_NE(saved.find("\r\nSound = 0\r\n"), std::string::npos);
  EXPECT_NE(saved.find("\r\nTrefferLautst\xE4rke = 35\r\n"), std::string::npos);
  click(kOptionsButton);
  EXPECT_FALSE(control<QCheckBox>(kSoundBox)->isChecked());
  QTest::mouseClick(control(kSoundBox), Qt::LeftButton);
  EXPECT_EQ(launcher.pass(0), std::nullopt);
  EXPECT_TRUE(control(kShotVolume)->isEnabled());
}

TEST_F(LauncherTest, EnemyCountChangesByItsArrowsOnly) {
  click(kOptionsButton);
  auto* count = control<QSpinBox>(kEnemyCount);
  // Its digit shows whole in the large font, beside both arrows.
  control<QTabWidget>(kOptionsTabs)->setCurrentIndex(1);
  QStyleOptionSpinBox option;
  option.initFrom(count);
  const QLineEdit* digit = count->findChild<QLineEdit*>();
  for (int value = 1; value <= 3; ++value) {
    count->setValue(value);
    EXPECT_LE(digit->fontMetrics().horizontalAdvance(digit->text()) + 4,
              digit->contentsRect().width())
        << value;
  }
  count->setValue(1);
  for (auto arrow : {QStyle::SC_SpinBoxUp, QStyle::SC_SpinBoxDown}) {
    const QRect area = count->style()->subControlRect(QStyle::CC_SpinBox, &option, arrow, count);
    EXPECT_GE(area.width(), 8);
    EXPECT_TRUE(count->rect().contains(area));
    EXPECT_FALSE(area.intersects(digit->geometry()));
  }
  QTest::keyClicks(count, "3");
  EXPECT_EQ(count->value(), 1);
  EXPECT_EQ(count->text(), "1");
  QTest::keyClick(count, Qt::Key_Up);
  EXPECT_EQ(count->value(), 2);
  QTest::keyClick(count, Qt::Key_Up);
  QTest::keyClick(count, Qt::Key_Up);
  EXPECT_EQ(count->value(), 3);
  click(kOptionsSaveButton);
  EXPECT_NE(readBytes(file).find("\r\nGegneranzahl = 3\r\n"), std::string::npos);
}

TEST_F(LauncherTest, OptionsCancelDropsTheChangesAndOddStoredValuesAreBroughtIntoRange) {
  writeBytes(file, crlfLines({"[Allgemein]", "Option = 5", "Sound = 2", "Reichweite = -7",
                              "SchussLautst\xE4rke = 150", "Gegneranzahl = 7"}));
  click(kOptionsButton);
  EXPECT_TRUE(control<QRadioButton>(kUnlimitedRange)->isChecked());
  EXPECT_EQ(control<QLineEdit>(kRangeField)->text(), "-7");
  EXPECT_FALSE(control<QCheckBox>(kSoundBox)->isChecked());
  EXPECT_EQ(control<QSlider>(kShotVolume)->value(), 100);
  EXPECT_EQ(control<QSpinBox>(kEnemyCount)->value(), 3);
  QTest::mouseClick(control(kLimitedRange), Qt::LeftButton);
  type(kRangeField, "9");
  const std::string before = readBytes(file);
  click(kOptionsCancelButton);
  EXPECT_FALSE(shown(kOptionsWindow));
  EXPECT_EQ(readBytes(file), before);
  click(kOptionsButton);
  EXPECT_TRUE(control<QRadioButton>(kUnlimitedRange)->isChecked());
  EXPECT_EQ(control<QLineEdit>(kRangeField)->text(), "-7");
  click(kOptionsSaveButton);
  EXPECT_EQ(readBytes(file), crlfLines({"[Allgemein]", "Option = 0", "Sound = 0", "Reichweite = -7",
                                        "SchussLautst\xE4rke = 100", "Gegneranzahl = 3",
                                        "TrefferLautst\xE4rke = 20"}));
}

TEST_F(LauncherTest, TheCaptainsLevelBesideTheEnemyCountIsSavedInItsOwnGroupOnlyWhenChanged) {
  click(kOptionsButton);
  auto* level = control<QComboBox>(kCaptainLevel);
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(level->parentWidget(), control(kEnemyCount)->parentWidget());
  for (QWidget* other : level->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (other != level && other != control(kCaptainLevelLabel)) {
      EXPECT_FALSE(level->geometry().intersects(other->geometry()))
          << other->metaObject()->className();
    }
  }
  EXPECT_EQ(level->currentText(), "Normal");
  EXPECT_EQ(level->count(), 3);
  click(kOptionsSaveButton);
  EXPECT_EQ(readBytes(file).find("Computergegner"), std::string::npos);
  click(kOptionsButton);
  level->setCurrentIndex(level->findText("Schwer"));
  click(kOptionsSaveButton);
  EXPECT_NE(readBytes(file).find("[Computergegner]\r\nStufe = 1\r\n"), std::string::npos);
  level->setCurrentIndex(level->findText("Leicht"));
  click(kOptionsButton);
  EXPECT_EQ(level->currentText(), "Schwer");
}

// --- Network battles

QPushButton* buttonOf(QWidget* window, const QString& text) {
  for (QPushButton* b : window->findChildren<QPushButton*>()) {
    if (b->text() == text) return b;
  }
  ADD_FAILURE() << "no button " << text.toStdString();
  return nullptr;
}

TEST_F(LauncherTest, TheNetworkWindowBesideTheLauncherOffersOrJoins) {
  QWidget* net = launcher.networkWindow();
  ASSERT_TRUE(net != nullptr && net->isVisible());
  EXPECT_FALSE(net->geometry().intersects(launcher.window(kLauncherWindow)->geometry()));
  auto* address = net->findChild<QLineEdit*>();
  EXPECT_TRUE(address->toolTip().contains("Nur IPv4"));
  QTest::mouseClick(buttonOf(net, "Beitreten"), Qt::LeftButton);
  EXPECT_EQ(drain(), std::nullopt);  // nothing typed: nothing to join, but what to type
  const auto& told = static_cast<HeadlessBackend&>(media.backend()).messages();
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].text.find("RECHNER:PORT"), std::string::npos);
  QTest::keyClicks(address, " 10.0.0.2:5000 ");
  QTest::mouseClick(buttonOf(net, "Beitreten"), Qt::LeftButton);
  EXPECT_EQ(drain(), kNetworkBattle);
  ASSERT_TRUE(launcher.networkRequest());
  EXPECT_FALSE(launcher.networkRequest()->host);
  EXPECT_EQ(launcher.networkRequest()->address, "10.0.0.2:5000");
  EXPECT_FALSE(shown(kLauncherWindow) || launcher.networkWindow()->isVisible());

  launcher.start();
  net = launcher.networkWindow();
  EXPECT_EQ(net->findChild<QSpinBox*>()->value(), 47111);
  net->findChild<QSpinBox*>()->setValue(5001);
  QTest::mouseClick(buttonOf(net, "Spiel anbieten"), Qt::LeftButton);
  EXPECT_EQ(drain(), kNetworkBattle);
  EXPECT_TRUE(launcher.networkRequest()->host);
  EXPECT_EQ(launcher.networkRequest()->port, 5001);

  // Both are kept for the next time; the default port and no address leave the file alone.
  launcher.start();
  net = launcher.networkWindow();
  EXPECT_EQ(net->findChild<QSpinBox*>()->value(), 5001);
  EXPECT_EQ(net->findChild<QLineEdit*>()->text(), "10.0.0.2:5000");
  EXPECT_NE(readBytes(file).find("[Netzwerk]\r\nAdresse = 10.0.0.2:5000\r\nPort = 5001\r\n"),
            std::string::npos)
      << readBytes(file);
}

TEST_F(LauncherTest, OfferingOnTheUsualPortWritesNoSettings) {
  QTest::mouseClick(buttonOf(launcher.networkWindow(), "Spiel anbieten"), Qt::LeftButton);
  EXPECT_EQ(drain(), kNetworkBattle);
  EXPECT_FALSE(std::filesystem::exists(file));
}

// Below the launcher's frame, following it, whole on the screen; closed, it comes back when
// the launcher window gets the keyboard again from another window (not from the closing).
TEST_F(LauncherTest, TheNetworkWindowFollowsTheLauncherAndComesBackWithIt) {
  QWidget* net = launcher.networkWindow();
  QWidget* main = launcher.window(kLauncherWindow);
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  main->move(100, 120);
  drain();
  EXPECT_GT(net->frameGeometry().top(), main->frameGeometry().bottom());
  EXPECT_EQ(net->x(), main->x());
  main->move(screen.right() - 600, screen.bottom() - 420);  // no room below: above it
  drain();
  EXPECT_FALSE(net->frameGeometry().intersects(main->frameGeometry()));
  EXPECT_TRUE(screen.contains(net->frameGeometry()));
  const auto activate = [this](QWidget* window) {
    window->activateWindow();
    QApplication::processEvents();
    drain();
  };
  activate(net);
  net->close();
  activate(main);
  EXPECT_FALSE(net->isVisible());  // straight from closing it: it stays closed
  click(kOptionsButton);
  activate(launcher.window(kOptionsWindow));
  click(kOptionsCancelButton);
  activate(main);
  EXPECT_TRUE(net->isVisible());
}

TEST_F(LauncherTest, ANetworkChoiceIsOneRowOfTheHostsClassesInTheShipListAlone) {
  std::array<SchiffsTyp, kKlassenAnzahl> classes{};
  classes[3].Health = 77;
  launcher.startNetworkChoice(classes);
  EXPECT_TRUE(shown(kShipSelectionWindow));
  EXPECT_FALSE(shown(kLauncherWindow) || launcher.networkWindow()->isVisible());
  EXPECT_EQ(windowTitle(kShipSelectionWindow), "Schiff auswählen");
  EXPECT_TRUE(control<QTableWidget>(kShipList)->item(3, 2)->text().startsWith("77"));
  EXPECT_EQ(clickRow(3, true), 1);
  EXPECT_EQ(launcher.networkChoice(), 3);
  launcher.startNetworkChoice(classes);
  EXPECT_EQ(closeWindow(kShipSelectionWindow), kQuitGame);
  EXPECT_EQ(launcher.networkChoice(), -1);
}

TEST_F(LauncherTest, TheInputDelayIsSavedInItsOwnGroupOnlyWhenChanged) {
  const auto delayBox = [this] {
    for (QSpinBox* box : launcher.window(kOptionsWindow)->findChildren<QSpinBox*>()) {
      if (box != launcher.control(kEnemyCount)) return box;
    }
    return static_cast<QSpinBox*>(nullptr);
  };
  click(kOptionsButton);
  ASSERT_NE(delayBox(), nullptr);
  EXPECT_EQ(delayBox()->value(), 2);
  click(kOptionsSaveButton);
  EXPECT_EQ(readBytes(file).find("Netzwerk"), std::string::npos);
  click(kOptionsButton);
  delayBox()->setValue(0);
  click(kOptionsSaveButton);
  EXPECT_NE(readBytes(file).find("[Netzwerk]"), std::string::npos);
  click(kOptionsButton);
  EXPECT_EQ(delayBox()->value(), 0);
}

// The host's waiting window: the address for the guest large and selectable, copied whole by
// "Kopieren"; without addresses none of it shows.
TEST(NetworkLobbyTest, TheHostsWaitingWindowShowsTheAddressToSendAndCopiesIt) {
  Spiel spiel;
  Media media{std::make_unique<HeadlessBackend>(), 11};
  NetworkLobby lobby(spiel, media);
  ASSERT_TRUE(lobby.waiting("Warte", 0));
  QWidget* window = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && w->windowTitle() == "Verbindung") window = w;
  }
  ASSERT_NE(window, nullptr);
  const auto address = [window]() -> QLabel* {
    for (QLabel* label : window->findChildren<QLabel*>()) {
      if (label->text().contains("47111")) return label;
    }
    return nullptr;
  };
  EXPECT_EQ(address(), nullptr);
  EXPECT_FALSE(buttonOf(window, "Kopieren")->isVisible());

  lobby.showOffer("Im eigenen Netz:", {"192.168.1.20:47111", "10.0.0.5:47111"}, "Kein Router");
  lobby.waiting("Warte", 0);
  QLabel* shown = address();
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->isVisible());
  EXPECT_TRUE(shown->textInteractionFlags() & Qt::TextSelectableByMouse);
  EXPECT_GE(shown->font().pointSizeF(), 1.5 * window->font().pointSizeF());
  QGuiApplication::clipboard()->clear();
  QTest::mouseClick(buttonOf(window, "Kopieren"), Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "192.168.1.20:47111\n10.0.0.5:47111");
  EXPECT_TRUE(window->rect().contains(shown->mapTo(window, shown->rect().bottomRight())));

  lobby.showOffer("", {}, "");
  EXPECT_FALSE(buttonOf(window, "Kopieren")->isVisible());
  QTest::keyClick(window, Qt::Key_Escape);
  EXPECT_FALSE(lobby.waiting("Warte", 0));  // Escape cancels, as the button does
}

// --- The players' own keys

TEST_F(LauncherTest, OwnKeysAreBoundByPressingThemRefusedWhenTakenAndRestoredInOneClick) {
  click(kOptionsButton);
  const QList<QPushButton*> buttons = launcher.window(kOptionsWindow)->findChildren<QPushButton*>();
  auto opener = std::find_if(buttons.begin(), buttons.end(),
                             [](QPushButton* b) { return b->text() == "Tasten …"; });
  ASSERT_NE(opener, buttons.end());
  (*opener)->click();
  KeyWindow& keys = *launcher.keyWindow();
  ASSERT_TRUE(keys.isVisible());
  EXPECT_EQ(keys.keyButton(0, 0)->text(), "W");
  EXPECT_EQ(keys.keyButton(1, 4)->text(), "Ziffernblock 1");

  struct Case {
    int player, control;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int bound;        // what the control holds afterwards
    QString message;  // beginning of the window's answer
  };
  const Case cases[] = {
      {0, 0, Qt::Key_I, {}, 12, "I gewählt"},
      {0, 1, Qt::Key_I, {}, 22, "I ist schon belegt: Spieler 1, Beschleunigen"},
      {1, 4, Qt::Key_2, Qt::KeypadModifier, 89, "Ziffernblock 2 ist schon belegt: Spieler 2"},
      {1, 2, Qt::Key_P, {}, 80, "P gehört dem Spiel"},
      {1, 2, Qt::Key_Return, {}, 80, "Return gehört dem Spiel"},
      {1, 3, Qt::Key_Escape, {}, 79, "Nichts geändert"},
      {1, 3, Qt::Key_W, {}, 26, "W gewählt"},  // freed by Player 1
      {1, 3, Qt::Key_W, {}, 26, "W gewählt"},  // its own key again
  };
  for (const Case& c : cases) {
    keys.keyButton(c.player, c.control)->click();
    EXPECT_EQ(keys.keyButton(c.player, c.control)->text(), "Taste drücken …");
    QTest::keyClick(&keys, c.key, c.modifiers);
    EXPECT_EQ(keys.bindings()[c.player][c.control], c.bound) << c.message.toStdString();
    EXPECT_TRUE(keys.message().startsWith(c.message)) << keys.message().toStdString();
  }
  keys.saveButton()->click();
  EXPECT_FALSE(keys.isVisible());
  KeyBindings own = kDefaultKeyBindings;
  own[0][0] = 12;
  own[1][3] = 26;
  SettingsStore store;
  EXPECT_EQ(loadKeyBindings(store, file), own);

  // Restored but not saved: the file keeps the own keys; restored and saved: it has the usual.
  (*opener)->click();
  EXPECT_EQ(keys.keyButton(0, 0)->text(), "I");
  keys.defaultsButton()->click();
  EXPECT_EQ(keys.keyButton(0, 0)->text(), "W");
  keys.keyButton(1, 0)->click();  // closed while waiting for a key
  keys.cancelButton()->click();
  EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
  EXPECT_EQ(loadKeyBindings(store, file), own);
  (*opener)->click();
  EXPECT_EQ(keys.keyButton(0, 0)->text(), "I");  // what Abbrechen dropped is gone
  keys.defaultsButton()->click();
  keys.saveButton()->click();
  EXPECT_EQ(loadKeyBindings(store, file), kDefaultKeyBindings);
}

// --- German and English

TEST_F(LauncherTest, EveryTextFitsItsControlInBothLanguages) {
  for (const int32_t language : {kLanguageGerman, kLanguageEnglish}) {
    SCOPED_TRACE(language);
    writeBytes(file, crlfLines({"[Sprache]", "Sprache = " + std::to_string(language)}));
    launcher.start();
    click(kTwoPlayerButton);
    click(kOptionsButton);
    for (int n : {kLauncherWindow, kShipSelectionWindow, kShipEditorWindow, kOptionsWindow}) {
      expectTextsFit(launcher.window(n));
    }
    expectTextsFit(launcher.networkWindow());
    launcher.replayWindow()->show();
    expectTextsFit(launcher.replayWindow()->widget());
    launcher.replayWindow()->widget()->hide();
    expectCellsWhole(control<QTableWidget>(kShipList));
    // The key window with its longest messages and every key name the game knows.
    KeyWindow& keys = *launcher.keyWindow();
    keys.open();
    keys.keyButton(1, 5)->click();  // waits: names a player and the longest control
    expectTextsFit(&keys);
    const QPushButton* waiting = keys.keyButton(1, 5);
    EXPECT_LE(waiting->fontMetrics().horizontalAdvance(waiting->text()), waiting->width() - 8);
    QTest::keyClick(&keys, Qt::Key_Up);  // taken: names the key, a player and a control
    expectTextsFit(&keys);
    const QPushButton* key = keys.keyButton(0, 0);
    for (int code = 0; code < 256; ++code) {
      EXPECT_LE(key->fontMetrics().horizontalAdvance(keyName(code)), key->width() - 8) << code;
    }
    keys.hide();
  }
}

TEST_F(LauncherTest, TheLanguageIsChosenInTheOptionsAndTheWindowsFollowAtOnce) {
  EXPECT_EQ(control<QPushButton>(kSinglePlayerButton)->text(), "Einzelspieler");
  click(kOptionsButton);
  const auto languageBox = [this] {
    for (QComboBox* box : launcher.window(kOptionsWindow)->findChildren<QComboBox*>()) {
      if (box != launcher.control(kCaptainLevel)) return box;
    }
    return static_cast<QComboBox*>(nullptr);
  };
  ASSERT_NE(languageBox(), nullptr);
  EXPECT_EQ(languageBox()->currentData().toInt(), kLanguageAutomatic);
  click(kOptionsSaveButton);
  EXPECT_EQ(readBytes(file).find("[Sprache]"), std::string::npos);  // unchanged: not stored
  click(kOptionsButton);
  languageBox()->setCurrentIndex(languageBox()->findData(kLanguageEnglish));
  click(kOptionsSaveButton);
  EXPECT_NE(readBytes(file).find("[Sprache]\r\nSprache = 2\r\n"), std::string::npos);
  EXPECT_EQ(control<QPushButton>(kSinglePlayerButton)->text(), "Single Player");
  EXPECT_TRUE(shown(kLauncherWindow));
  EXPECT_FALSE(shown(kOptionsWindow));
  click(kOptionsButton);
  EXPECT_EQ(launcher.window(kOptionsWindow)->windowTitle(), "Settings");
  languageBox()->setCurrentIndex(languageBox()->findData(kLanguageGerman));
  click(kOptionsSaveButton);
  EXPECT_EQ(control<QPushButton>(kSinglePlayerButton)->text(), "Einzelspieler");
}

// --- The kept replays

TEST_F(LauncherTest, TheReplayWindowListsWatchesDeletesAndOpensTheFolder) {
  const std::string folder = dir.path() + "/Wiederholungen";
  std::filesystem::create_directories(folder);
  StartRecord start;
  start.SpielModus = kEinzelspieler;
  start.Gegneranzahl = 2;
  for (int i = 0; i < 3; ++i) start.Flotte[i].Klasse = 4 + i;
  Replay won = newReplay(start);
  won.inputs.resize(3723);
  won.result = "You win!";
  const std::vector<uint8_t> bytes = encodeReplay(won);
  writeBytes(folder + "/2026-05-01_10-00-00.kfr", std::string(bytes.begin(), bytes.end()));
  writeBytes(folder + "/2026-05-02_10-00-00.kfr", "KAPERWDH kaputt");
  // Reached through the launcher window's menu, which moves none of its controls.
  const QList<QAction*> menu = launcher.window(kLauncherWindow)->actions();
  ASSERT_EQ(menu.size(), 1);
  menu.front()->trigger();
  ReplayWindow& replays = *launcher.replayWindow();
  ASSERT_TRUE(replays.widget()->isVisible());
  QTableWidget* list = replays.list();
  ASSERT_EQ(list->rowCount(), 2);
  const auto row = [list](int r) {
    QStringList texts;
    for (int c = 1; c < list->columnCount(); ++c) texts << list->item(r, c)->text();
    return texts.join('|').toStdString();
  };
  EXPECT_EQ(row(0), "unlesbar|||");  // the newest first
  EXPECT_EQ(row(1), "Einzelspieler|Schiff 5 gegen Schiff 6, Schiff 7|You win!|1:02");
  EXPECT_EQ(list->item(1, 0)->text().toStdString(), "01.05.2026 10:00");  // as recorded

  // A file that is no replay is named as --verify names it, and nothing is watched.
  list->selectRow(0);
  EXPECT_EQ(
      readBoxAfter([&] { QTest::mouseClick(replays.watchButton(), Qt::LeftButton); }).toStdString(),
      replayProblemText(loadReplay(folder + "/2026-05-02_10-00-00.kfr"),
                        folder + "/2026-05-02_10-00-00.kfr"));
  EXPECT_EQ(drain(), std::nullopt);
  QTest::mouseClick(replays.deleteButton(), Qt::LeftButton);
  EXPECT_FALSE(std::filesystem::exists(folder + "/2026-05-02_10-00-00.kfr"));
  ASSERT_EQ(list->rowCount(), 1);

  std::string opened;
  replays.setFolderOpener([&opened](const std::string& path) {
    opened = path;
    return true;
  });
  QTest::mouseClick(replays.folderButton(), Qt::LeftButton);
  EXPECT_EQ(opened, folder);

  // Escape closes the window from any control; Return and Enter on the list watch its row.
  const struct {
    Qt::Key key;
    bool onList, watches;
  } keys[] = {{Qt::Key_Escape, true, false},
              {Qt::Key_Escape, false, false},
              {Qt::Key_Return, true, true},
              {Qt::Key_Enter, true, true},
              {Qt::Key_Return, false, false}};
  for (const auto& k : keys) {
    ReplayWindow fresh(folder, replays.widget()->font());
    fresh.show();
    QWidget* target = k.onList ? static_cast<QWidget*>(fresh.list()) : fresh.folderButton();
    QTest::keyClick(target, k.key);
    EXPECT_EQ(fresh.chosen().value_or(""), k.watches ? folder + "/2026-05-01_10-00-00.kfr" : "")
        << k.key;
    EXPECT_EQ(fresh.widget()->isVisible(), k.key != Qt::Key_Escape) << k.key;
  }
  EXPECT_EQ(drain(), std::nullopt);

  list->selectRow(0);
  QTest::mouseClick(replays.watchButton(), Qt::LeftButton);
  EXPECT_EQ(drain(), kWatchReplay);
  EXPECT_EQ(replays.chosen(), folder + "/2026-05-01_10-00-00.kfr");
  EXPECT_FALSE(shown(kLauncherWindow) || replays.widget()->isVisible());
}

}  // namespace
