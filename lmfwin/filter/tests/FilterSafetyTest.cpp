// What a run must never do: lose a recording or a backup, replace something that is not a
// regular file, loosen permissions, or take a time field it cannot hold; and what it says
// when a path is wrong.

#include "FakeParams.h"
#include "Fixtures.h"
#include "lmfwin/filter/FilterMessages.h"
#include "lmfwin/filter/FilterRun.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lm {
namespace {

using test::FakeParams;
using test::ReadBytes;
using test::ReadText;
using test::SpartanBuilder;
using test::SpartanHitAmplitudes;
using test::TempFolder;

const FakeParams kParams;

std::string Msg(int id)
{
    return FilterMessage(id);
}

// Keeps hits with amplitude 40..60.
FilterControls Band(const TempFolder& dir, const std::string& source, const std::string& dest)
{
    FilterControls c;
    c.EditSourceFile = dir / source;
    c.EditPostFile = dest.empty() ? "" : dir / dest;
    c.GridA = {{"Amplitude", "40", "60"}};
    return c;
}

struct Answers {
    bool intoSource = true;
    bool replaceBackup = false;
};

FilterRunOptions Options(const Answers& answers = {})
{
    FilterRunOptions o;
    o.makeReport = false;
    o.confirmOverwriteSource = [answers](const std::string&) { return answers.intoSource; };
    o.confirmReplaceBackup = [answers](const std::string&) { return answers.replaceBackup; };
    return o;
}

std::string RunError(const FilterControls& c, const FilterRunOptions& o = Options())
{
    try {
        AFilter filter(c, kParams, FilterNumberFormat{'.'});
        RunFilter(filter, o);
    } catch (const EFilter& e) {
        return e.what();
    }
    return "(no error)";
}

mode_t Mode(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

const std::vector<uint8_t> kRecording = SpartanBuilder().Hit(1.0, 50).Hit(1.1, 90).EndOfData().Bytes();

TEST(FilterSafety, AnExistingBackupIsReplacedOnlyWithItsOwnConsent)
{
    // run.dta and run.ald share run.BAK: the backup may be the only original of the other one.
    struct Case {
        const char* what;
        bool replaceBackup;
        bool replaced;
    };
    for (const Case& tc : {Case{"refused", false, false}, Case{"consented", true, true}}) {
        TempFolder dir;
        dir.File("run.dta", kRecording);
        dir.File("run.BAK", {7, 7, 7});
        const std::string error = RunError(Band(dir, "run.dta", ""), Options({true, tc.replaceBackup}));
        if (tc.replaced) {
            EXPECT_EQ(error, "(no error)") << tc.what;
            EXPECT_EQ(ReadBytes(dir / "run.BAK"), kRecording) << tc.what;
            EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "run.dta")), (std::vector<int>{50})) << tc.what;
        } else {
            EXPECT_EQ(error, Msg(kMsgBackupExists) + dir / "run.BAK") << tc.what;
            EXPECT_EQ(ReadBytes(dir / "run.BAK"), (std::vector<uint8_t>{7, 7, 7})) << tc.what;
            EXPECT_EQ(ReadBytes(dir / "run.dta"), kRecording) << tc.what;
        }
        EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"run.BAK", "run.dta"})) << tc.what;
    }

    // A folder under the backup name is not a file to replace, consent or not.
    TempFolder dir;
    dir.File("run.dta", kRecording);
    std::filesystem::create_directories(dir / "run.BAK");
    dir.File("run.BAK/inside", {1});
    for (bool consent : {false, true})
        EXPECT_EQ(RunError(Band(dir, "run.dta", ""), Options({true, consent})),
                  Msg(kMsgNotRegularFile) + dir / "run.BAK");
    EXPECT_EQ(ReadBytes(dir / "run.dta"), kRecording);
    EXPECT_EQ(ReadBytes(dir / "run.BAK/inside"), (std::vector<uint8_t>{1}));
}

TEST(FilterSafety, ASourceGivenByALinkKeepsItsOriginalInTheBackup)
{
    TempFolder dir;
    dir.File("real.dta", kRecording);
    std::filesystem::create_symlink(dir / "real.dta", dir / "link.dta");
    EXPECT_EQ(RunError(Band(dir, "link.dta", "")), "(no error)");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.dta"));
    EXPECT_FALSE(std::filesystem::is_symlink(dir / "link.BAK"));
    EXPECT_EQ(ReadBytes(dir / "link.BAK"), kRecording);
    EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "real.dta")), (std::vector<int>{50}));
}

