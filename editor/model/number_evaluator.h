// The arithmetic of typed numbers: what a person types into a number field ("10*2+5",
// "(2+3)*4", "12 %") becomes the text the slot stores.
#pragma once

#include <string>
#include <string_view>

namespace ombrix::editor {

// Evaluates a typed text:
//  - every character other than "+-/*0123456789()." becomes a blank;
//  - the text splits into tokens: blanks separate, "(" and ")" stand alone, a run of digits and
//    points is a number and a run of the characters "+-*/" an operator (so "**" or "+-" is one
//    operator that is none of the four);
//  - a leading "-" gets a "0" in front of it;
//  - "*" and "/" bind tighter than "+" and "-", each level left to right, a parenthesised group
//    is evaluated first.
// Each number is read as a decimal and written "%f"; each intermediate result is written "%f"
// and read back, and a division by zero gives "0" as that result (so does a result beyond the
// range of a double). The result is the text of the last operation: "%f" form, or "0". A text
// that does not form such an expression (an unmatched parenthesis, an unknown operator, a
// missing operand, nothing at all) gives "0".
std::string EvaluateNumberText(std::string_view typed);

}  // namespace ombrix::editor
