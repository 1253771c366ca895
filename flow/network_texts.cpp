#include "flow/network_texts.h"

#include <cstdio>

#include "launcher/catalogue.h"
#include "net/protocol.h"
#include "state/build_identity.h"

std::string linkProblemText(LinkProblem problem, const std::string& host, uint16_t port) {
  switch (problem) {
    case LinkProblem::PortUnavailable:
      return filledIn(translatedText("Network", "Port %1 lässt sich nicht öffnen"),
                      {std::to_string(port)});
    case LinkProblem::HostUnknown:
      return filledIn(translatedText("Network", "Rechner %1 nicht gefunden"), {host});
    case LinkProblem::NoConnection:
      return translatedText("Network", "Verbindung lässt sich nicht aufbauen");
    case LinkProblem::NoNetwork:
    case LinkProblem::None:
      break;
  }
  return translatedText("Network", "Netzwerk nicht verfügbar");
}

std::string endMessage(NetworkSession::End end) {
  switch (end) {
    case NetworkSession::End::PeerLeft:
      return translatedText("Network", "Der andere Spieler hat die Schlacht verlassen");
    case NetworkSession::End::PeerSilent:
      return translatedText("Network", "Der andere Spieler antwortet nicht mehr");
    case NetworkSession::End::NotTheSame:
      return translatedText("Network", "Spiel nicht mehr gleich");
    case NetworkSession::End::PeerCancelled:
      return translatedText("Network", "Der Mitspieler hat abgebrochen");
    case NetworkSession::End::ThisSideLeft:
    case NetworkSession::End::None:
      break;
  }
  return "";
}

namespace {

std::string buildName(uint16_t protocol, uint64_t identity, const std::string& version,
                      bool withIdentity) {
  if (version.empty()) {
    return filledIn(translatedText("Network", "Protokoll %1"), {std::to_string(protocol)});
  }
  if (!withIdentity) return version;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(identity));
  return version + " [" + std::string(hex, 8) + "]";
}

}  // namespace

std::string otherBuildMessage(uint16_t protocol, uint64_t identity, const std::string& version) {
  const std::string ours(gameVersion());
  const bool alike = version == ours;
  return filledIn(
      translatedText("Network",
                     "Der Mitspieler hat eine andere Version des Spiels (dort %1, hier %2)"),
      {buildName(protocol, identity, version, alike),
       buildName(kProtocolVersion, stepIdentity(), ours, alike)});
}

std::string mappingProblemText(const PortMapper::Result& result) {
  switch (result.problem) {
    case MappingProblem::Refused:
      return filledIn(
          translatedText("Network", "Der Router lehnt die Weiterleitung ab (%1-Fehler %2)"),
          {result.protocol, std::to_string(result.detail)});
    case MappingProblem::NotPublic:
      return filledIn(translatedText("Network",
                                     "Der Router hat selbst keine öffentliche Adresse (%1), er "
                                     "hängt hinter einem weiteren Router"),
                      {result.external.address});
    case MappingProblem::NoNetwork:
      return translatedText("Network", "Dieser Computer hat keine Verbindung zu einem Router");
    case MappingProblem::NoAnswer:
    case MappingProblem::None:
      break;
  }
  return translatedText("Network", "Der Router hat weder auf UPnP noch auf NAT-PMP geantwortet");
}
