// Output files replace only regular files, keep the permissions of what they replace,
// and leave nothing behind: not on failure, not on a signal, and not after a killed run
// once the next run beside the same target has started.

#include "datafiles/OutputFile.h"

#include "testsupport/TempFolder.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using lmtest::ReadText;
using lmtest::TempFolder;
using lmtest::WriteText;

mode_t Mode(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

void WriteThrough(const std::string& target, const std::string& text)
{
    lm::OutputFile out(target);
    WriteText(out.TempPath(), text);
    out.Commit();
}

lm::OutputFault FaultOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const lm::EOutputFile& e) {
        EXPECT_NE(std::string(e.what()).find(e.path()), std::string::npos) << e.what();
        return e.fault();
    }
    ADD_FAILURE() << "no fault";
    return lm::OutputFault::CannotCreate;
}

} // namespace

TEST(OutputFile, OnlyRegularFilesAreReplaced)
{
    TempFolder dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_directory(dir / "folder");
    fs::create_symlink(dir / "nowhere", dir / "dangling");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = dir / "socket";
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    for (const std::string& target :
         {dir / "fifo", dir / "folder", dir / "dangling", socketPath, std::string("/dev/null")}) {
        EXPECT_EQ(FaultOf([&] { WriteThrough(target, "x"); }), lm::OutputFault::NotRegular) << target;
    }
    ::close(sock);
    struct stat st {};
    ASSERT_EQ(::lstat((dir / "fifo").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"dangling", "fifo", "folder", "socket"}));

    // A link to a regular file: the file it names gets the content, the link stays.
    WriteText(dir / "real", "old");
    fs::create_symlink(dir / "real", dir / "link");
    WriteThrough(dir / "link", "new");
    EXPECT_EQ(ReadText(dir / "real"), "new");
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
}

TEST(OutputFile, ReplacedFilesKeepTheirPermissions)
{
    TempFolder dir;
    const mode_t old = ::umask(022);
    for (mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0444), mode_t(0755)}) {
        const std::string target = dir / ("t" + std::to_string(mode));
        WriteText(target, "old");
        ASSERT_EQ(::chmod(target.c_str(), mode), 0);
        WriteThrough(target, "new");
        EXPECT_EQ(ReadText(target), "new");
        EXPECT_EQ(Mode(target), mode) << std::oct << mode;
    }
    // A new name gets the user's usual permissions.
    WriteThrough(dir / "fresh", "new");
    EXPECT_EQ(Mode(dir / "fresh"), 0644u);
    ::umask(old);
}

TEST(OutputFile, FolderFaultsSayWhatIsWrong)
{
    TempFolder dir;
    EXPECT_EQ(FaultOf([&] { WriteThrough(dir / "missing/x.dta", "x"); }), lm::OutputFault::FolderMissing);
    if (::geteuid() != 0) {
        fs::create_directory(dir / "ro");
        fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(FaultOf([&] { WriteThrough(dir / "ro/x.dta", "x"); }), lm::OutputFault::FolderNotWritable);
    }
    // A failure before the commit leaves neither a new file nor a temporary one.
    {
        lm::OutputFile out(dir / "never");
        WriteText(out.TempPath(), "half");
    }
    EXPECT_FALSE(fs::exists(dir / "never"));
    for (const std::string& name : dir.Entries())
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

TEST(OutputFile, BackupsAreNeverReplacedUnasked)
{
    TempFolder dir;
    WriteText(dir / "run.dta", "original");
    WriteText(dir / "run.BAK", "another recording's original");

    EXPECT_EQ(FaultOf([&] { lm::PlaceBackup(dir / "run.dta", dir / "run.BAK", false); }),
              lm::OutputFault::Taken);
    EXPECT_EQ(ReadText(dir / "run.BAK"), "another recording's original");

    lm::PlaceBackup(dir / "run.dta", dir / "run.BAK", true);
    EXPECT_EQ(ReadText(dir / "run.BAK"), "original");

    lm::PlaceBackup(dir / "run.dta", dir / "new.BAK", false);
    EXPECT_EQ(ReadText(dir / "new.BAK"), "original");
    EXPECT_EQ(ReadText(dir / "run.dta"), "original");

    fs::create_directory(dir / "dir.BAK");
    WriteText(dir / "dir.BAK/inside", "kept");
    EXPECT_EQ(FaultOf([&] { lm::PlaceBackup(dir / "run.dta", dir / "dir.BAK", true); }),
              lm::OutputFault::NotRegular);
    EXPECT_EQ(ReadText(dir / "dir.BAK/inside"), "kept");
}

TEST(TempFile, StaleFilesOfEndedProcessesAreRemovedOthersStay)
{
    TempFolder dir;
    const std::string target = dir / "post.dta";
    // A process that has ended: its pid is free once it is reaped.
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);

    const std::string stale = dir / (".post.dta." + std::to_string(child) + "-0123456789ab.tmp");
    const std::string mine = lm::CreateTempFileBeside(target);
    const std::string liveParent = dir / (".post.dta." + std::to_string(::getppid()) + "-0123456789ab.tmp");
    const std::string otherTarget = dir / (".other.dta." + std::to_string(child) + "-0123456789ab.tmp");
    const std::string notOurs = dir / (".post.dta." + std::to_string(child) + "-xyz.tmp");
    for (const std::string& path : {stale, liveParent, otherTarget, notOurs})
        WriteText(path, "x");

    EXPECT_EQ(lm::RemoveStaleTempFiles(target), 1);
    EXPECT_FALSE(fs::exists(stale));
    for (const std::string& path : {mine, liveParent, otherTarget, notOurs})
        EXPECT_TRUE(fs::exists(path)) << path;
}

TEST(TempFile, ASignalRemovesTheRegisteredFiles)
{
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        TempFolder dir;
        const std::string kept = dir / "kept";
        const pid_t child = ::fork();
        if (child == 0) {
            lm::TempFileBeside a(dir / "a.dta");
            lm::TempFileBeside b(dir / "b.dta");
            lm::TempFileBeside released(dir / "c.dta");
            WriteText(released.path(), "x");
            ::rename(released.path().c_str(), kept.c_str());
            released.Release();
            std::raise(signal);
            ::_exit(0); // not reached: the signal ends the process
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"kept"})) << signal;
    }
}
