#include "lmfwin/filter/FilterRun.h"

#include "datafiles/ALNDFile.h"
#include "datafiles/BinaryFile.h"
#include "datafiles/DataFileOpen.h"
#include "datafiles/OutputFile.h"
#include "lmfwin/filter/FilterMessages.h"
#include "lmfwin/filter/LocaleText.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <memory>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace lm {

namespace {

constexpr uint64_t kProgressInterval = 1u << 14;

// Microseconds as ticks of 0.25 us, exactly.
TickTime MicrosecondsToTicks(uint64_t us)
{
    return TickTime::FromValue(us * 4);
}

// A record time in seconds back to its tick count (times are whole ticks; rounding undoes
// the conversion error of the seconds value).
int64_t SecondsToTicks(long double seconds)
{
    if (!(seconds > 0.0L))
        return 0;
    return int64_t(std::llround(seconds * TickTime::kTicksPerSecond));
}

fs::path Resolve(const fs::path& base, const std::string& name)
{
    fs::path p(name);
    return p.is_absolute() ? p : base / p;
}

std::string BackupName(const std::string& source)
{
    fs::path p(source);
    p.replace_extension(".BAK");
    return p.string();
}

bool SameFile(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    const bool same = fs::equivalent(a, b, ec);
    return !ec && same;
}

// The text of a message that names a path.
EFilter PathFault(int messageId, const std::string& path)
{
    return EFilter(messageId, FilterMessage(messageId) + path);
}

std::string FolderOf(const std::string& path)
{
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

// An output file's fault as the run's message, naming the path concerned.
EFilter OutputFileFault(const EOutputFile& e)
{
    switch (e.fault()) {
    case OutputFault::NotRegular:
        return PathFault(kMsgNotRegularFile, e.path());
    case OutputFault::FolderMissing:
        return PathFault(kMsgDestinationFolderMissing, FolderOf(e.path()));
    case OutputFault::FolderNotWritable:
        return PathFault(kMsgDestinationFolderNotWritable, FolderOf(e.path()));
    case OutputFault::Taken:
        return PathFault(kMsgBackupExists, e.path());
    case OutputFault::CannotCreate:
        return EFilter(809, std::string(FilterMessage(809)) + "\n" + e.what());
    case OutputFault::CannotReplace:
        break;
    }
    return EFilter(kMsgPostFileWrite, std::string(FilterMessage(kMsgPostFileWrite)) + "\n" + e.what());
}

// An exclusive lock on the source while it is filtered into its own name, so that a second
// run of the same file refuses instead of racing the first one for the name.
class SourceLock {
public:
    explicit SourceLock(const fs::path& path)
    {
        for (int attempt = 0; attempt < 10; ++attempt) {
            fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd_ < 0)
                throw EFilter(815);
            if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
                const int error = errno;
                Release();
                if (error == EWOULDBLOCK)
                    throw PathFault(kMsgSourceBusy, path.string());
                throw EFilter(809, std::string(FilterMessage(809)) + "\n" + path.string());
            }
            // A run that held the lock until now may have put a new file under the name: the
            // lock must be on the file the name holds now.
            struct stat locked {
            }, named{};
            if (::fstat(fd_, &locked) == 0 && ::stat(path.c_str(), &named) == 0 &&
                locked.st_dev == named.st_dev && locked.st_ino == named.st_ino)
                return;
            Release();
        }
        throw PathFault(kMsgSourceBusy, path.string());
    }
    ~SourceLock() { Release(); }
    SourceLock(const SourceLock&) = delete;
    SourceLock& operator=(const SourceLock&) = delete;

private:
    void Release()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    int fd_ = -1;
};

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with)
{
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

// Progress and cancellation, checked every kProgressInterval records.
class RunProgress {
public:
    RunProgress(const FilterRunOptions& options, uint64_t total) : options_(options), total_(total) {}

    void Record(bool moveBar = true)
    {
        ++done_;
        if ((done_ & (kProgressInterval - 1)) == 0) {
            CheckCancel();
            if (moveBar && options_.progress)
                options_.progress(done_, total_);
        }
    }
    void CheckCancel() const
    {
        if (options_.cancel && options_.cancel->load(std::memory_order_relaxed))
            throw EFilter(818);
    }
    void Finish()
    {
        if (options_.progress)
            options_.progress(done_, total_);
    }
    void ResetCount() { done_ = 0; }

private:
    const FilterRunOptions& options_;
    uint64_t total_;
    uint64_t done_ = 0;
};

// The rule for records that are not hits.
inline bool KeepOther(AWDiskFile& reader, const AFilter& filter)
{
    if (reader.IsParametric())
        return !filter.deleteParametric;
    if (reader.IsTRRecord())
        return !filter.deleteTR;
    return reader.IsKnownRecord();
}

// The common loop: answers whether an end-of-data record was met.
template <class KeepHit>
bool CopyLoop(AWDiskFile& reader, AWDiskFile& writer, const AFilter& filter, RunProgress& progress,
              KeepHit&& keepHit)
{
    while (reader.ReadNext()) {
        progress.Record();
        const bool keep = reader.IsHit() ? keepHit() : KeepOther(reader, filter);
        if (keep)
            writer.AppendRecord(reader);
        if (reader.IsEndOfData())
            return true;
    }
    return false;
}

bool RunAsHits(AWDiskFile& reader, AWDiskFile& writer, const AFilter& filter, RunProgress& progress)
{
    return CopyLoop(reader, writer, filter, progress, [&] { return filter.Keep(reader); });
}

bool RunAsEvents(AWDiskFile& reader, AWDiskFile& writer, const AFilter& filter, RunProgress& progress)
{
    reader.SetEventWindows(MicrosecondsToTicks(filter.mpt), MicrosecondsToTicks(filter.lock));
    // Hits within MPT of time 0 before any event has opened follow no tested hit: dropped.
    bool eventAccepted = false;
    return CopyLoop(reader, writer, filter, progress, [&] {
        switch (reader.CheckEventTime()) {
        case 0:
            eventAccepted = filter.Keep(reader);
            return eventAccepted;
        case 1:
            return eventAccepted;
        default:
            return false;
        }
    });
}

bool RunAsMechanic(AWDiskFile& reader, AWDiskFile& writer, const AFilter& filter, RunProgress& progress)
{
    const int64_t window = int64_t(filter.forward) * 4 + int64_t(filter.back) * 4; // ticks
    const int64_t back = int64_t(filter.back) * 4;

    // Pass 1: the start of the window of every hit that matches the filter. The event check
    // only guards the time order.
    reader.SetEventWindows(MicrosecondsToTicks(1), MicrosecondsToTicks(1));
    std::vector<int64_t> markers;
    while (reader.ReadNext()) {
        progress.Record(false);
        if (reader.IsHit()) {
            reader.CheckEventTime();
            if (filter.Match(reader)) {
                const int64_t t = SecondsToTicks(reader.GetTime());
                markers.push_back(t > back ? t - back : 0);
            }
        }
        if (reader.IsEndOfData())
            break;
    }
    progress.ResetCount();
    reader.SeekFirstRecord();
    writer.SeekFirstRecord();

    // Pass 2: markers and hits are both in time order, so one index walks the windows.
    size_t k = 0;
    return CopyLoop(reader, writer, filter, progress, [&] {
        if (markers.empty())
            return filter.excluded;
        const int64_t t = SecondsToTicks(reader.GetTime());
        for (size_t l = k;; ++l) {
            const int64_t s = markers[l];
            if (s > t)
                return filter.excluded;
            if (s + window >= t)
                return !filter.excluded;
            if (l + 1 == markers.size())
                return filter.excluded;
            k = l + 1;
        }
    });
}

// Everything a run opens, released in the right order (objects before their streams).
struct RunFiles {
    BinaryFile source;
    BinaryFile target;
    DataCopy copy;

    void ReleaseObjects()
    {
        copy.writer.reset();
        copy.reader.reset();
    }
    // On failure: close everything (the unfinished post file goes with its OutputFile).
    void Abandon()
    {
        ReleaseObjects();
        if (source.IsOpen())
            source.Close();
        if (target.IsOpen())
            target.Close();
    }
};

struct RunCounts {
    bool endOfData = false;
    uint32_t total = 0;
    uint32_t written = 0;
};

// Copies the filtered records of the source into the output's temporary file.
RunCounts CopyFiltered(const AFilter& filter, const fs::path& sourcePath, OutputFile& output,
                       const FilterRunOptions& options, RunFiles& files)
{
    if (!files.source.Open(sourcePath.string(), BinaryFile::Mode::Read))
        throw EFilter(809, std::string(FilterMessage(809)) + "\n" + sourcePath.string() + " (" +
                               std::strerror(errno) + ")");
    if (!files.target.Open(output.TempPath(), BinaryFile::Mode::Write))
        throw EFilter(809, std::string(FilterMessage(809)) + "\n" + output.Target() + " (" +
                               std::strerror(errno) + ")");
    files.copy = OpenDataCopy(files.source, files.target);
    if (!files.copy) // a known format without a writer is no "unknown type"
        throw EFilter(IsAlineIsaFile(files.source) ? kMsgReadOnlyFormat : 810);
    AWDiskFile& reader = *files.copy.reader;
    AWDiskFile& writer = *files.copy.writer;
    if (!reader.CanBeFiltered())
        throw EFilter(816);

    RunCounts counts;
    counts.total = uint32_t(reader.GetRecordCount());
    reader.SeekFirstRecord();
    writer.SeekFirstRecord();

    RunProgress progress(options, counts.total);
    progress.CheckCancel();
    switch (filter.treatment) {
    case ftEvents:
        counts.endOfData = RunAsEvents(reader, writer, filter, progress);
        break;
    case ftMechanic:
        counts.endOfData = RunAsMechanic(reader, writer, filter, progress);
        break;
    default:
        counts.endOfData = RunAsHits(reader, writer, filter, progress);
        break;
    }
    progress.CheckCancel();

    writer.WriteHeader();
    counts.written = uint32_t(writer.AppendedCount());
    files.ReleaseObjects();
    files.source.Close();
    const bool failedBefore = files.target.Failed();
    if (!files.target.Close() || failedBefore)
        throw EFilter(kMsgPostFileWrite,
                      std::string(FilterMessage(kMsgPostFileWrite)) + "\n" + output.Target());
    progress.Finish();
    return counts;
}

void AppendProtocol(const std::string& path, const std::string& entry, FilterRunResult& result)
{
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (out)
        out << ToUserEncoding(entry);
    if (out)
        out.close();
    if (!out) {
        result.protocolError = std::string(FilterMessage(kMsgProtocolOpen)) + path;
        return;
    }
    result.protocolWritten = true;
}

} // namespace

