// Game pads on the real SDL backend, played with SDL's virtual game controllers.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "media/media.h"
#include "media/sdl_backend.h"

namespace {

// A game controller without hardware: buttons and axes numbered as SDL's controller ones.
class VirtualPad {
 public:
  VirtualPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.userdata = this;
    desc.Rumble = [](void* pad, Uint16, Uint16) {
      ++static_cast<VirtualPad*>(pad)->rumbles;
      return 0;
    };
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    joystick_ = SDL_JoystickOpen(index);
    EXPECT_NE(joystick_, nullptr) << SDL_GetError();
    id_ = SDL_JoystickInstanceID(joystick_);
  }
  ~VirtualPad() { unplug(); }
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;

  void button(SDL_GameControllerButton b, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, b, down ? 1 : 0);
  }
  void axis(SDL_GameControllerAxis a, int16_t value) {
    SDL_JoystickSetVirtualAxis(joystick_, a, value);
  }
  void unplug() {
    if (joystick_ == nullptr) return;
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == id_) SDL_JoystickDetachVirtual(i);
    }
  }

  int rumbles = 0;

 private:
  SDL_Joystick* joystick_ = nullptr;
  SDL_JoystickID id_ = -1;
};

class Gamepad : public ::testing::Test {
 protected:
  void SetUp() override {
    auto owned = std::make_unique<SdlBackend>();
    backend = owned.get();
    media = std::make_unique<Media>(std::move(owned), 1);
    ASSERT_TRUE(backend->initScreen()) << SDL_GetError();
    ASSERT_TRUE(backend->initKeyboard()) << SDL_GetError();
    ASSERT_NE(SDL_WasInit(SDL_INIT_GAMECONTROLLER), 0u);
  }
  void TearDown() override {
    pads.clear();  // before SDL goes
    media.reset();
  }

  VirtualPad& plug() { return *pads.emplace_back(std::make_unique<VirtualPad>()); }
  // One frame's reading of both players.
  std::array<Steuerung, 2> read(int players = 1) {
    media->setPlayerCount(players);
    media->pollKeyboard();
    return {media->steuerung(0), media->steuerung(1)};
  }
  void pushKey(SDL_Scancode code, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.scancode = code;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&event);
  }

  SdlBackend* backend = nullptr;
  std::unique_ptr<Media> media;
  std::vector<std::unique_ptr<VirtualPad>> pads;
};

Steuerung only(bool Steuerung::*feld) {
  Steuerung s;
  s.*feld = true;
  return s;
}

TEST_F(Gamepad, HotPlugAtAnyTimeAndAnyPadSteersPlayer1Alone) {
  EXPECT_EQ(read()[0], Steuerung{});
  VirtualPad& first = plug();
  first.button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  EXPECT_EQ(read()[0], only(&Steuerung::Beschleunigen));
  VirtualPad& second = plug();
  second.button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  Steuerung beide = only(&Steuerung::Beschleunigen);
  beide.Links = true;
  EXPECT_EQ(read(), (std::array<Steuerung, 2>{beide, {}}));
  first.unplug();
  EXPECT_EQ(read()[0], only(&Steuerung::Links));
  second.unplug();
  EXPECT_EQ(read()[0], Steuerung{});
  plug().button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);  // plugged again later
  EXPECT_EQ(read()[0], only(&Steuerung::Bremsen));
}

TEST_F(Gamepad, BothPlayersFirstPadPlayer1SecondPlayer2ALonePadPlayer2) {
  VirtualPad& first = plug();
  first.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  EXPECT_EQ(read(2), (std::array<Steuerung, 2>{Steuerung{}, only(&Steuerung::Rechts)}));
  VirtualPad& second = plug();
  second.button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  EXPECT_EQ(read(2),
            (std::array<Steuerung, 2>{only(&Steuerung::Rechts), only(&Steuerung::Beschleunigen)}));
  first.unplug();  // the second is alone now, and Player 2's
  EXPECT_EQ(read(2), (std::array<Steuerung, 2>{Steuerung{}, only(&Steuerung::Beschleunigen)}));
}

TEST_F(Gamepad, StickHasADeadZoneAndAHeldDirectionActsLikeAHeldKey) {
  VirtualPad& pad = plug();
  struct Case {
    SDL_GameControllerAxis axis;
    int16_t value;
    Steuerung erwartet;
  };
  const Case cases[] = {
      {SDL_CONTROLLER_AXIS_LEFTY, -32768, only(&Steuerung::Beschleunigen)},
      {SDL_CONTROLLER_AXIS_LEFTY, -12000, only(&Steuerung::Beschleunigen)},
      {SDL_CONTROLLER_AXIS_LEFTY, -6000, {}},   // a stick not quite at rest
      {SDL_CONTROLLER_AXIS_LEFTY, -10000, {}},  // the dead zone's edge still counts as rest
      {SDL_CONTROLLER_AXIS_LEFTY, -10001, only(&Steuerung::Beschleunigen)},
      {SDL_CONTROLLER_AXIS_LEFTY, 10000, {}},
      {SDL_CONTROLLER_AXIS_LEFTY, 10001, only(&Steuerung::Bremsen)},
      {SDL_CONTROLLER_AXIS_LEFTX, -10000, {}},
      {SDL_CONTROLLER_AXIS_LEFTX, -10001, only(&Steuerung::Links)},
      {SDL_CONTROLLER_AXIS_LEFTX, 10000, {}},
      {SDL_CONTROLLER_AXIS_LEFTX, 10001, only(&Steuerung::Rechts)},
      {SDL_CONTROLLER_AXIS_LEFTY, 6000, {}},
      {SDL_CONTROLLER_AXIS_LEFTY, 32767, only(&Steuerung::Bremsen)},
      {SDL_CONTROLLER_AXIS_LEFTX, -20000, only(&Steuerung::Links)},
      {SDL_CONTROLLER_AXIS_LEFTX, 5000, {}},
      {SDL_CONTROLLER_AXIS_LEFTX, 20000, only(&Steuerung::Rechts)},
      {SDL_CONTROLLER_AXIS_RIGHTX, 32767, {}},  // the right stick steers nothing
  };
  for (const Case& c : cases) {
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    pad.axis(c.axis, c.value);
    for (int frame = 0; frame < 3; ++frame) {  // held: the same in every frame
      EXPECT_EQ(read()[0], c.erwartet) << c.axis << " " << c.value << " frame " << frame;
    }
  }
}

