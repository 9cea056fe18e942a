// The filtration run on tiny files built in code.

#include "lmfwin/filter/FilterRun.h"

#include "FakeParams.h"
#include "Fixtures.h"
#include "lmfwin/filter/FilterMessages.h"

#include <atomic>
#include <gtest/gtest.h>
#include <sstream>

namespace lm {
namespace {

using test::DispBuilder;
using test::DispIds;
using test::FakeParams;
using test::ReadBytes;
using test::ReadText;
using test::SpartanBuilder;
using test::SpartanCodes;
using test::SpartanHitAmplitudes;
using test::TempFolder;

const FakeParams kParams;

std::string Msg(int id)
{
    return FilterMessage(id);
}

// Keeps hits with amplitude 40..60.
FilterControls AmplitudeFilter(const TempFolder& dir, const std::string& source, const std::string& dest)
{
    FilterControls c;
    c.EditFilterName = "Amplitude band";
    c.EditSourceFile = dir / source;
    c.EditPostFile = dest.empty() ? "" : dir / dest;
    c.GridA = {{"Amplitude", "40", "60"}};
    return c;
}

FilterRunOptions NoReport()
{
    FilterRunOptions o;
    o.makeReport = false;
    return o;
}

FilterRunResult RunWith(const FilterControls& c, const FilterRunOptions& o = NoReport())
{
    AFilter filter(c, kParams, FilterNumberFormat{'.'});
    return RunFilter(filter, o);
}

std::string RunError(const FilterControls& c, const FilterRunOptions& o = NoReport())
{
    try {
        RunWith(c, o);
    } catch (const EFilter& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(FilterRun, AsHitsKeepsMatchingHitsAndOtherKnownRecords)
{
    TempFolder dir;
    dir.File("s.dta", SpartanBuilder()
                          .Hit(1.0, 50)
                          .Parametric(1.1)
                          .Hit(1.2, 70)
                          .Comment()
                          .Unknown()
                          .Hit(1.3, 40)
                          .EndOfData()
                          .Hit(1.4, 50)
                          .Bytes());
    const FilterRunResult r = RunWith(AmplitudeFilter(dir, "s.dta", "p.dta"));
    const auto post = ReadBytes(dir / "p.dta");
    // The unknown record goes, the end-of-data record is copied, nothing after it.
    EXPECT_EQ(SpartanCodes(post), (std::vector<int>{1, 2, 7, 1, 0}));
    EXPECT_EQ(SpartanHitAmplitudes(post), (std::vector<int>{50, 40}));
    EXPECT_TRUE(r.endOfDataFound);
    EXPECT_EQ(r.total, 6u); // counted up to the end-of-data record; the unknown code is not counted
    EXPECT_EQ(r.written, 5u);
    EXPECT_EQ(r.resultText, "Results :  \tФильтрация успешно завершена.\n"
                            "Handling\t    6 records\n"
                            "Accepted\t    5 records\n"
                            "Deleted\t    1 records\n");
    // The header is rewritten with the count of records other than end of data.
    EXPECT_EQ(post[0], 4);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"p.dta", "s.dta"}));
}

TEST(FilterRun, ExcludedDropsTheMatchingHits)
{
    TempFolder dir;
    dir.File("s.dta", SpartanBuilder().Hit(1.0, 50).Hit(1.2, 70).EndOfData().Bytes());
    FilterControls c = AmplitudeFilter(dir, "s.dta", "p.dta");
    c.RadioGroupType = 1;
    RunWith(c);
    EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "p.dta")), (std::vector<int>{70}));
}

TEST(FilterRun, WithoutEndOfDataReadsToTheEnd)
{
    TempFolder dir;
    dir.File("s.dta", SpartanBuilder().Hit(1.0, 50).Hit(1.2, 50).Bytes());
    const FilterRunResult r = RunWith(AmplitudeFilter(dir, "s.dta", "p.dta"));
    EXPECT_FALSE(r.endOfDataFound);
    EXPECT_EQ(r.written, 2u);
    EXPECT_EQ(r.resultText.substr(0, r.resultText.find("Handling")), "Results :  \t" + Msg(1007) + "\n");
}

