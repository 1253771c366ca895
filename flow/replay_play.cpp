#include "flow/replay_play.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <vector>

#include "assets/embedded.h"
#include "flow/network_battle.h"
#include "flow/start.h"
#include "flow/start_record.h"
#include "media/headless.h"
#include "state/snapshot.h"

namespace {

// Far beyond any replay the recorder writes; a larger file is read no further.
constexpr std::streamsize kMaxFileBytes = 64 << 20;

bool readFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& problem) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    problem = "Die Datei " + path + " lässt sich nicht lesen.";
    return false;
  }
  bytes.resize(static_cast<size_t>(kMaxFileBytes) + 1);
  in.read(reinterpret_cast<char*>(bytes.data()), kMaxFileBytes + 1);
  bytes.resize(static_cast<size_t>(in.gcount()));
  if (in.bad()) {
    problem = "Die Datei " + path + " lässt sich nicht lesen.";
    return false;
  }
  if (bytes.size() > static_cast<size_t>(kMaxFileBytes)) {
    problem = "Die Datei ist keine Wiederholung von Kaperfahrt.";
    return false;
  }
  return true;
}

}  // namespace

FrameBeobachter recordingWatcher(ReplayRecorder& recorder, const Spiel& started) {
  recorder.checksum(0, stateChecksum(started));
  return [&recorder](const Spiel& spiel, const Eingaben& eingaben) {
    if (spiel.Pause.Taste || spiel.Pause.Fokus) return;
    recorder.frame(inputByte({eingaben.Spieler[0], eingaben.Neustart}),
                   inputByte({eingaben.Spieler[1], false}));
    recorder.checksum(recorder.frames(), stateChecksum(spiel));
  };
}

void recordConfirmed(Rollback& rollback, ReplayRecorder& recorder) {
  rollback.watchConfirmed(
      [&recorder](const std::array<NetInput, 2>& inputs) {
        recorder.frame(inputByte(inputs[0]), inputByte(inputs[1]));
      },
      [&recorder](const Checksum& sum) { recorder.checksum(sum.frame, sum.value); });
}

Replay finishedReplay(const ReplayRecorder& recorder, const Spiel& spiel) {
  const char* result = ErgebnisText(spiel);
  return recorder.finish(result != nullptr ? result : "");
}

Eingaben replayFrameInputs(const Replay& replay, size_t frame) {
  const auto& bytes = replay.inputs[frame];
  // A byte the reader let through always has its top bit clear.
  return networkFrameInputs(
      {inputFromByte(bytes[0]).value_or(NetInput{}), inputFromByte(bytes[1]).value_or(NetInput{})});
}

ReplayVerdict verifyReplay(const Replay& replay) {
  Media media(std::make_unique<HeadlessBackend>(), 1);
  Spiel spiel;
  Hochfahren(spiel, media);
  openBattleMedia(media, kScreenWidth, kScreenHeight, embeddedFile);
  media.setSilent(true);
  startBattle(spiel, replay.start);
  ReplayVerdict verdict;
  const auto check = [&](uint32_t frame) {
    const uint32_t k = frame / kReplayChecksumEvery;
    if (!verdict.same || frame % kReplayChecksumEvery != 0 || k >= replay.checksums.size()) return;
    if (stateChecksum(spiel) == replay.checksums[k]) return;
    verdict.same = false;
    verdict.firstDifferent = frame;
  };
  check(0);
  for (size_t f = 0; f < replay.inputs.size(); ++f) {
    Frame(spiel, media, replayFrameInputs(replay, f));
    check(static_cast<uint32_t>(f + 1));
  }
  verdict.frames = static_cast<uint32_t>(replay.inputs.size());
  return verdict;
}

int verifyReplayFile(const std::string& path, std::ostream& out, std::ostream& err, bool anyBuild) {
  std::vector<uint8_t> bytes;
  std::string problem;
  if (!readFile(path, bytes, problem)) {
    err << problem << "\n";
    return 2;
  }
  const ReplayReading reading = readReplay(bytes, anyBuild);
  if (!reading.replay) {
    err << reading.problem << "\n";
    return 2;
  }
  const ReplayVerdict verdict = verifyReplay(*reading.replay);
  if (!verdict.same) {
    out << "abweichend ab Frame " << verdict.firstDifferent << "\n";
    return 1;
  }
  out << "ok: " << verdict.frames << " Frames\n";
  return 0;
}
