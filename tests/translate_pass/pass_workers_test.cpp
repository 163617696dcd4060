#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "translate_pass/pass_workers.h"

namespace {

using std::chrono::milliseconds;

TEST(PassWorkersTest, AStopRefusesNewWorkersAndIsSeenByRunningOnes) {
  PassWorkers workers;
  PassWorkerScope running(workers);
  EXPECT_TRUE(running.Entered());
  EXPECT_FALSE(workers.StopRequested());
  workers.RequestStop();
  EXPECT_TRUE(workers.StopRequested());
  PassWorkerScope late(workers);
  EXPECT_FALSE(late.Entered());
  EXPECT_FALSE(workers.WaitUntilIdle(milliseconds(20)));  // `running` is still inside
}

TEST(PassWorkersTest, TheWaitEndsWhenTheLastWorkerLeaves) {
  PassWorkers workers;
  EXPECT_TRUE(workers.WaitUntilIdle(milliseconds(0)));
  auto worker = std::make_unique<PassWorkerScope>(workers);
  std::thread leaving([&] {
    std::this_thread::sleep_for(milliseconds(50));
    worker.reset();
  });
  workers.RequestStop();
  EXPECT_TRUE(workers.WaitUntilIdle(milliseconds(20000)));  // a bound, not a speed
  leaving.join();
}

TEST(PassWorkersTest, ARefusedWorkerDoesNotCountAsLeaving) {
  PassWorkers workers;
  PassWorkerScope first(workers);
  workers.RequestStop();
  { PassWorkerScope refused(workers); }
  EXPECT_FALSE(workers.WaitUntilIdle(milliseconds(20)));
}

}  // namespace