TEST_F(Gamepad, ShouldersAndTriggersFireTheirBatteries) {
  VirtualPad& pad = plug();
  EXPECT_EQ(read()[0], Steuerung{});  // triggers at rest
  struct Case {
    bool isButton;
    int input;
    int16_t pulled;
    Steuerung erwartet;
  };
  const Case cases[] = {
      {true, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 1, only(&Steuerung::FeuerLinks)},
      {true, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 1, only(&Steuerung::FeuerRechts)},
      {false, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767, only(&Steuerung::FeuerLinks)},
      {false, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767, only(&Steuerung::FeuerRechts)},
      {false, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -28000, {}},  // barely touched
  };
  for (const Case& c : cases) {
    if (c.isButton) {
      pad.button(static_cast<SDL_GameControllerButton>(c.input), true);
    } else {
      pad.axis(static_cast<SDL_GameControllerAxis>(c.input), c.pulled);
    }
    EXPECT_EQ(read()[0], c.erwartet) << c.input;
    if (c.isButton) {
      pad.button(static_cast<SDL_GameControllerButton>(c.input), false);
    } else {
      pad.axis(static_cast<SDL_GameControllerAxis>(c.input), -32768);
    }
    EXPECT_EQ(read()[0], Steuerung{}) << c.input;
  }
}

TEST_F(Gamepad, StartIsReturnAndBackIsEscapeNotMissedAsATap) {
  VirtualPad& pad = plug();
  read();
  pad.button(SDL_CONTROLLER_BUTTON_START, true);
  read();
  EXPECT_TRUE(media->keyDown(Key::Return));
  pad.button(SDL_CONTROLLER_BUTTON_START, false);
  read();
  EXPECT_FALSE(media->keyDown(Key::Return));
  // Back tapped between two readings (the frame loop pumps events between them).
  EXPECT_FALSE(media->keyReleased(Key::Escape));
  pad.button(SDL_CONTROLLER_BUTTON_BACK, true);
  SDL_PumpEvents();
  pad.button(SDL_CONTROLLER_BUTTON_BACK, false);
  read();
  EXPECT_TRUE(media->keyDown(Key::Escape));
  EXPECT_FALSE(media->keyReleased(Key::Escape));
  read();
  EXPECT_TRUE(media->keyReleased(Key::Escape));
  EXPECT_EQ(read()[0], Steuerung{});
}

TEST_F(Gamepad, RumbleIsAskedOfThePadsOfThePlayerHit) {
  VirtualPad& first = plug();
  VirtualPad& second = plug();
  read(2);
  media->rumble(1);
  EXPECT_EQ(first.rumbles, 0);
  EXPECT_EQ(second.rumbles, 1);
  read(1);  // alone, Player 1 has every pad (the second's rumble is still running)
  media->rumble(1);
  EXPECT_EQ(first.rumbles, 0);
  media->rumble(0);
  EXPECT_EQ(first.rumbles, 1);
}

TEST_F(Gamepad, KeyboardKeepsWorkingBesideAPad) {
  VirtualPad& pad = plug();
  pad.button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  pushKey(SDL_SCANCODE_UP, true);  // Player 2's key, while the pad is Player 2's
  pushKey(SDL_SCANCODE_V, true);
  Steuerung zwei = only(&Steuerung::Beschleunigen);
  EXPECT_EQ(read(2), (std::array<Steuerung, 2>{only(&Steuerung::FeuerLinks), zwei}));
  pad.button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
  pushKey(SDL_SCANCODE_UP, true);
  EXPECT_EQ(read(2)[1], zwei);  // the key alone
}

TEST_F(Gamepad, ControllerAnswersTheQuestionWithAOrB) {
  VirtualPad& pad = plug();
  read();
  pad.button(SDL_CONTROLLER_BUTTON_A, true);  // pressed before the question: no answer
  SDL_PumpEvents();
  pad.button(SDL_CONTROLLER_BUTTON_A, false);
  for (const auto& [button, yes] :
       {std::pair{SDL_CONTROLLER_BUTTON_A, true}, std::pair{SDL_CONTROLLER_BUTTON_B, false}}) {
    int polls = 0;
    backend->setMessagePresenter([&](const std::string&, const std::string&, MessageKind, uint64_t,
                                     const OutsideAnswer& outside) {
      EXPECT_EQ(outside(), std::nullopt);
      std::optional<bool> answer;
      for (; !answer && polls < 50; ++polls) {
        pad.button(button, polls == 3);  // a short press while the box is open
        answer = outside();
      }
      return answer;
    });
    EXPECT_EQ(backend->messageBox("Kaperfahrt", "Beenden", MessageKind::YesNoQuestion), yes);
    EXPECT_LT(polls, 50);
  }
}

}  // namespace
