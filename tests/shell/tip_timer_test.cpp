// The tip-page timer's counter rules, tick by tick, with scripted draws.
#include <gtest/gtest.h>

#include "shell/tip_timer.h"
#include "support/manual_scheduler.h"
#include "support/scripted_random.h"

namespace duvelin {
namespace {

using testing::ManualScheduler;
using testing::ScriptedRandom;

class TipTimerTest : public ::testing::Test {
 protected:
  ManualScheduler scheduler;  // outlives the timer, which cancels itself on it
  ScriptedRandom random;
  bool active = true;
  std::vector<std::string> navigated;
  TipTimer timer{random, "duvelin://local/web/tips/", [this] { return active; },
                 [this](const std::string& address) { navigated.push_back(address); }};
};

TEST_F(TipTimerTest, EachTickCountsAndStopsBelowTheDrawnThreshold) {
  // counter+1 against r + 300: with the counter at 349 the tick makes it 350.
  struct Case {
    int32_t before;
    uint32_t r;
    bool stops;
  };
  for (Case c : {Case{0, 0, true}, Case{298, 0, true}, Case{299, 0, false}, Case{349, 50, false},
                 Case{349, 51, true}, Case{397, 99, true}, Case{398, 99, false}}) {
    SCOPED_TRACE(c.before);
    timer.SetCounter(c.before);
    // r, then (if reached) the coin 1 and a subtraction of 0.
    random.values = {c.r, 1, 0};
    timer.Tick();
    if (c.stops) {
      EXPECT_EQ(timer.Counter(), c.before + 1);
      EXPECT_EQ(random.values.size(), 2u);  // only r was drawn
    } else {
      EXPECT_EQ(random.values.size(), 0u);
    }
  }
  EXPECT_TRUE(navigated.empty());
}

TEST_F(TipTimerTest, CoinOfOneSubtractsUpTo499AndShowsNothing) {
  timer.SetCounter(399);
  random.values = {0, 1, 499};
  EXPECT_EQ(timer.Tick(), std::nullopt);
  EXPECT_EQ(timer.Counter(), 400 - 499);
  EXPECT_TRUE(navigated.empty());
}

TEST_F(TipTimerTest, CoinOfZeroResetsAndNavigatesToATipPage) {
  struct Case {
    uint32_t drawn;  // 0..19 gives tip 1..20
    std::string address;
  };
  for (const Case& c : {Case{0, "duvelin://local/web/tips/1.htm"}, Case{6, "duvelin://local/web/tips/7.htm"},
                        Case{19, "duvelin://local/web/tips/20.htm"}}) {
    timer.SetCounter(299);
    random.values = {0, 0, c.drawn};
    EXPECT_EQ(timer.Tick(), c.address);
    EXPECT_EQ(timer.Counter(), 0);
  }
  EXPECT_EQ(navigated, (std::vector<std::string>{"duvelin://local/web/tips/1.htm", "duvelin://local/web/tips/7.htm",
                                                 "duvelin://local/web/tips/20.htm"}));
}

TEST_F(TipTimerTest, InactiveMainWindowResetsWithoutNavigatingOrDrawingATip) {
  active = false;
  timer.SetCounter(299);
  random.values = {0, 0, 6};
  EXPECT_EQ(timer.Tick(), std::nullopt);
  EXPECT_EQ(timer.Counter(), 0);
  EXPECT_TRUE(navigated.empty());
  EXPECT_EQ(random.values.size(), 1u);
}

TEST_F(TipTimerTest, RunsEverySecondOnceStarted) {
  random.values.assign(10, 99);  // r = 99: never reaches the threshold
  timer.Start(scheduler);
  timer.Start(scheduler);
  EXPECT_EQ(scheduler.ActiveTimers(), 1u);
  scheduler.Advance(999);
  EXPECT_EQ(timer.Counter(), 0);
  scheduler.Advance(4001);
  EXPECT_EQ(timer.Counter(), 5);
}

}  // namespace
}  // namespace duvelin
