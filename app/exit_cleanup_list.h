// The ordered routines that the orderly end of the program runs once before the process exits.
#pragma once

#include <vector>

class ExitCleanupList {
 public:
  using Routine = void (*)();

  // A routine already in the list is not added again.
  void Register(Routine routine);

  // Runs every routine once in the order of registration, then empties the list. A routine
  // that registers another while the list runs gets it run in the same sweep.
  void RunAll();

  bool empty() const { return routines_.empty(); }

 private:
  std::vector<Routine> routines_;
};
