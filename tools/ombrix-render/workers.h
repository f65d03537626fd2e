// --jobs: the frames of a run rendered by several worker processes, each forked from the host
// once it holds the module and its instance, so each has its own copy of both (the module keeps
// its render state module-wide and must not render two frames at once in one process).
//
// The host's frame loop asks a FrameDealer for its frames:
//
//   FrameDealer frames(count, jobs, chunked, show_progress);
//   for (int i = 0; status == 0 && frames.Next(i, status);) { ...render frame i... }
//   status = frames.Finish(status);
//
// With one job (or one frame) Next gives 0, 1, 2 ... in this process. Otherwise the first Next
// forks the workers: in each worker, Next gives the frames the parent hands it; in the parent,
// Next hands out every frame, shows one progress line, waits for the workers and returns false,
// and Finish gives the status of the whole run: 0 when every worker ended with 0, else the
// first signal status (Ctrl-C: 130), else the first failure. A worker ends its run with
// EndWorker, so that what the parent owns (the instance's script, a private settings store) is
// left to the parent.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/platform/worker_processes.h"

namespace ombrix::render {

// What a worker reports for a frame that failed and was written all the same (--keep-going);
// the run goes on, and the parent counts the frame among the failed ones.
inline constexpr int kFrameKeptFailed = -1;

// The order frames go out in: one at a time, always the lowest one left, to whichever worker is
// free; or, chunked, each worker its own contiguous run of frames (worker k of n gets frames
// [k * count / n, (k + 1) * count / n)), in order, so that a random sequence continues over it.
class FrameQueue {
 public:
  FrameQueue(int count, int workers, bool chunked);
  // The next frame index for the worker, or -1 when it has none left.
  int Next(int worker);
  // No frame goes out any more.
  void Stop() { stopped_ = true; }

 private:
  bool chunked_;
  bool stopped_ = false;
  int next_ = 0, count_;
  std::vector<int> next_of_, end_of_;  // chunked: per worker
};

class FrameDealer {
 public:
  FrameDealer(int count, int jobs, bool chunked, bool show_progress);
  ~FrameDealer();
  FrameDealer(const FrameDealer&) = delete;
  FrameDealer& operator=(const FrameDealer&) = delete;

  // Whether frames go to workers (true in the parent and in the workers).
  bool Pooled() const { return jobs_ > 1; }
  bool InWorker() const;
  int Jobs() const { return jobs_; }
  // The next frame index of this process's loop; status is that of the frame before.
  bool Next(int& index, int status);
  int Finish(int status);
  // Ends a worker process with its run's status; does nothing in the parent.
  void EndWorker(int status);
  // In the parent: the indexes of the frames the workers reported kFrameKeptFailed for.
  const std::vector<int>& KeptFailures() const { return kept_failures_; }
  // Whether no process of the run has said the notice before (it is then said).
  bool FirstToSay(const std::string& notice) { return said_.Add(notice); }

 private:
  void RunParent();
  void ShowProgress(bool last);

  int count_, jobs_;
  bool chunked_, show_progress_;
  bool started_ = false;
  bool in_process_ = false;  // the workers could not be started: the frames run here
  int next_ = 0;             // in this process
  int held_ = -1;            // in a worker: the frame it was handed last
  int done_ = 0;
  int run_status_ = 0;
  bool progress_shown_ = false;
  std::string private_clipboard_;  // in a worker: its own clipboard store
  std::vector<int> kept_failures_;
  platform::SharedOnceSet said_;  // made before the workers fork, so they share it
  std::unique_ptr<platform::WorkerProcesses> workers_;
};

}  // namespace ombrix::render
