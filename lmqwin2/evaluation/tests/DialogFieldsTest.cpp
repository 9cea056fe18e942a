#include "lmqwin2/evaluation/DialogFields.h"

#include <gtest/gtest.h>

using namespace lm;

TEST(DialogFields, NumbersParseOrNameTheirField)
{
    EXPECT_EQ(ParseFieldInt("Test ThresHold", " 45 "), 45);
    EXPECT_EQ(ParseFieldInt("Class 1", "-3"), -3);
    EXPECT_EQ(ParseFieldUnsigned("MPT, us ", "4294967295"), 4294967295u);
    EXPECT_DOUBLE_EQ(ParseFieldDouble("DivV", "0,8"), 0.8);
    EXPECT_FLOAT_EQ(ParseFieldFloat("K = N*", "0.8"), 0.8f);

    struct Bad {
        const char* text;
        int kind; // 0 int, 1 unsigned, 2 double, 3 float
    };
    for (const Bad& bad :
         {Bad{"12a", 0}, Bad{"", 0}, Bad{"3000000000", 0}, Bad{"-1", 1}, Bad{"4294967296", 1}, Bad{"1.5", 1},
          Bad{"abc", 2}, Bad{"inf", 2}, Bad{"1e39", 3}}) {
        try {
            switch (bad.kind) {
            case 0:
                ParseFieldInt("Field X", bad.text);
                break;
            case 1:
                ParseFieldUnsigned("Field X", bad.text);
                break;
            case 2:
                ParseFieldDouble("Field X", bad.text);
                break;
            default:
                ParseFieldFloat("Field X", bad.text);
                break;
            }
            ADD_FAILURE() << "accepted '" << bad.text << "'";
        } catch (const AFieldError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("\"Field X\""), std::string::npos) << message;
            EXPECT_NE(message.find(std::string("'") + bad.text + "'"), std::string::npos) << message;
        }
    }
}

TEST(DialogFields, GeneralFormatKeepsSixDigits)
{
    EXPECT_EQ(FormatGeneral6(0.8f), "0.8");
    EXPECT_EQ(FormatGeneral6(3600), "3600");
    EXPECT_EQ(FormatGeneral6(1234567), "1.23457e+06");
    EXPECT_EQ(FormatGeneral6(0.1234567), "0.123457");
}

TEST(DialogFields, CopyPictureDpi)
{
    EXPECT_EQ(CopyDpiChoice(100), 100);
    EXPECT_EQ(CopyDpiChoice(300), 300);
    EXPECT_EQ(CopyDpiChoice(150), 200);
    EXPECT_EQ(CopyDpiChoice(0), 200);
}

TEST(DialogFields, ZoomRange)
{
    EXPECT_EQ(ZoomRangeFor(100, 100), (ZoomRange{100, 101}));
    EXPECT_EQ(ZoomRangeFor(10, 250), (ZoomRange{10, 250}));
    EXPECT_EQ(ZoomRangeFor(250, 10), (ZoomRange{10, 250}));
    EXPECT_EQ(ZoomRangeFor(INT_MAX, INT_MAX), (ZoomRange{INT_MAX - 1, INT_MAX}));
}

TEST(DialogFields, TabStopsAndCellRectangles)
{
    EXPECT_EQ(TwipsToPixels(1000, 96), 66);
    EXPECT_EQ(TwipsToPixels(700, 96), 46);
    EXPECT_EQ(TwipsToPixels(1440, 120), 120);

    EXPECT_EQ(CellRectProblem(0, 0, 5, 4, 5, 4), "");
    EXPECT_EQ(CellRectProblem(3, 2, 5, 4, 5, 4), "");
    EXPECT_NE(CellRectProblem(4, 0, 6, 1, 5, 4), "");
    EXPECT_NE(CellRectProblem(0, 4, 1, 5, 5, 4), "");
    EXPECT_NE(CellRectProblem(6, 0, 5, 1, 5, 4), "");
}
