// The address a host sends to the guest. While a battle is offered the router is asked to
// forward the port; once it answered (or did not in time) the address is told on standard
// output, one line a script can read. The forwarding ends with this object.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "net/port_mapper.h"

// False when KAPERFAHRT_NO_PORT_MAPPING is set: the router is then left alone (tests that are
// not about routers, and players who forward the port themselves).
bool portMappingWanted();

// "Adresse für den Mitspieler: A.B.C.D:PORT" when the router forwards the port; otherwise
// "Keine Portweiterleitung: <Grund>" and then each of this computer's own addresses.
std::vector<std::string> offerAddressLines(const PortMapper::Result& result, uint16_t port,
                                           const std::vector<std::string>& ownAddresses);

// What the host's waiting window shows: the addresses the guest may type, in large text under
// a heading, and one sentence about the router (none once it forwards the port).
struct OfferView {
  std::string heading;
  std::vector<std::string> addresses;
  std::string note;
};
// `result` of nothing: the router is not asked at all.
OfferView offerView(const PortMapper::Result* result, uint16_t port,
                    const std::vector<std::string>& ownAddresses);

class OfferAddress {
 public:
  OfferAddress(std::unique_ptr<PortMapper> mapper, uint16_t port);
  // Tells the address once the router's answer is known; true from then on. Never waits.
  bool tell(std::ostream& out);
  PortMapper::Result result() const { return mapper_->result(); }

 private:
  std::unique_ptr<PortMapper> mapper_;
  uint16_t port_;
  bool told_ = false;
};
