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

// "--host" with what follows it (null at the end of the line). A port is optional: `next`
// is taken (and `used` set to 1) only when it reads as one. Nothing, with `error` set, when
// `next` is neither a port nor another option.
std::optional<NetworkStart> hostOption(const char* next, int& used, std::string& error);

// "--join" with the address that must follow it; `used` is 1 when it was taken.
std::optional<NetworkStart> joinOption(const char* next, int& used, std::string& error);
