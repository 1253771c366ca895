#include "media/headless.h"

#include <algorithm>

void HeadlessBackend::setKey(Key key, bool down) {
  const int index = static_cast<int>(key);
  if (index >= 0 && index < kKeyCount) keys_[static_cast<size_t>(index)] = down;
}

void HeadlessBackend::queueAnswer(bool yes) { answers_.push_back(yes); }

void HeadlessBackend::queueEvents(int count) { pendingEvents_ += std::max(count, 0); }

void HeadlessBackend::renderAudio(int16_t* out, int frames) {
  const int count = std::max(frames, 0) * kAudioFormat.channels;
  if (audioSource_ == nullptr) {
    std::fill_n(out, count, int16_t{0});
    return;
  }
  audioSource_->render(out, frames);
}

void HeadlessBackend::release(MediaService service) {
  released_.push_back(service);
  if (service == MediaService::Sound) closeAudio();
  if (service == MediaService::Windows) closeWindow();
}

void HeadlessBackend::shutdown() {
  ++shutdowns_;
  closeAudio();
  closeWindow();
}

bool HeadlessBackend::openWindow(int w, int h) {
  if (failures_.window || w <= 0 || h <= 0) return false;
  windowOpen_ = true;
  window_ = {w, h};
  return true;
}

bool HeadlessBackend::openScreen(int w, int h) {
  if (failures_.battleScreen || !windowOpen_ || w <= 0 || h <= 0) return false;
  screenOpen_ = true;
  return true;
}

void HeadlessBackend::closeWindow() {
  windowOpen_ = false;
  screenOpen_ = false;
}

void HeadlessBackend::present(const uint32_t* pixels, int w, int h) {
  ++framesPresented_;
  clock_ += presentCost_;
  if (keepFrames_ && pixels != nullptr && w > 0 && h > 0) {
    // Into the last frame's memory: tests keep every frame of long runs.
    lastFrame_.w = w;
    lastFrame_.h = h;
    lastFrame_.pixels.assign(pixels, pixels + static_cast<size_t>(w) * h);
  }
}

void HeadlessBackend::presentChanges(const uint32_t* pixels, int w, int h,
                                     const FrameChanges& changes) {
  if (keepFrames_ && pixels != nullptr && w > 0 && h > 0) {
    const bool inPart = !changes.everything && patchedFrame_.w == w && patchedFrame_.h == h;
    if (!inPart) {
      patchedFrame_ = Image(w, h);
      patchedFrame_.pixels.assign(pixels, pixels + static_cast<size_t>(w) * h);
    }
    for (const ScreenBox& b : inPart ? changes.boxes : std::span<const ScreenBox>()) {
      const int x0 = std::clamp(b.x, 0, w), x1 = std::clamp(b.x + b.w, 0, w);
      for (int y = std::clamp(b.y, 0, h); y < std::clamp(b.y + b.h, 0, h); ++y) {
        const size_t row = static_cast<size_t>(y) * w;
        std::copy(pixels + row + x0, pixels + row + std::max(x0, x1),
                  patchedFrame_.pixels.begin() + static_cast<ptrdiff_t>(row + x0));
      }
    }
    framesChangedInPart_ += inPart;
  }
  present(pixels, w, h);
}

bool HeadlessBackend::pollEvent() {
  if (pendingEvents_ == 0) return false;
  --pendingEvents_;
  return true;
}

bool HeadlessBackend::messageBox(const std::string& title, const std::string& text,
                                 MessageKind kind) {
  messages_.push_back({title, text, kind});
  // A plain message is closed with its OK button and leaves the queued answers to questions.
  if (kind == MessageKind::Ok) return true;
  if (answers_.empty()) return false;
  const bool answer = answers_.front();
  answers_.erase(answers_.begin());
  return answer;
}

void HeadlessBackend::sleepMs(int ms) {
  const uint64_t micros = static_cast<uint64_t>(std::max(ms, 0)) * 1000;
  clock_ += micros;
  slept_ += micros;
  ++sleeps_;
}

bool HeadlessBackend::openAudio(AudioSource* source, AudioFormat& format) {
  if (failures_.audioDevice || source == nullptr) return false;
  audioSource_ = source;
  format = kAudioFormat;
  return true;
}
