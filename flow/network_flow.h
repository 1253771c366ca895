// A network battle from the waiting window to its end: connect, agree on the version and the
// battle, choose the ships, then play with rollback until one side leaves or the link fails.
#pragma once

#include <string>

#include "flow/network_args.h"
#include "launcher/launcher.h"
#include "launcher/network_lobby.h"
#include "media/media.h"
#include "settings/settings_store.h"
#include "state/spiel.h"

// What the launcher's network window asked for, made usable; nothing, with `problem` saying
// why, for an address that cannot be joined.
std::optional<NetworkStart> networkStartFrom(const NetworkRequest& request, std::string& problem);

// Returns when the match is over or was given up; a message has told the player why, unless
// the player ended it. The settings file is read, never written. A battle that began is kept
// as a replay in `replayFolder` (none when it is empty).
void runNetworkMatch(Spiel& spiel, Media& media, SettingsStore& store,
                     const std::string& settingsFile, const NetworkStart& start,
                     NetworkLobby& lobby, const std::string& replayFolder = {});
