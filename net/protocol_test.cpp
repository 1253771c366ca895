#include "net/protocol.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <sstream>
#include <string>

#include "net/flood_guard.h"
#include "net/impairment.h"
#include "net/link.h"
#include "net/session.h"
#include "state/snapshot.h"

namespace {

Welcome someWelcome() {
  Welcome w;
  w.seed = 0xDEADBEEF;
  w.option = 1;
  w.reichweite = -7;
  w.schussLautstaerke = 100;
  w.trefferLautstaerke = 0;
  for (int k = 0; k < kKlassenAnzahl; ++k) {
    w.schiffstabelle[k] = {0.1f * k, 2, 100, 25, 30, 0.5f, 10, 1.5f};
  }
  w.schiffstabelle[3].Schaden = std::numeric_limits<float>::quiet_NaN();
  w.schiffstabelle[4].Health = -std::numeric_limits<float>::infinity();
  return w;
}

NetInput allControls() { return {{true, true, true, true, true, true}, true}; }

// Every kind of message with its size on the wire.
const std::vector<std::pair<Message, size_t>>& everyKind() {
  static const std::vector<std::pair<Message, size_t>> kinds = {
      {Hello{}, 5 + 9 + gameVersion().size()},
      {someWelcome(), 1 + 4 + 4 * 4 + 8 * 8 * 4},
      {Refusal{}, 3 + 9 + gameVersion().size()},
      {ShipChosen{7}, 2},
      {Inputs{0x7FFFFFFF, std::vector<NetInput>(32, allControls()), 0x7FFFFFFF}, 10 + 32},
      {Inputs{0, {NetInput{}}}, 11},
      {Checksum{0x7FFFFFFF, ~0ull, 255}, 14},
      {Heal{0x7FFFFFFF, {1, 2, 3}}, 8},
      {Goodbye{Goodbye::Reason::NotTheSame}, 2},
      {Asking{true}, 2},
  };
  return kinds;
}

TEST(Protocol, EveryMessageComesBackAsItsOwnBytes) {
  for (const auto& [message, size] : everyKind()) {
    const std::vector<uint8_t> bytes = encode(message);
    EXPECT_EQ(bytes.size(), size) << "kind " << message.index();
    const std::optional<Message> back = decode(bytes);
    ASSERT_TRUE(back) << "kind " << message.index();
    EXPECT_EQ(back->index(), message.index());
    EXPECT_EQ(encode(*back), bytes) << "kind " << message.index();
  }
}

// Builds that could play different battles refuse each other at the first packet, and the
// message names both, whatever the other's protocol.
TEST(Protocol, AnotherBuildIsToldApartAndNamed) {
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

// Inputs and checksums are worth nothing late: they go unsequenced-unreliable and are sent
// again or superseded; everything else must arrive, in order.
TEST(Protocol, OnlyInputsAndChecksumsTravelUnreliably) {
  for (const auto& [message, size] : everyKind()) {
    const bool unreliable =
        std::holds_alternative<Inputs>(message) || std::holds_alternative<Checksum>(message);
    EXPECT_EQ(travelsReliably(message), !unreliable) << "kind " << message.index();
  }
}

// What each goodbye tells the player on the other side.
TEST(Protocol, AGoodbyeSaysWhyTheOtherSideWent) {
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

TEST(Protocol, BrokenOrHostilePacketsDecodeToNothing) {
  std::map<std::string, std::vector<uint8_t>> hostile = {
      {"empty", {}},
      {"type 0", {0}},
      {"not our magic", {1, 'K', 'X', 1, 0}},
      {"a version of 33 letters", {}},
      {"a version not printable", {}},
      {"class 8", {4, 8}},
      {"no inputs", {5, 1, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"frame past 2^31", {5, 0, 0, 0, 0x80, 0, 0, 0, 0, 1, 0}},
      {"acknowledged past 2^31", {5, 0, 0, 0, 0, 1, 0, 0, 0x80, 1, 0}},
      {"more inputs than frames", {5, 2, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0}},
      {"unused input bit", {5, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0x80}},
      {"checksum frame past 2^31", {6, 0, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"goodbye reason 3", {7, 3}},
      {"asking 2", {8, 2}},
      {"a heal without a state", {9, 0, 0, 0, 0}},
      {"a heal past 2^31", {9, 0, 0, 0, 0x80, 1}},
      {"type 10", {10, 0}},
  };
  std::vector<uint8_t> longVersion = encode(Hello{kProtocolVersion, 1, std::string(32, 'x')});
  longVersion[13] = 33;
  longVersion.push_back('x');
  hostile["a version of 33 letters"] = longVersion;
  std::vector<uint8_t> unprintable = encode(Hello{kProtocolVersion, 1, "1.0"});
  unprintable.back() = '\n';
  hostile["a version not printable"] = unprintable;
  std::vector<uint8_t> tooMany = {5, 40, 0, 0, 0, 0, 0, 0, 0, 33};
  tooMany.resize(tooMany.size() + 33, 0);
  hostile["33 inputs"] = tooMany;
  Welcome loud = someWelcome();
  loud.schussLautstaerke = 101;
  hostile["volume 101"] = encode(loud);
  loud.schussLautstaerke = 5;
  loud.trefferLautstaerke = -1;
  hostile["volume -1"] = encode(loud);
  for (const auto& [message, size] : everyKind()) {
    if (std::holds_alternative<Heal>(message)) continue;  // its state is the rest, any length
    std::vector<uint8_t> bytes = encode(message);
    bytes.push_back(0);
    hostile["one byte more, kind " + std::to_string(message.index())] = bytes;
    bytes.resize(bytes.size() - 2);
    hostile["one byte less, kind " + std::to_string(message.index())] = bytes;
  }
  for (const auto& [name, bytes] : hostile) EXPECT_FALSE(decode(bytes)) << name;
}

TEST(Protocol, AnInputIsSevenBitsAndTheEighthIsRefused) {
  for (int b = 0; b < 256; ++b) {
    const std::optional<NetInput> input = inputFromByte(static_cast<uint8_t>(b));
    ASSERT_EQ(input.has_value(), b < 128) << b;
    if (input) {
      EXPECT_EQ(inputByte(*input), b);
    }
  }
}

TEST(Protocol, TheGuestPlaysTheHostsClassesOptionsVolumesAndRandomNumbers) {
  Spiel host;
  host.Schiffstabelle = someWelcome().schiffstabelle;
  host.Option = 1;
  host.Reichweite = 250;
  host.SchussLautstaerke = 140;  // a hand-edited file: the mixer's range is what travels
  host.TrefferLautstaerke = 30;
  const std::optional<Message> sent = decode(encode(welcomeFor(host, 99)));
  ASSERT_TRUE(sent);
  const StartRecord guest = matchStart(std::get<Welcome>(*sent), 3, 6);
  EXPECT_EQ(std::memcmp(&guest.Schiffstabelle, &host.Schiffstabelle, sizeof host.Schiffstabelle),
            0);
  EXPECT_EQ(guest.Option, 1);
  EXPECT_EQ(guest.Reichweite, 250);
  EXPECT_EQ(guest.SchussLautstaerke, 100);
  EXPECT_EQ(guest.TrefferLautstaerke, 30);
  EXPECT_EQ(guest.Seed, 99u);
  EXPECT_EQ(guest.Flotte[0].Klasse, 3);
  EXPECT_EQ(guest.Flotte[1].Klasse, 6);
}

// A healing host's battle arrives whole; bytes that are no state change nothing.
TEST(PortableState, ABattleGoesOverWholeAndBrokenBytesChangeNothing) {
  Spiel a;
  a.Schiffstabelle = someWelcome().schiffstabelle;
  a.Flotte[2].PosX = 3.5;
  a.Flotte[3].FeuerLinks = 1;
  a.Spielende = 1;
  a.ListeA = {Kugel{1, 2, 3, 4, 1, 7, 0}};
  a.ListeB = {Kugel{5, 6, 7, 8, 2, 9, 3}, Kugel{0, 5000, 0, 0, 0, 0, 1}};
  a.Schussversatz = {-5, 30};
  a.Muendungsversatz[1][0][1] = -2.25;
  a.Zufall.Generator.seed(77);
  a.Zufall.Generator.discard(100);
  const std::vector<uint8_t> bytes = portableState(a);
  Spiel b;
  ASSERT_TRUE(adoptPortableState(b, bytes));
  EXPECT_EQ(stateBytes(b), stateBytes(a));

  const std::string text(bytes.begin(), bytes.end());
  const size_t place = text.rfind(' ') + 1;
  std::map<std::string, std::vector<uint8_t>> broken = {
      {"empty", {}},
      {"the generator's last word missing",
       {bytes.begin(), bytes.begin() + static_cast<long>(place)}},
      {"cut in a ball", {bytes.begin(), bytes.begin() + 400}},
  };
  std::vector<uint8_t> farPlace(bytes.begin(), bytes.begin() + static_cast<long>(place));
  for (char c : std::string("625")) farPlace.push_back(static_cast<uint8_t>(c));
  broken["the generator's place past its words"] = farPlace;
  // The generator's first word made one past 32 bits.
  std::ostringstream generator;
  generator << a.Zufall.Generator;
  const size_t start = bytes.size() - generator.str().size();
  std::string bigText = text;
  bigText.replace(start, text.find(' ', start) - start, "4294967296");
  const std::vector<uint8_t> bigWord(bigText.begin(), bigText.end());
  broken["a word past 32 bits"] = bigWord;
  const std::vector<uint8_t> before = stateBytes(b);
  for (const auto& [name, wrong] : broken) {
    EXPECT_FALSE(adoptPortableState(b, wrong)) << name;
    EXPECT_EQ(stateBytes(b), before) << name;
  }
}

TEST(JoinAddress, HostWithOrWithoutPort) {
  const std::vector<std::pair<std::string, std::optional<std::pair<std::string, int>>>> cases = {
      {"127.0.0.1", {{"127.0.0.1", 47111}}},
      {"127.0.0.1:5000", {{"127.0.0.1", 5000}}},
      {"schiff.example:1", {{"schiff.example", 1}}},
      {"host:0", std::nullopt},
      {"host:65536", std::nullopt},
      {"host:12x", std::nullopt},
      {":5000", std::nullopt},
      {"host:", std::nullopt},
      {"", std::nullopt},
      {"a:b:1", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    const std::optional<JoinAddress> a = parseJoinAddress(text, kDefaultPort);
    ASSERT_EQ(a.has_value(), expected.has_value()) << text;
    if (a) {
      EXPECT_EQ(std::make_pair(a->host, int{a->port}), *expected) << text;
    }
  }
}

// What players paste: blanks and a line end around it, a bare host; and why an address
// cannot be joined, IPv6 told apart from the rest.
TEST(JoinAddress, WhatPlayersPasteAndWhyAnAddressCannotBeRight) {
  using P = JoinProblem;
  const std::vector<std::tuple<std::string, P, std::string, int>> cases = {
      {"  203.0.113.7:50000\n", P::None, "203.0.113.7", 50000},
      {"\tschiff.example\r\n", P::None, "schiff.example", 47111},
      {"mein-rechner_2.local", P::None, "mein-rechner_2.local", 47111},
      {" \n", P::Empty, "", 0},
      {"::1", P::IPv6, "", 0},
      {"[2001:db8::1]:47111", P::IPv6, "", 0},
      {"fe80::1%eth0", P::IPv6, "", 0},
      {"1.2.3.4:70000", P::BadPort, "", 0},
      {"1.2.3.4:", P::BadPort, "", 0},
      {"1.2.3.4: 5", P::BadHost, "", 0},
      {"1.2.3.400", P::BadHost, "", 0},
      {"1.2.3", P::BadHost, "", 0},
      {"zwei worte", P::BadHost, "", 0},
      {"http://1.2.3.4", P::BadHost, "", 0},
      {":47111", P::BadHost, "", 0},
  };
  for (const auto& [text, problem, host, port] : cases) {
    const JoinReading r = readJoinAddress(text, kDefaultPort);
    EXPECT_EQ(r.problem, problem) << text;
    ASSERT_EQ(r.address.has_value(), problem == P::None) << text;
    if (r.address) {
      EXPECT_EQ(std::make_pair(r.address->host, int{r.address->port}), std::make_pair(host, port));
    }
  }
}

TEST(Impairment, LosesDuplicatesDelaysAndReorders) {
  Impairment net({.delayMs = 20, .jitterMs = 130, .lossPercent = 5, .duplicatePercent = 5}, 3);
  constexpr int kSent = 10000;
  std::map<uint16_t, int> arrived;
  int reordered = 0, last = -1;
  for (uint64_t now = 0; now < kSent * 16 + 200; ++now) {
    if (now % 16 == 0 && now / 16 < kSent) {
      const auto n = static_cast<uint16_t>(now / 16);
      net.push(now,
               {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(now)});
    }
    for (const std::vector<uint8_t>& p : net.due(now)) {
      const int n = p[0] | p[1] << 8;
      const uint64_t sentAt = uint64_t{static_cast<uint16_t>(n)} * 16;
      ASSERT_GE(now, sentAt + 20);
      ASSERT_LE(now, sentAt + 150);
      reordered += n < last;
      last = n;
      ++arrived[static_cast<uint16_t>(n)];
    }
  }
  int twice = 0;
  for (const auto& [n, times] : arrived) twice += times == 2;
  EXPECT_NEAR(kSent - static_cast<int>(arrived.size()), kSent * 0.05, kSent * 0.01);
  EXPECT_NEAR(twice, kSent * 0.05, kSent * 0.01);
  EXPECT_GT(reordered, kSent / 4);
  EXPECT_EQ(net.held(), 0u);

  // An outage loses what is sent during it and what was on its way.
  Impairment cut({.delayMs = 100, .outages = {{1000, 500}}}, 4);
  std::vector<uint64_t> through;
  for (uint64_t now = 0; now < 3000; now += 10) {
    cut.push(now, {0});
    for (size_t i = cut.due(now).size(); i > 0; --i) through.push_back(now - 100);
  }
  for (uint64_t sent : through) EXPECT_TRUE(sent < 900 || sent >= 1500) << sent;
  EXPECT_EQ(through.size(), 300u - 60u - 10u);
}

TEST(FloodGuard, AdmitsABattlesWorthOfPacketsASecondAndNoMore) {
  FloodGuard guard;
  int admitted = 0;
  for (int i = 0; i < 5000; ++i) admitted += guard.admit(1000 + i / 10);  // 10 000 a second
  EXPECT_EQ(admitted, FloodGuard::kPerSecond);
  EXPECT_TRUE(guard.admit(2000));
}

}  // namespace
