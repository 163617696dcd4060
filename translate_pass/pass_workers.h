// The threads that act on foreign windows for the tool (translation passes). The tool's end
// asks them to stop and waits a bounded time for them, so that it never tears anything down
// under a worker that is still writing into another program.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

class PassWorkers {
 public:
  // Counts the calling thread as a running worker; false (and not counted) once a stop was
  // requested: the worker must not start then.
  bool Enter();
  void Leave();

  // From here on Enter refuses and StopRequested is true. Never undone.
  void RequestStop();
  bool StopRequested() const { return stopRequested_.load(); }

  // Waits until no worker runs or `wait` is over; true when none runs.
  bool WaitUntilIdle(std::chrono::milliseconds wait);

 private:
  std::atomic<bool> stopRequested_{false};
  std::mutex mutex_;
  std::condition_variable idle_;
  int running_ = 0;
};

// One worker's stay, for the length of a scope.
class PassWorkerScope {
 public:
  explicit PassWorkerScope(PassWorkers& workers) : workers_(workers), entered_(workers.Enter()) {}
  ~PassWorkerScope() {
    if (entered_) workers_.Leave();
  }
  PassWorkerScope(const PassWorkerScope&) = delete;
  PassWorkerScope& operator=(const PassWorkerScope&) = delete;
  bool Entered() const { return entered_; }

 private:
  PassWorkers& workers_;
  const bool entered_;
};

// The process-wide set. Never destroyed: a worker may outlive the static destructors when the
// process ends around it.
PassWorkers& ThePassWorkers();
