#include "flow/network_args.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
  std::vector<std::string> args;
  bool found, host;
  std::string address;
  int port;
  std::vector<std::string> left;  // what the rest of the program sees
  bool error = false;
};

TEST(NetworkOption, HostWithOrWithoutPortJoinWithOrWithoutPortAndNothingElse) {
  const std::vector<Case> cases = {
      {{"--host"}, true, true, "", 47111, {}},
      {{"--host", "5000"}, true, true, "", 5000, {}},
      {{"--host", "--desktop"}, true, true, "", 47111, {"--desktop"}},
      {{"--desktop", "--join", "10.0.0.2"}, true, false, "10.0.0.2", 47111, {"--desktop"}},
      {{"--join", "127.0.0.1:47112"}, true, false, "127.0.0.1", 47112, {}},
      {{}, false, false, "", 0, {}},
      {{"--host", "hafen"}, false, false, "", 0, {"--host", "hafen"}, true},
      {{"--host", "70000"}, false, false, "", 0, {"--host", "70000"}, true},
      {{"--join"}, false, false, "", 0, {"--join"}, true},
      {{"--join", "a:0"}, false, false, "", 0, {"--join", "a:0"}, true},
  };
  for (const Case& c : cases) {
    std::vector<std::string> owned = {"kaperfahrt"};
    owned.insert(owned.end(), c.args.begin(), c.args.end());
    std::vector<char*> argv;
    for (std::string& a : owned) argv.push_back(a.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(owned.size());
    std::string error;
    const std::optional<NetworkStart> start = takeNetworkOption(argc, argv.data(), error);
    const std::string name = c.args.empty() ? "(none)" : c.args[0] + " ...";
    ASSERT_EQ(start.has_value(), c.found) << name;
    EXPECT_EQ(!error.empty(), c.error) << name;
    if (start) {
      EXPECT_EQ(start->host, c.host) << name;
      EXPECT_EQ(start->address, c.address) << name;
      EXPECT_EQ(start->port, c.port) << name;
    }
    std::vector<std::string> left(argv.begin() + 1, argv.begin() + argc);
    EXPECT_EQ(left, c.left) << name;
    EXPECT_EQ(argv[argc], nullptr) << name;
  }
}

}  // namespace
