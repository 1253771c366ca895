// The game's message boxes: the start-up message and the "Beenden" question, drawn by Qt
// (through fontconfig), so that they show on an X server without core fonts as well.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "media/backend.h"

class QWidget;

// A modal box above the battle window `parentWindow` (its X11 id, 0 for none). Title and
// text are Latin-1. A question has the buttons "Ja" (Return) and "Nein" (Escape) and a
// question icon; a message has "OK" and no icon. True for Yes and for OK; nullopt when
// there is no QApplication to show the box with. `outsideAnswer`, asked every few
// milliseconds while the box is open, may answer it instead (a pad's A or B).
std::optional<bool> showMessageBox(const std::string& title, const std::string& text,
                                   MessageKind kind, uint64_t parentWindow,
                                   const std::function<std::optional<bool>()>& outsideAnswer = {});

// Why a save of the settings file failed, in German (UTF-8); error is an errno value.
std::string saveFailureText(const std::string& file, int error);

// A modal warning over the window `over` with a UTF-8 text; returns once the player has read
// it.
void showProblem(QWidget* over, const std::string& title, const std::string& text);

// Tells the player in a modal box over the window `over` that the settings file was not
// saved, and why; returns once the player has read it.
void showSaveFailure(QWidget* over, const std::string& file, int error);
