#include "lmqwin2/evaluation/DialogFields.h"

#include "lmqwin2/evaluation/IniFile.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace lm {

namespace {

[[noreturn]] void Refuse(const std::string& field, const std::string& text, const char* what)
{
    throw AFieldError("\"" + field + "\": '" + text + "' is not a valid " + what + " value");
}

} // namespace

int ParseFieldInt(const std::string& field, const std::string& text)
{
    long long v = 0;
    if (!ParseIniInteger(text, v) || v < INT32_MIN || v > INT32_MAX)
        Refuse(field, text, "integer");
    return int(v);
}

uint32_t ParseFieldUnsigned(const std::string& field, const std::string& text)
{
    long long v = 0;
    if (!ParseIniInteger(text, v) || v < 0 || v > UINT32_MAX)
        Refuse(field, text, "integer");
    return uint32_t(v);
}

double ParseFieldDouble(const std::string& field, const std::string& text)
{
    double v = 0;
    if (!ParseIniFloat(text, v))
        Refuse(field, text, "floating point");
    return v;
}

float ParseFieldFloat(const std::string& field, const std::string& text)
{
    const double v = ParseFieldDouble(field, text);
    if (std::fabs(v) > double(FLT_MAX))
        Refuse(field, text, "floating point");
    return float(v);
}

std::string FormatGeneral6(double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6g", value);
    return buf;
}

int CopyDpiChoice(int prnDpi)
{
    return prnDpi == 100 || prnDpi == 300 ? prnDpi : 200;
}

ZoomRange ZoomRangeFor(int minimum, int maximum)
{
    ZoomRange r{std::min(minimum, maximum), std::max(minimum, maximum)};
    if (r.start == r.end) {
        if (r.start == INT_MAX)
            --r.start;
        r.end = r.start + 1;
    }
    return r;
}

int TwipsToPixels(int twips, double dpi)
{
    return int(twips * dpi / 1440.0);
}

std::string CellRectProblem(int lx, int ly, int rx, int ry, int columns, int rows)
{
    const std::string grid = std::to_string(columns) + " x " + std::to_string(rows);
    if (lx > columns || rx > columns || ly > rows || ry > rows)
        return "Outside the page grid of " + grid +
               " cells: the page will end here (this graph and the ones after it are not shown).";
    return {};
}

} // namespace lm
