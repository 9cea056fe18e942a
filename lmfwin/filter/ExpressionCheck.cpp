#include "lmfwin/filter/ExpressionCheck.h"

#include "lmfwin/filter/AFilterExpr.h"

namespace lm {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void Mark(std::vector<bool>& used, int position)
{
    if (position >= 0 && size_t(position) < used.size())
        used[size_t(position)] = true;
}

// Marks the characters the evaluation reads: an operand node's children never are.
void MarkRead(const Tree& node, std::vector<bool>& used)
{
    Mark(used, node.position);
    for (const auto& [open, close] : node.groups) {
        Mark(used, open);
        Mark(used, close);
    }
    const bool operatorNode = node.value == kTreeAnd || node.value == kTreeOr;
    if (!operatorNode)
        return;
    if (node.left)
        MarkRead(*node.left, used);
    if (node.right)
        MarkRead(*node.right, used);
}

std::string Written(const Tree& node)
{
    const bool operatorNode = node.value == kTreeAnd || node.value == kTreeOr;
    if (!operatorNode)
        return unsigned(node.value) < 4 ? std::string(1, char('A' + node.value)) : std::string();
    auto side = [](const std::unique_ptr<Tree>& child) {
        if (!child)
            return std::string();
        const std::string text = Written(*child);
        return child->IsOperator() ? "(" + text + ")" : text;
    };
    return side(node.left) + char(node.value) + side(node.right);
}

} // namespace

ExpressionCheck CheckExpression(const std::string& text)
{
    ExpressionCheck check;
    const std::string bounded = text.substr(0, kMaxExpressionLength);
    const ParsedExpression parsed = ParseExpression(bounded);
    check.complete = parsed.root && !parsed.unclosedGroup && !HasIncompleteOperator(*parsed.root);
    std::vector<bool> used(bounded.size(), false);
    if (parsed.root) {
        MarkRead(*parsed.root, used);
        check.readAs = Written(*parsed.root);
    }
    std::string run;
    for (size_t i = 0; i <= bounded.size(); ++i) {
        if (i < bounded.size() && !used[i] && !IsBlank(bounded[i])) {
            run += bounded[i];
            continue;
        }
        if (!run.empty())
            check.ignored.push_back(run);
        run.clear();
    }
    return check;
}

std::string DescribeExpressionCheck(const std::string& text, const ExpressionCheck& check)
{
    std::string out = "\"" + text + "\" is read as \"" + check.readAs + "\" (ignored: ";
    for (size_t i = 0; i < check.ignored.size(); ++i)
        out += (i ? ", \"" : "\"") + check.ignored[i] + "\"";
    return out + ")";
}

} // namespace lm
