#include "flow/network_flow.h"

#include <iostream>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "basis/latin1.h"
#include "flow/network_battle.h"
#include "flow/offer_address.h"
#include "flow/replay_play.h"
#include "flow/start.h"
#include "flow/start_record.h"
#include "net/addresses.h"
#include "net/link.h"
#include "net/port_mapper.h"
#include "net/session.h"
#include "replay/replay_folder.h"
#include "settings/network_settings.h"
#include "settings/settings_keys.h"
#include "state/katalog.h"

namespace {

constexpr uint64_t kConnectMs = 10000, kAnswerMs = 5000;
constexpr int kTurnMs = 5;

// The texts here are UTF-8; message boxes show Latin-1.
void say(Media& media, const std::string& text) {
  media.messageBox("Netzwerk", utf8ToLatin1(text), MessageKind::Ok);
}

struct Match {
  Spiel& spiel;
  Media& media;
  NetworkLobby& lobby;
  Link& link;
  bool host;
  OfferAddress* offer = nullptr;  // the host's, told once the router has answered
  bool offerShown = false;        // the router's answer is in the waiting window
  uint64_t now() { return media.backend().nowMicros() / 1000; }
  void send(const Message& m) { link.send(encode(m), travelsReliably(m)); }
  // The next message, waiting at most one turn; a lost link is reported as a Goodbye.
  std::optional<Message> next() {
    const Link::Event e = link.poll(kTurnMs);
    if (e.kind == Link::EventKind::Disconnected) return Goodbye{};
    if (e.kind != Link::EventKind::Received) return std::nullopt;
    return decode(e.bytes);
  }
};

std::string address(const NetworkStart& start) {
  return start.host ? "Port " + std::to_string(start.port)
                    : start.address + ":" + std::to_string(start.port);
}

bool connected(Match& m, const NetworkStart& start) {
  const std::string text = start.host ? "Warte auf einen Mitspieler an " + address(start) + " …"
                                      : "Verbinde mit " + address(start) + " …";
  const uint64_t began = m.now();
  for (;;) {
    if (!m.lobby.waiting(text, 0)) return false;
    if (m.offer && !m.offerShown && m.offer->tell(std::cout)) {
      const PortMapper::Result result = m.offer->result();
      const OfferView view = offerView(&result, m.link.port(), localIPv4Addresses());
      m.lobby.showOffer(view.heading, view.addresses, view.note);
      m.offerShown = true;
    }
    const Link::Event e = m.link.poll(kTurnMs);
    if (e.kind == Link::EventKind::Connected) return true;
    if (!start.host && (e.kind == Link::EventKind::Disconnected || m.now() - began > kConnectMs)) {
      say(m.media, "Keine Verbindung zu " + address(start));
      return false;
    }
  }
}

// The guest's address, looked up while the waiting window is up; nothing when the player
// cancelled or the name was not found (a message said so).
std::optional<std::string> lookedUp(Media& media, NetworkLobby& lobby, const std::string& name) {
  NameLookup lookup(name);
  while (!lookup.done()) {
    if (!lobby.waiting("Suche " + name + " …", kTurnMs)) return std::nullopt;
  }
  if (!lookup.result()) say(media, "Rechner " + name + " nicht gefunden");
  return lookup.result();
}

// This side's player cancelled before the battle: the peer is told so.
void cancel(Match& m) {
  m.send(Goodbye{Goodbye::Reason::Cancelled});
  m.link.poll(0);
}

// The handshake's end: the battle agreed on, given up (a message said why), or, on the host, a
// first connector that said nothing in time.
struct Agreement {
  std::optional<Welcome> welcome;
  bool silentGuest = false;
};

// Both sides agree on the build; the guest receives the host's battle.
Agreement agreed(Match& m, SettingsStore& store, const std::string& file) {
  if (!m.host) m.send(Hello{});
  const uint64_t began = m.now();
  while (m.now() - began < kAnswerMs) {
    if (!m.lobby.waiting("Verbunden, einen Augenblick …", 0)) {
      cancel(m);
      return {};
    }
    const std::optional<Message> message = m.next();
    if (!message) continue;
    if (const auto* hello = std::get_if<Hello>(&*message); hello && m.host) {
      if (!sameBuild(*hello)) {
        m.send(Refusal{});
        m.link.poll(50);
        say(m.media, otherBuildMessage(hello->version, hello->identity, hello->gameVersion));
        return {};
      }
      readBattleSettings(m.spiel, store, file);
      const Welcome welcome =
          welcomeFor(m.spiel, static_cast<uint32_t>(m.spiel.Zufall.Generator()));
      m.send(welcome);
      return {welcome};
    }
    if (const auto* welcome = std::get_if<Welcome>(&*message); welcome && !m.host) {
      return {*welcome};
    }
    if (const auto* refusal = std::get_if<Refusal>(&*message)) {
      say(m.media, otherBuildMessage(refusal->version, refusal->identity, refusal->gameVersion));
      return {};
    }
    if (const auto* bye = std::get_if<Goodbye>(&*message)) {
      if (endFor(*bye) != NetworkSession::End::PeerCancelled) break;
      say(m.media, endMessage(NetworkSession::End::PeerCancelled));
      return {};
    }
  }
  if (m.host) return {std::nullopt, true};
  say(m.media, "Der Mitspieler antwortet nicht");
  return {};
}

// Both players' classes, [0] the host's; nothing when either side gave up.
std::optional<std::array<int32_t, 2>> chosen(Match& m, const Welcome& welcome) {
  m.lobby.startChoice(welcome.schiffstabelle);
  std::optional<int32_t> mine, theirs;
  while (!mine || !theirs) {
    if (!mine) {
      const std::optional<int32_t> choice = m.lobby.choicePass(kTurnMs);
      if (choice && *choice < 0) {
        cancel(m);
        return std::nullopt;
      }
      if (choice) {
        mine = *choice;
        m.send(ShipChosen{static_cast<uint8_t>(*choice)});
      }
    } else if (!m.lobby.waiting("Warte auf die Wahl des Mitspielers …", 0)) {
      cancel(m);
      return std::nullopt;
    }
    const std::optional<Message> message = m.next();
    if (!message) continue;
    if (const auto* ship = std::get_if<ShipChosen>(&*message)) theirs = ship->klasse;
    if (const auto* bye = std::get_if<Goodbye>(&*message)) {
      say(m.media, endMessage(endFor(*bye)));
      return std::nullopt;
    }
  }
  if (m.host) return std::array<int32_t, 2>{*mine, *theirs};
  return std::array<int32_t, 2>{*theirs, *mine};
}

// Frames until one side leaves or the link fails; pause does not apply here.
NetworkSession::End play(Match& m, int inputDelay, ReplayRecorder& recorder) {
  constexpr uint64_t kNoteAgainMs = 1000;  // in case something covered the still picture
  FrameSounds sounds(m.media, m.host ? 0 : 1);
  m.media.loadFont(katalog::kHinweisschrift, "impact", 48);
  Rollback rollback(m.spiel, m.host ? 0 : 1, inputDelay, sounds.step());
  rollback.watchFrames(sounds.watcher());
  recordConfirmed(rollback, recorder);
  NetworkSession session(m.link, rollback, [&m] { return m.now(); });
  m.media.setPlayerCount(1);  // one player at this computer: every pad steers it
  bool noteShown = false;
  uint64_t noteShownMs = 0;
  for (;;) {
    m.media.takeWindowEvents();  // all at once: a fast mouse cannot keep this loop busy
    m.media.pollKeyboard();
    if (m.media.keyReleased(Key::Escape)) {
      session.asking(true);
      const bool leave = m.media.messageBox("Kaperfahrt", "Beenden", MessageKind::YesNoQuestion);
      session.asking(false);
      if (leave) session.leave(Goodbye::Reason::Left);
    }
    if (session.pump(0) != NetworkSession::End::None) return session.end();
    const NetInput local{m.media.steuerung(0), m.media.keyDown(Key::Return)};
    if (session.tick(local)) {
      noteShown = false;
      continue;
    }
    session.pump(2);  // waiting for the peer's inputs
    if (session.peerAsking() && (!noteShown || m.now() - noteShownMs >= kNoteAgainMs)) {
      MitspielerUeberlegtZeigen(m.media);
      noteShown = true;
      noteShownMs = m.now();
    }
  }
}

}  // namespace

