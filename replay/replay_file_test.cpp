#include "replay/replay_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <utility>

#include "launcher/catalogue.h"
#include "replay/replay_folder.h"
#include "replay/replay_texts.h"
#include "state/build_identity.h"

namespace {

namespace fs = std::filesystem;

// Two players whose controls change every 13 and 19 frames, as busy hands do.
Replay busyReplay(uint32_t frames) {
  StartRecord start;
  start.SpielModus = kZweiSpieler;
  start.Gegneranzahl = 1;
  start.Schiffstabelle.fill({0.1f, 5.5f, 100, 3, 10, 150, 1.5f, 1.25f});
  start.Flotte[2].PosX = -0.0;
  start.Seed = 42;
  ReplayRecorder recorder(start);
  recorder.checksum(0, 1);
  for (uint32_t f = 0; f < frames; ++f) {
    recorder.frame(static_cast<uint8_t>((f / 13 * 37) & 0x7F),
                   static_cast<uint8_t>((f / 19) & 0x3F));
    recorder.checksum(f + 1, f * 0x9E3779B97F4A7C15ull);
  }
  return recorder.finish("Player 1 Wins!");
}

TEST(ReplayFile, ReadsBackWhatItWroteAndStaysSmall) {
  const Replay replay = busyReplay(36000);  // ten minutes
  const std::vector<uint8_t> bytes = encodeReplay(replay);
  EXPECT_LE(bytes.size(), 30u * 1024);
  const ReplayReading reading = readReplay(bytes);
  ASSERT_TRUE(reading.replay) << static_cast<int>(reading.problem);
  EXPECT_EQ(reading.replay->inputs, replay.inputs);
  EXPECT_EQ(reading.replay->checksums, replay.checksums);
  EXPECT_EQ(reading.replay->result, "Player 1 Wins!");
  EXPECT_EQ(encodeReplay(*reading.replay), bytes);
  EXPECT_EQ(replay.checksums.size(), 601u);  // frames 0, 60, ... 36000
}

TEST(ReplayFile, RefusesWhatIsNotAWholeReplayOfThisBuild) {
  Replay replay = busyReplay(600);
  const std::vector<uint8_t> good = encodeReplay(replay);
  const auto problem = [](std::vector<uint8_t> bytes) { return readReplay(bytes).problem; };

  EXPECT_EQ(problem({'G', 'I', 'F', '8', '9', 'a'}), ReplayProblem::NotAReplay);
  for (size_t cut = 8; cut < good.size(); cut += 7) {
    EXPECT_EQ(problem({good.begin(), good.begin() + static_cast<long>(cut)}), ReplayProblem::Cut)
        << "cut at " << cut;
  }
  for (size_t at = 8; at < good.size(); ++at) {
    std::vector<uint8_t> flipped = good;
    flipped[at] ^= 0x10;
    EXPECT_NE(problem(flipped), ReplayProblem::None) << "byte " << at;
  }
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  EXPECT_EQ(problem(longer), ReplayProblem::Corrupt);

  replay.stepIdentity ^= 1;
  const std::vector<uint8_t> other = encodeReplay(replay);
  const ReplayReading foreign = readReplay(other);
  EXPECT_EQ(foreign.problem, ReplayProblem::OtherBuild);
  EXPECT_EQ(foreign.otherIdentity, replay.stepIdentity);
  EXPECT_TRUE(readReplay(other, true).replay);

  replay.start.Flotte[1].Klasse = 8;  // beyond the table: no battle starts from it
  EXPECT_EQ(readReplay(encodeReplay(replay), true).problem, ReplayProblem::Corrupt);
}

// The sentences --verify prints and the launcher shows, in German as the game has always said
// them, and in English from the catalogue.
TEST(ReplayTexts, EveryProblemIsWorded) {
  const std::string ours = std::string(gameVersion()) + " [" + [] {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(stepIdentity()));
    return std::string(hex, 8);
  }() + "]";
  const std::pair<ReplayReading, std::string> german[] = {
      {{.problem = ReplayProblem::None}, ""},
      {{.problem = ReplayProblem::Unreadable}, "Die Datei /a/b.kfr lässt sich nicht lesen."},
      {{.problem = ReplayProblem::NotAReplay}, "Die Datei ist keine Wiederholung von Kaperfahrt."},
      {{.problem = ReplayProblem::Cut},
       "Die Wiederholung ist unvollständig: die Datei bricht vorzeitig ab."},
      {{.problem = ReplayProblem::Corrupt}, "Die Wiederholung ist beschädigt."},
      {{.problem = ReplayProblem::NewerFormat},
       "Die Wiederholung hat ein Format, das diese Version des Spiels nicht kennt."},
      {{.problem = ReplayProblem::OtherBuild,
        .otherVersion = "0.9",
        .otherIdentity = 0xfedcba9876543210ull},
       "Die Wiederholung stammt von einer anderen Version des Spiels (dort 0.9 [fedcba98], hier " +
           ours + ")."},
  };
  for (const auto& [reading, text] : german)
    EXPECT_EQ(replayProblemText(reading, "/a/b.kfr"), text);

