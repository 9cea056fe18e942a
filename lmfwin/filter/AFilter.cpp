#include "lmfwin/filter/AFilter.h"

#include "lmfwin/filter/FilterMessages.h"
#include "lmfwin/filter/LocaleText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <ostream>

namespace lm {

EFilter::EFilter(int messageId) : id_(messageId), text_(FilterMessage(messageId)) {}

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string Trimmed(const std::string& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "Запись <row>\n<message>": the text of row and record faults.
std::string RowText(int row, int messageId)
{
    return std::string(FilterMessage(1040)) + std::to_string(row) + "\n" + FilterMessage(messageId);
}

const std::string& Cell(const std::vector<std::string>& cells, size_t column)
{
    static const std::string empty;
    return column < cells.size() ? cells[column] : empty;
}

const char* const kRelationTexts[] = {"=", ">", "<", ">=", "<="};

// "Запись <row>\n<unknown parameter> '<name>'": names the parameter the table does not know.
EFRecError UnknownParameter(int row, const std::string& name)
{
    return EFRecError(kMsgUnknownParameter, RowText(row, kMsgUnknownParameter) + "'" + name + "'");
}

} // namespace

bool ParseFilterNumber(const std::string& text, char separator, double& value)
{
    const std::string t = Trimmed(text);
    // Check the shape first: [sign] digits [separator digits] [e [sign] digits].
    std::string normal;
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        normal += t[i++];
    size_t digits = 0;
    while (i < t.size() && IsDigit(t[i])) {
        normal += t[i++];
        ++digits;
    }
    if (i < t.size() && t[i] == separator) {
        normal += '.';
        ++i;
        while (i < t.size() && IsDigit(t[i])) {
            normal += t[i++];
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            normal += t[i++];
        size_t expDigits = 0;
        while (i < t.size() && IsDigit(t[i])) {
            normal += t[i++];
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != t.size())
        return false;
    const char* first = normal.data();
    if (*first == '+')
        ++first;
    double v = 0;
    const auto [end, ec] = std::from_chars(first, normal.data() + normal.size(), v);
    if (ec != std::errc() || end != normal.data() + normal.size() || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

TimeFieldText ParseFilterMicroseconds(const std::string& text, uint32_t& value)
{
    const std::string t = Trimmed(text);
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    bool whole = i < t.size();
    uint64_t v = 0;
    for (size_t k = i; k < t.size() && whole; ++k) {
        if (!IsDigit(t[k]))
            whole = false;
        else if (v <= kMaxFilterMicroseconds)
            v = v * 10 + uint64_t(t[k] - '0');
    }
    if (!whole) {
        // A number of another form (a fraction, an exponent) is out of range, not garbage.
        double number = 0;
        const bool isNumber = ParseFilterNumber(t, '.', number) || ParseFilterNumber(t, ',', number);
        return isNumber ? TimeFieldText::OutOfRange : TimeFieldText::NotANumber;
    }
    if ((negative && v != 0) || v > kMaxFilterMicroseconds)
        return TimeFieldText::OutOfRange;
    value = uint32_t(v);
    return TimeFieldText::Valid;
}

std::string FilterParamName(const ParamLookup& params, HitParam id)
{
    if (auto name = params.FindParamName(id))
        return *name;
    return FilterMessage(808);
}

bool IsFiltrationPageCaption(const std::string& caption)
{
    return caption.find("Filtration") != std::string::npos || caption.find("Фильтрация") != std::string::npos;
}

// ---- records ----

AMinMaxFilterRec::AMinMaxFilterRec(const ParamLookup& params, const std::vector<std::string>& cells, int row,
                                   char separator)
    : AFilterRec(params)
{
    parameter = params.FindParamId(Cell(cells, 0));
    if (!ParseFilterNumber(Cell(cells, 1), separator, minimum) ||
        !ParseFilterNumber(Cell(cells, 2), separator, maximum))
        throw EFRecError(807, RowText(row, 807));
    if (minimum > maximum)
        throw EFRecError(806, RowText(row, 806));
    if (parameter == 0)
        throw UnknownParameter(row, Cell(cells, 0));
}

bool AMinMaxFilterRec::Passes(AWDiskFile& reader) const
{
    const double v = double(reader.GetValue(parameter));
    return minimum <= v && v <= maximum; // a NaN fails both comparisons
}

void AMinMaxFilterRec::Print(std::ostream& out) const
{
    out << '\t' << FilterParamName(*params_, parameter) << '\t' << minimum << '\t' << maximum << '\n';
}

AEquationFilterRec::AEquationFilterRec(const ParamLookup& params, const std::vector<std::string>& cells,
                                       int row, char separator)
    : AFilterRec(params)
{
    xParameter = params.FindParamId(Cell(cells, 3));
    yParameter = params.FindParamId(Cell(cells, 0));
    if (!ParseFilterNumber(Cell(cells, 2), separator, a) || !ParseFilterNumber(Cell(cells, 4), separator, b))
        throw EFRecError(807, RowText(row, 807));
    relation = frInvalid;
    for (int i = 0; i < frInvalid; ++i) {
        if (Cell(cells, 1) == kRelationTexts[i]) {
            relation = i;
            break;
        }
    }
    if (yParameter == 0)
        throw UnknownParameter(row, Cell(cells, 0));
    if (xParameter == 0)
        throw UnknownParameter(row, Cell(cells, 3));
    if (relation == frInvalid)
        throw EFRecError(805, RowText(row, 805));
}

bool AEquationFilterRec::Passes(AWDiskFile& reader) const
{
    const long double x = reader.GetValue(xParameter);
    const double y = double(reader.GetValue(yParameter));
    const double r = double(x * (long double)a + (long double)b);
    switch (relation) {
    case frEqual:
        return y == r;
    case frGreater:
        return y > r;
    case frLess:
        return y < r;
    case frGreaterEqual:
        return y >= r;
    case frLessEqual:
        return y <= r;
    default:
        return false;
    }
}

void AEquationFilterRec::Print(std::ostream& out) const
{
    out << '\t' << FilterParamName(*params_, yParameter) << '\t' << kRelationTexts[relation] << "\t(" << a
        << ") * \t" << FilterParamName(*params_, xParameter) << "\t+\t(" << b << ")\n";
}

// ---- windows ----

bool AMinMaxFilterWin::Passes(AWDiskFile& reader) const
{
    if (joinWithAnd) {
        for (const auto& rec : recs)
            if (!rec.Passes(reader))
                return false;
        return true;
    }
    for (const auto& rec : recs)
        if (rec.Passes(reader))
            return true;
    return false;
}

bool AEquationFilterWin::Passes(AWDiskFile& reader) const
{
    if (joinWithAnd) {
        for (const auto& rec : recs)
            if (!rec.Passes(reader))
                return false;
        return true;
    }
    for (const auto& rec : recs)
        if (rec.Passes(reader))
            return true;
    return false;
}

namespace {

// Builds one window from its grid; answers false for an inactive window.
template <class Win>
void BuildWindow(Win& win, const FilterGrid& grid, bool joinWithAnd, size_t columns,
                 const ParamLookup& params, char separator)
{
    win.joinWithAnd = joinWithAnd;
    win.rows = int(grid.size());
    win.records = 0;
    const auto rowEmpty = [&](const std::vector<std::string>& row) {
        for (size_t c = 0; c < columns; ++c)
            if (!Cell(row, c).empty())
                return false;
        return true;
    };
    if (grid.empty() || (grid.size() == 1 && rowEmpty(grid[0])))
        return;
    for (size_t r = 0; r < grid.size(); ++r)
        if (rowEmpty(grid[r]))
            throw EFRowError(803, RowText(int(r + 1), 803));
    for (size_t r = 0; r < grid.size(); ++r)
        for (size_t c = 0; c < columns; ++c)
            if (Cell(grid[r], c).empty())
                throw EFRowError(804, RowText(int(r + 1), 804));
    win.recs.reserve(grid.size());
    for (size_t r = 0; r < grid.size(); ++r) {
        win.recs.emplace_back(params, grid[r], int(r + 1), separator);
        ++win.records;
    }
}

template <class Win>
void BuildPrefixed(char letter, Win& win, const FilterGrid& grid, bool joinWithAnd, size_t columns,
                   const ParamLookup& params, char separator)
{
    try {
        BuildWindow(win, grid, joinWithAnd, columns, params, separator);
    } catch (EFRowError& e) {
        e.Prefix(std::string(FilterMessage(1010)) + letter + " ");
        throw;
    }
}

} // namespace

// ---- the filter set ----

AFilter::AFilter(const FilterControls& controls, const ParamLookup& params, FilterNumberFormat format)
    : params_(params)
{
    const char separator = format.decimalSeparator ? format.decimalSeparator : UserDecimalSeparator();

    filterName = controls.EditFilterName;
    sourceFile = controls.EditSourceFile;
    destinationFile = controls.EditPostFile;
    filtrationPageActive = controls.FiltrationPageActive;
    excluded = controls.RadioGroupType != 0;
    deleteParametric = controls.CheckBoxTDP;
    deleteTR = controls.CheckBoxTR.value_or(false);
    smartEndOfTime = controls.CheckBoxEOT;

    treatment = controls.RadioGroupEventType;
    // Each field in turn: text that is no number gives the shipped message of its pair, a
    // number the field cannot hold the field's own message.
    const auto readField = [](const std::string& text, uint32_t& value, int notANumber, int outOfRange) {
        switch (ParseFilterMicroseconds(text, value)) {
        case TimeFieldText::Valid:
            return;
        case TimeFieldText::NotANumber:
            throw EFilter(notANumber);
        case TimeFieldText::OutOfRange:
            throw EFilter(outOfRange);
        }
    };
    if (treatment == ftEvents) {
        readField(controls.EditMPT, mpt, 800, kMsgBadMpt);
        readField(controls.EditLOCK, lock, 800, kMsgBadLock);
        if (lock < mpt)
            throw EFilter(802);
    } else if (treatment == ftMechanic) {
        readField(controls.EditForward, forward, 801, kMsgBadForward);
        readField(controls.EditBackWard, back, 801, kMsgBadBack);
    } else if (treatment != ftHits) {
        throw EFilter(799);
    }

    const FilterGrid* grids[3] = {&controls.GridA, &controls.GridB, &controls.GridC};
    const bool joins[3] = {controls.BoxDepA, controls.BoxDepB, controls.BoxDepC};
    for (int w = 0; w < 3; ++w)
        BuildPrefixed(char('A' + w), minMaxWindows[size_t(w)], *grids[w], joins[w], kMinMaxColumns, params,
                      separator);
    BuildPrefixed('D', equationWindow, controls.GridD, controls.BoxDepD, kEquationColumns, params, separator);

    if (controls.GridExpressions[0].empty())
        throw EFilter(813);
    for (int i = 0; i < 4; ++i)
        expressions[size_t(i)] = AFilterExpr(controls.GridExpressions[size_t(i)], i);

    const std::string& first = expressions[0].Text();
    if (first.size() > kMaxExpressionLength)
        throw EFilter(kMsgExpressionTooLong);
    for (int i = 0; i < 4; ++i) {
        ParsedExpression parsed = ParseExpression(expressions[size_t(i)].Text());
        if (i == 0) {
            // Only the first expression decides; it must have one defined meaning.
            if (parsed.unclosedGroup)
                throw EFilter(kMsgUnclosedGroup);
            if (!parsed.root)
                throw EFilter(813);
            if (HasIncompleteOperator(*parsed.root))
                throw EFilter(kMsgOperandMissing);
        }
        trees[size_t(i)] = std::move(parsed.root);
    }

    for (int w = 0; w < 3; ++w)
        if (minMaxWindows[size_t(w)].IsActive())
            activeMask_ |= 1u << w;
    if (equationWindow.IsActive())
        activeMask_ |= 1u << 3;
    const unsigned inactiveNamed = NamedWindows(*trees[0]) & ~activeMask_;
    for (int w = 0; w < 4; ++w)
        if (inactiveNamed & (1u << w))
            throw EFilter(kMsgInactiveWindow, std::string(FilterMessage(kMsgInactiveWindow)) + char('A' + w));
}

bool AFilter::Match(AWDiskFile& reader) const
{
    std::array<bool, 4> results{};
    for (int w = 0; w < 3; ++w)
        if (activeMask_ & (1u << w))
            results[size_t(w)] = minMaxWindows[size_t(w)].Passes(reader);
    if (activeMask_ & 8u)
        results[3] = equationWindow.Passes(reader);
    return EvaluateTree(*trees[0], results);
}

namespace {

template <class Win> void PrintWindow(std::ostream& out, char letter, const Win& win)
{
    out << FilterMessage(1010) << letter << " - " << FilterMessage(1001) << '['
        << (win.joinWithAnd ? "AND" : "OR") << "]\n";
    for (const auto& rec : win.recs)
        rec.Print(out);
}

} // namespace

void AFilter::PrintWindows(std::ostream& out) const
{
    // Every active window is listed, so the entry always shows each window the filter used.
    for (int w = 0; w < 3; ++w)
        if (minMaxWindows[size_t(w)].IsActive())
            PrintWindow(out, char('A' + w), minMaxWindows[size_t(w)]);
    if (equationWindow.IsActive())
        PrintWindow(out, 'D', equationWindow);
}

void AFilter::PrintExpressions(std::ostream& out) const
{
    for (const auto& expr : expressions) {
        if (expr.Text().empty())
            break;
        out << ExpressionScopeLabel(expr.Scope()) << expr.Text() << '\n';
    }
}

} // namespace lm
