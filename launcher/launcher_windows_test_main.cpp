// The launcher tests need the process's one QApplication before any widget exists.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // The tests read the German texts whatever the desktop's language; those that want English
  // choose it in the settings file, as a player does.
  qputenv("LANGUAGE", "de");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
