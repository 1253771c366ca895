#include "flow/replay_play.h"

#include <memory>
#include <ostream>
#include <vector>

#include "assets/embedded.h"
#include "flow/network_battle.h"
#include "flow/start.h"
#include "flow/start_record.h"
#include "media/headless.h"
#include "replay/replay_folder.h"
#include "replay/replay_texts.h"
#include "state/snapshot.h"

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
  const ReplayReading reading = loadReplay(path, anyBuild);
  if (!reading.replay) {
    err << replayProblemText(reading, path) << "\n";
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
