// The SDL backend under SDL's dummy video and audio drivers (set by the test target).
#include "media/sdl_backend.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class CountingSource : public AudioSource {
 public:
  void render(int16_t* out, int frames) override {
    for (int i = 0; i < frames * 2; ++i) out[i] = 0;
    calls.fetch_add(1);
  }
  std::atomic<int> calls{0};
};

class SdlBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(backend.initScreen()) << SDL_GetError();
    ASSERT_TRUE(backend.initKeyboard()) << SDL_GetError();
    ASSERT_TRUE(backend.initSound()) << SDL_GetError();
  }
  void TearDown() override {
    backend.shutdown();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
  }

  void pushKey(SDL_Scancode code, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = code;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }

  std::array<bool, kKeyCount> snapshot() {
    std::array<bool, kKeyCount> down{};
    down.fill(true);
    backend.keyboardSnapshot(down);
    return down;
  }

  uint32_t windowPixel(int x, int y) {
    const std::optional<uint32_t> pixel = backend.shownPixel(x, y);
    EXPECT_TRUE(pixel.has_value());
    return pixel.value_or(0);
  }

  // The expectations (1024 x 768 desktop, software renderer) are the dummy drivers'.
  ScopedEnv video{"SDL_VIDEODRIVER", "dummy"};
  ScopedEnv audio{"SDL_AUDIODRIVER", "dummy"};
  SdlBackend backend;
};

constexpr int kKeyReturn = static_cast<int>(Key::Return);
constexpr int kKeyKeypad1 = static_cast<int>(Key::Keypad1);

TEST_F(SdlBackendTest, DummyDesktopIsMeasured) {
  const Size desktop = backend.desktopSize();
  EXPECT_EQ(desktop.w, 1024);
  EXPECT_EQ(desktop.h, 768);
}

TEST_F(SdlBackendTest, FrameWithZeroTopByteIsStretchedOverTheWholeWindow) {
  ASSERT_TRUE(backend.openWindow(1024, 768));
  ASSERT_TRUE(backend.openScreen(1680, 1050));
  // Left half red, right half blue, bottom rows green; XRGB with a zero top byte.
  std::vector<uint32_t> frame(size_t{1680} * 1050, 0x00FF0000);
  for (int y = 0; y < 1050; ++y) {
    for (int x = 840; x < 1680; ++x) frame[y * 1680 + x] = 0x000000FF;
  }
  for (int i = 1680 * 1000; i < 1680 * 1050; ++i) frame[i] = 0x0000FF00;
  backend.present(frame.data(), 1680, 1050);
  EXPECT_EQ(windowPixel(100, 100), 0xFF0000u);
  EXPECT_EQ(windowPixel(900, 100), 0x0000FFu);
  EXPECT_EQ(windowPixel(1023, 767), 0x00FF00u);  // no letterbox at the bottom right
  backend.present(frame.data(), 800, 600);       // wrong size: ignored, no overrun
  backend.closeWindow();
  backend.present(frame.data(), 1680, 1050);  // no window: only pumps events
}

TEST_F(SdlBackendTest, ScreenNeedsAWindowAndWindowsCanBeReopened) {
  EXPECT_FALSE(backend.openScreen(1680, 1050));
  ASSERT_TRUE(backend.openWindow(1024, 768));
  ASSERT_TRUE(backend.openScreen(1680, 1050));
  ASSERT_TRUE(backend.openWindow(1024, 768));
  EXPECT_TRUE(backend.openScreen(1680, 1050));
}

TEST_F(SdlBackendTest, TapBetweenSnapshotsCountsOnceAsDown) {
  ASSERT_TRUE(backend.openWindow(1024, 768));
  EXPECT_FALSE(snapshot()[kKeyReturn]);
  pushKey(SDL_SCANCODE_RETURN, true);
  pushKey(SDL_SCANCODE_RETURN, false);
  pushKey(SDL_SCANCODE_KP_1, true);
  const auto first = snapshot();
  EXPECT_TRUE(first[kKeyReturn]);
  EXPECT_TRUE(first[kKeyKeypad1]);
  EXPECT_FALSE(first[static_cast<int>(Key::Escape)]);
  EXPECT_FALSE(snapshot()[kKeyReturn]);
}

