// The build identity: a version, and a step identity that hashes every file deciding the
// battle step and the compiler's flags.
#include "state/build_identity.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace {

TEST(BuildIdentity, NamesTheVersionAndAStepIdentityThatCoversTheStepsFiles) {
  EXPECT_EQ(gameVersion(), KF_VERSION);
  EXPECT_NE(stepIdentity(), 0u);
  EXPECT_EQ(stepIdentity(), stepIdentity());

  std::ifstream in(KF_STEP_INPUTS);
  std::string toolchain, line;
  ASSERT_TRUE(std::getline(in, toolchain));
  // Contraction into fused multiply-adds would change results on some processors.
  EXPECT_NE(toolchain.find("-ffp-contract=off"), std::string::npos) << toolchain;
  std::set<std::filesystem::path> hashed;
  while (std::getline(in, line)) hashed.insert(line);

  const std::filesystem::path root = KF_SOURCE_DIR;
  std::set<std::filesystem::path> wanted = {root / "flow/schlacht.cpp",
                                            root / "flow/partie.cpp",
                                            root / "flow/start.cpp",
                                            root / "flow/network_battle.cpp",
                                            root / "media/compositor.cpp",
                                            root / "assets/hit_disc.bmp",
                                            root / "presentation/schiffe_zeichnen.cpp"};
  for (const char* folder : {"state", "maths", "ships", "gunnery"}) {
    for (const auto& entry : std::filesystem::directory_iterator(root / folder)) {
      const std::string name = entry.path().filename().string();
      const bool source = name.ends_with(".cpp") || name.ends_with(".h");
      if (source && !name.ends_with("_test.cpp")) wanted.insert(entry.path());
    }
  }
  for (const auto& path : wanted) EXPECT_TRUE(hashed.contains(path)) << path;
}

}  // namespace
