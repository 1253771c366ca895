#include "net/addresses.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <mutex>
#include <thread>

namespace {

std::string dotted(const in_addr& address) {
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &address, text, sizeof text);
  return text;
}

}  // namespace

std::optional<std::string> resolveIPv4(const std::string& name) {
  addrinfo hints{};
  hints.ai_family = AF_INET;  // ENet speaks IPv4
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
    return std::nullopt;
  }
  const std::string address = dotted(reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr);
  freeaddrinfo(found);
  return address;
}

struct NameLookup::Shared {
  mutable std::mutex lock;
  bool done = false;
  std::optional<std::string> address;
};

NameLookup::NameLookup(const std::string& name, Resolve resolve)
    : shared_(std::make_shared<Shared>()) {
  // The worker holds the shared state itself, so it may outlive this lookup.
  std::thread([shared = shared_, name, resolve = std::move(resolve)] {
    std::optional<std::string> address = resolve(name);
    const std::lock_guard<std::mutex> hold(shared->lock);
    shared->address = std::move(address);
    shared->done = true;
  }).detach();
}

NameLookup::~NameLookup() = default;

bool NameLookup::done() const {
  const std::lock_guard<std::mutex> hold(shared_->lock);
  return shared_->done;
}

std::optional<std::string> NameLookup::result() const {
  const std::lock_guard<std::mutex> hold(shared_->lock);
  return shared_->address;
}
