#pragma once

// A small INI file: sections and keys kept in the order they were read or first written,
// so that rewriting a file keeps everything the writer does not touch where it was.
// Section and key names compare without regard to case, as INI files always have.

#include <string>
#include <vector>

namespace lm {

class IniFile {
public:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    // Parses INI text. Blank lines, comment lines (";" or "#") and lines without "=" are
    // dropped; text before the first section header is ignored.
    void Parse(const std::string& text);
    std::string Text() const;

    // Reads the file at path; false (and an empty file model) when it cannot be read.
    bool Load(const std::string& path);
    // Writes through a temporary file in the target folder, renamed over the target when
    // complete; false when any step fails (the old target is then left as it was).
    bool Save(const std::string& path) const;

    bool HasSection(const std::string& section) const;
    const Section* FindSection(const std::string& section) const;
    void EraseSection(const std::string& section);

    // Value of a key, or nullptr when it is missing.
    const std::string* Find(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // A missing key or a value that does not parse as a whole yields the default.
    long long ReadInteger(const std::string& section, const std::string& key, long long def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    double ReadFloat(const std::string& section, const std::string& key, double def) const;

    // Replaces the value in place, or appends the key (and the section) when missing.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, long long value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void WriteFloat(const std::string& section, const std::string& key, double value);

    const std::vector<Section>& Sections() const { return sections_; }

private:
    Section* FindSectionMutable(const std::string& section);
    std::vector<Section> sections_;
};

// Number formats of the setup files: floats in the shortest general form with up to 15
// significant digits and "." as separator; reading also accepts "," so that files written
// with a comma separator load as well.
std::string FormatIniFloat(double value);
bool ParseIniFloat(const std::string& text, double& value);
bool ParseIniInteger(const std::string& text, long long& value);

} // namespace lm
