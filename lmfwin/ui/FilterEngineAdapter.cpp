// The window's engine: the filter set and run of the filter library, with parameter names
// resolved through the parameter table of the database.

#include "lmfwin/ui/FilterEngineAdapter.h"

#include "lmdata/AParamTable.h"
#include "lmdata/LMDatabase.h"
#include "lmfwin/filter/AFilter.h"
#include "lmfwin/filter/FilterMessages.h"
#include "lmfwin/filter/FilterRun.h"
#include "lmfwin/ui/FilterServices.h"

#include <QDir>

namespace lmf {

namespace {

std::string Std(const QString& text)
{
    return text.toStdString();
}

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

lm::FilterGrid ToGrid(const GridRows& rows, int columns)
{
    lm::FilterGrid grid;
    for (const QStringList& row : rows) {
        std::vector<std::string> cells(static_cast<size_t>(columns));
        for (int c = 0; c < columns && c < row.size(); ++c)
            cells[size_t(c)] = Std(row[c]);
        grid.push_back(cells);
    }
    if (grid.empty())
        grid = lm::EmptyGrid(columns);
    return grid;
}

GridRows FromGrid(const lm::FilterGrid& grid)
{
    GridRows rows;
    for (const std::vector<std::string>& cells : grid) {
        QStringList row;
        for (const std::string& cell : cells)
            row << Q(cell);
        rows.push_back(row);
    }
    return rows;
}

lm::FilterRunOptions ReportOptions(const FilterForm& form)
{
    lm::FilterRunOptions options;
    options.workFolder = Std(form.workFolder);
    options.makeReport = form.makeReport;
    options.commonReportFile = form.commonReportFile;
    options.reportFolder = Std(form.reportFolder);
    return options;
}

class LibraryEngine : public FilterEngine {
public:
    explicit LibraryEngine(const QString& databasePath) : databasePath_(Std(databasePath)) {}

    void Validate(const FilterForm& form) override
    {
        // Each call opens its own connection: runs happen on a worker thread.
        // Parameter names are only read: a read-only database serves.
        lm::LMDatabase db = lm::LMDatabase::OpenForReading(lm::LMDatabase::ResolvePath(databasePath_));
        lm::AParamTable params(db);
        try {
            lm::AFilter filter(ControlsOfForm(form), params);
        } catch (const lm::EFilter& fault) {
            throw FilterFault(QString::fromStdString(fault.Text()));
        }
    }

    RunOutcome Run(const FilterForm& form, const RunHooks& hooks) override
    {
        // Parameter names are only read: a read-only database serves.
        lm::LMDatabase db = lm::LMDatabase::OpenForReading(lm::LMDatabase::ResolvePath(databasePath_));
        lm::AParamTable params(db);
        lm::FilterRunOptions options = ReportOptions(form);
        if (hooks.askYesNo)
            options.confirmOverwriteSource = [&hooks](const std::string& question) {
                return hooks.askYesNo(QString::fromUtf8(lm::FilterMessage(1203)),
                                      QString::fromStdString(question));
            };
        // An existing backup: a question of its own (default No), after the one above.
        if (hooks.askYesNo)
            options.confirmReplaceBackup = [&hooks](const std::string& question) {
                return hooks.askYesNo(QString::fromUtf8(lm::FilterMessage(1203)),
                                      QString::fromStdString(question));
            };
        if (hooks.progress)
            options.progress = [&hooks](uint64_t done, uint64_t total) {
                hooks.progress(unsigned(std::min<uint64_t>(done, UINT32_MAX)),
                               unsigned(std::min<uint64_t>(total, UINT32_MAX)));
            };
        options.cancel = hooks.cancel;
        try {
            lm::AFilter filter(ControlsOfForm(form), params);
            const lm::FilterRunResult result = lm::RunFilter(filter, options);
            return {QString::fromStdString(result.resultText), QString::fromStdString(result.protocolError)};
        } catch (const lm::EFilter& fault) {
            throw FilterFault(QString::fromStdString(fault.Text()));
        }
    }

    QString ProtocolPath(const FilterForm& form) override
    {
        const QString current = form.workFolder.isEmpty() ? QDir::currentPath() : form.workFolder;
        return QString::fromStdString(lm::FilterProtocolPath(ReportOptions(form), Std(current)));
    }

private:
    std::string databasePath_;
};

} // namespace

lm::FilterControls ControlsOfForm(const FilterForm& form)
{
    lm::FilterControls c;
    c.EditFilterName = Std(form.filterName);
    c.EditSourceFile = Std(form.sourceFile);
    c.EditPostFile = Std(form.postFile);
    c.FiltrationPageActive = lm::IsFiltrationPageCaption(Std(form.activePageCaption));
    c.RadioGroupType = form.filterType;
    c.RadioGroupEventType = form.treatment;
    c.EditMPT = Std(form.mpt);
    c.EditLOCK = Std(form.lock);
    c.EditForward = Std(form.forward);
    c.EditBackWard = Std(form.back);
    c.CheckBoxTDP = form.deleteParametric;
    c.CheckBoxTR = form.deleteTR;
    c.CheckBoxEOT = form.smartEndOfTime;
    c.GridA = ToGrid(form.grids[0], lm::kMinMaxColumns);
    c.GridB = ToGrid(form.grids[1], lm::kMinMaxColumns);
    c.GridC = ToGrid(form.grids[2], lm::kMinMaxColumns);
    c.GridD = ToGrid(form.grids[3], lm::kEquationColumns);
    c.BoxDepA = form.joinAnd[0];
    c.BoxDepB = form.joinAnd[1];
    c.BoxDepC = form.joinAnd[2];
    c.BoxDepD = form.joinAnd[3];
    for (int r = 0; r < 4; ++r)
        c.GridExpressions[size_t(r)] = Std(form.expressions[size_t(r)]);
    return c;
}

FilterForm FormOfControls(const lm::FilterControls& c)
{
    FilterForm form;
    form.filterName = Q(c.EditFilterName);
    form.filterType = c.RadioGroupType;
    form.treatment = c.RadioGroupEventType;
    form.mpt = Q(c.EditMPT);
    form.lock = Q(c.EditLOCK);
    form.forward = Q(c.EditForward);
    form.back = Q(c.EditBackWard);
    form.deleteParametric = c.CheckBoxTDP;
    form.deleteTR = c.CheckBoxTR;
    form.smartEndOfTime = c.CheckBoxEOT;
    form.grids = {FromGrid(c.GridA), FromGrid(c.GridB), FromGrid(c.GridC), FromGrid(c.GridD)};
    form.joinAnd = {c.BoxDepA, c.BoxDepB, c.BoxDepC, c.BoxDepD};
    for (int r = 0; r < 4; ++r)
        form.expressions[size_t(r)] = Q(c.GridExpressions[size_t(r)]);
    return form;
}

std::unique_ptr<FilterEngine> MakeFilterEngine(const QString& databasePath)
{
    return std::make_unique<LibraryEngine>(databasePath);
}

} // namespace lmf
