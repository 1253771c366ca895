// A small UDP relay for the real-window network tests: what a guest sends to the relay goes to
// the host, and back. When the trigger file appears, everything is dropped for a while, both
// ways, as a network that fails for a moment (this machine's kernel has no netem).
//   udp_relay --free-port               prints a UDP port the system chose, free just now
//   udp_relay <host port> <drop ms> <trigger file>
//                                       prints its own port, then relays until killed
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in loopback(uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(port);
  return a;
}

int boundSocket() {
  const int s = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in any = loopback(0);
  if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&any), sizeof any) != 0) std::exit(1);
  return s;
}

uint16_t portOf(int s) {
  sockaddr_in a{};
  socklen_t size = sizeof a;
  getsockname(s, reinterpret_cast<sockaddr*>(&a), &size);
  return ntohs(a.sin_port);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "--free-port") {
    std::printf("%u\n", portOf(boundSocket()));
    return 0;
  }
  if (argc != 4) return 2;
  const sockaddr_in host = loopback(static_cast<uint16_t>(std::atoi(argv[1])));
  const auto dropFor = std::chrono::milliseconds(std::atoi(argv[2]));
  const std::filesystem::path trigger = argv[3];
  const int front = boundSocket(), back = boundSocket();
  std::printf("%u\n", portOf(front));
  std::fflush(stdout);
  sockaddr_in guest{};
  bool guestKnown = false;
  Clock::time_point droppingUntil{};
  char packet[65536];
  for (;;) {
    if (std::filesystem::exists(trigger)) {
      std::filesystem::remove(trigger);
      droppingUntil = Clock::now() + dropFor;
      std::fprintf(stderr, "udp_relay: dropping everything for %s ms\n", argv[2]);
    }
    pollfd both[2] = {{front, POLLIN, 0}, {back, POLLIN, 0}};
    if (poll(both, 2, 20) <= 0) continue;
    const bool dropping = Clock::now() < droppingUntil;
    if (both[0].revents & POLLIN) {
      socklen_t size = sizeof guest;
      const ssize_t n =
          recvfrom(front, packet, sizeof packet, 0, reinterpret_cast<sockaddr*>(&guest), &size);
      guestKnown = true;
      if (n > 0 && !dropping)
        sendto(back, packet, n, 0, reinterpret_cast<const sockaddr*>(&host), sizeof host);
    }
    if (both[1].revents & POLLIN) {
      const ssize_t n = recv(back, packet, sizeof packet, 0);
      if (n > 0 && guestKnown && !dropping)
        sendto(front, packet, n, 0, reinterpret_cast<const sockaddr*>(&guest), sizeof guest);
    }
  }
}