TEST(FilterRun, DispRecordsAfterTheAbortCountAsDeleted)
{
    TempFolder dir;
    dir.File("d.dta", DispBuilder().Hit(1.0, 50).Abort().Hit(2.0, 50).Bytes());
    const FilterRunResult r = RunWith(AmplitudeFilter(dir, "d.dta", "p.dta"));
    EXPECT_EQ(DispIds(ReadBytes(dir / "p.dta")), (std::vector<int>{41, 42, 1, 15}));
    EXPECT_TRUE(r.endOfDataFound);
    EXPECT_EQ(r.total, 5u);
    EXPECT_EQ(r.written, 4u);
}

TEST(FilterRun, DeleteParametricAndTR)
{
    TempFolder dir;
    dir.File("d.dta", DispBuilder().Parametric(0.5).Hit(1.0, 50).TR().Parametric(1.5).Hit(2.0, 80).Bytes());
    struct Case {
        bool deleteParametric, deleteTR;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {false, false, {41, 42, 2, 1, 173, 2}},
        {true, false, {41, 42, 1, 173}},
        {false, true, {41, 42, 2, 1, 2}},
        {true, true, {41, 42, 1}},
    };
    for (const auto& tc : cases) {
        FilterControls c = AmplitudeFilter(dir, "d.dta", "p.dta");
        c.CheckBoxTDP = tc.deleteParametric;
        c.CheckBoxTR = tc.deleteTR;
        RunWith(c);
        EXPECT_EQ(DispIds(ReadBytes(dir / "p.dta")), tc.ids) << tc.deleteParametric << tc.deleteTR;
    }
}

FilterControls EventFilter(const TempFolder& dir)
{
    FilterControls c = AmplitudeFilter(dir, "s.dta", "p.dta");
    c.RadioGroupEventType = 1;
    c.EditMPT = "5000";
    c.EditLOCK = "20000";
    return c;
}

TEST(FilterRun, AsEventsTheFirstHitDecides)
{
    // Classes 0, 1, 2, 0: the second hit follows the first, the third is in the lockout,
    // the fourth opens a new event and is tested.
    struct Case {
        int first, second, third, fourth;
        std::vector<int> kept;
    };
    const Case cases[] = {
        {50, 90, 50, 50, {50, 90, 50}},
        {50, 90, 50, 90, {50, 90}},
        {90, 50, 50, 50, {50}},
    };
    for (const auto& tc : cases) {
        TempFolder dir;
        dir.File("s.dta", SpartanBuilder()
                              .Hit(1.000, uint8_t(tc.first))
                              .Hit(1.003, uint8_t(tc.second))
                              .Hit(1.010, uint8_t(tc.third))
                              .Hit(1.030, uint8_t(tc.fourth))
                              .EndOfData()
                              .Bytes());
        RunWith(EventFilter(dir));
        EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "p.dta")), tc.kept) << tc.first << tc.second;
    }
}

TEST(FilterRun, AsEventsHitsBeforeTheFirstEventAreDropped)
{
    // A hit within MPT of time 0 belongs to no tested event.
    TempFolder dir;
    dir.File("s.dta", SpartanBuilder().Hit(0.001, 50).Hit(1.0, 50).EndOfData().Bytes());
    RunWith(EventFilter(dir));
    EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "p.dta")), (std::vector<int>{50}));
}

