// The port mapper with routers of our own making: which answer wins, when it gives up, and
// that no forwarding it was granted stays behind on the router.
#include "net/port_mapper.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <future>
#include <thread>

namespace {

// What a pretend router answers, and what it was asked. Shared, as the mapper's threads may
// outlive a test's scope.
struct Router {
  std::mutex mutex;
  std::condition_variable released;
  bool silent = false;  // map() waits until `silent` is cleared
  std::optional<ExternalAddress> grants;
  MappingProblem problem = MappingProblem::NoAnswer;
  int detail = 0;
  int maps = 0, unmaps = 0;

  void release() {
    std::lock_guard lock(mutex);
    silent = false;
    released.notify_all();
  }
  int count(const int& field) {
    std::lock_guard lock(mutex);
    return field;
  }
};

class Pretend final : public RouterProtocol {
 public:
  Pretend(std::shared_ptr<Router> router, const char* name) : router_(router), name_(name) {}
  const char* name() const override { return name_; }
  Answer map(uint16_t, uint32_t, Deadline) override {
    std::unique_lock lock(router_->mutex);
    ++router_->maps;
    router_->released.wait(lock, [this] { return !router_->silent; });
    Answer answer;
    answer.mapped = router_->grants;
    answer.problem = router_->grants ? MappingProblem::None : router_->problem;
    answer.detail = router_->detail;
    return answer;
  }
  void unmap(uint16_t, const ExternalAddress&) override {
    std::lock_guard lock(router_->mutex);
    ++router_->unmaps;
  }

