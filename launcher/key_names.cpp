#include "launcher/key_names.h"

#include <QKeyEvent>
#include <array>

#include "launcher/translated.h"

namespace {

struct KeyInfo {
  int code;   // USB HID usage
  int evdev;  // Linux input key code (the X11 key code less 8)
  int qtKey;
  bool keypad;
  const char* name;
};

// Letters, digits and what players steer with; other keys the battle does not take.
constexpr KeyInfo kKeys[] = {
    {4, 30, Qt::Key_A, false, "A"},
    {5, 48, Qt::Key_B, false, "B"},
    {6, 46, Qt::Key_C, false, "C"},
    {7, 32, Qt::Key_D, false, "D"},
    {8, 18, Qt::Key_E, false, "E"},
    {9, 33, Qt::Key_F, false, "F"},
    {10, 34, Qt::Key_G, false, "G"},
    {11, 35, Qt::Key_H, false, "H"},
    {12, 23, Qt::Key_I, false, "I"},
    {13, 36, Qt::Key_J, false, "J"},
    {14, 37, Qt::Key_K, false, "K"},
    {15, 38, Qt::Key_L, false, "L"},
    {16, 50, Qt::Key_M, false, "M"},
    {17, 49, Qt::Key_N, false, "N"},
    {18, 24, Qt::Key_O, false, "O"},
    {19, 25, Qt::Key_P, false, "P"},
    {20, 16, Qt::Key_Q, false, "Q"},
    {21, 19, Qt::Key_R, false, "R"},
    {22, 31, Qt::Key_S, false, "S"},
    {23, 20, Qt::Key_T, false, "T"},
    {24, 22, Qt::Key_U, false, "U"},
    {25, 47, Qt::Key_V, false, "V"},
    {26, 17, Qt::Key_W, false, "W"},
    {27, 45, Qt::Key_X, false, "X"},
    {28, 21, Qt::Key_Y, false, "Y"},
    {29, 44, Qt::Key_Z, false, "Z"},
    {30, 2, Qt::Key_1, false, "1"},
    {31, 3, Qt::Key_2, false, "2"},
    {32, 4, Qt::Key_3, false, "3"},
    {33, 5, Qt::Key_4, false, "4"},
    {34, 6, Qt::Key_5, false, "5"},
    {35, 7, Qt::Key_6, false, "6"},
    {36, 8, Qt::Key_7, false, "7"},
    {37, 9, Qt::Key_8, false, "8"},
    {38, 10, Qt::Key_9, false, "9"},
    {39, 11, Qt::Key_0, false, "0"},
    {40, 28, Qt::Key_Return, false, "Return"},
    {41, 1, Qt::Key_Escape, false, "Escape"},
    {42, 14, Qt::Key_Backspace, false, QT_TRANSLATE_NOOP("KeyNames", "Rücktaste")},
    {43, 15, Qt::Key_Tab, false, "Tab"},
    {44, 57, Qt::Key_Space, false, QT_TRANSLATE_NOOP("KeyNames", "Leertaste")},
    {45, 12, Qt::Key_Minus, false, "-"},
    {46, 13, Qt::Key_Equal, false, "="},
    {47, 26, Qt::Key_BracketLeft, false, "["},
    {48, 27, Qt::Key_BracketRight, false, "]"},
    {49, 43, Qt::Key_Backslash, false, "\\"},
    {51, 39, Qt::Key_Semicolon, false, ";"},
    {52, 40, Qt::Key_Apostrophe, false, "'"},
    {53, 41, Qt::Key_QuoteLeft, false, "^"},
    {54, 51, Qt::Key_Comma, false, ","},
    {55, 52, Qt::Key_Period, false, "."},
    {56, 53, Qt::Key_Slash, false, "/"},
    {73, 110, Qt::Key_Insert, false, QT_TRANSLATE_NOOP("KeyNames", "Einfg")},
    {74, 102, Qt::Key_Home, false, QT_TRANSLATE_NOOP("KeyNames", "Pos1")},
    {75, 104, Qt::Key_PageUp, false, QT_TRANSLATE_NOOP("KeyNames", "Bild auf")},
    {76, 111, Qt::Key_Delete, false, QT_TRANSLATE_NOOP("KeyNames", "Entf")},
    {77, 107, Qt::Key_End, false, QT_TRANSLATE_NOOP("KeyNames", "Ende")},
    {78, 109, Qt::Key_PageDown, false, QT_TRANSLATE_NOOP("KeyNames", "Bild ab")},
    {79, 106, Qt::Key_Right, false, QT_TRANSLATE_NOOP("KeyNames", "Pfeil rechts")},
    {80, 105, Qt::Key_Left, false, QT_TRANSLATE_NOOP("KeyNames", "Pfeil links")},
    {81, 108, Qt::Key_Down, false, QT_TRANSLATE_NOOP("KeyNames", "Pfeil runter")},
    {82, 103, Qt::Key_Up, false, QT_TRANSLATE_NOOP("KeyNames", "Pfeil hoch")},
    {84, 98, Qt::Key_Slash, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock /")},
    {85, 55, Qt::Key_Asterisk, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock *")},
    {86, 74, Qt::Key_Minus, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock -")},
    {87, 78, Qt::Key_Plus, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock +")},
    {88, 96, Qt::Key_Enter, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock Enter")},
    {89, 79, Qt::Key_1, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock 1")},
    {90, 80, Qt::Key_2, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock 2")},
    {91, 81, Qt::Key_3, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock 3")},
    {92, 75, Qt::Key_4, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock 4")},
    {93, 76, Qt::Key_5, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock 5")},
    {94, 77, Qt::Key_6, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock 6")},
    {95, 71, Qt::Key_7, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock 7")},
    {96, 72, Qt::Key_8, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock 8")},
    {97, 73, Qt::Key_9, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock 9")},
    {98, 82, Qt::Key_0, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock 0")},
    {99, 83, Qt::Key_Period, true, QT_TRANSLATE_NOOP("KeyNames", "Ziffernblock ,")},
    {100, 86, Qt::Key_Less, false, "<"},
    {224, 29, Qt::Key_Control, false, QT_TRANSLATE_NOOP("KeyNames", "Strg")},
    {225, 42, Qt::Key_Shift, false, QT_TRANSLATE_NOOP("KeyNames", "Umschalt")},
    {226, 56, Qt::Key_Alt, false, "Alt"},
    {228, 97, -1, false, QT_TRANSLATE_NOOP("KeyNames", "Strg rechts")},
    {229, 54, -1, false, QT_TRANSLATE_NOOP("KeyNames", "Umschalt rechts")},
    {230, 100, Qt::Key_AltGr, false, QT_TRANSLATE_NOOP("KeyNames", "Alt Gr")},
};

// X11 numbers its key codes as Linux does, 8 higher.
constexpr int kX11KeyCodeOffset = 8;

}  // namespace

int keyCodeOf(const QKeyEvent& event) {
  const int native = static_cast<int>(event.nativeScanCode());
  if (native > kX11KeyCodeOffset) {
    for (const KeyInfo& key : kKeys) {
      if (key.evdev == native - kX11KeyCodeOffset) return key.code;
    }
  }
  // Keypad 1 and 2 without NumLock are End and Down on the keypad.
  const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
  int qtKey = event.key();
  if (keypad && qtKey == Qt::Key_End) qtKey = Qt::Key_1;
  if (keypad && qtKey == Qt::Key_Down) qtKey = Qt::Key_2;
  for (const KeyInfo& key : kKeys) {
    if (key.qtKey == qtKey && key.keypad == keypad) return key.code;
  }
  return 0;
}

QString keyName(int code) {
  for (const KeyInfo& key : kKeys) {
    if (key.code == code) return translated("KeyNames", key.name);
  }
  return translated("KeyNames", "Taste %1").arg(code);
}