TEST(FilterRun, UnsortedFileFailsWithoutPostFile)
{
    for (int treatment : {1, 2}) {
        TempFolder dir;
        dir.File("s.dta", SpartanBuilder().Hit(1.0, 50).Hit(2.0, 50).Hit(1.5, 50).EndOfData().Bytes());
        dir.File("p.dta", {1, 2, 3}); // an older post file stays as it was
        FilterControls c = EventFilter(dir);
        c.RadioGroupEventType = treatment;
        c.EditForward = c.EditBackWard = "10";
        EXPECT_EQ(RunError(c), Msg(2001)) << treatment;
        EXPECT_EQ(ReadBytes(dir / "p.dta"), (std::vector<uint8_t>{1, 2, 3}));
        EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"p.dta", "s.dta"}));
    }
}

FilterControls MechanicFilter(const TempFolder& dir, const char* forward, const char* back, int type)
{
    FilterControls c;
    c.EditSourceFile = dir / "s.dta";
    c.EditPostFile = dir / "p.dta";
    c.GridA = {{"Amplitude", "90", "99"}}; // marker hits
    c.RadioGroupEventType = 2;
    c.EditForward = forward;
    c.EditBackWard = back;
    c.RadioGroupType = type;
    return c;
}

TEST(FilterRun, AsMechanicWindowIncludesBothEnds)
{
    // One marker at 1.0 s, window 1.0 .. 1.25 s. Amplitudes tell the hits apart.
    TempFolder dir;
    const uint64_t end = test::Ticks(1.25);
    dir.File("s.dta", SpartanBuilder()
                          .HitTicks(test::Ticks(1.0) - 1, 10)
                          .HitTicks(test::Ticks(1.0), 95)
                          .HitTicks(test::Ticks(1.1), 11)
                          .HitTicks(end, 12)
                          .HitTicks(end + 1, 13)
                          .EndOfData()
                          .Bytes());
    RunWith(MechanicFilter(dir, "250000", "0", 0));
    EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "p.dta")), (std::vector<int>{95, 11, 12}));
    RunWith(MechanicFilter(dir, "250000", "0", 1));
    EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "p.dta")), (std::vector<int>{10, 13}));
}

TEST(FilterRun, AsMechanicBackReachesBeforeTheMarkerAndWindowsFollowEachOther)
{
    // Markers at 2.0 and 3.0 s with Back 100000 and Forward 50000: windows 1.9-2.05, 2.9-3.05.
    TempFolder dir;
    dir.File("s.dta", SpartanBuilder()
                          .Hit(1.85, 1)
                          .Hit(1.9, 2)
                          .Hit(2.0, 95)
                          .Hit(2.05, 3)
                          .Hit(2.5, 4)
                          .Hit(2.95, 5)
                          .Hit(3.0, 96)
                          .Hit(3.2, 6)
                          .EndOfData()
                          .Bytes());
    RunWith(MechanicFilter(dir, "50000", "100000", 0));
    EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "p.dta")), (std::vector<int>{2, 95, 3, 5, 96}));
}

TEST(FilterRun, AsMechanicMarkerNearTimeZero)
{
    // Marker at 0.00005 s, Back 100, Forward 200: the window is 0 .. 0.0003 s.
    TempFolder dir;
    dir.File("s.dta", SpartanBuilder()
                          .HitTicks(0, 1)
                          .HitTicks(test::Ticks(0.00005), 95)
                          .HitTicks(test::Ticks(0.0003), 2)
                          .HitTicks(test::Ticks(0.0003) + 1, 3)
                          .EndOfData()
                          .Bytes());
    RunWith(MechanicFilter(dir, "200", "100", 0));
    EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "p.dta")), (std::vector<int>{1, 95, 2}));
}

TEST(FilterRun, AsMechanicWithoutMarkers)
{
    TempFolder dir;
    dir.File("s.dta", SpartanBuilder().Hit(1.0, 10).Parametric(1.5).Hit(2.0, 20).EndOfData().Bytes());
    RunWith(MechanicFilter(dir, "100", "100", 0));
    EXPECT_EQ(SpartanCodes(ReadBytes(dir / "p.dta")), (std::vector<int>{2, 0}));
    RunWith(MechanicFilter(dir, "100", "100", 1));
    EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "p.dta")), (std::vector<int>{10, 20}));
}

