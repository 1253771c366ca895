#include "net/addresses.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

// A name server that answers only when the test lets it: the lookup never blocks its caller,
// and one given up before the answer leaves nothing waiting.
TEST(NameLookup, ANameServerThatDoesNotAnswerBlocksNobody) {
  std::promise<void> answer;
  std::shared_future<void> answered = answer.get_future().share();
  const auto slow = [answered](const std::string& name) -> std::optional<std::string> {
    answered.wait();
    if (name == "kein.rechner") return std::nullopt;
    return "192.0.2.7";
  };
  NameLookup found("schiff.example", slow), missing("kein.rechner", slow);
  { NameLookup givenUp("schiff.example", slow); }
  EXPECT_FALSE(found.done() || missing.done());
  answer.set_value();
  for (int i = 0; i < 1000 && !(found.done() && missing.done()); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(found.result(), "192.0.2.7");
  ASSERT_TRUE(missing.done());
  EXPECT_FALSE(missing.result());
}

TEST(NameLookup, NumbersStayAndLocalhostIsFound) {
  EXPECT_EQ(resolveIPv4("127.0.0.1"), "127.0.0.1");
  EXPECT_EQ(resolveIPv4("localhost"), "127.0.0.1");
}

}  // namespace
