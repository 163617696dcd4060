#include "app/exit_cleanup_list.h"

#include <algorithm>

void ExitCleanupList::Register(Routine routine) {
  if (routine == nullptr) return;
  if (std::find(routines_.begin(), routines_.end(), routine) != routines_.end()) return;
  routines_.push_back(routine);
}

void ExitCleanupList::RunAll() {
  // Index loop: a routine may register another one and grow the vector.
  for (std::size_t i = 0; i < routines_.size(); ++i) routines_[i]();
  routines_.clear();
}