TEST(FilterRun, RunFaults)
{
    TempFolder dir;
    dir.File("s.dta", SpartanBuilder().Hit(1.0, 50).EndOfData().Bytes());
    dir.File("cont.dta", SpartanBuilder().Continuous().Hit(1.0, 50).EndOfData().Bytes());
    dir.File("text.dta", std::vector<uint8_t>(600, 'x'));
    // An A-Line ISA header: the A-Line file type and the ISA signature.
    std::vector<uint8_t> isa(3848, 0);
    for (const auto& [offset, value] : {std::pair<size_t, uint32_t>{12, 43521u}, {3844, 0x1313CFCFu}})
        for (int i = 0; i < 4; ++i)
            isa[offset + size_t(i)] = uint8_t(value >> (8 * i));
    dir.File("isa.dta", isa);
    struct Case {
        const char* what;
        std::function<void(FilterControls&)> change;
        int message;
    };
    const Case cases[] = {
        {"no source", [](FilterControls& c) { c.EditSourceFile.clear(); }, 814},
        {"missing source", [&](FilterControls& c) { c.EditSourceFile = dir / "none.dta"; }, 815},
        {"page not active", [](FilterControls& c) { c.FiltrationPageActive = false; }, 811},
        {"unknown format", [&](FilterControls& c) { c.EditSourceFile = dir / "text.dta"; }, 810},
        {"A-Line ISA (read only)", [&](FilterControls& c) { c.EditSourceFile = dir / "isa.dta"; },
         kMsgReadOnlyFormat},
        {"continuous Spartan file", [&](FilterControls& c) { c.EditSourceFile = dir / "cont.dta"; }, 816},
    };
    for (const auto& tc : cases) {
        FilterControls c = AmplitudeFilter(dir, "s.dta", "p.dta");
        tc.change(c);
        EXPECT_EQ(RunError(c), Msg(tc.message)) << tc.what;
        EXPECT_FALSE(std::filesystem::exists(dir / "p.dta")) << tc.what;
    }
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"cont.dta", "isa.dta", "s.dta", "text.dta"}));
}

TEST(FilterRun, IntoTheSourceAnsweredYesKeepsABackup)
{
    TempFolder dir;
    const auto original = SpartanBuilder().Hit(1.0, 50).Hit(1.1, 90).EndOfData().Bytes();
    dir.File("x.dta", original);
    dir.File("x.BAK", {9, 9});
    FilterRunOptions o;
    o.workFolder = dir.Path();
    std::string asked, askedBackup;
    o.confirmOverwriteSource = [&](const std::string& q) {
        asked = q;
        return true;
    };
    // The old backup goes only with its own Yes.
    o.confirmReplaceBackup = [&](const std::string& q) {
        askedBackup = q;
        return true;
    };
    FilterControls c;
    c.EditSourceFile = "x.dta"; // relative to the work folder
    c.GridA = {{"Amplitude", "40", "60"}};
    const FilterRunResult r = RunWith(c, o);
    EXPECT_EQ(asked, Msg(1008));
    EXPECT_NE(askedBackup.find(dir / "x.BAK"), std::string::npos) << askedBackup;
    EXPECT_EQ(ReadBytes(dir / "x.BAK"), original);
    EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "x.dta")), (std::vector<int>{50}));
    EXPECT_EQ(r.sourceName, "x.BAK");
    EXPECT_EQ(r.destinationName, "x.dta");
    const std::string protocol = ReadText(dir / "Protocol.txt");
    EXPECT_NE(protocol.find("Источник : \tx.BAK\nРезультат : \tx.dta\n"), std::string::npos) << protocol;
}

