// The results of one run: rows of measures judged against the targets, written as JSON and as a
// Markdown table.
#pragma once

#include <string>
#include <vector>

#include "bench/targets.h"

namespace ombrix::bench {

struct Row {
  std::string section;  // "yardstick", "filter", "merge", "render", "ombrix-render", "peer"
  std::string name;
  std::string module;       // the plug-in file of a filter, or the tool of a peer
  double ms = 0.0;          // median processor time, or the one measured time
  double wall_ms = 0.0;     // median wall time, when measured apart
  bool wall_clock = false;  // ms is wall time (programs run as children)
  int reps = 0;
  bool ok = false;
  double pixels = 0.0;  // pixels one repetition processes, for MP/s; 0 when it does not apply
  std::string note;
  std::string peers;       // peer measures shown beside this row ("vips invert 3.1")
  std::string target_key;  // looked up instead of name when set
};

class Report {
 public:
  void SetYardstick(double ms) { yardstick_ms_ = ms; }
  double Yardstick() const { return yardstick_ms_; }
  void Add(Row row) { rows_.push_back(std::move(row)); }
  std::vector<Row>& Rows() { return rows_; }
  const std::vector<Row>& Rows() const { return rows_; }
  // Lines printed under the table (render breakdown, frames per second, machine notes).
  void AddNote(const std::string& line) { notes_.push_back(line); }
  void SetContext(const std::string& key, const std::string& value) { context_.emplace_back(key, value); }

  // ms / yardstick; 0 without a yardstick.
  double MultipleOf(const Row& row) const;
  Verdict VerdictOf(const Row& row, const TargetTable& targets) const;

  // A missed measure's reason (from `reasons`) is listed under the table; a miss without one is
  // listed too, as unexplained.
  std::string Markdown(const TargetTable& targets, const ReasonTable& reasons = {}) const;
  std::string Json(const TargetTable& targets, const ReasonTable& reasons = {}) const;
  // Rows whose verdict is missed or failed.
  int Misses(const TargetTable& targets) const;

 private:
  double yardstick_ms_ = 0.0;
  std::vector<Row> rows_;
  std::vector<std::string> notes_;
  std::vector<std::pair<std::string, std::string>> context_;
};

// A time with about three significant digits ("0.412", "3.27", "41.2", "412").
std::string FormatMs(double ms);
// Text as a JSON string literal, quotes included.
std::string JsonString(const std::string& text);

}  // namespace ombrix::bench
