#include "app/exit_cleanup_list.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string g_calls;
ExitCleanupList* g_list = nullptr;

void First() { g_calls += "1"; }
void Second() { g_calls += "2"; }
void RegistersSecond() {
  g_calls += "R";
  g_list->Register(&Second);
}

class ExitCleanupListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_calls.clear();
    g_list = &list;
  }
  ExitCleanupList list;
};

TEST_F(ExitCleanupListTest, RunsEachRoutineOnceInRegistrationOrderThenEmpties) {
  list.Register(&Second);
  list.Register(&First);
  list.Register(&Second);  // already there: nothing added
  list.RunAll();
  EXPECT_EQ(g_calls, "21");
  EXPECT_TRUE(list.empty());
  list.RunAll();
  EXPECT_EQ(g_calls, "21");
}

TEST_F(ExitCleanupListTest, RoutineRegisteredWhileRunningStillRuns) {
  list.Register(&RegistersSecond);
  list.RunAll();
  EXPECT_EQ(g_calls, "R2");
  EXPECT_TRUE(list.empty());
}

TEST_F(ExitCleanupListTest, NullRoutineIsIgnored) {
  list.Register(nullptr);
  EXPECT_TRUE(list.empty());
}

}  // namespace