bool RunWouldReplaceSource(const AFilter& filter, const std::string& workFolder)
{
    if (filter.destinationFile.empty() || filter.destinationFile == filter.sourceFile)
        return true;
    std::error_code ec;
    const fs::path base = workFolder.empty() ? fs::current_path(ec) : fs::path(workFolder);
    return SameFile(Resolve(base, filter.sourceFile), Resolve(base, filter.destinationFile));
}

std::string FilterResultText(bool endOfDataFound, uint32_t total, uint32_t written)
{
    std::ostringstream out;
    out << FilterMessage(1034) << '\t' << FilterMessage(endOfDataFound ? 1005 : 1007) << '\n';
    out << FilterMessage(1035) << '\t' << std::setw(5) << total << FilterMessage(1038) << '\n';
    out << FilterMessage(1036) << '\t' << std::setw(5) << written << FilterMessage(1038) << '\n';
    out << FilterMessage(1037) << '\t' << std::setw(5) << (total - written) << FilterMessage(1038) << '\n';
    return out.str();
}

std::string FilterProtocolEntry(const AFilter& filter, const std::string& date, const std::string& resultText)
{
    std::ostringstream out;
    out << date << "\t\t" << filter.filterName << '\n';
    out << FilterMessage(1011) << filter.sourceFile << '\n';
    out << FilterMessage(1012) << filter.destinationFile << '\n';
    out << FilterMessage(1026) << '\t';
    filter.PrintExpressions(out);
    out << FilterMessage(1027) << "\t\t" << FilterMessage(filter.excluded ? 1014 : 1013) << '\n';
    out << FilterMessage(1015) << '\t';
    switch (filter.treatment) {
    case ftEvents:
        out << FilterMessage(1017) << "(MPT : " << filter.mpt << ", LOCK : " << filter.lock << ")";
        break;
    case ftMechanic:
        out << FilterMessage(1018) << FilterMessage(1019) << filter.forward << FilterMessage(1020)
            << filter.back << ")";
        break;
    default:
        out << FilterMessage(1016);
        break;
    }
    out << '\n';
    filter.PrintWindows(out);
    out << resultText << '\n';
    return out.str();
}

