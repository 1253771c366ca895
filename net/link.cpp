#include "net/link.h"

#include <arpa/inet.h>
#include <enet/enet.h>

#include <algorithm>
#include <charconv>

namespace {

constexpr size_t kChannels = 2;
constexpr uint8_t kReliableChannel = 0, kInputChannel = 1;
// ENet gives up on a peer that has not acknowledged anything for this long (until a battle
// asks for longer, see setPeerTimeout).
constexpr uint32_t kPeerTimeoutMs = 5000;

bool enetReady() {
  static const bool ready = enet_initialize() == 0;  // once per process; nothing to undo
  return ready;
}

}  // namespace

struct Link::Impl {
  ~Impl() {
    if (peer != nullptr) enet_peer_disconnect_now(peer, 0);
    if (host != nullptr) enet_host_destroy(host);
  }
  void sendNow(const std::vector<uint8_t>& bytes, bool reliable) {
    if (peer == nullptr) return;
    ENetPacket* packet =
        enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (packet == nullptr) return;
    if (enet_peer_send(peer, reliable ? kReliableChannel : kInputChannel, packet) != 0) {
      enet_packet_destroy(packet);
    }
  }
  void releaseDue() {
    if (!impairment) return;
    for (const std::vector<uint8_t>& bytes : impairment->due(clock())) sendNow(bytes, false);
    enet_host_flush(host);
  }

  ENetHost* host = nullptr;
  ENetPeer* peer = nullptr;
  std::unique_ptr<PacketFilter> impairment;
  Clock clock;
  uint32_t timeoutMs = kPeerTimeoutMs;
};

Link::Link(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Link::~Link() = default;

std::unique_ptr<Link> Link::listen(uint16_t port, std::string& error) {
  if (!enetReady()) {
    error = "Netzwerk nicht verfügbar";
    return nullptr;
  }
  ENetAddress address{};
  address.host = ENET_HOST_ANY;
  address.port = port;
  auto impl = std::make_unique<Impl>();
  impl->host = enet_host_create(&address, 1, kChannels, 0, 0);
  if (impl->host == nullptr) {
    error = "Port " + std::to_string(port) + " lässt sich nicht öffnen";
    return nullptr;
  }
  return std::unique_ptr<Link>(new Link(std::move(impl)));
}

std::unique_ptr<Link> Link::connect(const std::string& host, uint16_t port, std::string& error) {
  if (!enetReady()) {
    error = "Netzwerk nicht verfügbar";
    return nullptr;
  }
  ENetAddress address{};
  if (enet_address_set_host(&address, host.c_str()) != 0) {
    error = "Rechner " + host + " nicht gefunden";
    return nullptr;
  }
  address.port = port;
  auto impl = std::make_unique<Impl>();
  impl->host = enet_host_create(nullptr, 1, kChannels, 0, 0);
  if (impl->host != nullptr) impl->peer = enet_host_connect(impl->host, &address, kChannels, 0);
  if (impl->peer == nullptr) {
    error = "Verbindung lässt sich nicht aufbauen";
    return nullptr;
  }
  enet_peer_timeout(impl->peer, 0, kPeerTimeoutMs, kPeerTimeoutMs);
  return std::unique_ptr<Link>(new Link(std::move(impl)));
}

uint16_t Link::port() const {
  ENetAddress address{};
  if (enet_socket_get_address(impl_->host->socket, &address) != 0) return 0;
  return address.port;
}

Link::Event Link::poll(int timeoutMs) {
  impl_->releaseDue();
  ENetEvent event{};
  if (enet_host_service(impl_->host, &event, static_cast<uint32_t>(std::max(timeoutMs, 0))) <= 0) {
    return {};
  }
  switch (event.type) {
    case ENET_EVENT_TYPE_CONNECT:
      impl_->peer = event.peer;
      enet_peer_timeout(event.peer, 0, impl_->timeoutMs, impl_->timeoutMs);
      return {EventKind::Connected, {}};
    case ENET_EVENT_TYPE_RECEIVE: {
      Event received{EventKind::Received,
                     {event.packet->data, event.packet->data + event.packet->dataLength}};
      enet_packet_destroy(event.packet);
      return received;
    }
    case ENET_EVENT_TYPE_DISCONNECT:
      if (event.peer == impl_->peer) impl_->peer = nullptr;
      return {EventKind::Disconnected, {}};
    case ENET_EVENT_TYPE_NONE:
      break;
  }
  return {};
}

void Link::send(const std::vector<uint8_t>& bytes, bool reliable) {
  if (!connected()) return;
  if (!reliable && impl_->impairment) {
    impl_->impairment->push(impl_->clock(), bytes);
    impl_->releaseDue();
    return;
  }
  impl_->sendNow(bytes, reliable);
  enet_host_flush(impl_->host);
}

void Link::setPeerTimeout(uint32_t ms) {
  impl_->timeoutMs = ms;
  if (impl_->peer != nullptr) enet_peer_timeout(impl_->peer, 0, ms, ms);
}

void Link::dropPeer() {
  if (impl_->peer == nullptr) return;
  enet_peer_reset(impl_->peer);
  impl_->peer = nullptr;
}

bool Link::connected() const {
  return impl_->peer != nullptr && impl_->peer->state == ENET_PEER_STATE_CONNECTED;
}

void Link::impair(std::unique_ptr<PacketFilter> filter, Clock clock) {
  impl_->impairment = std::move(filter);
  impl_->clock = std::move(clock);
}

namespace {

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view kBlank = " \t\r\n\v\f";
  const size_t first = text.find_first_not_of(kBlank);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

bool nameLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_';
}

// A host name, or a dotted IPv4 address (digits and dots alone must be one, or the name server
// would be asked for a name no one can have).
bool usableHost(std::string_view host) {
  if (host.empty() || host.size() > 253) return false;
  if (host.find_first_not_of("0123456789.") != std::string_view::npos) return true;
  in_addr address{};
  return inet_pton(AF_INET, std::string(host).c_str(), &address) == 1;
}

}  // namespace

JoinReading readJoinAddress(std::string_view text, uint16_t defaultPort) {
  text = trimmed(text);
  if (text.empty()) return {std::nullopt, JoinProblem::Empty};
  const size_t colon = text.rfind(':');
  if (text.front() == '[' || text.find(':') != colon) return {std::nullopt, JoinProblem::IPv6};
  // A blank, a slash or the like: a web address, a sentence, not a host.
  if (!std::all_of(text.begin(), text.end(), [](char c) { return nameLetter(c) || c == ':'; })) {
    return {std::nullopt, JoinProblem::BadHost};
  }
  JoinAddress address{std::string(text.substr(0, colon)), defaultPort};
  if (colon != std::string_view::npos) {
    const std::string_view port = text.substr(colon + 1);
    unsigned value = 0;
    const auto [end, fault] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (fault != std::errc{} || end != port.data() + port.size() || value == 0 || value > 65535) {
      return {std::nullopt, JoinProblem::BadPort};
    }
    address.port = static_cast<uint16_t>(value);
  }
  if (!usableHost(address.host)) return {std::nullopt, JoinProblem::BadHost};
  return {address, JoinProblem::None};
}

std::optional<JoinAddress> parseJoinAddress(const std::string& text, uint16_t defaultPort) {
  return readJoinAddress(text, defaultPort).address;
}
