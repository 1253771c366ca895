#include "flow/network_args.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "net/link.h"
#include "net/protocol.h"

namespace {

std::optional<uint16_t> portOf(std::string_view text) {
  unsigned value = 0;
  const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (fault != std::errc{} || end != text.data() + text.size() || value == 0 || value > 65535) {
    return std::nullopt;
  }
  return static_cast<uint16_t>(value);
}

void removeArguments(int& argc, char** argv, int at, int count) {
  std::rotate(argv + at, argv + at + count, argv + argc);
  argc -= count;
  argv[argc] = nullptr;
}

}  // namespace

std::optional<NetworkStart> takeNetworkOption(int& argc, char** argv, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg != "--host" && arg != "--join") continue;
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    NetworkStart start;
    start.host = arg == "--host";
    int taken = 1;
    if (start.host) {
      start.port = kDefaultPort;
      // A port is optional; the next argument is one only if it reads as one.
      if (value != nullptr && portOf(value)) {
        start.port = *portOf(value);
        taken = 2;
      } else if (value != nullptr && value[0] != '-') {
        error = std::string("--host: kein Port: ") + value;
        return std::nullopt;
      }
    } else {
      const std::optional<JoinAddress> address =
          value != nullptr ? parseJoinAddress(value, kDefaultPort) : std::nullopt;
      if (!address) {
        error = "--join braucht RECHNER[:PORT]";
        return std::nullopt;
      }
      start.address = address->host;
      start.port = address->port;
      taken = 2;
    }
    removeArguments(argc, argv, i, taken);
    return start;
  }
  return std::nullopt;
}
