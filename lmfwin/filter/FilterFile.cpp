#include "lmfwin/filter/FilterFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace lm {

namespace {

std::string Trim(const std::string& s)
{
    size_t b = 0;
    size_t e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return s.substr(b, e - b);
}

[[noreturn]] void Fail(int line, const std::string& what)
{
    throw EFilterFile("filter file, line " + std::to_string(line) + ": " + what);
}

bool ReadFlag(const std::string& value, int line, const std::string& key)
{
    const std::string v = Trim(value);
    if (v == "0")
        return false;
    if (v == "1")
        return true;
    Fail(line, key + " must be 0 or 1, not '" + value + "'");
}

std::vector<std::string> SplitCells(const std::string& value)
{
    std::vector<std::string> cells;
    size_t start = 0;
    for (;;) {
        const size_t bar = value.find('|', start);
        cells.push_back(value.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            return cells;
        start = bar + 1;
    }
}

} // namespace

FilterControls ReadFilterFile(const std::string& text)
{
    FilterControls controls;
    controls.GridExpressions = {"", "", "", ""};
    FilterGrid* grids[4] = {&controls.GridA, &controls.GridB, &controls.GridC, &controls.GridD};
    bool* joins[4] = {&controls.BoxDepA, &controls.BoxDepB, &controls.BoxDepC, &controls.BoxDepD};
    bool gridSeen[4] = {false, false, false, false};

    enum class Section { None, Filter, Window, Expressions, Unknown };
    Section section = Section::None;
    int window = 0;

    std::istringstream in(text);
    std::string raw;
    int lineNumber = 0;
    while (std::getline(in, raw)) {
        ++lineNumber;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        if (lineNumber == 1 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0)
            raw.erase(0, 3);
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']')
                Fail(lineNumber, "unclosed section name");
            const std::string name = Trim(line.substr(1, line.size() - 2));
            if (name == "Filter") {
                section = Section::Filter;
            } else if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'D') {
                section = Section::Window;
                window = name[0] - 'A';
                if (!gridSeen[window])
                    grids[window]->clear();
                gridSeen[window] = true;
            } else if (name == "Expressions") {
                section = Section::Expressions;
            } else {
                Fail(lineNumber, "unknown section [" + name + "]");
            }
            continue;
        }
        const size_t eq = raw.find('=');
        if (eq == std::string::npos)
            Fail(lineNumber, "expected key=value");
        const std::string key = Trim(raw.substr(0, eq));
        const std::string value = raw.substr(eq + 1);
        switch (section) {
        case Section::Filter:
            if (key == "Name") {
                controls.EditFilterName = value;
            } else if (key == "Type") {
                const std::string v = Trim(value);
                if (v == "Included")
                    controls.RadioGroupType = 0;
                else if (v == "Excluded")
                    controls.RadioGroupType = 1;
                else
                    Fail(lineNumber, "Type must be Included or Excluded");
            } else if (key == "Treatment") {
                const std::string v = Trim(value);
                if (v == "Hits")
                    controls.RadioGroupEventType = 0;
                else if (v == "Events")
                    controls.RadioGroupEventType = 1;
                else if (v == "Mechanic")
                    controls.RadioGroupEventType = 2;
                else
                    Fail(lineNumber, "Treatment must be Hits, Events or Mechanic");
            } else if (key == "MPT") {
                controls.EditMPT = value;
            } else if (key == "LOCK") {
                controls.EditLOCK = value;
            } else if (key == "Forward") {
                controls.EditForward = value;
            } else if (key == "Back") {
                controls.EditBackWard = value;
            } else if (key == "DeleteParametric") {
                controls.CheckBoxTDP = ReadFlag(value, lineNumber, key);
            } else if (key == "DeleteTR") {
                controls.CheckBoxTR = ReadFlag(value, lineNumber, key);
            } else if (key == "SmartEndOfTime") {
                controls.CheckBoxEOT = ReadFlag(value, lineNumber, key);
            } else {
                Fail(lineNumber, "unknown key '" + key + "' in [Filter]");
            }
            break;
        case Section::Window: {
            if (key == "And") {
                *joins[window] = ReadFlag(value, lineNumber, key);
                break;
            }
            std::vector<std::string> cells = SplitCells(value);
            const size_t columns = window == 3 ? kEquationColumns : kMinMaxColumns;
            if (cells.size() != columns)
                Fail(lineNumber, "a row of window " + std::string(1, char('A' + window)) + " has " +
                                     std::to_string(columns) + " cells, not " + std::to_string(cells.size()));
            grids[window]->push_back(std::move(cells));
            break;
        }
        case Section::Expressions: {
            if (key.size() != 1 || key[0] < '1' || key[0] > '4')
                Fail(lineNumber, "expression rows are 1 to 4");
            controls.GridExpressions[size_t(key[0] - '1')] = value;
            break;
        }
        default:
            Fail(lineNumber, "key outside a section");
        }
    }
    for (int w = 0; w < 4; ++w)
        if (grids[w]->empty())
            *grids[w] = EmptyGrid(w == 3 ? kEquationColumns : kMinMaxColumns);
    return controls;
}