std::string FilterProtocolPath(const FilterRunOptions& options, const std::string& currentFolder)
{
    std::string folder = options.commonReportFile ? options.reportFolder : currentFolder;
    if (folder.empty())
        return {};
    if (folder.back() != '/')
        folder += '/';
    return folder + "Protocol.txt";
}

FilterRunResult RunFilter(AFilter& filter, const FilterRunOptions& options)
{
    std::error_code ec;
    const fs::path base = options.workFolder.empty() ? fs::current_path(ec) : fs::path(options.workFolder);

    if (filter.sourceFile.empty())
        throw EFilter(814);
    const fs::path sourcePath = Resolve(base, filter.sourceFile);
    struct stat sourceStat {};
    if (::stat(sourcePath.c_str(), &sourceStat) != 0)
        throw EFilter(815);
    if (!S_ISREG(sourceStat.st_mode))
        throw PathFault(kMsgSourceNotRegular, sourcePath.string());

    if (filter.destinationFile.empty())
        filter.destinationFile = filter.sourceFile;
    fs::path destinationPath = Resolve(base, filter.destinationFile);

    // The source under another spelling (a relative path, a link) is still the source:
    // writing over it unasked would lose the original data.
    const bool intoSource = RunWouldReplaceSource(filter, base.string());
    if (intoSource) {
        if (!options.confirmOverwriteSource || !options.confirmOverwriteSource(FilterMessage(1008)))
            throw EFilter(818);
        filter.destinationFile = filter.sourceFile;
        destinationPath = sourcePath;
    }
    if (!filter.filtrationPageActive)
        throw EFilter(811);

    std::unique_ptr<SourceLock> lock;
    std::string backupName;
    fs::path backupPath;
    bool replaceBackup = false;
    if (intoSource) {
        lock = std::make_unique<SourceLock>(sourcePath);
        backupName = BackupName(filter.sourceFile);
        backupPath = Resolve(base, backupName);
        if (backupName == filter.sourceFile || SameFile(sourcePath, backupPath))
            throw EFilter(kMsgBackupMove);
        RemoveStaleTempFiles(backupPath.string());
        struct stat backupStat {};
        if (::lstat(backupPath.c_str(), &backupStat) == 0) {
            // A folder (or anything else) under the name is never replaced: no question then.
            if (!S_ISREG(backupStat.st_mode))
                throw PathFault(kMsgNotRegularFile, backupPath.string());
            // Never deleted unasked: it may be the original of another recording of that stem.
            const std::string question =
                ReplaceAll(FilterMessage(kMsgReplaceBackupQuestion), "%1", backupPath.string());
            if (!options.confirmReplaceBackup || !options.confirmReplaceBackup(question))
                throw PathFault(kMsgBackupExists, backupPath.string());
            replaceBackup = true;
        }
    }

    RunFiles files;
    RunCounts counts;
    try {
        RemoveStaleTempFiles(ResolveOutputTarget(destinationPath.string()));
        OutputFile output(destinationPath.string());
        counts = CopyFiltered(filter, sourcePath, output, options, files);
        if (intoSource) {
            // The original stays under its own name until the post file takes it over; the
            // backup is in place before that.
            PlaceBackup(sourcePath.string(), backupPath.string(), replaceBackup);
            try {
                output.Commit();
            } catch (...) {
                if (!replaceBackup) // only the backup this run has just made
                    ::unlink(backupPath.c_str());
                throw;
            }
            filter.sourceFile = backupName;
        } else {
            output.Commit();
        }
    } catch (const EOutputFile& e) {
        files.Abandon();
        throw OutputFileFault(e);
    } catch (const ELMData& e) {
        files.Abandon();
        const char* text = FilterMessage(e.Code);
        throw EFilter(e.Code, *text ? std::string(text) : std::string(e.what()));
    } catch (...) {
        files.Abandon();
        throw;
    }

    FilterRunResult result;
    result.endOfDataFound = counts.endOfData;
    result.total = counts.total;
    result.written = counts.written;
    result.resultText = FilterResultText(counts.endOfData, counts.total, counts.written);
    result.sourceName = filter.sourceFile;
    result.destinationName = filter.destinationFile;

    if (options.makeReport) {
        result.protocolPath = FilterProtocolPath(options, base.string());
        if (result.protocolPath.empty()) {
            result.protocolError = FilterMessage(kMsgNoReportFolder);
        } else {
            const std::string entry = FilterProtocolEntry(filter, UserShortDate(), result.resultText);
            AppendProtocol(Resolve(base, result.protocolPath).string(), entry, result);
        }
    }
    return result;
}

} // namespace lm
