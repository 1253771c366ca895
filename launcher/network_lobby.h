// The launcher's side of a network battle: a window that says what is being waited for (and
// can be cancelled), and the ship list for this player's choice. Includes no Qt header.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/media.h"
#include "state/spiel.h"

class NetworkLobby {
 public:
  NetworkLobby(Spiel& spiel, Media& media);
  ~NetworkLobby();
  NetworkLobby(const NetworkLobby&) = delete;
  NetworkLobby& operator=(const NetworkLobby&) = delete;

  // Shows the waiting window with `text` and takes window events for about `ms`. False once
  // the player cancelled (its button or its close box).
  bool waiting(const std::string& text, int ms);
  // The host's addresses for the guest to type, in large selectable text under `heading`
  // with a button that copies them, and a sentence under them (empty: none). No addresses
  // hide them all.
  void showOffer(const std::string& heading, const std::vector<std::string>& addresses,
                 const std::string& note);
  // The ship list with the battle's classes.
  void startChoice(const std::array<SchiffsTyp, kKlassenAnzahl>& classes);
  // One turn of the ship list: the chosen class once chosen, -1 when the list was closed.
  std::optional<int32_t> choicePass(int ms);
  // Hides every window of the lobby.
  void close();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