TEST_F(SdlBackendTest, KeysTakenByThePollAreLatchedToo) {
  pushKey(SDL_SCANCODE_ESCAPE, true);
  pushKey(SDL_SCANCODE_ESCAPE, false);
  while (backend.pollEvent()) {
  }
  EXPECT_TRUE(snapshot()[static_cast<int>(Key::Escape)]);
  EXPECT_FALSE(backend.pollEvent());
}

// A mouse reports up to 1000 times a second: all of it goes in one call, keys latched.
TEST_F(SdlBackendTest, TakeEventsEmptiesTheQueueInOneGoAndLatchesKeys) {
  while (backend.pollEvent()) {
  }
  for (int i = 0; i < 1000; ++i) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = i;
    ASSERT_EQ(SDL_PushEvent(&motion), 1);
  }
  pushKey(SDL_SCANCODE_ESCAPE, true);
  pushKey(SDL_SCANCODE_ESCAPE, false);
  EXPECT_GE(backend.takeEvents(), 1002);
  EXPECT_FALSE(backend.pollEvent());
  EXPECT_TRUE(snapshot()[static_cast<int>(Key::Escape)]);
}

// The window manager's close request and Alt+F4 ask "Beenden" as Escape does: Escape counts
// as down once; F4 alone, or a close request for another window, does nothing.
TEST_F(SdlBackendTest, ACloseRequestOrAltF4CountsAsEscape) {
  ASSERT_TRUE(backend.openWindow(1024, 768));
  const uint32_t ours = SDL_GetWindowID(backend.window());
  const auto close = [](uint32_t window) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = window;
    return event;
  };
  const auto f4 = [](uint16_t mod) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.scancode = SDL_SCANCODE_F4;
    event.key.keysym.mod = mod;
    return event;
  };
  const struct {
    SDL_Event event;
    bool asks;
  } cases[] = {{close(ours), true},
               {close(ours + 1), false},
               {f4(KMOD_LALT), true},
               {f4(KMOD_RALT), true},
               {f4(KMOD_NONE), false}};
  for (const auto& c : cases) {
    SDL_Event event = c.event;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    backend.takeEvents();
    EXPECT_EQ(snapshot()[static_cast<int>(Key::Escape)], c.asks) << event.type;
    EXPECT_FALSE(snapshot()[static_cast<int>(Key::Escape)]);  // released at the next reading
  }
}

TEST_F(SdlBackendTest, SnapshotLeavesOtherEventsForThePoll) {
  while (backend.pollEvent()) {
  }
  SDL_Event user{};
  user.type = SDL_USEREVENT;
  ASSERT_EQ(SDL_PushEvent(&user), 1);
  snapshot();
  EXPECT_TRUE(backend.pollEvent());
}

TEST_F(SdlBackendTest, UnshowableMessageBoxDoesNotTrapThePlayer) {
  ScopedEnv noX("DISPLAY", nullptr);
  ScopedEnv noWayland("WAYLAND_DISPLAY", nullptr);
  pushKey(SDL_SCANCODE_RETURN, true);
  EXPECT_TRUE(backend.messageBox("Beenden", "Beenden?", MessageKind::YesNoQuestion));
  EXPECT_FALSE(snapshot()[kKeyReturn]);  // keys from before the box are forgotten
}

TEST_F(SdlBackendTest, ThePresenterShowsTheBoxAndAFailedOneFallsBackToYes) {
  ScopedEnv noX("DISPLAY", nullptr);
  ScopedEnv noWayland("WAYLAND_DISPLAY", nullptr);
  ASSERT_TRUE(backend.openWindow(1024, 768));
  struct Call {
    std::string title, text;
    MessageKind kind;
    uint64_t parent;
  };
  std::vector<Call> calls;
  std::optional<bool> answer = false;
  backend.setMessagePresenter([&](const std::string& title, const std::string& text,
                                  MessageKind kind, uint64_t parent, const OutsideAnswer&) {
    calls.push_back({title, text, kind, parent});
    return answer;
  });
  EXPECT_FALSE(backend.messageBox("Kaperfahrt", "Beenden", MessageKind::YesNoQuestion));
  EXPECT_TRUE(backend.messageBox("Scheisse", "Konnte nicht starten", MessageKind::Ok));
  answer = std::nullopt;  // could not show it, nor can SDL here
  pushKey(SDL_SCANCODE_ESCAPE, true);
  EXPECT_TRUE(backend.messageBox("Kaperfahrt", "Beenden", MessageKind::YesNoQuestion));
  EXPECT_FALSE(snapshot()[static_cast<int>(Key::Escape)]);
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].title, "Kaperfahrt");
  EXPECT_EQ(calls[0].text, "Beenden");
  EXPECT_EQ(calls[0].kind, MessageKind::YesNoQuestion);
  EXPECT_EQ(calls[1].kind, MessageKind::Ok);
  EXPECT_EQ(calls[0].parent, 0u);  // the dummy driver's window is no X11 window
}

