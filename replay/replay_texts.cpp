#include "replay/replay_texts.h"

#include <cstdio>

#include "launcher/catalogue.h"
#include "state/build_identity.h"

namespace {

// The version alone can read the same for two builds that play differently.
std::string buildName(const std::string& version, uint64_t identity) {
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(identity));
  return version + " [" + std::string(hex, 8) + "]";
}

}  // namespace

std::string replayProblemText(const ReplayReading& reading, const std::string& path) {
  switch (reading.problem) {
    case ReplayProblem::Unreadable:
      return filledIn(translatedText("Replays", "Die Datei %1 lässt sich nicht lesen."), {path});
    case ReplayProblem::NotAReplay:
      return translatedText("Replays", "Die Datei ist keine Wiederholung von Kaperfahrt.");
    case ReplayProblem::Cut:
      return translatedText("Replays",
                            "Die Wiederholung ist unvollständig: die Datei bricht vorzeitig ab.");
    case ReplayProblem::Corrupt:
      return translatedText("Replays", "Die Wiederholung ist beschädigt.");
    case ReplayProblem::NewerFormat:
      return translatedText(
          "Replays", "Die Wiederholung hat ein Format, das diese Version des Spiels nicht kennt.");
    case ReplayProblem::OtherBuild:
      return filledIn(translatedText("Replays",
                                     "Die Wiederholung stammt von einer anderen "
                                     "Version des Spiels (dort %1, hier %2)."),
                      {buildName(reading.otherVersion, reading.otherIdentity),
                       buildName(std::string(gameVersion()), stepIdentity())});
    case ReplayProblem::None:
      break;
  }
  return {};
}