TEST(FilterSafety, ASecondRunIntoTheSameSourceRefusesWhileTheFirstHoldsIt)
{
    TempFolder dir;
    dir.File("s.dta", kRecording);
    // Another run holds the source's lock.
    const int fd = ::open((dir / "s.dta").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    EXPECT_EQ(RunError(Band(dir, "s.dta", "")), Msg(kMsgSourceBusy) + dir / "s.dta");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"s.dta"}));
    // A run into another file reads the source all the same.
    EXPECT_EQ(RunError(Band(dir, "s.dta", "p.dta")), "(no error)");
    ::close(fd);
    EXPECT_EQ(RunError(Band(dir, "s.dta", "")), "(no error)");
    EXPECT_EQ(ReadBytes(dir / "s.BAK"), kRecording);
}

TEST(FilterSafety, OnlyRegularFilesAreDestinations)
{
    TempFolder dir;
    dir.File("s.dta", kRecording);
    ASSERT_EQ(::mkfifo((dir / "fifo.dta").c_str(), 0600), 0);
    std::filesystem::create_directories(dir / "folder.dta");
    for (const std::string name : {"fifo.dta", "folder.dta"})
        EXPECT_EQ(RunError(Band(dir, "s.dta", name)), Msg(kMsgNotRegularFile) + dir / name) << name;
    FilterControls toDevice = Band(dir, "s.dta", "");
    toDevice.EditPostFile = "/dev/null";
    EXPECT_EQ(RunError(toDevice), Msg(kMsgNotRegularFile) + "/dev/null");
    struct stat st {};
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"fifo.dta", "folder.dta", "s.dta"}));

    // Nor is anything but a regular file a source.
    EXPECT_EQ(RunError(Band(dir, "fifo.dta", "p.dta")), Msg(kMsgSourceNotRegular) + dir / "fifo.dta");
    EXPECT_EQ(RunError(Band(dir, "folder.dta", "p.dta")), Msg(kMsgSourceNotRegular) + dir / "folder.dta");
}

TEST(FilterSafety, PermissionsAreKept)
{
    TempFolder dir;
    const mode_t old = ::umask(022);
    // A replaced destination keeps its own bits.
    for (mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0444)}) {
        dir.File("s.dta", kRecording);
        dir.File("p.dta", {1});
        ::chmod((dir / "p.dta").c_str(), mode);
        EXPECT_EQ(RunError(Band(dir, "s.dta", "p.dta")), "(no error)") << std::oct << mode;
        EXPECT_EQ(Mode(dir / "p.dta"), mode) << std::oct << mode;
        EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "p.dta")), (std::vector<int>{50}));
    }
    // A post file in the source's place takes the source's bits; the backup is the original.
    for (mode_t mode : {mode_t(0600), mode_t(0444)}) {
        std::filesystem::remove(dir / "s.BAK");
        std::filesystem::remove(dir / "s.dta");
        dir.File("s.dta", kRecording);
        ::chmod((dir / "s.dta").c_str(), mode);
        EXPECT_EQ(RunError(Band(dir, "s.dta", "")), "(no error)") << std::oct << mode;
        EXPECT_EQ(Mode(dir / "s.dta"), mode) << std::oct << mode;
        EXPECT_EQ(Mode(dir / "s.BAK"), mode) << std::oct << mode;
        EXPECT_EQ(ReadBytes(dir / "s.BAK"), kRecording);
    }
    ::umask(old);
}

TEST(FilterSafety, PathFaultsNameThePath)
{
    TempFolder dir;
    dir.File("s.dta", kRecording);
    EXPECT_EQ(RunError(Band(dir, "s.dta", "no/p.dta")), Msg(kMsgDestinationFolderMissing) + dir / "no");
    if (::geteuid() != 0) {
        std::filesystem::create_directories(dir / "ro");
        ::chmod((dir / "ro").c_str(), 0555);
        EXPECT_EQ(RunError(Band(dir, "s.dta", "ro/p.dta")),
                  Msg(kMsgDestinationFolderNotWritable) + dir / "ro");
        ::chmod((dir / "ro").c_str(), 0755);
    }
    for (const std::string& name : dir.Entries())
        EXPECT_TRUE(name == "s.dta" || name == "ro") << name;
}

