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

OfferView offerView(const PortMapper::Result* result, uint16_t port,
                    const std::vector<std::string>& ownAddresses) {
  const std::string suffix = ":" + std::to_string(port);
  if (result && result->state == PortMapper::State::Mapped) {
    return {"Diese Adresse dem Mitspieler schicken:",
            {result->external.address + ":" + std::to_string(result->external.port)},
            {}};
  }
  OfferView view{"Adresse im eigenen Netz:", {}, {}};
  for (const std::string& own : ownAddresses) view.addresses.push_back(own + suffix);
  // Without a network of its own the computer can still play against itself.
  if (view.addresses.empty()) view.addresses.push_back("127.0.0.1" + suffix);
  const std::string byHand =
      "UDP-Port " + std::to_string(port) + " im Router von Hand an diesen Computer weiterleiten.";
  if (!result) {
    view.note = "Der Router wird nicht gefragt; für einen Mitspieler im Internet " + byHand;
  } else if (result->state == PortMapper::State::Failed) {
    view.note = mappingProblemText(*result) + "; für einen Mitspieler im Internet " + byHand;
  } else {
    view.note = "Der Router wird gefragt …";
  }
  return view;
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
