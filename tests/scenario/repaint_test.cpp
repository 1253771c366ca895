// Frames repainted only where they changed are the frames painted whole: two battles side by
// side, one painted each way, through every kind of frame (sailing and turning, broadsides,
// hits, sinking, results, a restart, pause, the "Beenden" question, a network battle's
// rollback with its silent frames), compared pixel for pixel after every frame. A window that
// takes only the changes each frame names must show the same picture too.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <random>
#include <string>

#include "flow/network_battle.h"
#include "gunnery/kugeln.h"
#include "launcher/catalogue.h"
#include "tests/scenario/arena.h"

namespace {

class Nebeneinander {
 public:
  Nebeneinander(int32_t modus, int32_t gegner, float health)
      : teilweise_(modus, gegner), ganz_(modus, gegner) {
    ganz_.media->repaintOnlyWhatChanged(false);
    for (Arena* a : arenen()) {
      a->backend->keepFrameCopies(true);
      // Weak ships, so that hits sink them and results come within a few hundred frames.
      for (SchiffsTyp& typ : a->spiel.Schiffstabelle) typ.Health = health;
      a->neuAufbauen();
    }
  }

  std::array<Arena*, 2> arenen() { return {&teilweise_, &ganz_}; }

  void halten(Key key, bool unten = true) {
    for (Arena* a : arenen()) a->halten(key, unten);
  }
  void antworten(bool ja) {
    for (Arena* a : arenen()) a->backend->queueAnswer(ja);
  }
  // Runs `schritt` in both battles; what differs, or empty. The changes are narrowed to what
  // differs in two steps of three, as for a window that stretches the frames.
  std::string beide(const std::function<void(Arena&)>& schritt) {
    teilweise_.backend->askForComparedChanges(++schritte_ % 3 != 0);
    for (Arena* a : arenen()) schritt(*a);
    return unterschied();
  }
  std::string frame() {
    return beide([](Arena& a) { a.frame(); });
  }

  std::string unterschied() const {
    const std::vector<uint32_t>& a = teilweise_.backend->lastFrame().pixels;
    const std::vector<uint32_t>& b = ganz_.backend->lastFrame().pixels;
    if (teilweise_.backend->framesPresented() != ganz_.backend->framesPresented()) {
      return "not as many frames shown";
    }
    if (a != b) {
      const auto at = std::mismatch(a.begin(), a.end(), b.begin()).first - a.begin();
      return "pixel " + std::to_string(at % kScreenWidth) + "," +
             std::to_string(at / kScreenWidth) + " differs";
    }
    if (teilweise_.backend->patchedFrame().pixels != a) return "the changes named miss pixels";
    return "";
  }

  const Spiel& spiel() const { return teilweise_.spiel; }
  int teilweiseGezeigt() const { return teilweise_.backend->framesChangedInPart(); }

