// The frame queue and the worker pool of --jobs.
#include "tools/ombrix-render/workers.h"

#include <cstdio>
#include <string>

#include "core/platform/clipboard.h"
#include "core/platform/environment.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/worker_processes.h"

namespace ombrix::render {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitInterrupted = 130;
// How long the parent waits for a worker before it looks at the interrupt flag again.
constexpr int kPollMs = 250;

}  // namespace

FrameQueue::FrameQueue(int count, int workers, bool chunked) : chunked_(chunked), count_(count) {
  if (!chunked_) return;
  for (int k = 0; k < workers; ++k) {
    next_of_.push_back(int(int64_t(k) * count / workers));
    end_of_.push_back(int(int64_t(k + 1) * count / workers));
  }
}

int FrameQueue::Next(int worker) {
  if (stopped_) return -1;
  if (!chunked_) return next_ < count_ ? next_++ : -1;
  if (worker < 0 || size_t(worker) >= next_of_.size()) return -1;
  int& next = next_of_[size_t(worker)];
  return next < end_of_[size_t(worker)] ? next++ : -1;
}

FrameDealer::FrameDealer(int count, int jobs, bool chunked, bool show_progress)
    : count_(count), jobs_(jobs < count ? jobs : count), chunked_(chunked), show_progress_(show_progress) {
  if (jobs_ < 1) jobs_ = 1;
}

FrameDealer::~FrameDealer() = default;

bool FrameDealer::InWorker() const { return workers_ != nullptr && workers_->IsWorker(); }

bool FrameDealer::Next(int& index, int status) {
  if (Pooled() && !started_) {
    started_ = true;
    RunParent();
  }
  if (!Pooled() || in_process_) {
    if (next_ >= count_) return false;
    index = next_++;
    return true;
  }
  if (!InWorker()) return false;  // the parent's frames are all dealt
  if (held_ >= 0 && !workers_->Report(held_, status)) return false;
  held_ = -1;
  int32_t task = 0;
  if (!workers_->NextTask(task)) return false;
  index = held_ = task;
  return true;
}

void FrameDealer::RunParent() {
  // A fork copies only the calling thread; a lock another thread held would stay held for ever
  // in the copy.
  const int threads = platform::ThreadCount();
  std::string error;
  int started = 0;
  if (threads > 1) {
    error = "the program already runs " + std::to_string(threads) + " threads";
  } else {
    workers_ = std::make_unique<platform::WorkerProcesses>();
    started = workers_->Fork(jobs_, error);
    if (workers_->IsWorker()) {
      // Pictures the outside converter hands over go through the clipboard store; workers
      // converting at the same time would take each other's pictures, so each has its own.
      const std::string shared = platform::ClipboardDirectory();
      platform::MakeDirectories(shared.c_str());
      private_clipboard_ = platform::MakeTemporaryDirectory(
          platform::JoinPath(shared, "worker-" + std::to_string(workers_->Self() + 1) + ".XXXXXX"));
      if (!private_clipboard_.empty()) platform::SetEnvironment(platform::kClipboardEnvironment, private_clipboard_);
      return;
    }
  }
  if (started == 0) {
    std::fprintf(stderr, "ombrix-render: cannot start worker processes (%s); the frames are rendered in this process\n",
                 error.c_str());
    in_process_ = true;
    return;
  }
  if (started < jobs_)
    std::fprintf(stderr, "ombrix-render: only %d of %d worker processes started (%s)\n", started, jobs_, error.c_str());

  FrameQueue queue(count_, started, chunked_);
  auto note = [&](int status) {
    if (status == 0) return;
    if (run_status_ == 0 || (status >= 128 && run_status_ < 128)) run_status_ = status;
    queue.Stop();
    for (int w = 0; w < started; ++w) workers_->EndTasks(w);
  };
  auto hand = [&](int worker) {
    const int frame = queue.Next(worker);
    if (frame < 0 || !workers_->Send(worker, frame)) workers_->EndTasks(worker);
  };
  for (int w = 0; w < started; ++w) hand(w);
  bool forwarded = false;
  platform::WorkerProcesses::Event event;
  while (workers_->Wait(kPollMs, event)) {
    // Ctrl-C at a terminal reaches every worker itself; a signal sent to this process alone is
    // passed on, so that the workers drop their frames in progress as one process would.
    if (platform::InterruptRequested() && !forwarded) {
      forwarded = true;
      workers_->InterruptAll();
      note(kExitInterrupted);
    }
    if (event.kind == platform::WorkerProcesses::Event::kResult) {
      ++done_;
      ShowProgress(false);
      if (event.result == kFrameKeptFailed) kept_failures_.push_back(event.task);
      if (event.result != 0 && event.result != kFrameKeptFailed)
        note(event.result);
      else
        hand(event.worker);
    } else if (event.kind == platform::WorkerProcesses::Event::kEnded) {
      if (event.signal != 0 && !forwarded) {
        ShowProgress(true);
        std::fprintf(stderr,
                     "ombrix-render: worker process %d ended by signal %d; its frame in progress was not written\n",
                     event.worker + 1, event.signal);
        note(kExitFailure);
      } else {
        note(event.exit_status);
      }
    }
  }
  ShowProgress(true);
  if (platform::InterruptRequested() && done_ < count_) note(kExitInterrupted);
}

void FrameDealer::ShowProgress(bool last) {
  if (!show_progress_ || !platform::StandardErrorIsTerminal()) return;
  if (!last) {
    std::fprintf(stderr, "\rombrix-render: %d/%d frames done (%d workers)", done_, count_, jobs_);
    std::fflush(stderr);
    progress_shown_ = true;
  } else if (progress_shown_) {
    std::fputc('\n', stderr);
    progress_shown_ = false;
  }
}

int FrameDealer::Finish(int status) {
  if (!Pooled() || in_process_ || InWorker()) return status;
  return run_status_ != 0 ? run_status_ : status;
}

void FrameDealer::EndWorker(int status) {
  if (!InWorker()) return;
  if (!private_clipboard_.empty()) {
    for (const std::string& name : platform::ListDirectory(private_clipboard_))
      platform::RemoveFile(platform::JoinPath(private_clipboard_, name).c_str());
    platform::RemoveDirectory(private_clipboard_.c_str());
  }
  workers_->Exit(status);
}

}  // namespace ombrix::render
