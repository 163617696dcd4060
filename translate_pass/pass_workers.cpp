#include "translate_pass/pass_workers.h"

bool PassWorkers::Enter() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (stopRequested_.load()) return false;
  ++running_;
  return true;
}

void PassWorkers::Leave() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (--running_ == 0) idle_.notify_all();
}

void PassWorkers::RequestStop() {
  std::lock_guard<std::mutex> lock(mutex_);
  stopRequested_.store(true);
}

bool PassWorkers::WaitUntilIdle(std::chrono::milliseconds wait) {
  std::unique_lock<std::mutex> lock(mutex_);
  return idle_.wait_for(lock, wait, [this] { return running_ == 0; });
}

PassWorkers& ThePassWorkers() {
  static PassWorkers* workers = new PassWorkers;
  return *workers;
}
