#pragma once

// What the window's controls hold, as plain values: the input of a filtration run and of
// the filter database commands. The window fills it; the engine and the store read it.

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace lmf {

// One window grid: data rows in order, each with one text per column.
using GridRows = std::vector<QStringList>;

struct FilterForm {
    QString filterName;
    QString sourceFile;
    QString postFile;
    // The active page, told by its caption (a run needs the "Filtration" page).
    QString activePageCaption;
    int filterType = 0; // 0 Included, 1 Excluded
    bool deleteParametric = false;
    std::optional<bool> deleteTR; // not given: a stored filter without the option
    bool smartEndOfTime = false;
    int treatment = 0; // 0 hits, 1 events, 2 mechanic
    QString mpt, lock, forward, back;
    std::array<GridRows, 4> grids; // A, B, C (3 columns), D (5 columns)
    std::array<bool, 4> joinAnd{};
    std::array<QString, 4> expressions;

    // Service page: where the run's protocol entry goes.
    bool makeReport = true;
    bool commonReportFile = false;
    QString reportFolder;
    QString workFolder;
};

} // namespace lmf
