#include "flow/offer_address.h"

#include <gtest/gtest.h>

namespace {

PortMapper::Result answered(PortMapper::State state, MappingProblem problem = {}) {
  PortMapper::Result result;
  result.state = state;
  result.problem = problem;
  result.external = {"203.0.113.7", 50000};
  return result;
}

// The guest is sent the router's address and port once it forwards; until then, and when it
// will not, this computer's own addresses, with the port to forward by hand once that is sure.
TEST(OfferView, TheRoutersAddressOrOwnAddressesAndWhatToForwardByHand) {
  const std::vector<std::string> own{"192.168.1.20", "10.0.0.5"};
  const PortMapper::Result mapped = answered(PortMapper::State::Mapped);
  const OfferView sent = offerView(&mapped, 47111, own);
  EXPECT_EQ(sent.addresses, std::vector<std::string>{"203.0.113.7:50000"});
  EXPECT_EQ(sent.note, "");

  const PortMapper::Result failed = answered(PortMapper::State::Failed, MappingProblem::NoAnswer);
  const PortMapper::Result asking = answered(PortMapper::State::Asking);
  for (const PortMapper::Result* result : {&failed, &asking, (const PortMapper::Result*)nullptr}) {
    const OfferView view = offerView(result, 47111, own);
    EXPECT_EQ(view.addresses, (std::vector<std::string>{"192.168.1.20:47111", "10.0.0.5:47111"}));
    const bool byHand = view.note.find("UDP-Port 47111 im Router von Hand") != std::string::npos;
    EXPECT_EQ(byHand, result != &asking) << view.note;
  }
  EXPECT_EQ(offerView(&failed, 47111, own).note.rfind("Der Router hat weder auf UPnP", 0), 0u);
  EXPECT_EQ(offerView(&failed, 5, {}).addresses, std::vector<std::string>{"127.0.0.1:5"});
}

}  // namespace
