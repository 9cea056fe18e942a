#pragma once

// The rules behind the small dialogs of the correlation program that need no window:
// reading and showing the numbers of dialog fields, the copy picture's size and
// resolution, the zoom range, tab stops and the graph editor's cell check.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace lm {

// A dialog field whose text is not a number. The message names the field, so that the
// user knows which of many fields to correct.
class AFieldError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Whole numbers ("%i"); surrounding blanks are allowed. Raise AFieldError naming `field`.
int ParseFieldInt(const std::string& field, const std::string& text);
// Non-negative whole numbers up to 4294967295 ("%lu": MPT and lockout).
uint32_t ParseFieldUnsigned(const std::string& field, const std::string& text);
// Decimal numbers with "." or "," as separator; not a number and infinity are refused.
double ParseFieldDouble(const std::string& field, const std::string& text);
// The same within the single-precision range.
float ParseFieldFloat(const std::string& field, const std::string& text);

// General format with 6 significant digits ("0.8", "3600", "1.5e-07").
std::string FormatGeneral6(double value);

// The choice the copy dialog preselects for a stored "PrnDPI": 100 and 300 as they are,
// every other value 200.
int CopyDpiChoice(int prnDpi);
// The range of the copy picture's width and height in millimetres.
inline constexpr int kCopyMinMm = 30;
inline constexpr int kCopyMaxMm = 300;

// The time range of the zoom dialog: equal values become (start, start + 1); a range typed
// backwards is taken in ascending order.
struct ZoomRange {
    int start = 0;
    int end = 0;
    friend bool operator==(const ZoomRange&, const ZoomRange&) = default;
};
ZoomRange ZoomRangeFor(int minimum, int maximum);

// Twips (1/1440 inch) as pixels at a logical resolution, truncated.
int TwipsToPixels(int twips, double dpi);

// Why a graph's cell rectangle (LX, LY, RX, RY) does not fit a page grid of `columns` x
// `rows` cells: the page then ends before this graph. Empty when it fits.
std::string CellRectProblem(int lx, int ly, int rx, int ry, int columns, int rows);

} // namespace lm