 private:
  Arena teilweise_, ganz_;
  int schritte_ = 0;
};

// Both players sail, turn and fire; a pause, the question answered No, a result and then a
// restart with Return.
TEST(Repaint, TwoPlayersThroughPauseQuestionResultAndRestart) {
  Nebeneinander schlacht(kZweiSpieler, 1, 30);
  for (Key key : {Key::W, Key::A, Key::V, Key::B, Key::Up, Key::Right, Key::Keypad1})
    schlacht.halten(key);
  bool entschieden = false;
  for (int f = 0; f < 900; ++f) {
    if (f == 120 || f == 150) schlacht.halten(Key::P);
    if (f == 121 || f == 151) schlacht.halten(Key::P, false);
    if (f == 200) schlacht.halten(Key::A, false);
    if (f == 260) {
      schlacht.antworten(false);
      schlacht.halten(Key::Escape);
    }
    if (f == 261) schlacht.halten(Key::Escape, false);
    if (f == 450) {  // wrecked, should no ball have done it yet: it burns, sinks and loses
      schlacht.beide(
          [](Arena& a) { a.spiel.Flotte[1].Health = std::min(a.spiel.Flotte[1].Health, 0.5f); });
    }
    entschieden |= schlacht.spiel().Spielende == 1;
    if (f == 700) schlacht.halten(Key::Return);
    if (f == 702) schlacht.halten(Key::Return, false);
    ASSERT_EQ(schlacht.frame(), "") << "frame " << f;
  }
  EXPECT_TRUE(entschieden);
  EXPECT_GT(schlacht.teilweiseGezeigt(), 600);  // most frames were repainted in part
}

// One player against three computer ships, which steer and fire on their own.
TEST(Repaint, OnePlayerAgainstThreeComputerShips) {
  Nebeneinander schlacht(kEinzelspieler, 3, 40);
  for (Key key : {Key::W, Key::D, Key::V, Key::B}) schlacht.halten(key);
  for (int f = 0; f < 700; ++f) {
    if (f == 300) schlacht.halten(Key::D, false);
    ASSERT_EQ(schlacht.frame(), "") << "frame " << f;
  }
}

// The heaviest frames: three thousand balls in the air at once, some flying off the edges,
// over sinking, burning ships.
TEST(Repaint, ThreeThousandBallsOverBurningShips) {
  Nebeneinander schlacht(kEinzelspieler, 3, 40);
  for (Key key : {Key::W, Key::A, Key::V, Key::B}) schlacht.halten(key);
  for (int f = 0; f < 60; ++f) ASSERT_EQ(schlacht.frame(), "") << "frame " << f;
  ASSERT_EQ(schlacht.beide([](Arena& a) {
    std::mt19937 zufall(7);
    std::uniform_real_distribution<double> x(-30, 1710), y(-30, 1080), kurs(0, 360);
    for (int i = 0; i < 3000; ++i) {
      KugelAnhaengen(i % 4 == 0 ? a.spiel.ListeA : a.spiel.ListeB, x(zufall), y(zufall), 5,
                     kurs(zufall), 1 + i % 2, static_cast<int8_t>(1 + i % 3));
    }
    a.spiel.Flotte[2].Health = 0;
  }),
            "");
  for (int f = 0; f < 40; ++f) ASSERT_EQ(schlacht.frame(), "") << "frame " << f;
}

// A network battle goes back eight frames now and then and runs them again silently, with the
// guest's controls as they really were, before the next frame is shown. The guest's ship is
// marked as its own, and a while the battle stands still under the note that the other
// player is thinking.
TEST(Repaint, NetworkBattleGoingBackWithSilentFrames) {
  Nebeneinander schlacht(kZweiSpieler, 1, 40);
  const Steuerung gas{true, false, false, true, true, false};
  const Steuerung wende{true, false, true, false, false, true};
  std::deque<Spiel> vorher;
  for (int f = 0; f < 500; ++f) {
    const bool zurueck = f % 25 == 24 && vorher.size() == 8;
    const std::array<NetInput, 2> eingaben{NetInput{gas}, NetInput{f % 50 < 25 ? wende : gas}};
    if (f >= 300 && f < 310) {
      ASSERT_EQ(schlacht.beide([](Arena& a) { MitspielerUeberlegtZeigen(*a.media); }), "");
      continue;
    }
    const std::string falsch = schlacht.beide([&](Arena& a) {
      const Rollback::Step schritt = networkStep(*a.media, 1);
      if (zurueck) {
        // Only the partly repainted side keeps its past; both go back to the same one.
        a.spiel = vorher.front();
        for (int i = 0; i < 8; ++i) schritt(a.spiel, {NetInput{gas}, NetInput{wende}}, true);
      }
      schritt(a.spiel, eingaben, false);
    });
    ASSERT_EQ(falsch, "") << "frame " << f;
    vorher.push_back(schlacht.spiel());
    if (vorher.size() > 8) vorher.pop_front();
  }
}

// The mark of one's own ship is drawn beside that ship and nowhere else, in every kind of
// frame of a network battle, in German and in English; a battle on one computer has none.
TEST(Repaint, TheOwnShipsMarkIsBesideItAndNowhereElse) {
  Arena ohne, mit, englisch;
  for (Arena* a : {&ohne, &mit, &englisch}) a->backend->keepFrameCopies(true);
  const Rollback::Step ohneSchritt = networkStep(*ohne.media);
  const Rollback::Step mitSchritt = networkStep(*mit.media, 1);
  useLanguage(Language::English);  // the mark is worded when the battle's step is made
  const Rollback::Step englischSchritt = networkStep(*englisch.media, 1);
  useLanguage(Language::German);
  const Steuerung gas{true, false, false, true, true, false};
  for (int f = 0; f < 200; ++f) {
    const Spiel vorher = mit.spiel;
    ohneSchritt(ohne.spiel, {NetInput{gas}, NetInput{gas}}, false);
    mitSchritt(mit.spiel, {NetInput{gas}, NetInput{gas}}, false);
    englischSchritt(englisch.spiel, {NetInput{gas}, NetInput{gas}}, false);
    const std::vector<uint32_t>& a = ohne.backend->lastFrame().pixels;
    const int schiffX = static_cast<int>(vorher.Flotte[1].PosX);
    const int schiffY = static_cast<int>(vorher.Flotte[1].PosY);
    for (const Arena* markiert : {&mit, &englisch}) {
      const std::vector<uint32_t>& b = markiert->backend->lastFrame().pixels;
      int anders = 0;
      for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        ++anders;
        const int x = static_cast<int>(i % kScreenWidth), y = static_cast<int>(i / kScreenWidth);
        // Kept on the screen at its edges.
        const bool beiX = x >= std::min(schiffX + 75, kScreenWidth - 40) && x < schiffX + 180;
        const bool beiY = y > schiffY - 30 && y < std::max(schiffY, 0) + 40;
        ASSERT_TRUE(beiX && beiY) << "frame " << f << ": pixel " << x << "," << y;
      }
      ASSERT_GT(anders, 20) << "frame " << f;
    }
    ASSERT_NE(mit.backend->lastFrame().pixels, englisch.backend->lastFrame().pixels) << f;
  }
}

}  // namespace
