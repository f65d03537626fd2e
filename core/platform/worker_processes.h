// Worker processes forked from the calling process. Each worker goes on running the caller's
// code from the fork (with a copy of everything loaded so far), takes task numbers from the
// parent and answers each with a result; the parent hands out tasks and collects results and
// exit statuses. Used where work must not overlap within one process (module-wide state).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ombrix::platform {

// The processors this process may run on (its affinity mask), at least 1.
int UsableProcessorCount();

// The number of threads of this process; a fork copies only the calling one.
int ThreadCount();

// A set of texts shared by a process and the workers it forks after making the set: the first
// process to add a text learns that it was the first, so a notice is given once a run however
// many processes render. Texts are kept by a 64-bit hash in a fixed table of shared memory; when
// the table is full (or shared memory cannot be had) the set is this process's own.
class SharedOnceSet {
 public:
  SharedOnceSet();
  ~SharedOnceSet();
  SharedOnceSet(const SharedOnceSet&) = delete;
  SharedOnceSet& operator=(const SharedOnceSet&) = delete;

  // True when no process had added the text before.
  bool Add(std::string_view text);

 private:
  static constexpr size_t kSlots = 1024;
  uint64_t* slots_ = nullptr;  // shared; 0 marks a free slot
  std::vector<uint64_t> own_;  // when the shared table cannot take the text
};

class WorkerProcesses {
 public:
  WorkerProcesses() = default;
  ~WorkerProcesses();  // the parent ends its side: workers see the end of their tasks
  WorkerProcesses(const WorkerProcesses&) = delete;
  WorkerProcesses& operator=(const WorkerProcesses&) = delete;

  // Forks up to count workers. Returns in the parent with the number started (0 with the
  // reason when none could be), and in each worker with the worker's number from 0 on, as
  // IsWorker() then says.
  int Fork(int count, std::string& error);
  bool IsWorker() const { return self_ >= 0; }
  int Self() const { return self_; }
  int Count() const { return int(workers_.size()); }

  // ---- In the parent
  // Sends a task; false when the worker has ended.
  bool Send(int worker, int32_t task);
  // The worker's tasks end: it finishes the task it holds and ends.
  void EndTasks(int worker);
  // Sends SIGINT to every worker still running.
  void InterruptAll();

  struct Event {
    enum Kind { kResult, kEnded, kWaitedLong } kind = kWaitedLong;
    int worker = -1;
    int32_t task = 0;
    int32_t result = 0;
    int exit_status = 0;  // kEnded: the exit code, or 128 + the signal that ended it
    int signal = 0;       // kEnded: the signal that ended it, 0 when it exited
  };
  // Waits at most timeout_ms (and less when a signal arrives) for a result or the end of a
  // worker. kWaitedLong when nothing happened; false when no worker is left.
  bool Wait(int timeout_ms, Event& event);
  int Running() const;

  // ---- In a worker
  // The next task; false when the parent has no more (or is gone, or a signal came).
  bool NextTask(int32_t& task);
  bool Report(int32_t task, int32_t result);
  // Ends the worker with the status, after flushing standard output and error, without running
  // the exit handlers and destructors that belong to the parent (files and folders it owns).
  [[noreturn]] void Exit(int status);

 private:
  struct Worker {
    int id = 0;       // process id
    int socket = -1;  // the parent's end
    bool running = false;
  };
  void Reap(Worker& w, int& status, int& signal);
  std::vector<Worker> workers_;
  int self_ = -1;
  int socket_ = -1;  // a worker's end
};

}  // namespace ombrix::platform