 private:
  std::shared_ptr<Router> router_;
  const char* name_;
};

bool eventually(const std::function<bool()>& condition) {
  for (int i = 0; i < 5000; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

struct Two {
  std::shared_ptr<Router> upnp = std::make_shared<Router>(), pmp = std::make_shared<Router>();
  std::unique_ptr<PortMapper> mapper(PortMapper::Timing timing = {}) {
    std::vector<std::unique_ptr<RouterProtocol>> protocols;
    protocols.push_back(std::make_unique<Pretend>(upnp, "UPnP"));
    protocols.push_back(std::make_unique<Pretend>(pmp, "NAT-PMP"));
    return std::make_unique<PortMapper>(std::move(protocols), timing);
  }
};

PortMapper::State stateOf(const PortMapper& m) { return m.result().state; }

TEST(PortMapper, TheFirstGrantWinsAndEveryGrantIsTakenBackAtTheEnd) {
  Two routers;
  routers.pmp->silent = true;
  routers.upnp->grants = ExternalAddress{"88.77.66.1", 24242};
  auto mapper = routers.mapper();
  EXPECT_EQ(stateOf(*mapper), PortMapper::State::Idle);
  mapper->start(24242);
  ASSERT_TRUE(eventually([&] { return stateOf(*mapper) != PortMapper::State::Asking; }));
  const PortMapper::Result r = mapper->result();
  EXPECT_EQ(r.state, PortMapper::State::Mapped);
  EXPECT_EQ(r.external.address, "88.77.66.1");
  EXPECT_EQ(r.external.port, 24242);
  EXPECT_STREQ(r.protocol, "UPnP");

  // The slower protocol's grant comes in as well; it is kept, not reported again.
  routers.pmp->grants = ExternalAddress{"88.77.66.1", 30000};
  routers.pmp->release();
  ASSERT_TRUE(eventually([&] { return mapper->running() == 1; }));
  EXPECT_EQ(mapper->result().external.port, 24242);
  mapper.reset();  // the end of the offer
  EXPECT_EQ(routers.upnp->count(routers.upnp->unmaps), 1);
  EXPECT_EQ(routers.pmp->count(routers.pmp->unmaps), 1);
}

TEST(PortMapper, FailsWithTheMostTellingReasonOnceEveryRouterAnswered) {
  Two routers;
  routers.upnp->problem = MappingProblem::Refused;
  routers.upnp->detail = 718;
  auto mapper = routers.mapper({.giveUpMs = 60000});
  mapper->start(24242);
  // No waiting for the give-up time when every protocol has already answered.
  ASSERT_TRUE(eventually([&] { return stateOf(*mapper) == PortMapper::State::Failed; }));
  const PortMapper::Result r = mapper->result();
  EXPECT_EQ(r.problem, MappingProblem::Refused);
  EXPECT_EQ(r.detail, 718);
  EXPECT_STREQ(r.protocol, "UPnP");
  EXPECT_EQ(routers.upnp->count(routers.upnp->unmaps), 0);
}

TEST(PortMapper, GivesUpOnSilentRoutersAndTakesBackALateGrant) {
  Two routers;
  routers.upnp->silent = routers.pmp->silent = true;
  auto mapper = routers.mapper({.giveUpMs = 50});
  mapper->start(24242);
  ASSERT_TRUE(eventually([&] { return stateOf(*mapper) == PortMapper::State::Failed; }));
  EXPECT_EQ(mapper->result().problem, MappingProblem::NoAnswer);

  // The player was already told there is no forwarding: a late one must not stay open.
  routers.upnp->grants = ExternalAddress{"88.77.66.1", 24242};
  routers.upnp->release();
  ASSERT_TRUE(eventually([&] { return routers.upnp->count(routers.upnp->unmaps) == 1; }));
  EXPECT_EQ(stateOf(*mapper), PortMapper::State::Failed);
  routers.pmp->release();
  mapper.reset();
  EXPECT_EQ(routers.upnp->count(routers.upnp->unmaps), 1);
}

TEST(PortMapper, CancellingTheOfferNeverWaitsForASilentRouterYetALateGrantIsTakenBack) {
  Two routers;
  routers.upnp->silent = routers.pmp->silent = true;
  auto mapper = routers.mapper({.giveUpMs = 60000, .farewellMs = 60000});
  mapper->start(24242);
  auto gone = std::async(std::launch::async, [&mapper] { mapper.reset(); });
  ASSERT_EQ(gone.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  routers.upnp->grants = ExternalAddress{"88.77.66.1", 24242};
  routers.upnp->release();
  routers.pmp->release();
  EXPECT_TRUE(eventually([&] { return routers.upnp->count(routers.upnp->unmaps) == 1; }));
}

TEST(PortMapper, RenewsTheLeaseWhileHeldAndStopsWhenRemoved) {
  Two routers;
  routers.upnp->grants = ExternalAddress{"88.77.66.1", 24242};
  auto mapper = routers.mapper({.renewMs = 5});
  mapper->start(24242);
  ASSERT_TRUE(eventually([&] { return routers.upnp->count(routers.upnp->maps) >= 3; }));
  EXPECT_EQ(routers.pmp->count(routers.pmp->maps), 1);  // it refused: nothing to renew there
  mapper->remove();
  ASSERT_TRUE(eventually([&] { return mapper->running() == 0; }));
  const int maps = routers.upnp->count(routers.upnp->maps);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(routers.upnp->count(routers.upnp->maps), maps);
  EXPECT_EQ(routers.upnp->count(routers.upnp->unmaps), 1);
}

TEST(PortMapper, ARouterBehindAnotherIsNoForwardingAGuestCouldUse) {
  for (const char* inside : {"10.1.2.3", "192.168.0.2", "100.64.7.1", "172.31.0.9"}) {
    Two routers;
    routers.upnp->grants = ExternalAddress{inside, 24242};
    auto mapper = routers.mapper();
    mapper->start(24242);
    ASSERT_TRUE(eventually([&] { return stateOf(*mapper) == PortMapper::State::Failed; }));
    EXPECT_EQ(mapper->result().problem, MappingProblem::NotPublic) << inside;
    EXPECT_EQ(routers.upnp->count(routers.upnp->unmaps), 1) << inside;
  }
  Two routers;  // just outside those ranges
  routers.upnp->grants = ExternalAddress{"172.32.0.1", 24242};
  auto mapper = routers.mapper();
  mapper->start(24242);
  ASSERT_TRUE(eventually([&] { return stateOf(*mapper) != PortMapper::State::Asking; }));
  EXPECT_EQ(stateOf(*mapper), PortMapper::State::Mapped);
}

}  // namespace
