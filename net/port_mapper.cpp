#include "net/port_mapper.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>

#include <condition_variable>
#include <thread>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

// A more telling problem wins: a router that said no says more than one that was silent.
int weight(MappingProblem p) {
  switch (p) {
    case MappingProblem::Refused:
    case MappingProblem::NotPublic:
      return 3;
    case MappingProblem::NoNetwork:
      return 2;
    case MappingProblem::NoAnswer:
      return 1;
    case MappingProblem::None:
      break;
  }
  return 0;
}

// Addresses that no guest on the internet can reach: the router itself sits behind another.
bool reachableFromOutside(const std::string& address) {
  in_addr a{};
  if (inet_pton(AF_INET, address.c_str(), &a) != 1) return false;
  const uint32_t ip = ntohl(a.s_addr);
  const auto in = [ip](uint32_t net, int bits) {
    return (ip >> (32 - bits)) == (net >> (32 - bits));
  };
  return !(in(0x00000000, 8) || in(0x0A000000, 8) || in(0x7F000000, 8) || in(0xA9FE0000, 16) ||
           in(0xAC100000, 12) || in(0xC0A80000, 16) || in(0x64400000, 10));
}

}  // namespace

struct PortMapper::Shared {
  std::vector<std::unique_ptr<RouterProtocol>> protocols;
  Timing timing;
  std::mutex mutex;
  std::condition_variable changed;
  Result result;
  uint16_t port = 0;
  bool removing = false;
  int asking = 0;        // protocols still on their first request
  int threads = 0;       // threads of this mapper still running
  bool keeping = false;  // the thread that renews and removes the grants is running
  std::vector<std::pair<RouterProtocol*, ExternalAddress>> held;

  void note(RouterProtocol& protocol, const RouterProtocol::Answer& answer) {
    if (weight(answer.problem) <= weight(result.problem)) return;
    result.problem = answer.problem;
    result.detail = answer.detail;
    result.protocol = protocol.name();
    if (answer.mapped) result.external = *answer.mapped;
  }

  // One protocol's first request. A mapping that arrives after the mapper gave up or was
  // told to remove it is taken back at once, so no router keeps a forgotten forwarding.
  void ask(RouterProtocol& protocol, Clock::time_point until) {
    RouterProtocol::Answer answer = protocol.map(port, timing.leaseSeconds, until);
    if (answer.mapped && !reachableFromOutside(answer.mapped->address)) {
      protocol.unmap(port, *answer.mapped);
      answer.problem = MappingProblem::NotPublic;
    }
    std::unique_lock lock(mutex);
    --asking;
    const bool wanted = !removing && result.state != State::Failed;
    if (answer.mapped && answer.problem != MappingProblem::NotPublic && wanted) {
      held.emplace_back(&protocol, *answer.mapped);
      if (result.state == State::Asking) {
        result = {State::Mapped, *answer.mapped, MappingProblem::None, 0, protocol.name()};
      }
    } else if (answer.mapped && answer.problem != MappingProblem::NotPublic) {
      lock.unlock();
      protocol.unmap(port, *answer.mapped);
      lock.lock();
    } else {
      note(protocol, answer);
    }
    if (asking == 0 && result.state == State::Asking) result.state = State::Failed;
    changed.notify_all();
  }

  // Waits for the first answers, then renews the lease until told to remove it.
  void keep(Clock::time_point giveUp) {
    std::unique_lock lock(mutex);
    changed.wait_until(lock, giveUp, [this] { return result.state != State::Asking || removing; });
    if (result.state == State::Asking) {
      result.state = State::Failed;
      if (result.problem == MappingProblem::None) result.problem = MappingProblem::NoAnswer;
    }
    while (!removing) {
      const auto renewal = std::chrono::milliseconds(timing.renewMs);
      if (changed.wait_for(lock, renewal, [this] { return removing; })) break;
      const auto renewing = held;
      lock.unlock();
      const auto until = Clock::now() + std::chrono::milliseconds(timing.giveUpMs);
      for (const auto& [protocol, mapped] : renewing)
        protocol->map(port, timing.leaseSeconds, until);
      lock.lock();
    }
    const auto leaving = std::exchange(held, {});
    lock.unlock();
    for (const auto& [protocol, mapped] : leaving) protocol->unmap(port, mapped);
    lock.lock();
    keeping = false;
  }

  void finished() {
    std::lock_guard lock(mutex);
    --threads;
    changed.notify_all();
  }
};

PortMapper::PortMapper(std::vector<std::unique_ptr<RouterProtocol>> protocols, Timing timing)
    : shared_(std::make_shared<Shared>()) {
  shared_->protocols = std::move(protocols);
  shared_->timing = timing;
}

std::unique_ptr<PortMapper> PortMapper::forRouter(Timing timing) {
  std::vector<std::unique_ptr<RouterProtocol>> protocols;
  protocols.push_back(upnpProtocol());
  protocols.push_back(natPmpProtocol());
  return std::make_unique<PortMapper>(std::move(protocols), timing);
}

PortMapper::~PortMapper() {
  remove();
  // Only the grants' removal is waited for: a protocol still asking takes back a late grant
  // itself, and the threads own what they use, so they may outlive this.
  std::unique_lock lock(shared_->mutex);
  shared_->changed.wait_for(lock, std::chrono::milliseconds(shared_->timing.farewellMs),
                            [this] { return !shared_->keeping; });
}

void PortMapper::start(uint16_t port) {
  std::lock_guard lock(shared_->mutex);
  if (shared_->result.state != State::Idle || shared_->removing) return;
  shared_->port = port;
  shared_->result.state = State::Asking;
  shared_->asking = static_cast<int>(shared_->protocols.size());
  shared_->threads = shared_->asking + 1;
  shared_->keeping = true;
  const auto giveUp = Clock::now() + std::chrono::milliseconds(shared_->timing.giveUpMs);
  for (const auto& protocol : shared_->protocols) {
    std::thread([s = shared_, p = protocol.get(), giveUp] {
      s->ask(*p, giveUp);
      s->finished();
    }).detach();
  }
  std::thread([s = shared_, giveUp] {
    s->keep(giveUp);
    s->finished();
  }).detach();
}

PortMapper::Result PortMapper::result() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->result;
}

void PortMapper::remove() {
  std::lock_guard lock(shared_->mutex);
  shared_->removing = true;
  shared_->changed.notify_all();
}

int PortMapper::running() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->threads;
}

std::vector<std::string> localIPv4Addresses() {
  std::vector<std::string> addresses;
  ifaddrs* all = nullptr;
  if (getifaddrs(&all) != 0) return addresses;
  for (const ifaddrs* i = all; i; i = i->ifa_next) {
    if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
    if ((i->ifa_flags & IFF_LOOPBACK) || !(i->ifa_flags & IFF_UP)) continue;
    char text[INET_ADDRSTRLEN] = {};
    const auto* in = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
    if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) addresses.emplace_back(text);
  }
  freeifaddrs(all);
  return addresses;
}
