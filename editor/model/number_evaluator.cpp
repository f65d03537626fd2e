// Evaluating typed arithmetic by recursive descent over its tokens.
#include "editor/model/number_evaluator.h"

#include <cmath>
#include <optional>
#include <vector>

#include "core/script/script_file.h"
#include "core/text/numbers.h"

namespace ombrix::editor {
namespace {

constexpr std::string_view kKept = "+-/*0123456798().";
constexpr std::string_view kOperatorCharacters = "+-*/";
// Parentheses nest no deeper than this; a text nested deeper is malformed. Fields hold 64
// characters, so this only keeps a long text from exhausting the stack.
constexpr int kMaxNesting = 200;

bool IsOperatorCharacter(char c) { return kOperatorCharacters.find(c) != std::string_view::npos; }

std::vector<std::string> Tokens(std::string_view typed) {
  std::vector<std::string> tokens;
  std::string current;
  bool current_is_operator = false;
  const auto flush = [&] {
    if (!current.empty()) tokens.push_back(current);
    current.clear();
  };
  for (char c : typed) {
    if (kKept.find(c) == std::string_view::npos) c = ' ';
    if (c == ' ') {
      flush();
    } else if (c == '(' || c == ')') {
      flush();
      tokens.emplace_back(1, c);
    } else {
      const bool is_operator = IsOperatorCharacter(c);
      if (!current.empty() && is_operator != current_is_operator) flush();
      current_is_operator = is_operator;
      current += c;
    }
  }
  flush();
  return tokens;
}

double ReadBack(const std::string& text) { return text::LeadingReal(text, 0.0); }

// "%f" of a result. One beyond the range of a double (only texts far longer than a field holds
// reach it) is written "0", as a division by zero is, rather than "inf".
std::string Written(double value) { return std::isfinite(value) ? FormatReal(value) : std::string("0"); }

class Evaluator {
 public:
  explicit Evaluator(std::vector<std::string> tokens) : tokens_(std::move(tokens)) {}

  std::optional<std::string> Whole() {
    auto result = Sum();
    if (!result || position_ != tokens_.size()) return std::nullopt;
    return result;
  }

 private:
  const std::string* Peek() const { return position_ < tokens_.size() ? &tokens_[position_] : nullptr; }

  // term (("+" | "-") term)*
  std::optional<std::string> Sum() {
    auto left = Product();
    if (!left) return std::nullopt;
    while (const std::string* op = Peek()) {
      if (*op != "+" && *op != "-") break;
      const bool add = *op == "+";
      ++position_;
      auto right = Product();
      if (!right) return std::nullopt;
      const double a = ReadBack(*left), b = ReadBack(*right);
      left = Written(add ? a + b : a - b);
    }
    return left;
  }

  // factor (("*" | "/") factor)*
  std::optional<std::string> Product() {
    auto left = Factor();
    if (!left) return std::nullopt;
    while (const std::string* op = Peek()) {
      if (*op != "*" && *op != "/") break;
      const bool multiply = *op == "*";
      ++position_;
      auto right = Factor();
      if (!right) return std::nullopt;
      const double a = ReadBack(*left), b = ReadBack(*right);
      if (multiply) {
        left = Written(a * b);
      } else {
        left = b == 0.0 ? std::string("0") : Written(a / b);
      }
    }
    // Anything but an operator of the lower level or a closing parenthesis here is malformed;
    // the caller finds it unconsumed.
    return left;
  }

  // number | "(" sum ")"
  std::optional<std::string> Factor() {
    const std::string* token = Peek();
    if (token == nullptr) return std::nullopt;
    if (*token == "(") {
      if (++depth_ > kMaxNesting) return std::nullopt;
      ++position_;
      auto inner = Sum();
      --depth_;
      const std::string* close = Peek();
      if (!inner || close == nullptr || *close != ")") return std::nullopt;
      ++position_;
      return inner;
    }
    if (*token == ")" || IsOperatorCharacter((*token)[0])) return std::nullopt;
    ++position_;
    return Written(ReadBack(*token));
  }

  std::vector<std::string> tokens_;
  size_t position_ = 0;
  int depth_ = 0;
};

}  // namespace

std::string EvaluateNumberText(std::string_view typed) {
  std::vector<std::string> tokens = Tokens(typed);
  if (!tokens.empty() && tokens[0] == "-") tokens.insert(tokens.begin(), "0");
  Evaluator evaluator(std::move(tokens));
  return evaluator.Whole().value_or("0");
}

}  // namespace ombrix::editor
