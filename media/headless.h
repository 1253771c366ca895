// A Backend without window, device or operating system: scripted keys and message-box
// answers, recorded sound starts, message boxes and frames, a fake clock. Tests and
// benchmarks run the real compositor on it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "media/backend.h"
#include "media/image.h"

class HeadlessBackend : public Backend {
 public:
  // Services and steps that can be made to fail, for start-up tests.
  struct Failures {
    bool screen = false, keyboard = false, sound = false;
    bool window = false, battleScreen = false;
    bool audioDevice = false;  // initSound succeeds but there is no device: silent
  };

  struct MessageRecord {
    std::string title, text;
    MessageKind kind;
  };

  static constexpr AudioFormat kAudioFormat{44100, 2};

  // --- scripting and inspection
  void setKey(Key, bool down);
  // Answer to the next Yes/No question; with none queued the answer is No.
  void queueAnswer(bool yes);
  void setPads(std::vector<PadState> pads) { pads_ = std::move(pads); }
  // Every rumblePad, by pad index.
  const std::vector<int>& rumbles() const { return rumbles_; }
  void setFocus(bool focus) { focus_ = focus; }
  void queueEvents(int count);  // window events that pollEvent will report
  const std::vector<std::pair<int, int>>& soundsPlayed() const { return sounds_; }
  const std::vector<MessageRecord>& messages() const { return messages_; }
  Failures& failures() { return failures_; }
  void setDesktopSize(Size size) { desktop_ = size; }
  void setPresentCostMicros(uint64_t micros) { presentCost_ = micros; }
  void advanceClock(uint64_t micros) { clock_ += micros; }
  // With copies kept, lastFrame() holds every presented frame's pixels (costs a copy each).
  void keepFrameCopies(bool keep) { keepFrames_ = keep; }
  // Whether frames should come with their changes narrowed to what really differs.
  void askForComparedChanges(bool on) { comparedChanges_ = on; }
  const Image& lastFrame() const { return lastFrame_; }
  // With copies kept: the frames as a window shows them that takes only what each frame
  // said had changed, and how many frames said they changed only in part.
  const Image& patchedFrame() const { return patchedFrame_; }
  int framesChangedInPart() const { return framesChangedInPart_; }
  int framesPresented() const { return framesPresented_; }
  uint64_t sleptMicros() const { return slept_; }
  int sleeps() const { return sleeps_; }
  bool windowOpen() const { return windowOpen_; }
  Size windowSize() const { return window_; }
  bool screenOpen() const { return screenOpen_; }
  bool audioOpen() const { return audioSource_ != nullptr; }
  int shutdowns() const { return shutdowns_; }
  // Every release() in the order it came.
  const std::vector<MediaService>& released() const { return released_; }
  int audioLockDepth() const { return lockDepth_; }
  // Pulls `frames` frames of mixed output the way the device would (silence when closed).
  void renderAudio(int16_t* out, int frames);

  // --- Backend
  bool initScreen() override { return !failures_.screen; }
  bool initKeyboard() override { return !failures_.keyboard; }
  bool initSound() override { return !failures_.sound; }
  void release(MediaService service) override;
  void shutdown() override;
  Size desktopSize() override { return desktop_; }
  bool openWindow(int w, int h) override;
  bool openScreen(int w, int h) override;
  void closeWindow() override;
  void present(const uint32_t* pixels, int w, int h) override;
  void presentChanges(const uint32_t* pixels, int w, int h, const FrameChanges&) override;
  bool wantsComparedChanges() const override { return comparedChanges_; }
  bool pollEvent() override;
  void keyboardSnapshot(std::array<bool, kKeyCount>& down) override { down = keys_; }
  void padSnapshot(std::vector<PadState>& pads) override { pads = pads_; }
  void rumblePad(int index) override { rumbles_.push_back(index); }
  bool hasFocus() override { return focus_; }
  bool messageBox(const std::string& title, const std::string& text, MessageKind) override;
  void sleepMs(int ms) override;
  uint64_t nowMicros() override { return clock_; }
  bool openAudio(AudioSource* source, AudioFormat& format) override;
  void closeAudio() override { audioSource_ = nullptr; }
  void lockAudio() override { ++lockDepth_; }
  void unlockAudio() override { --lockDepth_; }
  void soundStarted(int sound, int volume) override { sounds_.emplace_back(sound, volume); }

 private:
  Failures failures_;
  std::array<bool, kKeyCount> keys_{};
  std::vector<bool> answers_;
  std::vector<PadState> pads_;
  std::vector<int> rumbles_;
  bool focus_ = true;
  std::vector<std::pair<int, int>> sounds_;
  std::vector<MessageRecord> messages_;
  std::vector<MediaService> released_;
  Size desktop_{1680, 1050};
  Size window_;
  bool windowOpen_ = false, screenOpen_ = false, keepFrames_ = false;
  bool comparedChanges_ = false;
  int pendingEvents_ = 0, framesPresented_ = 0, shutdowns_ = 0, lockDepth_ = 0;
  int framesChangedInPart_ = 0;
  uint64_t clock_ = 0, slept_ = 0, presentCost_ = 0;
  int sleeps_ = 0;
  Image lastFrame_, patchedFrame_;
  AudioSource* audioSource_ = nullptr;
};
