// Building and validating a filter set, the expression language and testing one hit.

#include "FakeParams.h"
#include "lmfwin/filter/AFilter.h"
#include "lmfwin/filter/FilterFile.h"
#include "lmfwin/filter/FilterMessages.h"

#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>

namespace lm {
namespace {

using test::FakeHit;
using test::FakeParams;

const FakeParams kParams;
constexpr FilterNumberFormat kDot{'.'};

// A valid filter: window A active (amplitude 40..100), expression "A".
FilterControls ValidControls()
{
    FilterControls c;
    c.GridA = {{"Amplitude", "40", "100"}};
    return c;
}

std::string Msg(int id)
{
    return FilterMessage(id);
}

std::string BuildError(const FilterControls& c, FilterNumberFormat format = kDot)
{
    try {
        AFilter filter(c, kParams, format);
    } catch (const EFilter& e) {
        return e.what();
    }
    return "(no error)";
}

// Every validation message, with the window and record prefixes where they belong.
TEST(FilterBuild, EveryMessageWithItsPrefix)
{
    const std::string winB3 = "Окно B Запись 3\n";
    struct Case {
        const char* what;
        std::function<void(FilterControls&)> change;
        std::string expected;
    };
    const Case cases[] = {
        {"MPT not a number",
         [](FilterControls& c) { c.RadioGroupEventType = 1, c.EditMPT = "5x", c.EditLOCK = "10"; }, Msg(800)},
        {"LOCK empty", [](FilterControls& c) { c.RadioGroupEventType = 1, c.EditMPT = "5"; }, Msg(800)},
        {"Forward not an integer",
         [](FilterControls& c) { c.RadioGroupEventType = 2, c.EditForward = "x", c.EditBackWard = "1"; },
         Msg(801)},
        {"LOCK below MPT",
         [](FilterControls& c) { c.RadioGroupEventType = 1, c.EditMPT = "200", c.EditLOCK = "100"; },
         Msg(802)},
        {"empty row among rows",
         [](FilterControls& c) {
             c.GridB = {{"Counts", "1", "2"}, {"Counts", "3", "4"}, {"", "", ""}};
         },
         winB3 + Msg(803)},
        {"empty cell (804 before 807)",
         [](FilterControls& c) {
             c.GridA = {{"Amplitude", "", ""}};
         },
         "Окно A Запись 1\n" + Msg(804)},
        {"unknown parameter",
         [](FilterControls& c) {
             c.GridC = {{"Nonsense", "1", "2"}};
         },
         "Окно C Запись 1\n" + Msg(kMsgUnknownParameter) + "'Nonsense'"},
        {"leading blank in a name",
         [](FilterControls& c) {
             c.GridC = {{" Energy", "1", "2"}};
         },
         "Окно C Запись 1\n" + Msg(kMsgUnknownParameter) + "' Energy'"},
        {"unknown X parameter",
         [](FilterControls& c) {
             c.GridD = {{"Amplitude", ">", "1", "Countz", "0"}};
         },
         "Окно D Запись 1\n" + Msg(kMsgUnknownParameter) + "'Countz'"},
        {"relation =>",
         [](FilterControls& c) {
             c.GridD = {{"Amplitude", "=>", "1", "Counts", "0"}};
         },
         "Окно D Запись 1\n" + Msg(805)},
        {"relation <>",
         [](FilterControls& c) {
             c.GridD = {{"Amplitude", "<>", "1", "Counts", "0"}};
         },
         "Окно D Запись 1\n" + Msg(805)},
        {"minimum above maximum",
         [](FilterControls& c) {
             c.GridA = {{"Amplitude", "50", "40"}};
         },
         "Окно A Запись 1\n" + Msg(806)},
        {"D row 2 with A typed as abc",
         [](FilterControls& c) {
             c.GridD = {{"Amplitude", ">", "1", "Counts", "0"}, {"Amplitude", ">", "abc", "Counts", "0"}};
         },
         "Окно D Запись 2\n" + Msg(807)},
        {"conversion before the parameter check",
         [](FilterControls& c) {
             c.GridA = {{"Bogus", "1x", "2"}};
         },
         "Окно A Запись 1\n" + Msg(807)},
        {"first expression empty", [](FilterControls& c) { c.GridExpressions[0] = ""; }, Msg(813)},
        {"first expression without operand", [](FilterControls& c) { c.GridExpressions[0] = " () "; },
         Msg(813)},
        {"operand missing at the end", [](FilterControls& c) { c.GridExpressions[0] = "A&"; },
         Msg(kMsgOperandMissing)},
        {"operand missing at the start", [](FilterControls& c) { c.GridExpressions[0] = "&A"; },
         Msg(kMsgOperandMissing)},
        {"doubled operator", [](FilterControls& c) { c.GridExpressions[0] = "A&&A"; },
         Msg(kMsgOperandMissing)},
        {"unclosed group", [](FilterControls& c) { c.GridExpressions[0] = "A&(A"; }, Msg(kMsgUnclosedGroup)},
        {"inactive window named", [](FilterControls& c) { c.GridExpressions[0] = "A|C"; },
         Msg(kMsgInactiveWindow) + "C"},
        {"too long",
         [](FilterControls& c) { c.GridExpressions[0] = "A" + std::string(kMaxExpressionLength, ' '); },
         Msg(kMsgExpressionTooLong)},
    };
    for (const auto& tc : cases) {
        FilterControls c = ValidControls();
        tc.change(c);
        EXPECT_EQ(BuildError(c), tc.expected) << tc.what;
    }
}

TEST(FilterBuild, ExpressionScopeOutsideTheGrid)
{
    try {
        AFilterExpr expr("A", 4);
        FAIL() << "scope 4 accepted";
    } catch (const EFilter& e) {
        EXPECT_EQ(std::string(e.what()), Msg(812));
    }
}

TEST(FilterBuild, RowAndRecordFaultsKeepTheirKind)
{
    FilterControls c = ValidControls();
    c.GridB = {{"Counts", "1", "2"}, {"", "", ""}};
    EXPECT_THROW(AFilter(c, kParams, kDot), EFRowError);
    c.GridB = {{"Counts", "9", "2"}};
    EXPECT_THROW(AFilter(c, kParams, kDot), EFRecError);
    try {
        AFilter filter(c, kParams, kDot);
    } catch (const EFilter& e) {
        EXPECT_EQ(e.MessageId(), 806);
    }
}

TEST(FilterBuild, ChecksRunInOrder)
{
    // Several faults at once: the treatment fields come first, then the windows in A-D order,
    // then the expressions.
    FilterControls c;
    c.RadioGroupEventType = 1;
    c.EditMPT = "x";
    c.GridB = {{"", "1", "2"}};
    c.GridExpressions[0] = "";
    EXPECT_EQ(BuildError(c), Msg(800));
    c.EditMPT = c.EditLOCK = "10";
    c.GridD = {{"Bogus", "=", "1", "Counts", "1"}};
    EXPECT_EQ(BuildError(c), "Окно B Запись 1\n" + Msg(804));
    c.GridB = EmptyGrid(kMinMaxColumns);
    EXPECT_EQ(BuildError(c), "Окно D Запись 1\n" + Msg(kMsgUnknownParameter) + "'Bogus'");
    c.GridD = EmptyGrid(kEquationColumns);
    EXPECT_EQ(BuildError(c), Msg(813));
}

TEST(FilterBuild, AcceptedInputs)
{
    FilterControls c = ValidControls();
    c.RadioGroupEventType = 1;
    c.EditMPT = "300";
    c.EditLOCK = "300"; // equal is accepted
    c.GridB = {{"AMPLITUDE", "1", "1"}, {"energy", "1e2", "2.5E+3"}};
    c.GridD = {{"Amplitude", ">=", "2", "Counts", "1"}};
    c.GridExpressions = {"a&(b|d)", "", "anything at all &&(", "|"};
    AFilter f(c, kParams, kDot);
    EXPECT_EQ(f.mpt, 300u);
    EXPECT_EQ(f.lock, 300u);
    EXPECT_EQ(f.minMaxWindows[0].records, 1);
    EXPECT_EQ(f.minMaxWindows[1].records, 2);
    EXPECT_EQ(f.minMaxWindows[1].recs[0].parameter, hpAmplitude);
    EXPECT_DOUBLE_EQ(f.minMaxWindows[1].recs[1].maximum, 2500.0);
    EXPECT_FALSE(f.minMaxWindows[2].IsActive());
    EXPECT_EQ(f.equationWindow.recs[0].relation, frGreaterEqual);

    // The largest Forward the field holds; the events fields stay 0.
    FilterControls m = ValidControls();
    m.RadioGroupEventType = 2;
    m.EditForward = "2147483647";
    m.EditBackWard = " 20 ";
    AFilter mech(m, kParams, kDot);
    EXPECT_EQ(mech.forward, 2147483647u);
    EXPECT_EQ(mech.back, 20u);
    EXPECT_EQ(mech.mpt, 0u);
}

TEST(FilterBuild, DecimalSeparatorOfTheLocale)
{
    FilterControls c = ValidControls();
    c.GridA = {{"Amplitude", "0,5", "1,25"}};
    AFilter f(c, kParams, FilterNumberFormat{','});
    EXPECT_DOUBLE_EQ(f.minMaxWindows[0].recs[0].minimum, 0.5);
    EXPECT_EQ(BuildError(c, kDot), "Окно A Запись 1\n" + Msg(807));
    c.GridA = {{"Amplitude", "0.5", "1"}};
    EXPECT_EQ(BuildError(c, FilterNumberFormat{','}), "Окно A Запись 1\n" + Msg(807));
}

TEST(FilterNumbers, IntegersAndDecimals)
{
    uint32_t u = 0;
    EXPECT_EQ(ParseFilterMicroseconds("2147483647", u), TimeFieldText::Valid);
    EXPECT_EQ(u, 2147483647u);
    EXPECT_EQ(ParseFilterMicroseconds(" +0 ", u), TimeFieldText::Valid);
    EXPECT_EQ(u, 0u);
    for (const char* bad : {"", " ", "+", "12a", "x1", "1,,5"})
        EXPECT_EQ(ParseFilterMicroseconds(bad, u), TimeFieldText::NotANumber) << bad;
    for (const char* range :
         {"-1", "-2147483648", "2147483648", "4294967295", "1.0", "1,5", "1e3", "99999999999999999999"})
        EXPECT_EQ(ParseFilterMicroseconds(range, u), TimeFieldText::OutOfRange) << range;
    double d = 0;
    for (const char* bad : {"", ".", "e5", "1e", "1..2", "nan", "inf", "1,5", "1e999"})
        EXPECT_FALSE(ParseFilterNumber(bad, '.', d)) << bad;
    EXPECT_TRUE(ParseFilterNumber(" -.5 ", '.', d));
    EXPECT_DOUBLE_EQ(d, -0.5);
}

// ---- the expression language ----

bool Eval(const std::string& text, std::array<bool, 4> windows)
{
    ParsedExpression p = ParseExpression(text);
    EXPECT_TRUE(p.root) << text;
    return p.root && EvaluateTree(*p.root, windows);
}

TEST(FilterExpression, NoPrecedenceAndIgnoredCharacters)
{
    struct Case {
        const char* text;
        std::array<bool, 4> windows;
        bool expected;
    };
    const Case cases[] = {
        {"A|B&C", {true, false, false, false}, false}, // (A|B)&C
        {"A|(B&C)", {true, false, false, false}, true},
        {"A&B|C&D", {false, false, true, true}, true}, // ((A&B)|C)&D
        {"A&B|C&D", {false, false, true, false}, false},
        {"a&b", {true, true, false, false}, true},
        {"A & B", {true, false, false, false}, false},
        {"A+B", {true, false, false, false}, true}, // 'AB': A alone
        {"A B", {false, true, false, false}, false},
        {"((A))", {true, false, false, false}, true},
        {"A&BC", {true, false, true, false}, true}, // C replaces B
        {"A&BC", {true, true, false, false}, false},
        {"A)&B", {true, false, false, false}, true}, // ')' ends the expression
        {"A)|B", {false, true, false, false}, false},
        {"(A|B)&C", {false, true, true, false}, true},
        {"(A|B)&C", {false, true, false, false}, false},
    };
    for (const auto& tc : cases)
        EXPECT_EQ(Eval(tc.text, tc.windows), tc.expected) << tc.text;
}

TEST(FilterExpression, TreeShapes)
{
    ParsedExpression p = ParseExpression("(A|B)&C");
    ASSERT_TRUE(p.root && p.root->IsOperator());
    EXPECT_EQ(p.root->value, kTreeAnd);
    EXPECT_EQ(p.root->left->value, kTreeOr);
    EXPECT_EQ(p.root->right->value, 2);
    EXPECT_FALSE(p.unclosedGroup);

    EXPECT_TRUE(ParseExpression("A&(B").unclosedGroup);
    EXPECT_FALSE(ParseExpression("()").root);
    for (const char* incomplete : {"A&", "&A", "A&&B", "A&()", "A(B|)"})
        EXPECT_TRUE(HasIncompleteOperator(*ParseExpression(incomplete).root)) << incomplete;
    EXPECT_EQ(NamedWindows(*ParseExpression("A B").root), 3u);
    EXPECT_EQ(NamedWindows(*ParseExpression("d|(c)").root), 12u);
}

// ---- testing one hit ----

TEST(FilterHit, MinMaxAndEquationRecords)
{
    FilterControls c;
    c.GridA = {{"Amplitude", "0", "0"}};
    c.GridD = {{"Counts", ">=", "2", "Rise", "1"}};
    c.GridExpressions[0] = "A";
    AFilter onlyA(c, kParams, kDot);
    FakeHit zero({{hpAmplitude, 0.0L}});
    EXPECT_TRUE(onlyA.Keep(zero));
    FakeHit slightly({{hpAmplitude, 0.0001L}});
    EXPECT_FALSE(onlyA.Keep(slightly));
    FakeHit notANumber({{hpAmplitude, std::numeric_limits<long double>::quiet_NaN()}});
    EXPECT_FALSE(onlyA.Keep(notANumber));

    c.GridExpressions[0] = "D";
    AFilter onlyD(c, kParams, kDot);
    FakeHit pass({{hpRise, 3}, {hpCounts, 7}});
    FakeHit fail({{hpRise, 3}, {hpCounts, 6.99L}});
    EXPECT_TRUE(onlyD.Keep(pass));
    EXPECT_FALSE(onlyD.Keep(fail));
}

TEST(FilterHit, JoinAndTypeDecideTogether)
{
    FilterControls c;
    c.GridC = {{"Amplitude", "40", "60"}, {"Counts", "10", "20"}};
    c.GridExpressions[0] = "C";
    FakeHit both({{hpAmplitude, 50}, {hpCounts, 15}});
    FakeHit one({{hpAmplitude, 50}, {hpCounts, 25}});
    FakeHit none({{hpAmplitude, 70}, {hpCounts, 25}});
    struct Case {
        bool andJoin;
        int type;
        FakeHit* hit;
        bool keep;
    };
    const Case cases[] = {
        {true, 0, &both, true},  {true, 0, &one, false}, {false, 0, &one, true},  {false, 0, &none, false},
        {true, 1, &both, false}, {true, 1, &one, true},  {false, 1, &one, false}, {false, 1, &none, true},
    };
    for (const auto& tc : cases) {
        c.BoxDepC = tc.andJoin;
        c.RadioGroupType = tc.type;
        AFilter f(c, kParams, kDot);
        EXPECT_EQ(f.Keep(*tc.hit), tc.keep) << tc.andJoin << tc.type;
    }
}

// ---- the protocol lines of a filter ----

TEST(FilterPrint, WindowsAndExpressions)
{
    FilterControls c;
    c.GridA = {{"Amplitude", "40", "100.5"}};
    c.BoxDepA = true;
    c.GridC = {{"energy", "0.000001", "1234567"}};
    c.GridD = {{"Counts", "<=", "-2", "Rise", "0.5"}};
    c.GridExpressions = {"A|C|D", "B", "", "C"};
    AFilter f(c, kParams, kDot);
    std::ostringstream windows;
    f.PrintWindows(windows);
    // Window B is inactive; C and D are still listed, since the filter used them.
    EXPECT_EQ(windows.str(), "Окно A - Объединение записей по [AND]\n"
                             "\tAmplitude\t40\t100.5\n"
                             "Окно C - Объединение записей по [OR]\n"
                             "\tEnergy\t1e-06\t1.23457e+06\n"
                             "Окно D - Объединение записей по [OR]\n"
                             "\tCounts\t<=\t(-2) * \tRise\t+\t(0.5)\n");
    std::ostringstream expressions;
    f.PrintExpressions(expressions);
    EXPECT_EQ(expressions.str(), "Первый импульс : A|C|D\nВторой импульс : B\n");
    EXPECT_EQ(std::string(ExpressionScopeLabel(3)), "Любой импульс  : ");
}

TEST(FilterPrint, UnknownIdPrintsMessage808)
{
    struct NoNames : ParamLookup {
        HitParam FindParamId(std::string_view) const override { return hpAmplitude; }
        std::optional<std::string> FindParamName(HitParam) const override { return std::nullopt; }
        std::string FindShortName(HitParam) const override { return {}; }
    } noNames;
    EXPECT_EQ(FilterParamName(noNames, hpAmplitude), Msg(808));
}

// ---- filter files ----

TEST(FilterFileText, ReadsEveryGroupAndRoundTrips)
{
    const std::string text = "[Filter]\n"
                             "Name=Noise cut\n"
                             "Type=Excluded\n"
                             "Treatment=Events\n"
                             "MPT=500\n"
                             "LOCK= 2000\n"
                             "DeleteParametric=1\n"
                             "DeleteTR=0\n"
                             "SmartEndOfTime=1\n"
                             "[B]\n"
                             "And=1\n"
                             "r1=Amplitude|40|100\n"
                             "r2= Counts|1|2\n"
                             "[D]\n"
                             "x=Amplitude|>=|2|Counts|1\n"
                             "[Expressions]\n"
                             "1=B|D\n"
                             "3=A\n";
    const FilterControls c = ReadFilterFile(text);
    EXPECT_EQ(c.EditFilterName, "Noise cut");
    EXPECT_EQ(c.RadioGroupType, 1);
    EXPECT_EQ(c.RadioGroupEventType, 1);
    EXPECT_EQ(c.EditLOCK, " 2000");
    EXPECT_TRUE(c.CheckBoxTDP && c.CheckBoxTR == false && c.CheckBoxEOT);
    EXPECT_EQ(c.GridA, EmptyGrid(kMinMaxColumns));
    ASSERT_EQ(c.GridB.size(), 2u);
    EXPECT_EQ(c.GridB[1][0], " Counts"); // cells are not trimmed
    EXPECT_TRUE(c.BoxDepB);
    EXPECT_EQ(c.GridD[0][1], ">=");
    EXPECT_EQ(c.GridExpressions[0], "B|D");
    EXPECT_EQ(c.GridExpressions[1], "");
    EXPECT_EQ(c.GridExpressions[2], "A");

    const FilterControls again = ReadFilterFile(WriteFilterFile(c));
    EXPECT_EQ(WriteFilterFile(again), WriteFilterFile(c));
    EXPECT_EQ(again.GridB, c.GridB);
    EXPECT_EQ(again.GridExpressions, c.GridExpressions);
}

TEST(FilterFileText, Faults)
{
    for (const char* bad :
         {"[Filter]\nType=Both\n", "[A]\n1=Amplitude|1\n", "[D]\n1=a|b|c\n", "[Filter]\nColour=red\n",
          "[E]\n", "Name=x\n", "[Expressions]\n5=A\n", "[A]\nAnd=yes\n", "[Filter\n"})
        EXPECT_THROW(ReadFilterFile(bad), EFilterFile) << bad;
}

} // namespace
} // namespace lm
