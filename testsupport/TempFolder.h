#pragma once

// A fresh folder per test, unique across test programs running at the same time, removed
// with everything in it (whatever permissions a test left) when the object goes.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace lmtest {

class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "lm-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string Path() const { return path_.string(); }
    // The path of a file in the folder.
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    // Writes a file in the folder and answers its path.
    std::string File(const std::string& name, const std::vector<uint8_t>& bytes) const;
    std::string TextFile(const std::string& name, const std::string& text) const;
    // Names of the entries in the folder, sorted (to see that nothing half-written remains).
    std::vector<std::string> Entries() const;

private:
    std::filesystem::path path_;
};

std::string ReadText(const std::string& path);
std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);

} // namespace lmtest