TEST_F(SdlBackendTest, PlayersKeysAreReadWhereTheyAreBound) {
  KeyBindings own = kDefaultKeyBindings;
  own[0][0] = SDL_SCANCODE_I;       // Player 1 accelerates with I
  own[1][4] = SDL_SCANCODE_W;       // Player 2 fires to port with what was Player 1's key
  own[1][5] = SDL_SCANCODE_RETURN;  // reserved for the game: the default stays
  backend.setKeyBindings(own);
  struct Case {
    SDL_Scancode code;
    std::vector<Key> down;
  };
  const Case cases[] = {{SDL_SCANCODE_I, {Key::W}},
                        {SDL_SCANCODE_W, {Key::Keypad1}},
                        {SDL_SCANCODE_KP_2, {Key::Keypad2}},
                        {SDL_SCANCODE_RETURN, {Key::Return}},
                        {SDL_SCANCODE_P, {Key::P}},
                        // A replay's keys keep their places beside the players' own.
                        {SDL_SCANCODE_LEFT, {Key::Left, Key::ArrowLeft}},
                        {SDL_SCANCODE_4, {Key::Four}}};
  for (const Case& c : cases) {
    pushKey(c.code, true);
    const std::array<bool, kKeyCount> down = snapshot();
    std::array<bool, kKeyCount> expected{};
    for (Key k : c.down) expected[static_cast<size_t>(k)] = true;
    EXPECT_EQ(down, expected) << c.code;
  }
}

TEST_F(SdlBackendTest, ServicesAreReleasedOneByOne) {
  ASSERT_TRUE(backend.openWindow(1024, 768));
  ASSERT_TRUE(backend.openScreen(1680, 1050));
  backend.release(MediaService::Sound);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
  backend.release(MediaService::ScreenAndSprites);
  EXPECT_EQ(backend.renderer(), nullptr);
  EXPECT_NE(backend.window(), nullptr);
  backend.release(MediaService::Windows);
  EXPECT_EQ(backend.window(), nullptr);
  backend.release(MediaService::Desktop);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}

TEST_F(SdlBackendTest, AudioRunsTheSourceInTheAskedFormat) {
  CountingSource source;
  AudioFormat format;
  ASSERT_TRUE(backend.openAudio(&source, format)) << SDL_GetError();
  EXPECT_EQ(format.rate, 44100);
  EXPECT_EQ(format.channels, 2);
  for (int i = 0; i < 200 && source.calls.load() == 0; ++i) backend.sleepMs(5);
  EXPECT_GT(source.calls.load(), 0);
  backend.lockAudio();
  const int during = source.calls.load();
  backend.sleepMs(60);  // the dummy device asks every ~23 ms, but not while locked
  EXPECT_EQ(source.calls.load(), during);
  backend.unlockAudio();
  backend.closeAudio();
  EXPECT_FALSE(backend.openAudio(nullptr, format));
}

TEST_F(SdlBackendTest, ClockCountsMicroseconds) {
  const uint64_t before = backend.nowMicros();
  backend.sleepMs(20);
  const uint64_t after = backend.nowMicros();
  EXPECT_GE(after - before, 19000u);
  EXPECT_LT(after - before, 5000000u);
}

TEST(SdlBackendSound, UnusableDriverFallsBackToSilence) {
  ScopedEnv video("SDL_VIDEODRIVER", "dummy");
  ScopedEnv driver("SDL_AUDIODRIVER", "kein-solcher-treiber");
  SdlBackend backend;
  ASSERT_TRUE(backend.initScreen());
  EXPECT_TRUE(backend.initSound());
  CountingSource source;
  AudioFormat format;
  EXPECT_TRUE(backend.openAudio(&source, format));
  backend.shutdown();
}

}  // namespace
