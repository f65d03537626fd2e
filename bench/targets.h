// The speed targets, read from a small table (bench/targets.tsv): the most a measure may take,
// as a multiple of the yardstick measured in the same run.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ombrix::bench {

struct Target {
  std::string key;  // a measure's name, or "Module.Omp:*" for a module's other filters
  double max_multiple = 0;
  std::string group;  // what the row stands for, for the report
};

class TargetTable {
 public:
  // Lines "key<TAB>max multiple<TAB>group"; blank lines and lines starting with '#' are skipped.
  // Trailing blanks of a key do not count (a catalogue name may end in one). Nothing, with the
  // reason in error, when a line is malformed or a key repeats.
  static std::optional<TargetTable> Parse(const std::string& text, std::string& error);

  // The row for a measure: its own name first, then "module:*" when module is given.
  const Target* Find(const std::string& module, const std::string& name) const;
  const std::vector<Target>& Rows() const { return rows_; }

 private:
  std::vector<Target> rows_;
};

// Measured reasons why a measure misses its target, read from bench/misses.tsv: lines
// "measure<TAB>reason". The report prints a missed measure's reason under the table, so the
// table names every miss and why.
class ReasonTable {
 public:
  // Blank lines and lines starting with '#' are skipped. Nothing, with the reason in error, when
  // a line lacks its reason or a measure repeats.
  static std::optional<ReasonTable> Parse(const std::string& text, std::string& error);
  // The reason recorded for a measure (trailing blanks of its name do not count), or null.
  const std::string* Find(const std::string& name) const;
  size_t Size() const { return rows_.size(); }

 private:
  std::vector<std::pair<std::string, std::string>> rows_;
};

enum class Verdict { kNoTarget, kMet, kMissed, kFailed };

// met when the multiple is at most the target; failed when the measure did not run.
Verdict Judge(bool ran, double multiple, const Target* target);
const char* VerdictText(Verdict verdict);

}  // namespace ombrix::bench
