#include "flow/network_args.h"

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

}  // namespace

std::optional<NetworkStart> hostOption(const char* next, int& used, std::string& error) {
  used = 0;
  NetworkStart start{true, {}, kDefaultPort};
  if (next == nullptr || next[0] == '-') return start;
  const std::optional<uint16_t> port = portOf(next);
  if (!port) {
    error = std::string("--host: kein Port: ") + next;
    return std::nullopt;
  }
  start.port = *port;
  used = 1;
  return start;
}

std::optional<NetworkStart> joinOption(const char* next, int& used, std::string& error) {
  used = 0;
  // An option after it is the next option, not a host named like one.
  const std::optional<JoinAddress> address =
      next != nullptr && next[0] != '-' ? parseJoinAddress(next, kDefaultPort) : std::nullopt;
  if (!address) {
    error = "--join braucht RECHNER[:PORT]";
    return std::nullopt;
  }
  used = 1;
  return NetworkStart{false, address->host, address->port};
}
