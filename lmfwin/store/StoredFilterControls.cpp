#include "lmfwin/store/StoredFilterControls.h"

#include "lmfwin/filter/LocaleText.h"

#include <algorithm>
#include <charconv>

namespace lm {

namespace {

char Separator(FilterNumberFormat format)
{
    return format.decimalSeparator ? format.decimalSeparator : UserDecimalSeparator();
}

// A stored number as the grids show it: 15 significant digits, which gives back what was
// typed; 17 when 15 would not read back as the same value. No locale: the separator is ours.
std::string NumberText(double value, char separator)
{
    char buffer[64];
    std::string text;
    for (int precision : {15, 17}) {
        const auto [end, ec] =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
        text = ec == std::errc() ? std::string(buffer, end) : std::string("0");
        double back = 0;
        const auto [readEnd, readEc] = std::from_chars(text.data(), text.data() + text.size(), back);
        if (readEc == std::errc() && readEnd == text.data() + text.size() && back == value)
            break;
    }
    if (separator != '.')
        std::replace(text.begin(), text.end(), '.', separator);
    return text;
}

std::string IntegerText(const std::optional<int32_t>& value)
{
    return value ? std::to_string(*value) : std::string();
}

std::optional<int32_t> IntegerOf(const std::string& text)
{
    uint32_t value = 0;
    if (ParseFilterMicroseconds(text, value) != TimeFieldText::Valid)
        return std::nullopt;
    return int32_t(value); // at most kMaxFilterMicroseconds: fits the signed field
}

double NumberOf(const std::string& text, char separator)
{
    double value = 0;
    if (!ParseFilterNumber(text, separator, value))
        return 0;
    return value;
}

// A cell that may be missing from a short row reads as empty.
const std::string& Cell(const std::vector<std::string>& row, size_t column)
{
    static const std::string empty;
    return column < row.size() ? row[column] : empty;
}

// A grid from stored rows: as many data rows as rows stored (at least one), more when a
// record number lies beyond them; each row at its record number.
template <typename Row, typename Cells>
FilterGrid GridOf(const std::vector<const Row*>& rows, int columns, Cells cells)
{
    int count = std::max<int>(1, int(std::min<size_t>(rows.size(), size_t(INT32_MAX))));
    for (const Row* row : rows)
        if (row->recNum <= kMaxLoadedGridRows)
            count = std::max(count, int(row->recNum));
    const std::vector<std::string> emptyRow(static_cast<size_t>(columns));
    FilterGrid grid(static_cast<size_t>(count), emptyRow);
    for (const Row* row : rows)
        if (row->recNum >= 1 && row->recNum <= count)
            grid[size_t(row->recNum - 1)] = cells(*row);
    return grid;
}

// A window is stored only when its first row names a parameter.
bool WindowStored(const FilterGrid& grid)
{
    return !grid.empty() && !Cell(grid[0], 0).empty();
}

} // namespace

FilterControls ControlsFromStoredFilter(const StoredFilter& stored, FilterNumberFormat format)
{
    const char separator = Separator(format);
    const FilterHeader& h = stored.header;
    FilterControls c;
    c.EditFilterName = h.name;
    c.RadioGroupEventType = h.treatmentMethod;
    c.RadioGroupType = h.includeFilter;
    c.EditMPT = IntegerText(h.mpt);
    c.EditLOCK = IntegerText(h.lock);
    c.EditForward = IntegerText(h.forward);
    c.EditBackWard = IntegerText(h.back);
    c.CheckBoxTDP = h.deleteTDP;
    c.CheckBoxEOT = h.eotType;
    c.CheckBoxTR = h.deleteTR; // empty when stored without it
    c.BoxDepA = h.aDep;
    c.BoxDepB = h.bDep;
    c.BoxDepC = h.cDep;
    c.BoxDepD = h.dDep;

    FilterGrid* windows[3] = {&c.GridA, &c.GridB, &c.GridC};
    for (int w = 0; w < 3; ++w) {
        std::vector<const MinMaxRow*> rows;
        for (const MinMaxRow& row : stored.minMax)
            if (row.window == w)
                rows.push_back(&row);
        *windows[w] = GridOf(rows, kMinMaxColumns, [separator](const MinMaxRow& row) {
            return std::vector<std::string>{row.param, NumberText(row.min, separator),
                                            NumberText(row.max, separator)};
        });
    }
    std::vector<const EquationRow*> equations;
    for (const EquationRow& row : stored.equations)
        if (row.window == 0)
            equations.push_back(&row);
    c.GridD = GridOf(equations, kEquationColumns, [separator](const EquationRow& row) {
        return std::vector<std::string>{row.yParam, row.token, NumberText(row.a, separator), row.xParam,
                                        NumberText(row.b, separator)};
    });

    // Loading clears the expression rows, the preset "A" included.
    c.GridExpressions = {"", "", "", ""};
    for (const ExpressionRow& row : stored.expressions)
        if (row.recNum >= 1 && row.recNum <= 4)
            c.GridExpressions[size_t(row.recNum - 1)] = row.expression;
    return c;
}

StoredFilter StoredFilterFromControls(const FilterControls& c, FilterNumberFormat format)
{
    const char separator = Separator(format);
    StoredFilter stored;
    FilterHeader& h = stored.header;
    h.name = c.EditFilterName;
    h.deleteTDP = c.CheckBoxTDP;
    h.eotType = c.CheckBoxEOT;
    h.deleteTR = c.CheckBoxTR;
    // The filter reads any non-zero type as "Excluded"; the table holds the item index.
    h.includeFilter = int16_t(c.RadioGroupType != 0 ? 1 : 0);
    h.treatmentMethod = int16_t(c.RadioGroupEventType);
    // The event and mechanic values belong to their treatment only.
    if (c.RadioGroupEventType == kTreatmentEvents) {
        h.mpt = IntegerOf(c.EditMPT);
        h.lock = IntegerOf(c.EditLOCK);
    } else if (c.RadioGroupEventType == kTreatmentMechanic) {
        h.forward = IntegerOf(c.EditForward);
        h.back = IntegerOf(c.EditBackWard);
    }
    h.aDep = c.BoxDepA;
    h.bDep = c.BoxDepB;
    h.cDep = c.BoxDepC;
    h.dDep = c.BoxDepD;

    const FilterGrid* windows[3] = {&c.GridA, &c.GridB, &c.GridC};
    for (int w = 0; w < 3; ++w) {
        const FilterGrid& grid = *windows[w];
        if (!WindowStored(grid))
            continue;
        for (size_t r = 0; r < grid.size(); ++r) {
            MinMaxRow row;
            row.window = w;
            row.recNum = int32_t(r + 1);
            row.param = Cell(grid[r], 0);
            row.min = NumberOf(Cell(grid[r], 1), separator);
            row.max = NumberOf(Cell(grid[r], 2), separator);
            stored.minMax.push_back(row);
        }
    }
    if (WindowStored(c.GridD)) {
        for (size_t r = 0; r < c.GridD.size(); ++r) {
            const std::vector<std::string>& cells = c.GridD[r];
            EquationRow row;
            row.recNum = int32_t(r + 1);
            row.yParam = Cell(cells, 0);
            row.token = Cell(cells, 1);
            row.a = NumberOf(Cell(cells, 2), separator);
            row.xParam = Cell(cells, 3);
            row.b = NumberOf(Cell(cells, 4), separator);
            stored.equations.push_back(row);
        }
    }
    for (int i = 0; i < 4; ++i)
        if (!c.GridExpressions[size_t(i)].empty())
            stored.expressions.push_back({int32_t(i + 1), c.GridExpressions[size_t(i)]});
    return stored;
}

} // namespace lm
