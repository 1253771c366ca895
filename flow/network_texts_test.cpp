// The texts a network battle shows, for the codes net/ reports: German as the game speaks it.
#include "flow/network_texts.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "net/protocol.h"
#include "state/build_identity.h"

namespace {

// Builds that could play different battles refuse each other at the first packet, and the
// message names both, whatever the other's protocol.
TEST(NetworkTexts, AnotherBuildIsToldApartAndNamed) {
  const std::string ours(gameVersion());
  const auto heard = [](std::vector<uint8_t> bytes) {
    const std::optional<Message> m = decode(bytes);
    EXPECT_TRUE(m && std::holds_alternative<Hello>(*m));
    const Hello h = m ? std::get<Hello>(*m) : Hello{};
    return std::make_pair(sameBuild(h), otherBuildMessage(h.version, h.identity, h.gameVersion));
  };
  EXPECT_TRUE(heard(encode(Hello{})).first);
  const auto first = heard({1, 'K', 'F', 1, 0});  // protocol 1 said no more
  EXPECT_FALSE(first.first);
  EXPECT_EQ(
      first.second,
      "Der Mitspieler hat eine andere Version des Spiels (dort Protokoll 1, hier " + ours + ")");
  EXPECT_EQ(heard(encode(Hello{kProtocolVersion, stepIdentity(), "9.1"})).second,
            "Der Mitspieler hat eine andere Version des Spiels (dort 9.1, hier " + ours + ")");
  const auto twin = heard(encode(Hello{kProtocolVersion, 0x0123456789abcdefull, ours}));
  EXPECT_FALSE(twin.first);
  EXPECT_NE(twin.second.find("dort " + ours + " [01234567]"), std::string::npos) << twin.second;
  // A later protocol may say more after the same fields.
  std::vector<uint8_t> later = encode(Hello{kProtocolVersion + 1, 5, "3.0"});
  later.insert(later.end(), {0xAA, 0xBB});
  EXPECT_EQ(heard(later).second,
            "Der Mitspieler hat eine andere Version des Spiels (dort 3.0, hier " + ours + ")");
  // The refusal carries this build back.
  const std::optional<Message> refusal = decode(encode(Refusal{}));
  ASSERT_TRUE(refusal);
  EXPECT_TRUE(sameBuild(std::get<Refusal>(*refusal)));
}

// What each goodbye tells the player on the other side.
TEST(NetworkTexts, AGoodbyeSaysWhyTheOtherSideWent) {
  const std::vector<std::pair<Goodbye::Reason, std::string>> said = {
      {Goodbye::Reason::Left, "Der andere Spieler hat die Schlacht verlassen"},
      {Goodbye::Reason::NotTheSame, "Spiel nicht mehr gleich"},
      {Goodbye::Reason::Cancelled, "Der Mitspieler hat abgebrochen"},
  };
  for (const auto& [reason, text] : said) {
    const std::optional<Message> bye = decode(encode(Goodbye{reason}));
    ASSERT_TRUE(bye);
    EXPECT_EQ(endMessage(endFor(std::get<Goodbye>(*bye))), text);
  }
}

TEST(NetworkTexts, LinkAndRouterProblemsNameWhatFailed) {
  EXPECT_EQ(linkProblemText(LinkProblem::HostUnknown, "hafen", 47111),
            "Rechner hafen nicht gefunden");
  EXPECT_EQ(linkProblemText(LinkProblem::PortUnavailable, "", 80),
            "Port 80 lässt sich nicht öffnen");
  PortMapper::Result r;
  r.problem = MappingProblem::Refused;
  r.protocol = "UPnP";
  r.detail = 718;
  EXPECT_EQ(mappingProblemText(r), "Der Router lehnt die Weiterleitung ab (UPnP-Fehler 718)");
  r.problem = MappingProblem::NoAnswer;
  EXPECT_EQ(mappingProblemText(r), "Der Router hat weder auf UPnP noch auf NAT-PMP geantwortet");
}

}  // namespace