std::optional<NetworkStart> networkStartFrom(const NetworkRequest& request, std::string& problem) {
  if (request.host) return NetworkStart{true, {}, request.port};
  return joinStart(request.address, problem);
}

void runNetworkMatch(Spiel& spiel, Media& media, SettingsStore& store,
                     const std::string& settingsFile, const NetworkStart& start,
                     NetworkLobby& lobby, const std::string& replayFolder) {
  std::string error;
  std::optional<std::string> resolved;
  if (!start.host && !(resolved = lookedUp(media, lobby, start.address))) return;
  std::unique_ptr<Link> link =
      start.host ? Link::listen(start.port, error) : Link::connect(*resolved, start.port, error);
  if (!link) {
    say(media, error);
    return;
  }
  // The router forwards the offered port while the offer and the match last.
  std::optional<OfferAddress> offer;
  if (start.host && portMappingWanted()) offer.emplace(PortMapper::forRouter(), link->port());
  if (start.host) {
    PortMapper::Result asking;
    asking.state = PortMapper::State::Asking;
    const OfferView view = offerView(offer ? &asking : nullptr, link->port(), localIPv4Addresses());
    lobby.showOffer(view.heading, view.addresses, view.note);
  }
  Match m{spiel, media, lobby, *link, start.host, offer ? &*offer : nullptr};
  std::optional<Welcome> welcome;
  std::optional<std::array<int32_t, 2>> classes;
  // A first connector that stays silent is dropped: the offer stays open for the next.
  while (connected(m, start)) {
    const Agreement agreement = agreed(m, store, settingsFile);
    welcome = agreement.welcome;
    if (!agreement.silentGuest) break;
    link->dropPeer();
  }
  if (welcome) classes = chosen(m, *welcome);
  lobby.close();
  if (!classes) return;
  spiel.SpielModus = kZweiSpieler;
  if (!SchlachtOeffnen(spiel, media, store, settingsFile)) {
    m.send(Goodbye{});
    return;
  }
  const StartRecord record = matchStart(*welcome, (*classes)[0], (*classes)[1]);
  startBattle(spiel, record);
  ReplayRecorder recorder(record);
  // In the battle the session's own rule finds a silent peer; the link must outlast a player
  // answering "Beenden" on the other side, while that program waits for the answer.
  link->setPeerTimeout(NetworkSession::kAskingMs + 10000);
  const NetworkSession::End end = play(m, loadInputDelay(store, settingsFile), recorder);
  media.closeBattleWindow();
  keepReplay(replayFolder, finishedReplay(recorder, spiel));
  if (end != NetworkSession::End::ThisSideLeft) say(media, endMessage(end));
}
