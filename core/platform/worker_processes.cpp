// Forked workers on POSIX: one socket pair per worker carries task numbers down and results up.
// Sockets rather than pipes, so that a write to a worker that has ended fails with EPIPE
// instead of raising SIGPIPE in the parent.
#include "core/platform/worker_processes.h"

#include <dirent.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ombrix::platform {
namespace {

bool SendAll(int socket, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = send(socket, p, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= size_t(n);
  }
  return true;
}

// Reads exactly size bytes. 1: read, 0: the other side closed, -1: error or a signal before
// the first byte.
int ReceiveAll(int socket, void* data, size_t size, bool stop_on_signal) {
  char* p = static_cast<char*>(data);
  size_t got = 0;
  while (got < size) {
    const ssize_t n = recv(socket, p + got, size - got, 0);
    if (n < 0 && errno == EINTR) {
      if (stop_on_signal && got == 0) return -1;
      continue;
    }
    if (n < 0) return -1;
    if (n == 0) return got == 0 ? 0 : -1;
    got += size_t(n);
  }
  return 1;
}

// FNV-1a; 0 is kept for the free slot.
uint64_t HashOf(std::string_view text) {
  uint64_t hash = 14695981039346656037ull;
  for (const char c : text) hash = (hash ^ uint8_t(c)) * 1099511628211ull;
  return hash != 0 ? hash : 1;
}

}  // namespace

SharedOnceSet::SharedOnceSet() {
  void* memory = mmap(nullptr, kSlots * sizeof(uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (memory != MAP_FAILED) slots_ = static_cast<uint64_t*>(memory);  // zero-filled
}

SharedOnceSet::~SharedOnceSet() {
  if (slots_ != nullptr) munmap(slots_, kSlots * sizeof(uint64_t));
}

bool SharedOnceSet::Add(std::string_view text) {
  const uint64_t hash = HashOf(text);
  if (slots_ != nullptr) {
    // Open addressing; a slot, once taken, never changes, so a text is found where it was put.
    for (size_t probe = 0; probe < kSlots; ++probe) {
      uint64_t* slot = slots_ + (hash + probe) % kSlots;
      uint64_t expected = 0;
      if (__atomic_compare_exchange_n(slot, &expected, hash, false, __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE)) return true;
      if (expected == hash) return false;
    }
  }
  if (std::find(own_.begin(), own_.end(), hash) != own_.end()) return false;
  own_.push_back(hash);
  return true;
}

int UsableProcessorCount() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
  const int count = CPU_COUNT(&set);
  return count > 0 ? count : 1;
}

int ThreadCount() {
  DIR* dir = opendir("/proc/self/task");
  if (dir == nullptr) return 1;
  int count = 0;
  while (const dirent* entry = readdir(dir))
    if (entry->d_name[0] != '.') ++count;
  closedir(dir);
  return count > 0 ? count : 1;
}

WorkerProcesses::~WorkerProcesses() {
  if (socket_ >= 0) close(socket_);
  for (Worker& w : workers_) {
    if (w.socket >= 0) close(w.socket);
    w.socket = -1;
    int status = 0, signal = 0;
    if (w.running) Reap(w, status, signal);
  }
}

int WorkerProcesses::Fork(int count, std::string& error) {
  for (int k = 0; k < count; ++k) {
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
      error = std::strerror(errno);
      break;
    }
    // What is still buffered would otherwise be written once by every process.
    std::fflush(nullptr);
    const pid_t id = fork();
    if (id < 0) {
      error = std::strerror(errno);
      close(pair[0]);
      close(pair[1]);
      break;
    }
    if (id == 0) {
      for (Worker& w : workers_) close(w.socket);
      workers_.clear();
      close(pair[0]);
      socket_ = pair[1];
      self_ = k;
      return k;
    }
    close(pair[1]);
    workers_.push_back(Worker{int(id), pair[0], true});
  }
  if (workers_.empty() && error.empty()) error = "no worker was asked for";
  return int(workers_.size());
}

bool WorkerProcesses::Send(int worker, int32_t task) {
  if (worker < 0 || worker >= Count() || !workers_[size_t(worker)].running) return false;
  return SendAll(workers_[size_t(worker)].socket, &task, sizeof task);
}

void WorkerProcesses::EndTasks(int worker) {
  if (worker >= 0 && worker < Count() && workers_[size_t(worker)].running)
    shutdown(workers_[size_t(worker)].socket, SHUT_WR);
}

void WorkerProcesses::InterruptAll() {
  for (const Worker& w : workers_)
    if (w.running) kill(pid_t(w.id), SIGINT);
}

int WorkerProcesses::Running() const {
  int n = 0;
  for (const Worker& w : workers_) n += w.running ? 1 : 0;
  return n;
}

void WorkerProcesses::Reap(Worker& w, int& status, int& signal) {
  int raw = 0;
  pid_t got;
  do {
    got = waitpid(pid_t(w.id), &raw, 0);
  } while (got < 0 && errno == EINTR);
  signal = got >= 0 && WIFSIGNALED(raw) ? WTERMSIG(raw) : 0;
  status = got < 0 ? 1 : WIFEXITED(raw) ? WEXITSTATUS(raw) : signal != 0 ? 128 + signal : 1;
  w.running = false;
  if (w.socket >= 0) close(w.socket);
  w.socket = -1;
}

bool WorkerProcesses::Wait(int timeout_ms, Event& event) {
  event = Event{};
  std::vector<pollfd> fds;
  std::vector<int> owners;
  for (int k = 0; k < Count(); ++k) {
    if (!workers_[size_t(k)].running) continue;
    fds.push_back(pollfd{workers_[size_t(k)].socket, POLLIN, 0});
    owners.push_back(k);
  }
  if (fds.empty()) return false;
  const int ready = poll(fds.data(), nfds_t(fds.size()), timeout_ms);
  if (ready <= 0) return true;  // waited long, or a signal came
  for (size_t i = 0; i < fds.size(); ++i) {
    if (fds[i].revents == 0) continue;
    Worker& w = workers_[size_t(owners[i])];
    event.worker = owners[i];
    int32_t message[2];
    if (ReceiveAll(w.socket, message, sizeof message, false) == 1) {
      event.kind = Event::kResult;
      event.task = message[0];
      event.result = message[1];
    } else {
      event.kind = Event::kEnded;
      Reap(w, event.exit_status, event.signal);
    }
    return true;
  }
  return true;
}

bool WorkerProcesses::NextTask(int32_t& task) {
  return socket_ >= 0 && ReceiveAll(socket_, &task, sizeof task, true) == 1;
}

bool WorkerProcesses::Report(int32_t task, int32_t result) {
  const int32_t message[2] = {task, result};
  return socket_ >= 0 && SendAll(socket_, message, sizeof message);
}

void WorkerProcesses::Exit(int status) {
  std::fflush(nullptr);
  _exit(status);
}

}  // namespace ombrix::platform
