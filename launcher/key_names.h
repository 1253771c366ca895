// Keys as the battle counts them (USB HID usage numbers, SDL's scancodes): which one a Qt key
// event is, and what the launcher calls it.
#pragma once

#include <QString>

class QKeyEvent;

// The key of a key press, by its place on the keyboard where the platform tells it (an X11
// key code), else by what Qt makes of it; 0 for a key the battle does not know.
int keyCodeOf(const QKeyEvent& event);

// A short German name of the key: the letter on a US keyboard, "Pfeil hoch", "Ziffernblock 1".
QString keyName(int code);
