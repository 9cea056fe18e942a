#pragma once

// Tiny data files built in code: a Spartan file (the shared builder) and a DiSP message
// stream, plus a scratch folder per test.

#include "testsupport/SpartanBuilder.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace lm::test {

using lmtest::PutTime;
using lmtest::SpartanBuilder;
using lmtest::Ticks;

// Record codes of a Spartan file's records, in file order.
inline std::vector<int> SpartanCodes(const std::vector<uint8_t>& file)
{
    std::vector<int> codes;
    for (size_t at = 512; at + 32 <= file.size(); at += 32)
        codes.push_back(file[at]);
    return codes;
}

// Hit amplitudes of a Spartan file, in file order.
inline std::vector<int> SpartanHitAmplitudes(const std::vector<uint8_t>& file)
{
    std::vector<int> amps;
    for (size_t at = 512; at + 32 <= file.size(); at += 32)
        if (file[at] == 1)
            amps.push_back(file[at + 24]);
    return amps;
}

class DispBuilder {
public:
    DispBuilder()
    {
        Message({41, 0, 0, 0, 'D', 'i', 'S', 'P'});
        // Hardware setup: active data set with amplitude only, one parametric.
        Message({42, 0, 0, 0, 4, 0, 5, 1, 6, 1});
    }
    DispBuilder& Hit(double seconds, uint8_t amplitude)
    {
        std::vector<uint8_t> body(12, 0);
        body[0] = 1;
        PutTime(body, 1, Ticks(seconds));
        body[7] = 1;
        body[8] = amplitude;
        body[9] = 1; // parametric id and value
        return Message(body);
    }
    DispBuilder& Parametric(double seconds)
    {
        std::vector<uint8_t> body(10, 0);
        body[0] = 2;
        PutTime(body, 1, Ticks(seconds));
        return Message(body);
    }
    DispBuilder& TR() { return Message({173, 1, 2, 3}); }
    DispBuilder& Abort() { return Message({15}); }
    DispBuilder& Message(std::vector<uint8_t> body)
    {
        bytes_.push_back(uint8_t(body.size()));
        bytes_.push_back(uint8_t(body.size() >> 8));
        bytes_.insert(bytes_.end(), body.begin(), body.end());
        return *this;
    }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// Message ids of a DiSP file, in file order.
inline std::vector<int> DispIds(const std::vector<uint8_t>& file)
{
    std::vector<int> ids;
    for (size_t at = 0; at + 2 < file.size();) {
        const size_t length = file[at] | (file[at + 1] << 8);
        ids.push_back(file[at + 2]);
        at += 2 + length;
    }
    return ids;
}

class ScratchFolder {
public:
    ScratchFolder()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ =
            std::filesystem::temp_directory_path() / ("lmf_filter_" + std::string(info->test_suite_name()) +
                                                      "_" + info->name() + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string Path(const std::string& name) const { return (path_ / name).string(); }
    std::string Folder() const { return path_.string(); }
    void Write(const std::string& name, const std::vector<uint8_t>& bytes) const
    {
        std::ofstream out(Path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::vector<uint8_t> Read(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    std::string ReadText(const std::string& name) const
    {
        const auto b = Read(name);
        return std::string(b.begin(), b.end());
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }
    // Names of the entries in the folder (to see that nothing half-written remains).
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

} // namespace lm::test