FilterControls LoadFilterFile(const std::string& path)
{
    // Only a regular file of sensible size: a device or a FIFO could be read forever, a
    // folder would read as an empty filter.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        throw EFilterFile("cannot open filter file '" + path + "': " + std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        throw EFilterFile("filter file '" + path + "' is a folder, not a file");
    if (!S_ISREG(st.st_mode))
        throw EFilterFile("filter file '" + path + "' is not a regular file");
    if (uint64_t(st.st_size) > kMaxFilterFileSize)
        throw EFilterFile("filter file '" + path + "' is larger than " +
                          std::to_string(kMaxFilterFileSize >> 20) + " MiB");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EFilterFile("cannot open filter file '" + path + "': " + std::strerror(errno));
    // Read no further than the bound even if the file grows meanwhile.
    std::string text;
    char chunk[1 << 16];
    while (text.size() <= kMaxFilterFileSize && in.read(chunk, sizeof chunk).gcount() > 0)
        text.append(chunk, size_t(in.gcount()));
    if (in.bad())
        throw EFilterFile("cannot read filter file '" + path + "'");
    if (text.size() > kMaxFilterFileSize)
        throw EFilterFile("filter file '" + path + "' is larger than " +
                          std::to_string(kMaxFilterFileSize >> 20) + " MiB");
    return ReadFilterFile(text);
}

std::string WriteFilterFile(const FilterControls& controls)
{
    std::ostringstream out;
    static const char* const kTreatments[] = {"Hits", "Events", "Mechanic"};
    const int treatment = controls.RadioGroupEventType >= 0 && controls.RadioGroupEventType <= 2
                              ? controls.RadioGroupEventType
                              : 0;
    out << "[Filter]\n";
    out << "Name=" << controls.EditFilterName << '\n';
    out << "Type=" << (controls.RadioGroupType != 0 ? "Excluded" : "Included") << '\n';
    out << "Treatment=" << kTreatments[treatment] << '\n';
    out << "MPT=" << controls.EditMPT << '\n';
    out << "LOCK=" << controls.EditLOCK << '\n';
    out << "Forward=" << controls.EditForward << '\n';
    out << "Back=" << controls.EditBackWard << '\n';
    out << "DeleteParametric=" << int(controls.CheckBoxTDP) << '\n';
    if (controls.CheckBoxTR) // a filter stored without the option does not claim one
        out << "DeleteTR=" << int(*controls.CheckBoxTR) << '\n';
    out << "SmartEndOfTime=" << int(controls.CheckBoxEOT) << '\n';
    const FilterGrid* grids[4] = {&controls.GridA, &controls.GridB, &controls.GridC, &controls.GridD};
    const bool joins[4] = {controls.BoxDepA, controls.BoxDepB, controls.BoxDepC, controls.BoxDepD};
    for (int w = 0; w < 4; ++w) {
        const size_t columns = w == 3 ? kEquationColumns : kMinMaxColumns;
        out << '\n' << '[' << char('A' + w) << "]\n";
        out << "And=" << int(joins[w]) << '\n';
        int row = 1;
        for (const auto& cells : *grids[w]) {
            out << row++ << '=';
            for (size_t c = 0; c < columns; ++c) {
                if (c)
                    out << '|';
                if (c < cells.size())
                    out << cells[c];
            }
            out << '\n';
        }
    }
    out << "\n[Expressions]\n";
    for (int i = 0; i < 4; ++i)
        if (!controls.GridExpressions[size_t(i)].empty())
            out << i + 1 << '=' << controls.GridExpressions[size_t(i)] << '\n';
    return out.str();
}

} // namespace lm
