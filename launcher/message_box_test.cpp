// The game's message boxes on Qt's offscreen platform, answered with keys as a player would.
#include "launcher/message_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <functional>
#include <memory>

namespace {

// Made by the first test that needs it, gone before the program's statics (Qt's among them).
class QtApplication : public ::testing::Environment {
 public:
  static void make() {
    if (app) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app.reset(); }

 private:
  static inline int argc = 1;
  static inline char name[] = "launcher_test";
  static inline char* argv[] = {name, nullptr};
  static inline std::unique_ptr<QApplication> app;
};
const auto* const kQtApplication = ::testing::AddGlobalTestEnvironment(new QtApplication);

// Shows a box and, once it is up, hands it to `act`, which answers it. A box left open is
// closed after a few seconds, so that a fault fails the test instead of hanging it.
std::optional<bool> showAndAct(const std::string& title, const std::string& text, MessageKind kind,
                               const std::function<void(QMessageBox&)>& act) {
  QtApplication::make();
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return ADD_FAILURE() << "no box";
    act(*box);
  });
  QTimer safety;
  safety.setSingleShot(true);
  QObject::connect(&safety, &QTimer::timeout, [] {
    if (QWidget* open = QApplication::activeModalWidget()) open->close();
    ADD_FAILURE() << "the box stayed open";
  });
  safety.start(5000);
  return showMessageBox(title, text, kind, 0);
}

// Presses a key where the keyboard is: on the widget with the focus.
void press(QMessageBox& box, int key) {
  QWidget* target = box.focusWidget() != nullptr ? box.focusWidget() : &box;
  QTest::keyClick(target, static_cast<Qt::Key>(key));
}

TEST(MessageBox, WithoutQtApplicationNothingIsShown) {
  EXPECT_EQ(showMessageBox("Kaperfahrt", "Beenden", MessageKind::YesNoQuestion, 0), std::nullopt);
}

TEST(MessageBox, TheQuestionIsAGermanYesNoBoxAboveEverything) {
  const auto answer =
      showAndAct("Kaperfahrt", "Schön beenden", MessageKind::YesNoQuestion, [](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), QString("Kaperfahrt"));
        EXPECT_EQ(box.text(), QString::fromUtf8("Sch\u00f6n beenden"));
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_TRUE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        ASSERT_EQ(box.buttons().size(), 2);
        EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QString("&Ja"));
        EXPECT_EQ(box.button(QMessageBox::No)->text(), QString("&Nein"));
        box.button(QMessageBox::No)->click();
      });
  EXPECT_EQ(answer, false);
}

TEST(MessageBox, ReturnAndJAnswerYesEscapeAndNAnswerNo) {
  for (const auto& [key, yes] : {std::pair{Qt::Key_Return, true}, std::pair{Qt::Key_Escape, false},
                                 std::pair{Qt::Key_J, true}, std::pair{Qt::Key_N, false}}) {
    const auto answer = showAndAct("Kaperfahrt", "Beenden", MessageKind::YesNoQuestion,
                                   [key](QMessageBox& box) { press(box, key); });
    EXPECT_EQ(answer, yes) << key;
  }
}

TEST(MessageBox, TheStartUpMessageHasOnlyOkAndNoIcon) {
  for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
    const auto answer =
        showAndAct("Scheisse", "Konnte nicht starten", MessageKind::Ok, [key](QMessageBox& box) {
          EXPECT_EQ(box.windowTitle(), QString("Scheisse"));
          EXPECT_EQ(box.text(), QString("Konnte nicht starten"));
          EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
          ASSERT_EQ(box.buttons().size(), 1);
          EXPECT_EQ(box.buttons()[0], box.button(QMessageBox::Ok));
          press(box, key);
        });
    EXPECT_EQ(answer, true) << key;
  }
}

TEST(MessageBox, AnAnswerGivenOutsideTheBoxAnswersIt) {
  QtApplication::make();
  for (const bool yes : {true, false}) {
    int asked = 0;
    const auto answer = showMessageBox("Kaperfahrt", "Beenden", MessageKind::YesNoQuestion, 0,
                                       [&]() -> std::optional<bool> {
                                         if (++asked < 3) return std::nullopt;  // not yet
                                         return yes;
                                       });
    EXPECT_EQ(answer, yes);
    EXPECT_EQ(asked, 3);
  }
}

TEST(SaveFailure, TheTextNamesTheFileAndTheReason) {
  const struct {
    int error;
    const char* reason;
  } cases[] = {{EACCES, "Es fehlt die Erlaubnis, die Datei oder ihren Ordner zu beschreiben."},
               {EPERM, "Es fehlt die Erlaubnis, die Datei oder ihren Ordner zu beschreiben."},
               {ENOSPC, "Der Datenträger ist voll."},
               {EDQUOT, "Der Datenträger ist voll."},
               {EROFS, "Das Laufwerk ist schreibgeschützt."},
               {EIO, "Fehlernummer 5."}};
  for (const auto& c : cases) {
    EXPECT_EQ(saveFailureText("a/b.prefs", c.error),
              std::string("Die Einstellungen konnten nicht in „a/b.prefs“ gespeichert werden; die "
                          "Datei bleibt, wie sie war.\n") +
                  c.reason)
        << c.error;
  }
}

}  // namespace
