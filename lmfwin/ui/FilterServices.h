#pragma once

// What the window needs from the filter engine and the filter database. The window talks
// only to these interfaces, so its tests can run it against fakes and the program against
// the real libraries (see MakeFilterEngine / MakeFilterStore).

#include "lmfwin/ui/FilterForm.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

namespace lmf {

// A fault to show in an error box with caption 1200; the text is the user's message.
class FilterFault : public std::runtime_error {
public:
    explicit FilterFault(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

struct RunHooks {
    // Progress of the run; called from the thread that runs it.
    std::function<void(unsigned position, unsigned maximum)> progress;
    // A yes/no question with a warning icon (caption, text); answers true for Yes.
    std::function<bool(const QString& caption, const QString& text)> askYesNo;
    // Set from another thread to stop the run at the next record.
    const std::atomic<bool>* cancel = nullptr;
};

struct RunOutcome {
    QString resultText;    // the result box (caption 1201)
    QString protocolError; // a report that could not be written; shown after the result
};

class FilterEngine {
public:
    virtual ~FilterEngine() = default;
    // Builds the filter set purely to check the input; throws FilterFault on the first fault.
    virtual void Validate(const FilterForm& form) = 0;
    // Runs the filtration; throws FilterFault on a fault. May be called on a worker thread.
    virtual RunOutcome Run(const FilterForm& form, const RunHooks& hooks) = 0;
    // The protocol file of the run with these report settings.
    virtual QString ProtocolPath(const FilterForm& form) = 0;
};

struct StoredFilterRow {
    int fid = 0;
    QDate date;
    QString name;
};

class FilterStore {
public:
    virtual ~FilterStore() = default;
    virtual QList<StoredFilterRow> List() = 0;
    // The stored filter in the shape of the window; nothing when the FID has no row.
    virtual std::optional<FilterForm> Load(int fid) = 0;
    // Stores a new filter and answers its FID.
    virtual int Insert(const FilterForm& form) = 0;
    // Overwrites a stored filter; false (and nothing stored) when its row is gone.
    virtual bool Update(int fid, const FilterForm& form) = 0;
    // Deletes a filter with its records and expressions.
    virtual void Delete(int fid) = 0;
    // Parameter names linked to an acquisition system, ordered by name.
    virtual QStringList ParamNames(const QString& systemName) = 0;
};

// The real engine; it opens the parameter table of the database at `databasePath` (an
// empty path: the default database) for each validation or run.
std::unique_ptr<FilterEngine> MakeFilterEngine(const QString& databasePath = QString());

} // namespace lmf
