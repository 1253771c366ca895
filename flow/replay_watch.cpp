#include "flow/replay_watch.h"

#include <algorithm>
#include <array>

#include "flow/replay_play.h"
#include "flow/start.h"
#include "flow/start_record.h"
#include "launcher/catalogue.h"

namespace {

constexpr int kCaptionX = 10, kCaptionY = 10;
// While the picture stands still the loop sleeps, as in a paused battle, and shows the frame
// again about once a second in case something covered it.
constexpr int kStillSleepMs = 45;
constexpr int kStillShowFrames = 20;

// Silent frames change the battle exactly as shown ones do.
class SilentFrames {
 public:
  explicit SilentFrames(Media& media) : media_(media), was_(media.silent()) {
    media.setSilent(true);
  }
  ~SilentFrames() { media_.setSilent(was_); }
  SilentFrames(const SilentFrames&) = delete;
  SilentFrames& operator=(const SilentFrames&) = delete;

 private:
  Media& media_;
  bool was_;
};

}  // namespace

ReplayTimeline::ReplayTimeline(const Replay& replay, Spiel& spiel)
    : replay_(replay), spiel_(spiel) {
  startBattle(spiel_, replay_.start);
  copies_.reserve(frames() / kReplayCopyEvery + 1);
  copies_.push_back(spiel_);
}

void ReplayTimeline::step(Media& media, const FrameOverlay& overlay) {
  if (atEnd()) return;
  Frame(spiel_, media, replayFrameInputs(replay_, frame_),
        Ansicht{.EigenesSchiff = -1, .Ueberlagerung = overlay, .Ruetteln = false});
  ++frame_;
  if (frame_ % kReplayCopyEvery == 0 && frame_ / kReplayCopyEvery == copies_.size())
    copies_.push_back(spiel_);
}

void ReplayTimeline::seek(Media& media, uint32_t target) {
  target = std::min(target, frames());
  const size_t copy = std::min<size_t>(target / kReplayCopyEvery, copies_.size() - 1);
  const auto copied = static_cast<uint32_t>(copy * kReplayCopyEvery);
  if (target < frame_ || copied > frame_) {
    spiel_ = copies_[copy];
    frame_ = copied;
  }
  const SilentFrames silent(media);
  while (frame_ < target) step(media);
}

std::string ReplayViewer::caption() const {
  if (paused_) return translatedText("Replays", "Wiederholung (Pause)");
  if (timeline_.atEnd()) return translatedText("Replays", "Wiederholung (Ende)");
  return filledIn(translatedText("Replays", "Wiederholung %1x"), {std::to_string(speed_)});
}

ReplayViewer::CaptionState ReplayViewer::captionState() const {
  if (paused_) return {.paused = true};
  if (timeline_.atEnd()) return {.end = true};
  return {.speed = speed_};
}

FrameOverlay ReplayViewer::overlay() {
  if (captionMade_ != captionState()) {
    captionText_ = caption();
    captionMade_ = captionState();
  }
  return [text = &captionText_](Media& media) {
    if (!media.beginDrawing()) return;
    media.drawText(kCaptionX, kCaptionY, *text);
    media.endDrawing();
  };
}

bool ReplayViewer::turn(Media& media) {
  media.takeWindowEvents();
  media.sleepMs(5);
  media.pollKeyboard();
  // Every key is asked in every turn, so that each release counts once.
  const bool leave = media.keyReleased(Key::Escape);
  const bool pause = media.keyReleased(Key::P);
  const bool back = media.keyReleased(Key::ArrowLeft);
  const bool forth = media.keyReleased(Key::ArrowRight);
  int speed = speed_;
  for (const auto& [key, value] :
       std::array{std::pair{Key::One, 1}, std::pair{Key::Two, 2}, std::pair{Key::Four, 4}}) {
    if (media.keyReleased(key)) speed = value;
  }
  if (leave) {
    media.closeBattleWindow();
    return false;
  }
  const CaptionState before = captionState();
  speed_ = speed;
  if (pause) paused_ = !paused_;
  if (back) jump(media, -static_cast<int64_t>(kReplayJump));
  if (forth) jump(media, kReplayJump);
  if (captionState() != before) redraw_ = true;
  if (!paused_ && !timeline_.atEnd()) {
    play(media);
    return true;
  }
  if (redraw_) {
    showAgain(media);
  } else if (++stillFrames_ >= kStillShowFrames) {
    media.showFrame();
    stillFrames_ = 0;
  }
  media.sleepMs(kStillSleepMs);
  return true;
}

// At 2x and 4x only the last of the frames is drawn; the others' sounds are all heard.
void ReplayViewer::play(Media& media) {
  sounds_.clear();
  media.captureSounds(&sounds_);
  {
    const SilentFrames silent(media);
    for (int i = 1; i < speed_ && timeline_.frame() + 1 < timeline_.frames(); ++i)
      timeline_.step(media);
  }
  media.captureSounds(nullptr);
  for (const auto& [sound, volume] : sounds_) media.playSound(sound, volume);
  timeline_.step(media, overlay());
  redraw_ = timeline_.atEnd();  // the caption turns to the end's
  stillFrames_ = 0;
}

void ReplayViewer::jump(Media& media, int64_t by) {
  const int64_t target = std::clamp<int64_t>(timeline_.frame() + by, 0, timeline_.frames());
  timeline_.seek(media, static_cast<uint32_t>(target));
  redraw_ = true;
}

void ReplayViewer::showAgain(Media& media) {
  redraw_ = false;
  stillFrames_ = 0;
  if (timeline_.frames() == 0) return;  // no frame was ever drawn
  const FrameOverlay draw = overlay();
  // At the start, the first frame stands for it.
  timeline_.seek(media, std::max<uint32_t>(timeline_.frame(), 1) - 1);
  sounds_.clear();
  media.captureSounds(&sounds_);  // heard when it was played
  timeline_.step(media, draw);
  media.captureSounds(nullptr);
}

bool watchReplay(Spiel& spiel, Media& media, SettingsStore& store, const std::string& settingsFile,
                 const Replay& replay) {
  if (!SchlachtOeffnen(spiel, media, store, settingsFile)) return false;
  ReplayViewer viewer(replay, spiel);
  while (viewer.turn(media)) {
  }
  return true;
}
