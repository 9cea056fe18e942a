#pragma once

// A plain description of the post-filter window's controls. The main window, lmtool and
// the tests all fill one of these and hand it to AFilter, so a filter set is built the same
// way whoever typed it. Member names follow the window's control names.

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace lm {

// One grid: its data rows (the header row is not included), each a row of cell texts.
using FilterGrid = std::vector<std::vector<std::string>>;

inline constexpr int kMinMaxColumns = 3;   // parameter, min, max
inline constexpr int kEquationColumns = 5; // Y parameter, relation, A, X parameter, B

inline FilterGrid EmptyGrid(int columns)
{
    return FilterGrid{std::vector<std::string>(size_t(columns))};
}

struct FilterControls {
    std::string EditFilterName = "New filter";
    std::string EditSourceFile;
    std::string EditPostFile;

    // Whether the "Filtration" page is the window's active page (a run refuses otherwise).
    // IsFiltrationPageCaption() tells the page by its caption in either language.
    bool FiltrationPageActive = true;

    int RadioGroupType = 0;      // 0 "Included", 1 "Excluded"
    int RadioGroupEventType = 0; // 0 "As Hits", 1 "As Events", 2 "As Mechanic"

    // Taken as typed; read as 32-bit integers (microseconds) when the treatment uses them.
    std::string EditMPT;
    std::string EditLOCK;
    std::string EditForward;
    std::string EditBackWard;

    bool CheckBoxTDP = false; // "Delete Parametric"
    // "Delete TR"; not given for a filter stored or written without it (a run then keeps
    // the TR records, and a window keeps its own choice).
    std::optional<bool> CheckBoxTR;
    bool CheckBoxEOT = false; // "Smart End of Time" (stored only)

    // Windows A, B, C (3 columns) and D (5 columns); each grid has at least one data row.
    FilterGrid GridA = EmptyGrid(kMinMaxColumns);
    FilterGrid GridB = EmptyGrid(kMinMaxColumns);
    FilterGrid GridC = EmptyGrid(kMinMaxColumns);
    FilterGrid GridD = EmptyGrid(kEquationColumns);
    // Join with "AND" of each window.
    bool BoxDepA = false;
    bool BoxDepB = false;
    bool BoxDepC = false;
    bool BoxDepD = false;

    // The four data rows of the expression grid; the window presets the first one to "A".
    std::array<std::string, 4> GridExpressions{"A", "", "", ""};
};

// True when a page caption names the filtration page ("Filtration" or "Фильтрация").
bool IsFiltrationPageCaption(const std::string& caption);

} // namespace lm
