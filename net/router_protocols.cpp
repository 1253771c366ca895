// The two ways of asking a home router for a forwarding: UPnP IGD through miniupnpc and
// NAT-PMP through libnatpmp. Routers that speak PCP answer NAT-PMP's requests too.
#include <arpa/inet.h>
#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <natpmp.h>
#include <sys/select.h>

#include <algorithm>
#include <string>

#include "net/port_mapper.h"

namespace {

using Clock = std::chrono::steady_clock;

int msUntil(RouterProtocol::Deadline until) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
  return static_cast<int>(std::max<int64_t>(0, left.count()));
}

class Upnp final : public RouterProtocol {
 public:
  ~Upnp() override {
    if (found_) FreeUPNPUrls(&urls_);
  }
  const char* name() const override { return "UPnP"; }

  Answer map(uint16_t port, uint32_t leaseSeconds, Deadline until) override {
    Answer answer;
    if (!found_ && !discover(until)) return answer;
    char external[40] = {};
    const char* service = data_.first.servicetype;
    int r = UPNP_GetExternalIPAddress(urls_.controlURL, service, external);
    if (r != UPNPCOMMAND_SUCCESS || !*external) {
      answer.problem = MappingProblem::Refused;
      answer.detail = r;
      return answer;
    }
    const std::string ports = std::to_string(port), lease = std::to_string(leaseSeconds);
    r = UPNP_AddPortMapping(urls_.controlURL, service, ports.c_str(), ports.c_str(), lan_,
                            "Kaperfahrt", "UDP", nullptr, lease.c_str());
    // Some routers keep only permanent forwardings (725): then removing it matters all the more.
    if (r == 725) {
      r = UPNP_AddPortMapping(urls_.controlURL, service, ports.c_str(), ports.c_str(), lan_,
                              "Kaperfahrt", "UDP", nullptr, "0");
    }
    if (r != UPNPCOMMAND_SUCCESS) {
      answer.problem = MappingProblem::Refused;
      answer.detail = r;
      return answer;
    }
    answer.mapped = ExternalAddress{external, port};
    answer.problem = MappingProblem::None;
    return answer;
  }

  void unmap(uint16_t, const ExternalAddress& mapped) override {
    if (!found_) return;
    const std::string port = std::to_string(mapped.port);
    UPNP_DeletePortMapping(urls_.controlURL, data_.first.servicetype, port.c_str(), "UDP", nullptr);
  }

 private:
  bool discover(Deadline until) {
    // Each kind of device searched for waits this long: short, as a home router answers at once.
    const int delayMs = std::clamp(msUntil(until) / 6, 100, 300);
    int error = 0;
    UPNPDev* devices = upnpDiscover(delayMs, nullptr, nullptr, UPNP_LOCAL_PORT_ANY, 0, 2, &error);
    if (!devices) return false;
    // 1: a connected gateway; 2: one that says it is not connected (some say so wrongly).
    const int kind = UPNP_GetValidIGD(devices, &urls_, &data_, lan_, sizeof lan_);
    freeUPNPDevlist(devices);
    if (kind == 1 || kind == 2) return found_ = true;
    if (kind != 0) FreeUPNPUrls(&urls_);
    return false;
  }

  bool found_ = false;
  UPNPUrls urls_{};
  IGDdatas data_{};
  char lan_[64] = {};
};

class NatPmp final : public RouterProtocol {
 public:
  const char* name() const override { return "NAT-PMP"; }

  Answer map(uint16_t port, uint32_t leaseSeconds, Deadline until) override {
    Answer answer;
    natpmp_t n;
    int r = initnatpmp(&n, 0, 0);
    if (r < 0) {
      answer.problem = MappingProblem::NoNetwork;
      answer.detail = r;
      return answer;
    }
    natpmpresp_t response{};
    r = sendpublicaddressrequest(&n);
    if (r >= 0) r = awaitAnswer(n, response, until);
    char external[INET_ADDRSTRLEN] = {};
    if (r >= 0) {
      inet_ntop(AF_INET, &response.pnu.publicaddress.addr, external, sizeof external);
      r = sendnewportmappingrequest(&n, NATPMP_PROTOCOL_UDP, port, port, leaseSeconds);
    }
    if (r >= 0) r = awaitAnswer(n, response, until);
    closenatpmp(&n);
    if (r < 0) {
      answer.problem = refusal(r) ? MappingProblem::Refused : MappingProblem::NoAnswer;
      answer.detail = r;
      return answer;
    }
    answer.mapped = ExternalAddress{external, response.pnu.newportmapping.mappedpublicport};
    answer.problem = MappingProblem::None;
    return answer;
  }

  void unmap(uint16_t port, const ExternalAddress&) override {
    natpmp_t n;
    if (initnatpmp(&n, 0, 0) < 0) return;
    natpmpresp_t response{};
    // A lifetime of 0 removes the forwarding of this computer's port.
    if (sendnewportmappingrequest(&n, NATPMP_PROTOCOL_UDP, port, 0, 0) >= 0) {
      awaitAnswer(n, response, Clock::now() + std::chrono::seconds(1));
    }
    closenatpmp(&n);
  }

 private:
  static bool refusal(int r) {
    return r == NATPMP_ERR_NOTAUTHORIZED || r == NATPMP_ERR_NETWORKFAILURE ||
           r == NATPMP_ERR_OUTOFRESOURCES || r == NATPMP_ERR_UNSUPPORTEDOPCODE ||
           r == NATPMP_ERR_UNSUPPORTEDVERSION || r == NATPMP_ERR_UNDEFINEDERROR;
  }

  // The library resends on its own schedule; this bounds the wait by the deadline.
  static int awaitAnswer(natpmp_t& n, natpmpresp_t& response, Deadline until) {
    for (;;) {
      const int left = msUntil(until);
      if (left == 0) return NATPMP_TRYAGAIN;
      timeval wait{};
      if (getnatpmprequesttimeout(&n, &wait) < 0) return NATPMP_ERR_NOPENDINGREQ;
      const int64_t waitMs = int64_t{wait.tv_sec} * 1000 + wait.tv_usec / 1000;
      if (waitMs < 0) wait = timeval{};  // a resend is due now
      if (waitMs > left) wait = timeval{left / 1000, (left % 1000) * 1000};
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(n.s, &readable);
      select(n.s + 1, &readable, nullptr, nullptr, &wait);
      const int r = readnatpmpresponseorretry(&n, &response);
      if (r != NATPMP_TRYAGAIN) return r;
    }
  }
};

}  // namespace

std::unique_ptr<RouterProtocol> upnpProtocol() { return std::make_unique<Upnp>(); }
std::unique_ptr<RouterProtocol> natPmpProtocol() { return std::make_unique<NatPmp>(); }
