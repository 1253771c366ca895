// The fixed numbers of the launcher's windows and controls; every control number is unique
// across the four windows.
#pragma once

namespace launcher_ids {

// Windows.
inline constexpr int kLauncherWindow = 1, kShipSelectionWindow = 2, kShipEditorWindow = 3,
                     kOptionsWindow = 4;

// Launcher window.
inline constexpr int kSinglePlayerButton = 0, kTwoPlayerButton = 1, kEditorButton = 2,
                     kOptionsButton = 3, kQuitButton = 4, kTitlePicture = 6;

// Ship selection window.
inline constexpr int kStartButton = 5, kClassPicture = 7, kShipList = 8;

// Ship editor window: per class k a frame, a title, eight labels and eight fields.
constexpr int editorFrame(int k) { return 9 + 18 * k; }
constexpr int editorTitle(int k) { return 10 + 18 * k; }
constexpr int editorLabel(int k, int j) { return 11 + 18 * k + j; }
constexpr int editorField(int k, int j) { return 19 + 18 * k + j; }
inline constexpr int kEditorSaveButton = 153, kEditorCancelButton = 154;

// Options window.
inline constexpr int kOptionsTabs = 158, kSoundBox = 159, kShotVolume = 160, kHitVolume = 161,
                     kEnemyCount = 162, kOptionsSaveButton = 163, kOptionsCancelButton = 164,
                     kRangeField = 165, kUnlimitedRange = 166, kLimitedRange = 167,
                     kShotVolumeLabel = 172, kHitVolumeLabel = 174, kEnemyCountLabel = 176,
                     kRangeHeading = 182, kRangeLabel = 183;

// Beyond the fixed table: the computer captains' level on the options' "Gegner" page.
inline constexpr int kCaptainLevelLabel = 184, kCaptainLevel = 185;

inline constexpr int kControlCount = 186;

}  // namespace launcher_ids
