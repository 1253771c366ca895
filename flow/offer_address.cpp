#include "flow/offer_address.h"

#include <cstdlib>

bool portMappingWanted() { return std::getenv("KAPERFAHRT_NO_PORT_MAPPING") == nullptr; }

std::vector<std::string> offerAddressLines(const PortMapper::Result& result, uint16_t port,
                                           const std::vector<std::string>& ownAddresses) {
  if (result.state == PortMapper::State::Mapped) {
    return {"Adresse für den Mitspieler: " + result.external.address + ":" +
            std::to_string(result.external.port)};
  }
  std::vector<std::string> lines{"Keine Portweiterleitung: " + mappingProblemText(result) +
                                 ". UDP-Port " + std::to_string(port) +
                                 " im Router von Hand an diesen Computer weiterleiten."};
  for (const std::string& own : ownAddresses) {
    lines.push_back("Adresse im eigenen Netz: " + own + ":" + std::to_string(port));
  }
  return lines;
}

OfferAddress::OfferAddress(std::unique_ptr<PortMapper> mapper, uint16_t port)
    : mapper_(std::move(mapper)), port_(port) {
  mapper_->start(port);
}

bool OfferAddress::tell(std::ostream& out) {
  if (told_) return true;
  const PortMapper::Result result = mapper_->result();
  if (result.state == PortMapper::State::Asking || result.state == PortMapper::State::Idle) {
    return false;
  }
  for (const std::string& line : offerAddressLines(result, port_, localIPv4Addresses())) {
    out << line << '\n';
  }
  out.flush();  // a script waits for it while the offer goes on
  return told_ = true;
}
