// The expression check: what the scan leaves out of a typed expression, and how it reads it.

#include "lmfwin/filter/ExpressionCheck.h"

#include <gtest/gtest.h>

namespace lm {
namespace {

TEST(ExpressionCheck, NamesIgnoredCharactersAndDroppedOperands)
{
    struct Case {
        const char* text;
        const char* readAs;
        std::vector<std::string> ignored;
    };
    const Case cases[] = {
        // Words of other languages and other operator signs run as their first operand.
        {"A and B", "A", {"and", "B"}},
        {"A AND B", "A", {"AND", "B"}},
        {"A*B", "A", {"*B"}},
        {"not A", "A", {"not"}},
        {"A B", "A", {"B"}},
        {"A&BC", "A&C", {"B"}},
        {"A)|B", "A", {")|B"}},
        {"A(B)", "A", {"(B)"}},
        {"A&B;", "A&B", {";"}},
        // A Cyrillic letter looks like A but is no operand.
        {"B \xD0\x90", "B", {"\xD0\x90"}},
        // Nothing left out: no surprise, whatever the blanks and groups.
        {"a & b", "A&B", {}},
        {" (A|B)\t&C ", "(A|B)&C", {}},
        {"A|B&C", "(A|B)&C", {}},
        {"A|(B&C)", "A|(B&C)", {}},
        {"((A))", "A", {}},
        {"d", "D", {}},
    };
    for (const auto& tc : cases) {
        const ExpressionCheck check = CheckExpression(tc.text);
        EXPECT_TRUE(check.complete) << tc.text;
        EXPECT_EQ(check.readAs, tc.readAs) << tc.text;
        EXPECT_EQ(check.ignored, tc.ignored) << tc.text;
        EXPECT_EQ(check.Surprising(), !tc.ignored.empty()) << tc.text;
    }
}

TEST(ExpressionCheck, IncompleteTextsAreLeftToTheFilterSet)
{
    // Refused with their own messages when the filter set is built, so never a question.
    for (const char* text : {"", "  ", "()", "A&", "&A", "A&&B", "A&(B", "x", "A|\xD0\x92"}) {
        const ExpressionCheck check = CheckExpression(text);
        EXPECT_FALSE(check.complete) << text;
        EXPECT_FALSE(check.Surprising()) << text;
    }
    EXPECT_EQ(CheckExpression("x").ignored, std::vector<std::string>{"x"});
}

TEST(ExpressionCheck, Description)
{
    EXPECT_EQ(DescribeExpressionCheck("A and B", CheckExpression("A and B")),
              "\"A and B\" is read as \"A\" (ignored: \"and\", \"B\")");
    EXPECT_EQ(DescribeExpressionCheck("A&BC", CheckExpression("A&BC")),
              "\"A&BC\" is read as \"A&C\" (ignored: \"B\")");
}

} // namespace
} // namespace lm
