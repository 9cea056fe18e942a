#include "lmfwin/filter/AFilterExpr.h"

#include "lmfwin/filter/AFilter.h"
#include "lmfwin/filter/FilterMessages.h"

#include <cctype>

namespace lm {

namespace {

class Parser {
public:
    explicit Parser(const std::string& text) : text_(text) {}

    // Parses up to the end of the text or the ')' that closes this level.
    std::unique_ptr<Tree> Parse(int depth)
    {
        std::unique_ptr<Tree> result;
        for (;;) {
            if (pos_ >= text_.size()) {
                if (depth > 0)
                    unclosed = true;
                closedAt_ = -1;
                return result;
            }
            const int at = int(pos_);
            const char c = char(std::toupper(static_cast<unsigned char>(text_[pos_++])));
            switch (c) {
            case ')':
                closedAt_ = at;
                return result;
            case '&':
            case '|': {
                auto node = std::make_unique<Tree>();
                node->value = c == '&' ? kTreeAnd : kTreeOr;
                node->position = at;
                node->left = std::move(result);
                result = std::move(node);
                break;
            }
            case 'A':
            case 'B':
            case 'C':
            case 'D': {
                auto node = std::make_unique<Tree>();
                node->value = c - 'A';
                node->position = at;
                Attach(result, std::move(node));
                break;
            }
            case '(': {
                std::unique_ptr<Tree> group = Parse(depth + 1);
                if (group)
                    group->groups.emplace_back(at, closedAt_);
                Attach(result, std::move(group));
                break;
            }
            default:
                break;
            }
        }
    }

    bool unclosed = false;

private:
    // An operand or group becomes the result, or the result's right child (replacing one).
    static void Attach(std::unique_ptr<Tree>& result, std::unique_ptr<Tree> node)
    {
        if (!result)
            result = std::move(node);
        else
            result->right = std::move(node);
    }

    const std::string& text_;
    size_t pos_ = 0;
    int closedAt_ = -1; // the ')' that ended the last level, -1 for the end of the text
};

} // namespace

ParsedExpression ParseExpression(const std::string& text)
{
    // The caller rejects longer texts; parsing only a bounded prefix keeps recursion bounded
    // for any caller that does not.
    const std::string bounded = text.substr(0, kMaxExpressionLength);
    Parser parser(bounded);
    ParsedExpression parsed;
    parsed.root = parser.Parse(0);
    parsed.unclosedGroup = parser.unclosed;
    return parsed;
}

bool EvaluateTree(const Tree& node, const std::array<bool, 4>& windows)
{
    if (!node.IsOperator())
        return unsigned(node.value) < 4 && windows[size_t(node.value)];
    const bool l = EvaluateTree(*node.left, windows);
    const bool r = EvaluateTree(*node.right, windows);
    return node.value == kTreeAnd ? (l && r) : (l || r);
}

bool HasIncompleteOperator(const Tree& node)
{
    const bool isOperatorNode = node.value == kTreeAnd || node.value == kTreeOr;
    if (isOperatorNode && !node.IsOperator())
        return true;
    return (node.left && HasIncompleteOperator(*node.left)) ||
           (node.right && HasIncompleteOperator(*node.right));
}

unsigned NamedWindows(const Tree& node)
{
    unsigned mask = unsigned(node.value) < 4 ? 1u << node.value : 0u;
    if (node.left)
        mask |= NamedWindows(*node.left);
    if (node.right)
        mask |= NamedWindows(*node.right);
    return mask;
}

AFilterExpr::AFilterExpr(std::string text, int scope) : text_(std::move(text)), scope_(scope)
{
    if (scope < 0 || scope > 3)
        throw EFilter(812);
}

const char* ExpressionScopeLabel(int scope)
{
    return FilterMessage(1041 + scope);
}

} // namespace lm
