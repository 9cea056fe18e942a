#pragma once

// The filter expression language: the letters A-D name the results of the four filter
// windows, '&' and '|' combine them strictly left to right (no precedence), parentheses
// group. Any other character is skipped; a ')' at the outermost level ends the expression.

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lm {

inline constexpr int kTreeAnd = 38; // '&'
inline constexpr int kTreeOr = 124; // '|'

// One node of a parsed expression. A node with both children is an operator (value 38 or
// 124); every other node is an operand whose value is a window index 0-3.
struct Tree {
    int value = 0;
    std::unique_ptr<Tree> left;
    std::unique_ptr<Tree> right;
    // Where the node came from in the text: its letter or operator, and the parentheses of
    // every group whose whole content this node is (a close of -1: the text ended first).
    int position = -1;
    std::vector<std::pair<int, int>> groups;

    bool IsOperator() const { return left && right; }
};

struct ParsedExpression {
    std::unique_ptr<Tree> root; // empty when the text holds no operand
    bool unclosedGroup = false; // the text ended inside a '(' group
};

// Longest expression text accepted; keeps the parsed tree (and the recursion over it) small.
inline constexpr size_t kMaxExpressionLength = 1000;

ParsedExpression ParseExpression(const std::string& text);

// Value of a tree for the four window results (A to D).
bool EvaluateTree(const Tree& node, const std::array<bool, 4>& windows);

// True when some operator node lacks one of its operands (its meaning would be undefined).
bool HasIncompleteOperator(const Tree& node);
// Bit mask of the windows the tree's operand nodes name (bit 0 = A).
unsigned NamedWindows(const Tree& node);

// One filter expression: its text and scope (0 to 3, the row of the expression grid).
class AFilterExpr {
public:
    AFilterExpr() = default;
    AFilterExpr(std::string text, int scope); // throws EFilter 812 for a scope outside 0-3
    const std::string& Text() const { return text_; }
    int Scope() const { return scope_; }

private:
    std::string text_;
    int scope_ = 0;
};

// Protocol label of a scope ("Первый импульс : " ...).
const char* ExpressionScopeLabel(int scope);

} // namespace lm
