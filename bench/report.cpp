// Markdown and JSON output of a run.
#include "bench/report.h"

#include <cstdio>
#include <sstream>

namespace ombrix::bench {
namespace {

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

const Target* TargetOf(const Row& row, const TargetTable& targets) {
  return targets.Find(row.module, row.target_key.empty() ? row.name : row.target_key);
}

// Markdown cells must not break the table.
std::string Cell(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '|')
      out += "\\|";
    else if (c == '\n')
      out += ' ';
    else
      out += c;
  }
  return out;
}

std::string JsonNumber(double value) {
  if (!(value == value) || value > 1e300 || value < -1e300) return "null";
  return Format("%.6g", value);
}

}  // namespace

std::string FormatMs(double ms) {
  if (ms < 1) return Format("%.3f", ms);
  if (ms < 10) return Format("%.2f", ms);
  if (ms < 100) return Format("%.1f", ms);
  return Format("%.0f", ms);
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        // Control characters escaped; bytes of the Windows code page (the degree sign of a
        // catalogue name) written as the code point of the same number.
        if (c < 0x20 || c >= 0x80) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\u%04x", unsigned(c));
          out += hex;
        } else
          out += char(c);
    }
  }
  return out + "\"";
}

double Report::MultipleOf(const Row& row) const { return yardstick_ms_ > 0 ? row.ms / yardstick_ms_ : 0.0; }

Verdict Report::VerdictOf(const Row& row, const TargetTable& targets) const {
  return Judge(row.ok, MultipleOf(row), TargetOf(row, targets));
}

int Report::Misses(const TargetTable& targets) const {
  int misses = 0;
  for (const Row& row : rows_) {
    const Verdict v = VerdictOf(row, targets);
    if (v == Verdict::kMissed || v == Verdict::kFailed) ++misses;
  }
  return misses;
}

std::string Report::Markdown(const TargetTable& targets, const ReasonTable& reasons) const {
  bool any_peers = false;
  for (const Row& row : rows_) any_peers = any_peers || !row.peers.empty();
  std::ostringstream out;
  out << "| Measure | Module | ms | MP/s | × copy | Target | Verdict |" << (any_peers ? " Peers (net ms) |" : "")
      << "\n";
  out << "|---|---|--:|--:|--:|--:|---|" << (any_peers ? "---|" : "") << "\n";
  for (const Row& row : rows_) {
    const Target* target = TargetOf(row, targets);
    std::string name = row.name;
    if (!row.note.empty()) name += " (" + row.note + ")";
    out << "| " << Cell(name) << " | " << Cell(row.module) << " | ";
    if (row.ok) {
      out << FormatMs(row.ms) << " | ";
      out << (row.pixels > 0 && row.ms > 0 ? Format("%.0f", row.pixels / 1000.0 / row.ms) : "") << " | ";
      out << (yardstick_ms_ > 0 ? Format("%.1f", MultipleOf(row)) : "") << " | ";
    } else {
      out << " |  |  | ";
    }
    out << (target != nullptr ? "≤ " + Format("%g", target->max_multiple) : "") << " | ";
    out << VerdictText(VerdictOf(row, targets)) << " |";
    if (any_peers) out << " " << Cell(row.peers) << " |";
    out << "\n";
  }
  std::ostringstream why;
  for (const Row& row : rows_) {
    if (VerdictOf(row, targets) != Verdict::kMissed) continue;
    const std::string* reason = reasons.Find(row.name);
    why << "- " << row.name << " (" << Format("%.1f", MultipleOf(row)) << " × against ≤ "
        << Format("%g", TargetOf(row, targets)->max_multiple)
        << " ×): " << (reason != nullptr ? *reason : std::string("no measured reason recorded in bench/misses.tsv"))
        << "\n";
  }
  if (!why.str().empty()) out << "\nWhy the misses miss (measured):\n\n" << why.str();
  for (const std::string& note : notes_) out << "\n" << note << "\n";
  return out.str();
}

std::string Report::Json(const TargetTable& targets, const ReasonTable& reasons) const {
  std::ostringstream out;
  out << "{\n  \"context\": {";
  for (size_t i = 0; i < context_.size(); ++i)
    out << (i ? ", " : "") << JsonString(context_[i].first) << ": " << JsonString(context_[i].second);
  out << "},\n  \"yardstick_ms\": " << JsonNumber(yardstick_ms_) << ",\n  \"rows\": [\n";
  for (size_t i = 0; i < rows_.size(); ++i) {
    const Row& row = rows_[i];
    const Target* target = TargetOf(row, targets);
    const Verdict verdict = VerdictOf(row, targets);
    out << "    {\"section\": " << JsonString(row.section) << ", \"name\": " << JsonString(row.name)
        << ", \"module\": " << JsonString(row.module) << ", \"ok\": " << (row.ok ? "true" : "false")
        << ", \"ms\": " << JsonNumber(row.ms) << ", \"clock\": " << (row.wall_clock ? "\"wall\"" : "\"processor\"")
        << ", \"reps\": " << row.reps;
    if (row.wall_ms > 0) out << ", \"wall_ms\": " << JsonNumber(row.wall_ms);
    out << ", \"mp_per_s\": "
        << (row.ok && row.pixels > 0 && row.ms > 0 ? JsonNumber(row.pixels / 1000.0 / row.ms) : "null");
    out << ", \"multiple\": " << (row.ok && yardstick_ms_ > 0 ? JsonNumber(MultipleOf(row)) : "null");
    out << ", \"target\": " << (target != nullptr ? JsonNumber(target->max_multiple) : "null");
    out << ", \"verdict\": "
        << JsonString(verdict == Verdict::kMet      ? "met"
                      : verdict == Verdict::kMissed ? "missed"
                      : verdict == Verdict::kFailed ? "failed"
                                                    : "");
    if (!row.note.empty()) out << ", \"note\": " << JsonString(row.note);
    const std::string* reason = verdict == Verdict::kMissed ? reasons.Find(row.name) : nullptr;
    if (reason != nullptr) out << ", \"reason\": " << JsonString(*reason);
    if (!row.peers.empty()) out << ", \"peers\": " << JsonString(row.peers);
    out << "}" << (i + 1 < rows_.size() ? "," : "") << "\n";
  }
  out << "  ],\n  \"notes\": [";
  for (size_t i = 0; i < notes_.size(); ++i) out << (i ? ", " : "") << "\n    " << JsonString(notes_[i]);
  out << "\n  ]\n}\n";
  return out.str();
}

}  // namespace ombrix::bench
