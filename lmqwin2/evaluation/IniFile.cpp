#include "lmqwin2/evaluation/IniFile.h"

#include "lmqwin2/evaluation/internal/AtomicWrite.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace lm {

namespace {

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower((unsigned char)x) == std::tolower((unsigned char)y);
           });
}

std::string Trim(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && std::isspace((unsigned char)s[b]))
        ++b;
    while (e > b && std::isspace((unsigned char)s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

} // namespace

bool WriteFileAtomically(const std::string& path, const std::string& text)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target(path);
    fs::path temp = target;
    temp += ".tmp~";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(text.data(), std::streamsize(text.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

std::string FormatIniFloat(double value)
{
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    return std::string(buf, r.ptr);
}

bool ParseIniFloat(const std::string& text, double& value)
{
    std::string t = Trim(text);
    std::replace(t.begin(), t.end(), ',', '.');
    const char* b = t.data();
    const char* e = b + t.size();
    if (b != e && *b == '+')
        ++b;
    double v = 0;
    auto r = std::from_chars(b, e, v);
    // "nan" and "inf" parse as numbers but are no setting anyone wrote on purpose.
    if (r.ec != std::errc() || r.ptr != e || b == e || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool ParseIniInteger(const std::string& text, long long& value)
{
    std::string t = Trim(text);
    const char* b = t.data();
    const char* e = b + t.size();
    if (b != e && *b == '+')
        ++b;
    long long v = 0;
    auto r = std::from_chars(b, e, v);
    if (r.ec != std::errc() || r.ptr != e || b == e)
        return false;
    value = v;
    return true;
}

void IniFile::Parse(const std::string& text)
{
    sections_.clear();
    // A UTF-8 byte order mark would hide the first section header.
    const bool bom = text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    std::istringstream in(bom ? text.substr(3) : text);
    std::string raw;
    Section* current = nullptr;
    while (std::getline(in, raw)) {
        std::string line = Trim(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.front() == '[') {
            size_t close = line.find(']');
            std::string name =
                Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            current = FindSectionMutable(name);
            if (!current) {
                sections_.push_back(Section{name, {}});
                current = &sections_.back();
            }
            continue;
        }
        size_t eq = line.find('=');
        if (!current || eq == std::string::npos)
            continue;
        current->entries.push_back(Entry{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))});
    }
}

std::string IniFile::Text() const
{
    std::string out;
    for (size_t i = 0; i < sections_.size(); ++i) {
        if (i > 0)
            out += "\n";
        out += "[" + sections_[i].name + "]\n";
        for (const auto& e : sections_[i].entries)
            out += e.key + "=" + e.value + "\n";
    }
    return out;
}

bool IniFile::Load(const std::string& path)
{
    sections_.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        return false;
    Parse(text.str());
    return true;
}

bool IniFile::Save(const std::string& path) const
{
    return WriteFileAtomically(path, Text());
}

IniFile::Section* IniFile::FindSectionMutable(const std::string& section)
{
    for (auto& s : sections_)
        if (SameName(s.name, section))
            return &s;
    return nullptr;
}

const IniFile::Section* IniFile::FindSection(const std::string& section) const
{
    for (const auto& s : sections_)
        if (SameName(s.name, section))
            return &s;
    return nullptr;
}

bool IniFile::HasSection(const std::string& section) const
{
    return FindSection(section) != nullptr;
}

void IniFile::EraseSection(const std::string& section)
{
    sections_.erase(std::remove_if(sections_.begin(), sections_.end(),
                                   [&](const Section& s) { return SameName(s.name, section); }),
                    sections_.end());
}

const std::string* IniFile::Find(const std::string& section, const std::string& key) const
{
    const Section* s = FindSection(section);
    if (!s)
        return nullptr;
    for (const auto& e : s->entries)
        if (SameName(e.key, key))
            return &e.value;
    return nullptr;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& def) const
{
    const std::string* v = Find(section, key);
    return v ? *v : def;
}

long long IniFile::ReadInteger(const std::string& section, const std::string& key, long long def) const
{
    const std::string* v = Find(section, key);
    long long out = def;
    if (v && ParseIniInteger(*v, out))
        return out;
    return def;
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double IniFile::ReadFloat(const std::string& section, const std::string& key, double def) const
{
    const std::string* v = Find(section, key);
    double out = def;
    if (v && ParseIniFloat(*v, out))
        return out;
    return def;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    Section* s = FindSectionMutable(section);
    if (!s) {
        sections_.push_back(Section{section, {}});
        s = &sections_.back();
    }
    for (auto& e : s->entries) {
        if (SameName(e.key, key)) {
            e.value = value;
            return;
        }
    }
    s->entries.push_back(Entry{key, value});
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, long long value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteFloat(const std::string& section, const std::string& key, double value)
{
    WriteString(section, key, FormatIniFloat(value));
}

} // namespace lm
