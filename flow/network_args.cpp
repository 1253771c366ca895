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

std::string joinProblemText(JoinProblem problem) {
  switch (problem) {
    case JoinProblem::Empty:
      return "Bitte die Adresse des Gastgebers eingeben: RECHNER oder RECHNER:PORT, etwa "
             "192.168.1.20 oder 203.0.113.7:47111";
    case JoinProblem::IPv6:
      return "IPv6-Adressen gehen nicht: Debians ENet 1.3, über das das Spiel verbindet, kann "
             "nur IPv4. Bitte die IPv4-Adresse des Gastgebers eingeben, etwa 203.0.113.7:47111";
    case JoinProblem::BadPort:
      return "Der Port hinter dem Doppelpunkt muss eine Zahl von 1 bis 65535 sein, etwa "
             "203.0.113.7:47111";
    case JoinProblem::BadHost:
      return "Das ist keine Adresse: erwartet wird ein Rechnername oder eine IPv4-Adresse, "
             "wahlweise mit :PORT, etwa 192.168.1.20 oder 203.0.113.7:47111";
    case JoinProblem::None:
      break;
  }
  return {};
}

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

std::optional<NetworkStart> joinStart(std::string_view typed, std::string& problem) {
  const JoinReading reading = readJoinAddress(typed, kDefaultPort);
  if (!reading.address) {
    problem = joinProblemText(reading.problem);
    return std::nullopt;
  }
  return NetworkStart{false, reading.address->host, reading.address->port};
}

std::optional<NetworkStart> joinOption(const char* next, int& used, std::string& error) {
  used = 0;
  error = "--join braucht RECHNER[:PORT]";
  // An option after it is the next option, not a host named like one.
  if (next == nullptr || next[0] == '-') return std::nullopt;
  std::string problem;
  std::optional<NetworkStart> start = joinStart(next, problem);
  if (!start) {
    error += ": " + problem;
    return std::nullopt;
  }
  error.clear();
  used = 1;
  return start;
}