TEST(FilterSafety, StaleTemporaryFilesOfKilledRunsAreRemoved)
{
    TempFolder dir;
    dir.File("s.dta", kRecording);
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string suffix = std::to_string(gone) + "-00000000abcd.tmp";
    dir.File(".p.dta." + suffix, {1});
    dir.File(".s.dta." + suffix, {1});
    dir.File(".s.BAK." + suffix, {1});
    dir.File(".s.dta." + std::to_string(::getppid()) + "-00000000abcd.tmp", {1}); // still running
    EXPECT_EQ(RunError(Band(dir, "s.dta", "p.dta")), "(no error)");
    EXPECT_FALSE(std::filesystem::exists(dir / ".p.dta." + suffix));
    EXPECT_TRUE(std::filesystem::exists(dir / ".s.dta." + suffix)); // another target's, untouched by this run
    EXPECT_EQ(RunError(Band(dir, "s.dta", "")), "(no error)");
    EXPECT_FALSE(std::filesystem::exists(dir / ".s.dta." + suffix));
    EXPECT_FALSE(std::filesystem::exists(dir / ".s.BAK." + suffix));
    EXPECT_TRUE(
        std::filesystem::exists(dir / (".s.dta." + std::to_string(::getppid()) + "-00000000abcd.tmp")));
}

TEST(FilterSafety, TimeFieldsOutOfRangeAreRefusedNamingTheField)
{
    struct Case {
        int treatment;
        const char* first;
        const char* second;
        int message;
    };
    // MPT/LOCK for events, Forward/Back for mechanic.
    const Case cases[] = {
        {1, "-1", "10", kMsgBadMpt},
        {1, "-5", "10", kMsgBadMpt},
        {1, "10", "-5", kMsgBadLock},
        {1, "10", "-1", kMsgBadLock},
        {1, "2.5", "10", kMsgBadMpt},
        {1, "10", "4294967295", kMsgBadLock},
        {1, "2147483648", "1", kMsgBadMpt},
        {1, "1e3", "2000", kMsgBadMpt},
        {2, "-1", "0", kMsgBadForward},
        {2, "0", "-1", kMsgBadBack},
        {2, "99999999999", "0", kMsgBadForward},
        {2, "1", "0.5", kMsgBadBack},
        {1, "abc", "10", 800},
        {2, "1", "", 801},
        {1, "20", "10", 802},
    };
    for (const Case& tc : cases) {
        FilterControls c;
        c.RadioGroupEventType = tc.treatment;
        (tc.treatment == 1 ? c.EditMPT : c.EditForward) = tc.first;
        (tc.treatment == 1 ? c.EditLOCK : c.EditBackWard) = tc.second;
        std::string error = "(no error)";
        try {
            AFilter filter(c, kParams, FilterNumberFormat{'.'});
        } catch (const EFilter& e) {
            error = e.what();
        }
        EXPECT_EQ(error, Msg(tc.message)) << tc.first << " " << tc.second;
    }
}

TEST(FilterSafety, OwnMessagesInBothLanguages)
{
    const std::pair<int, const char*> named[] = {
        {kMsgBadMpt, "MPT"}, {kMsgBadLock, "LOCK"}, {kMsgBadForward, "Forward"}, {kMsgBadBack, "Back"}};
    ASSERT_EQ(FilterMessageLanguage(), MessageLanguage::Russian);
    const std::string russianForward = Msg(kMsgBadForward);
    EXPECT_NE(russianForward.find("Вперед"), std::string::npos);
    SetFilterMessageLanguage(MessageLanguage::English);
    for (const auto& [id, field] : named)
        EXPECT_EQ(Msg(id).rfind(field, 0), 0u) << id << ": " << Msg(id);
    EXPECT_EQ(Msg(802), "MPT не может быть больше LOCKOUT"); // shipped texts stay as they are
    for (int id = kMsgInactiveWindow; id <= kMsgDestinationFolderNotWritable; ++id)
        EXPECT_NE(Msg(id), "") << id;
    SetFilterMessageLanguage(MessageLanguage::Russian);
    EXPECT_EQ(Msg(kMsgBadForward), russianForward);
}

} // namespace
} // namespace lm
