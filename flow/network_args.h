// How a network battle is asked for on the command line: "--host [PORT]" or
// "--join HOST[:PORT]".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct NetworkStart {
  bool host = false;
  std::string address;  // the host to join
  uint16_t port = 0;
};

// Takes the option and its value out of the arguments. Nothing when there is none; `error`
// says what is wrong with one that cannot be used.
std::optional<NetworkStart> takeNetworkOption(int& argc, char** argv, std::string& error);
