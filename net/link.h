// The connection between the two computers of a network battle, over ENet: one host that
// listens for one guest. Channel 0 carries the reliable messages in order, channel 1 the
// inputs and checksums, unreliable and sequenced. Every wait is bounded by its caller.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Stands between send and the wire for the unreliable packets: a test's bad network.
class PacketFilter {
 public:
  virtual ~PacketFilter() = default;
  // Takes a packet sent at `nowMs`: kept for later, passed on more than once, or dropped.
  virtual void push(uint64_t nowMs, const std::vector<uint8_t>& packet) = 0;
  // The packets whose time has come, in the order they go out.
  virtual std::vector<std::vector<uint8_t>> due(uint64_t nowMs) = 0;
};

class Link {
 public:
  // Milliseconds from any fixed point; a filter's delays are measured with it.
  using Clock = std::function<uint64_t()>;

  // Listens on `port` (0: any free one); nothing, with `error` in German, when it cannot.
  static std::unique_ptr<Link> listen(uint16_t port, std::string& error);
  // Starts connecting to `host`:`port`; Connected or Disconnected follows from poll.
  static std::unique_ptr<Link> connect(const std::string& host, uint16_t port, std::string& error);
  ~Link();  // says goodbye to the peer without waiting for an answer
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  uint16_t port() const;  // the port listened on or connected from

  enum class EventKind { None, Connected, Received, Disconnected };
  struct Event {
    EventKind kind = EventKind::None;
    std::vector<uint8_t> bytes;
  };
  // The next event, waiting at most timeoutMs (0: only what has arrived).
  Event poll(int timeoutMs);
  void send(const std::vector<uint8_t>& bytes, bool reliable);
  bool connected() const;
  // Forgets the connected peer without a word, so that a host can take the next one.
  void dropPeer();
  // How long ENet waits for a silent peer before it reports it gone (5 s at first).
  void setPeerTimeout(uint32_t ms);

  // From now on unreliable packets go out through `filter`.
  void impair(std::unique_ptr<PacketFilter> filter, Clock clock);

 private:
  struct Impl;
  explicit Link(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// "host", "host:port" or a bare port's default: the address and port to join.
struct JoinAddress {
  std::string host;
  uint16_t port;
};
// Why a typed address cannot be joined.
enum class JoinProblem {
  None,
  Empty,
  IPv6,     // ENet 1.3 speaks IPv4 only
  BadPort,  // not 1 to 65535 after the colon
  BadHost,  // no name or dotted IPv4 address
};
struct JoinReading {
  std::optional<JoinAddress> address;
  JoinProblem problem = JoinProblem::None;
};
// Reads what a player pasted: blanks and line ends around it do not count.
JoinReading readJoinAddress(std::string_view text, uint16_t defaultPort);
std::optional<JoinAddress> parseJoinAddress(const std::string& text, uint16_t defaultPort);