TEST(FilterRun, IntoTheSourceAnsweredNoChangesNothing)
{
    TempFolder dir;
    const auto original = SpartanBuilder().Hit(1.0, 50).EndOfData().Bytes();
    dir.File("x.dta", original);
    for (const std::string dest : {"", "x.dta", "./x.dta"}) {
        FilterControls c = AmplitudeFilter(dir, "x.dta", "");
        if (!dest.empty())
            c.EditPostFile = dir / dest;
        EXPECT_TRUE(RunWouldReplaceSource(AFilter(c, kParams, FilterNumberFormat{'.'}), "")) << dest;
        FilterRunOptions o = NoReport();
        bool asked = false;
        o.confirmOverwriteSource = [&](const std::string&) { return asked = true, false; };
        EXPECT_EQ(RunError(c, o), Msg(818)) << dest;
        EXPECT_TRUE(asked) << dest;
        EXPECT_EQ(ReadBytes(dir / "x.dta"), original);
        EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"x.dta"}));
    }
    EXPECT_FALSE(RunWouldReplaceSource(AFilter(AmplitudeFilter(dir, "x.dta", "y.dta"), kParams), ""));
}

TEST(FilterRun, IntoTheSourceFailingRestoresTheSource)
{
    TempFolder dir;
    const auto unsorted = SpartanBuilder().Hit(2.0, 50).Hit(1.0, 50).EndOfData().Bytes();
    dir.File("x.dta", unsorted);
    FilterControls c = AmplitudeFilter(dir, "x.dta", "");
    c.RadioGroupEventType = 1;
    c.EditMPT = c.EditLOCK = "10";
    FilterRunOptions o = NoReport();
    o.confirmOverwriteSource = [](const std::string&) { return true; };
    EXPECT_EQ(RunError(c, o), Msg(2001));
    EXPECT_EQ(ReadBytes(dir / "x.dta"), unsorted);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"x.dta"}));

    // A source already named .BAK cannot be backed up onto itself.
    dir.File("y.BAK", unsorted);
    c = AmplitudeFilter(dir, "y.BAK", "");
    EXPECT_EQ(RunError(c, o), Msg(kMsgBackupMove));
    EXPECT_EQ(ReadBytes(dir / "y.BAK"), unsorted);
}

TEST(FilterRun, CancelAndProgress)
{
    TempFolder dir;
    SpartanBuilder b;
    for (int i = 0; i < 40000; ++i)
        b.Hit(1.0 + i * 0.001, 50);
    dir.File("s.dta", b.EndOfData().Bytes());

    FilterRunOptions o = NoReport();
    std::vector<uint64_t> seen;
    o.progress = [&](uint64_t done, uint64_t total) {
        EXPECT_EQ(total, 40001u);
        seen.push_back(done);
    };
    RunWith(AmplitudeFilter(dir, "s.dta", "p.dta"), o);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.back(), 40001u);

    std::atomic<bool> cancel{false};
    o.progress = [&](uint64_t, uint64_t) { cancel = true; };
    o.cancel = &cancel;
    EXPECT_EQ(RunError(AmplitudeFilter(dir, "s.dta", "q.dta"), o), Msg(818));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"p.dta", "s.dta"}));
}

