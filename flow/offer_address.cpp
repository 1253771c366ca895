#include "flow/offer_address.h"

#include <cstdlib>

#include "flow/network_texts.h"
#include "launcher/catalogue.h"

bool portMappingWanted() { return std::getenv("KAPERFAHRT_NO_PORT_MAPPING") == nullptr; }

std::vector<std::string> offerAddressLines(const PortMapper::Result& result, uint16_t port,
                                           const std::vector<std::string>& ownAddresses) {
  if (result.state == PortMapper::State::Mapped) {
    return {filledIn(translatedText("Network", "Adresse für den Mitspieler: %1"),
                     {result.external.address + ":" + std::to_string(result.external.port)})};
  }
  std::vector<std::string> lines{
      filledIn(translatedText("Network",
                              "Keine Portweiterleitung: %1. UDP-Port %2 im Router von Hand an "
                              "diesen Computer weiterleiten."),
               {mappingProblemText(result), std::to_string(port)})};
  for (const std::string& own : ownAddresses) {
    lines.push_back(filledIn(translatedText("Network", "Adresse im eigenen Netz: %1"),
                             {own + ":" + std::to_string(port)}));
  }
  return lines;
}

OfferView offerView(const PortMapper::Result* result, uint16_t port,
                    const std::vector<std::string>& ownAddresses) {
  const std::string suffix = ":" + std::to_string(port);
  if (result && result->state == PortMapper::State::Mapped) {
    return {translatedText("Network", "Diese Adresse dem Mitspieler schicken:"),
            {result->external.address + ":" + std::to_string(result->external.port)},
            {}};
  }
  OfferView view{translatedText("Network", "Adresse im eigenen Netz:"), {}, {}};
  for (const std::string& own : ownAddresses) view.addresses.push_back(own + suffix);
  // Without a network of its own the computer can still play against itself.
  if (view.addresses.empty()) view.addresses.push_back("127.0.0.1" + suffix);
  const std::string number = std::to_string(port);
  if (!result) {
    view.note = filledIn(translatedText("Network",
                                        "Der Router wird nicht gefragt; für einen Mitspieler im "
                                        "Internet UDP-Port %1 im Router von Hand an diesen "
                                        "Computer weiterleiten."),
                         {number});
  } else if (result->state == PortMapper::State::Failed) {
    view.note = filledIn(translatedText("Network",
                                        "%1; für einen Mitspieler im Internet UDP-Port %2 im "
                                        "Router von Hand an diesen Computer weiterleiten."),
                         {mappingProblemText(*result), number});
  } else {
    view.note = translatedText("Network", "Der Router wird gefragt …");
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
