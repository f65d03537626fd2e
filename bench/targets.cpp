// Reading the target table and judging a measure against it.
#include "bench/targets.h"

#include <cstdlib>
#include <sstream>

namespace ombrix::bench {
namespace {

std::string TrimRight(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
  return text;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

}  // namespace

std::optional<TargetTable> TargetTable::Parse(const std::string& text, std::string& error) {
  TargetTable table;
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    line = TrimRight(line);
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> fields = SplitTabs(line);
    const std::string where = "line " + std::to_string(number) + ": ";
    if (fields.size() < 2 || fields.size() > 3) {
      error = where + "expected key, multiple and group separated by tabs";
      return std::nullopt;
    }
    Target row;
    row.key = TrimRight(fields[0]);
    char* end = nullptr;
    row.max_multiple = std::strtod(fields[1].c_str(), &end);
    if (row.key.empty() || end == fields[1].c_str() || *end != '\0' || !(row.max_multiple > 0)) {
      error = where + "bad key or multiple";
      return std::nullopt;
    }
    if (fields.size() == 3) row.group = fields[2];
    for (const Target& earlier : table.rows_) {
      if (earlier.key == row.key) {
        error = where + "\"" + row.key + "\" appears twice";
        return std::nullopt;
      }
    }
    table.rows_.push_back(row);
  }
  return table;
}

const Target* TargetTable::Find(const std::string& module, const std::string& name) const {
  const std::string key = TrimRight(name);
  for (const Target& row : rows_)
    if (row.key == key) return &row;
  if (module.empty()) return nullptr;
  const std::string fallback = module + ":*";
  for (const Target& row : rows_)
    if (row.key == fallback) return &row;
  return nullptr;
}

std::optional<ReasonTable> ReasonTable::Parse(const std::string& text, std::string& error) {
  ReasonTable table;
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    line = TrimRight(line);
    if (line.empty() || line[0] == '#') continue;
    const size_t tab = line.find('\t');
    const std::string where = "line " + std::to_string(number) + ": ";
    const std::string key = tab == std::string::npos ? std::string() : TrimRight(line.substr(0, tab));
    const std::string reason = tab == std::string::npos ? std::string() : line.substr(tab + 1);
    if (key.empty() || reason.find_first_not_of(" \t") == std::string::npos) {
      error = where + "expected a measure and its reason separated by a tab";
      return std::nullopt;
    }
    if (table.Find(key) != nullptr) {
      error = where + "\"" + key + "\" appears twice";
      return std::nullopt;
    }
    table.rows_.emplace_back(key, reason);
  }
  return table;
}

const std::string* ReasonTable::Find(const std::string& name) const {
  const std::string key = TrimRight(name);
  for (const auto& [measure, reason] : rows_)
    if (measure == key) return &reason;
  return nullptr;
}

Verdict Judge(bool ran, double multiple, const Target* target) {
  if (!ran) return Verdict::kFailed;
  if (target == nullptr) return Verdict::kNoTarget;
  return multiple <= target->max_multiple ? Verdict::kMet : Verdict::kMissed;
}

const char* VerdictText(Verdict verdict) {
  switch (verdict) {
    case Verdict::kMet:
      return "met";
    case Verdict::kMissed:
      return "**missed**";
    case Verdict::kFailed:
      return "failed";
    case Verdict::kNoTarget:
      break;
  }
  return "";
}

}  // namespace ombrix::bench
