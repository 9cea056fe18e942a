#pragma once

// The filter set of the post-filter: four filter windows (A-C of min/max records, D of
// equation records), four expressions over the window letters, the filter type and the
// treatment of the data set. Building an AFilter validates everything the user typed; the
// first fault throws an EFilter carrying the numbered message.

#include "datafiles/AWDiskFile.h"
#include "datafiles/ParamLookup.h"
#include "lmfwin/filter/AFilterExpr.h"
#include "lmfwin/filter/FilterControls.h"

#include <array>
#include <cstdint>
#include <exception>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace lm {

// Faults of the post-filter, carrying the text shown to the user.
class EFilter : public std::exception {
public:
    explicit EFilter(int messageId);
    EFilter(int messageId, std::string text) : id_(messageId), text_(std::move(text)) {}
    const char* what() const noexcept override { return text_.c_str(); }
    const std::string& Text() const { return text_; }
    // The number of the message the text was built from.
    int MessageId() const { return id_; }
    // Puts `prefix` in front of the text (the window prefix of row and record faults).
    void Prefix(const std::string& prefix) { text_.insert(0, prefix); }
    void Append(const std::string& text) { text_ += text; }

private:
    int id_;
    std::string text_;
};

// A fault of a whole grid row or of one of its cells.
class EFRowError : public EFilter {
public:
    using EFilter::EFilter;
};

// A fault in the content of a record.
class EFRecError : public EFRowError {
public:
    using EFRowError::EFRowError;
};

// How decimal numbers in the grids are read.
struct FilterNumberFormat {
    // The decimal separator; 0 takes the one of the user's locale.
    char decimalSeparator = 0;
};

// Common base of the two record kinds: both look parameter names up in the table.
class AFilterRec {
public:
    explicit AFilterRec(const ParamLookup& params) : params_(&params) {}

protected:
    const ParamLookup* params_;
};

// One row of window A, B or C: a parameter between two inclusive limits.
class AMinMaxFilterRec : public AFilterRec {
public:
    // Builds the record from row `row` (1-based) of a grid; throws EFRecError.
    AMinMaxFilterRec(const ParamLookup& params, const std::vector<std::string>& cells, int row,
                     char separator);
    bool Passes(AWDiskFile& reader) const;
    void Print(std::ostream& out) const;

    HitParam parameter = 0;
    double minimum = 0;
    double maximum = 0;
};

// Relations of an equation record, in the order of their texts "=", ">", "<", ">=", "<=".
enum FilterRelation { frEqual = 0, frGreater, frLess, frGreaterEqual, frLessEqual, frInvalid };

// One row of window D: Y relation (A * X + B).
class AEquationFilterRec : public AFilterRec {
public:
    AEquationFilterRec(const ParamLookup& params, const std::vector<std::string>& cells, int row,
                       char separator);
    bool Passes(AWDiskFile& reader) const;
    void Print(std::ostream& out) const;

    HitParam xParameter = 0;
    HitParam yParameter = 0;
    double a = 0;
    double b = 0;
    int relation = frInvalid;
};

// One filter window; records == 0 means the window is inactive.
class AFilterWin {
public:
    int rows = 0;
    int records = 0;
    bool joinWithAnd = false;
    bool IsActive() const { return records > 0; }
};

class AMinMaxFilterWin : public AFilterWin {
public:
    bool Passes(AWDiskFile& reader) const;
    std::vector<AMinMaxFilterRec> recs;
};

class AEquationFilterWin : public AFilterWin {
public:
    bool Passes(AWDiskFile& reader) const;
    std::vector<AEquationFilterRec> recs;
};

enum FilterTreatment { ftHits = 0, ftEvents = 1, ftMechanic = 2 };

// The parameter lookup given to the constructor must outlive the filter set (the protocol
// lines look names up).
class AFilter {
public:
    // Builds and validates the filter set from the window's controls, in the window's
    // order of checks; throws EFilter (or EFRowError / EFRecError) on the first fault.
    AFilter(const FilterControls& controls, const ParamLookup& params, FilterNumberFormat format = {});
    AFilter(const AFilter&) = delete;
    AFilter& operator=(const AFilter&) = delete;

    // Whether the hit the reader is positioned on goes into the post file.
    bool Keep(AWDiskFile& reader) const { return Match(reader) != excluded; }
    // Whether the hit satisfies the filter (the first expression over the active windows).
    bool Match(AWDiskFile& reader) const;

    // The window headings and record lines of the protocol: every active window, A to D
    // (an inactive window among them does not hide the ones after it).
    void PrintWindows(std::ostream& out) const;
    // The expression lines of the protocol, up to the first empty row.
    void PrintExpressions(std::ostream& out) const;

    bool filtrationPageActive = false;
    bool excluded = false;
    int treatment = ftHits;
    bool deleteParametric = false;
    bool deleteTR = false; // not given (a filter stored without it): not deleted
    bool smartEndOfTime = false;
    uint32_t mpt = 0;     // us
    uint32_t lock = 0;    // us
    uint32_t forward = 0; // us
    uint32_t back = 0;    // us
    std::string filterName;
    std::string sourceFile;
    std::string destinationFile;
    std::array<std::unique_ptr<Tree>, 4> trees;
    std::array<AMinMaxFilterWin, 3> minMaxWindows;
    AEquationFilterWin equationWindow;
    std::array<AFilterExpr, 4> expressions;

private:
    const ParamLookup& params_;
    // Active windows, A-D order, for the per-hit test.
    unsigned activeMask_ = 0;
};

// Parameter name for the protocol: the table's name, or message 808 when the id has none.
std::string FilterParamName(const ParamLookup& params, HitParam id);

// Reads a decimal number as the grids do (blanks around it allowed, `separator` as the
// decimal separator, an optional exponent). No value when the text is not a number.
bool ParseFilterNumber(const std::string& text, char separator, double& value);
// How the text of an MPT, LOCK, Forward or Back field reads.
enum class TimeFieldText {
    Valid,      // a whole number of microseconds from 0 to kMaxFilterMicroseconds
    NotANumber, // not a number at all (messages 800, 801)
    OutOfRange, // a number, but negative, not whole or too large (the field's own message)
};
// Reads the field (blanks around the number allowed); sets `value` only when Valid.
TimeFieldText ParseFilterMicroseconds(const std::string& text, uint32_t& value);

} // namespace lm
