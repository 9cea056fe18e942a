#pragma once

// What a filter expression really says. The expression language skips every character it
// does not know and lets a later operand replace an earlier one ("A B", "A&BC"), so a typed
// "A and B" runs as "A" alone. The check names what the scan leaves out and shows the
// expression as it will be read, so the window can ask and lmtool can warn before a run.

#include <string>
#include <vector>

namespace lm {

struct ExpressionCheck {
    // The expression as the scan reads it, operators strictly left to right and every
    // operator operand in parentheses; empty when the text holds no operand.
    std::string readAs;
    // The parts of the text that do not take part, in text order: each a run of characters
    // (blanks separate runs) that the scan ignores or whose operands it drops.
    std::vector<std::string> ignored;
    // The text gives one complete tree: an operand, no operator without both operands and no
    // group left open. An incomplete expression is refused when the filter set is built.
    bool complete = false;

    // A complete expression that does not read as typed: worth a question before a run.
    bool Surprising() const { return complete && !ignored.empty(); }
};

ExpressionCheck CheckExpression(const std::string& text);

// `"A and B" is read as "A" (ignored: "and", "B")`: the warning text for a surprising
// expression (lmtool's wording; the window has its own in the user's language).
std::string DescribeExpressionCheck(const std::string& text, const ExpressionCheck& check);

} // namespace lm
