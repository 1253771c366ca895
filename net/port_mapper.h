// Asking the home router to forward the offered UDP port to this computer, so that a guest
// on the internet can reach the host. Every way of asking (UPnP IGD, NAT-PMP) is tried at
// once on threads of their own; the caller only polls, so nothing here ever blocks a window.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct ExternalAddress {
  std::string address;  // dotted IPv4, as the router reports it
  uint16_t port = 0;
};

enum class MappingProblem {
  None,
  NoAnswer,   // no router answered in time
  Refused,    // a router answered but would not forward the port
  NotPublic,  // the router's own outside address is a private one (a router behind it)
  NoNetwork,  // this computer has no route to any router
};

// One way of asking a router. Its calls block; `map` gives up by `until`, `unmap` after a
// moment of its own. A protocol's calls never overlap.
class RouterProtocol {
 public:
  using Deadline = std::chrono::steady_clock::time_point;
  struct Answer {
    std::optional<ExternalAddress> mapped;
    MappingProblem problem = MappingProblem::NoAnswer;
    int detail = 0;  // the protocol's own error number, for the player's message
  };
  virtual ~RouterProtocol() = default;
  virtual const char* name() const = 0;
  // Forwards the router's `port` (or another one it chooses) to this computer's `port` for
  // `leaseSeconds`; asking again renews it.
  virtual Answer map(uint16_t port, uint32_t leaseSeconds, Deadline until) = 0;
  virtual void unmap(uint16_t port, const ExternalAddress& mapped) = 0;
};

std::unique_ptr<RouterProtocol> upnpProtocol();
std::unique_ptr<RouterProtocol> natPmpProtocol();

struct PortMappingTiming {
  int giveUpMs = 2000;
  uint32_t leaseSeconds = 3600;
  int renewMs = 1800 * 1000;  // half the lease: one lost renewal still leaves time
  int farewellMs = 1500;      // how long the end waits for the router to answer
};

class PortMapper {
 public:
  using Timing = PortMappingTiming;
  enum class State { Idle, Asking, Mapped, Failed };
  struct Result {
    State state = State::Idle;
    ExternalAddress external;  // when Mapped
    MappingProblem problem = MappingProblem::None;
    int detail = 0;
    const char* protocol = "";  // which way of asking it worked, or the last to fail
  };

  explicit PortMapper(std::vector<std::unique_ptr<RouterProtocol>> protocols, Timing timing = {});
  // UPnP IGD and NAT-PMP (which routers speaking PCP answer too).
  static std::unique_ptr<PortMapper> forRouter(Timing timing = {});
  // Removes the mapping, waiting at most the farewell time for the router.
  ~PortMapper();
  PortMapper(const PortMapper&) = delete;
  PortMapper& operator=(const PortMapper&) = delete;

  // Starts asking for `port`; only the first call counts.
  void start(uint16_t port);
  Result result() const;
  // Asks the router to forward the port no longer; returns at once. Also what the
  // destructor does.
  void remove();

  // How many threads of this mapper still run (tests wait for zero).
  int running() const;

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

// This computer's IPv4 addresses that are up, loopback left out.
std::vector<std::string> localIPv4Addresses();