  useLanguage(Language::English);
  for (const auto& [reading, text] : german) {
    const std::string english = replayProblemText(reading, "/a/%2.kfr");
    EXPECT_EQ(english.empty(), text.empty());
    EXPECT_EQ(english.find("Wiederholung"), std::string::npos) << english;
  }
  EXPECT_NE(
      replayProblemText({.problem = ReplayProblem::Unreadable}, "/a/%2.kfr").find("/a/%2.kfr"),
      std::string::npos);
  useLanguage(Language::German);
}

TEST(ReplayFolder, WritesWholeFilesAndKeepsTheNewestHundred) {
  const fs::path folder = fs::path(testing::TempDir()) / "kf_replays" / "Wiederholungen";
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (int i = 0; i < kReplaysKept; ++i)
    std::ofstream(folder / ("2000-01-01_00-00-" + std::to_string(100 + i) + ".kfr")) << "x";
  std::string problem;
  const std::string written = saveReplay(folder.string(), busyReplay(120), problem);
  ASSERT_FALSE(written.empty()) << problem;
  size_t count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    ++count;
    EXPECT_EQ(entry.path().extension(), ".kfr");  // no temporary file left
  }
  EXPECT_EQ(count, static_cast<size_t>(kReplaysKept));
  EXPECT_FALSE(fs::exists(folder / "2000-01-01_00-00-100.kfr"));
  EXPECT_TRUE(fs::exists(folder / "2000-01-01_00-00-101.kfr"));

  std::ifstream in(written, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  EXPECT_TRUE(readReplay(bytes).replay);
  // Its name tells when it was recorded (a second one in the same second too); others do not.
  std::tm named{};
  ASSERT_TRUE(replayNameTime(written, named));
  named.tm_isdst = -1;
  EXPECT_LE(std::abs(std::difftime(std::time(nullptr), std::mktime(&named))), 60.0);
  EXPECT_TRUE(replayNameTime("/r/2026-05-01_10-00-00_2.kfr", named));
  EXPECT_FALSE(replayNameTime("/r/meine.kfr", named));

  // A file where the folder should be: nothing written, the reason given.
  const fs::path blocked = folder.parent_path() / "blocked";
  std::ofstream(blocked) << "x";
  EXPECT_TRUE(saveReplay((blocked / "Wiederholungen").string(), busyReplay(1), problem).empty());
  EXPECT_FALSE(problem.empty());
  EXPECT_EQ(replayFolderBeside("kaperfahrt.ini"), "Wiederholungen");
  EXPECT_EQ(replayFolderBeside("/home/a/.local/share/kaperfahrt/Kaperfahrt.ini"),
            "/home/a/.local/share/kaperfahrt/Wiederholungen");
  fs::remove_all(folder.parent_path());
}

}  // namespace
