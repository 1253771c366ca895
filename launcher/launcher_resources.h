// What the launcher loads each time it starts: the title picture, the eight class pictures
// and its fonts.
#pragma once

#include <QFont>
#include <QPixmap>
#include <array>

struct LauncherResources {
  // 0 the title picture, 1 to 8 the pictures of classes 0 to 7; empty when undecodable.
  std::array<QPixmap, 9> pictures;
  QFont classTitleFont;  // "arial" 14: the editor's class titles, the enemy count
  QFont headingFont;     // "Arial" 9 bold: "Schussentfernung:"
  QFont controlFont;     // everything else
};

LauncherResources loadLauncherResources();