TEST(FilterRun, ProtocolEntry)
{
    TempFolder dir;
    dir.File("s.dta", SpartanBuilder().Hit(1.0, 50).Hit(1.2, 70).EndOfData().Bytes());
    FilterControls c = AmplitudeFilter(dir, "s.dta", "p.dta");
    c.RadioGroupEventType = 2;
    c.EditForward = "250";
    c.EditBackWard = "100";
    c.RadioGroupType = 1;
    c.GridD = {{"Counts", ">", "1", "Amplitude", "0"}};
    c.BoxDepD = true;
    c.GridExpressions = {"A|D", "A", "", "D"};
    AFilter filter(c, kParams, FilterNumberFormat{'.'});
    const std::string entry = FilterProtocolEntry(filter, "09.12.2026", FilterResultText(true, 3, 2));
    EXPECT_EQ(entry, "09.12.2026\t\tAmplitude band\n"
                     "Источник : \t" +
                         (dir / "s.dta") +
                         "\n"
                         "Результат : \t" +
                         (dir / "p.dta") +
                         "\n"
                         "Выражения фильтрации : \tПервый импульс : A|D\n"
                         "Второй импульс : A\n"
                         "Тип фильтра : \t\tИсключающий\n"
                         "Обработка событий : \tФильтрация механических помех (Вперед : 250, Назад : 100)\n"
                         "Окно A - Объединение записей по [OR]\n"
                         "\tAmplitude\t40\t60\n"
                         "Окно D - Объединение записей по [AND]\n"
                         "\tCounts\t>\t(1) * \tAmplitude\t+\t(0)\n"
                         "Results :  \tФильтрация успешно завершена.\n"
                         "Handling\t    3 records\n"
                         "Accepted\t    2 records\n"
                         "Deleted\t    1 records\n"
                         "\n");
    c.RadioGroupEventType = 1;
    c.EditMPT = "5";
    c.EditLOCK = "7";
    c.RadioGroupType = 0;
    AFilter events(c, kParams, FilterNumberFormat{'.'});
    const std::string e = FilterProtocolEntry(events, "d", "");
    EXPECT_NE(e.find("Тип фильтра : \t\tВключающий\nОбработка событий : \tПо событиям (MPT : 5, LOCK : 7)\n"),
              std::string::npos);

    // Two runs append two entries to the protocol of the work folder.
    FilterRunOptions o;
    o.workFolder = dir.Path();
    c.RadioGroupEventType = 0;
    RunWith(c, o);
    const FilterRunResult r = RunWith(c, o);
    EXPECT_TRUE(r.protocolWritten);
    EXPECT_EQ(r.protocolPath, dir.Path() + "/Protocol.txt");
    const std::string text = ReadText(dir / "Protocol.txt");
    const std::string tail = "\tAmplitude band\nИсточник : \t" + dir / "s.dta";
    EXPECT_NE(text.find(tail), text.rfind(tail));
    EXPECT_NE(text.find("\tПо импульсам\n"), std::string::npos);
}

TEST(FilterRun, ReportSettings)
{
    TempFolder dir;
    dir.File("s.dta", SpartanBuilder().Hit(1.0, 50).EndOfData().Bytes());
    std::filesystem::create_directories(dir / "reports");
    FilterRunOptions o;
    o.workFolder = dir.Path();
    o.commonReportFile = true;
    o.reportFolder = dir / "reports";
    FilterRunResult r = RunWith(AmplitudeFilter(dir, "s.dta", "p.dta"), o);
    EXPECT_TRUE(std::filesystem::exists(dir / "reports/Protocol.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Protocol.txt"));

    // Common report file without a folder: the result stands, the post file stays, and the
    // missing protocol is reported.
    o.reportFolder.clear();
    r = RunWith(AmplitudeFilter(dir, "s.dta", "q.dta"), o);
    EXPECT_EQ(r.written, 2u);
    EXPECT_FALSE(r.protocolWritten);
    EXPECT_EQ(r.protocolError, Msg(kMsgNoReportFolder));
    EXPECT_TRUE(std::filesystem::exists(dir / "q.dta"));

    // "Make report file" cleared: no entry anywhere.
    o.makeReport = false;
    o.reportFolder = dir / "reports";
    const auto before = ReadBytes(dir / "reports/Protocol.txt");
    r = RunWith(AmplitudeFilter(dir, "s.dta", "q.dta"), o);
    EXPECT_TRUE(r.protocolError.empty());
    EXPECT_EQ(ReadBytes(dir / "reports/Protocol.txt"), before);
}

} // namespace
} // namespace lm
