// aelumeny._core: the data-file library, the loader, the filtration run and the set
// statistics for Python. The package's __init__ wraps these functions with the argument
// handling and the documentation a Python user reads; the work and every message are the
// libraries' own, as lmtool uses them.
//
// Reading releases the GIL. A Ctrl+C stops it: the loader asks its monitor every 65536
// records whether to go on, and the monitor takes the GIL briefly to run Python's signal
// handlers.

#include "datafiles/BinaryFile.h"
#include "datafiles/DataFileLoad.h"
#include "datafiles/DataFileOpen.h"
#include "datafiles/ELMData.h"
#include "lmdata/AParamTable.h"
#include "lmdata/LMDatabase.h"
#include "lmfwin/filter/AFilter.h"
#include "lmfwin/filter/ExpressionCheck.h"
#include "lmfwin/filter/FilterFile.h"
#include "lmfwin/filter/FilterRun.h"
#include "lmqwin2/dataset/LMDataSet.h"
#include "lmqwin2/evaluation/ATestSetup.h"
#include "lmtool/support_frames.h"
#include "lmtool/support_stat.h"
#include "records.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <stdexcept>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace py = pybind11;

namespace {

// Faults the package raises as its own exception classes (aelumeny._errors).
struct FileFault {
    int error;
    std::string message;
    std::string path;
};
struct FormatFault {
    std::string message;
    std::string path;
};
struct FilterFault {
    std::string message;
    int messageId;
};

// The library says only "Data file doesn't exist" when a file cannot be opened; the reason
// is asked of the system once more so that Python gets the right OSError subclass.
[[noreturn]] void ThrowOpenFault(const std::string& path, const std::string& message)
{
    int error = EIO;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
    } else {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
            error = EISDIR;
        ::close(fd);
    }
    throw FileFault{error, message, path};
}

// Opens a data file, turning the library's texts into the package's faults.
lm::OpenedDataFile Open(const std::string& path)
{
    try {
        return lm::OpenDataFile(path);
    } catch (const std::runtime_error& e) {
        if (std::strcmp(e.what(), "Unknown data type..") == 0)
            throw FormatFault{e.what(), path};
        ThrowOpenFault(path, e.what());
    }
}

// The A-Line ISA channel calibration is one for the whole process and every reading of such
// a file changes it: with the GIL released, two threads must not read these files at once.
std::mutex isaCalibration;

std::unique_lock<std::mutex> LockFor(lm::DataFileType type)
{
    return type == lm::dtAlineIsa ? std::unique_lock(isaCalibration) : std::unique_lock<std::mutex>();
}

// Runs Python's signal handlers every so often during a long read without the GIL.
class InterruptMonitor final : public lm::LoadMonitor {
public:
    bool Continue(uint64_t, uint64_t) override { return !Interrupted(); }

    // Takes the GIL for the check; true (with the Python exception set) when a handler
    // raised, usually KeyboardInterrupt.
    bool Interrupted()
    {
        if (interrupted_)
            return true;
        py::gil_scoped_acquire gil;
        if (PyErr_CheckSignals() != 0)
            interrupted_ = true;
        return interrupted_;
    }
    // With the GIL held, after the work stopped: raises the handler's exception.
    void RaiseIfInterrupted() const
    {
        if (interrupted_)
            throw py::error_already_set();
    }

private:
    bool interrupted_ = false;
};

// The faults of loading as lmtool dump reports them.
template <class Work> void Loading(const std::string& path, InterruptMonitor& monitor, Work&& work)
{
    try {
        py::gil_scoped_release release;
        work();
    } catch (const lm::LoadCancelled&) {
        monitor.RaiseIfInterrupted();
        throw;
    } catch (const lm::ELMData&) {
        throw FormatFault{"File Loading Error", path};
    } catch (const std::bad_alloc&) {
        PyErr_SetString(PyExc_MemoryError, "File Loading Error");
        throw py::error_already_set();
    }
}

py::dtype RecordDtype()
{
    using aelumeny::RecordRow;
    py::list names, formats, offsets;
    auto field = [&](const char* name, const char* format, size_t offset) {
        names.append(name);
        formats.append(format);
        offsets.append(offset);
    };
    // In the order of lmtool dump's columns, with the time in seconds after the ticks.
    field("kind", "i1", offsetof(RecordRow, kind));
    field("ticks", "<u8", offsetof(RecordRow, ticks));
    field("time", "<f8", offsetof(RecordRow, time));
    field("channel", "u1", offsetof(RecordRow, channel));
    field("amplitude", "u1", offsetof(RecordRow, amplitude));
    field("rise", "<u2", offsetof(RecordRow, rise));
    field("counts", "<u2", offsetof(RecordRow, counts));
    field("energy", "<u2", offsetof(RecordRow, energy));
    field("duration", "<u4", offsetof(RecordRow, duration));
    field("par1", "<f4", offsetof(RecordRow, par1));
    field("flags", "<u4", offsetof(RecordRow, flags));
    py::dict spec;
    spec["names"] = names;
    spec["formats"] = formats;
    spec["offsets"] = offsets;
    spec["itemsize"] = sizeof(RecordRow);
    return py::dtype::from_args(spec);
}

// Room for the loader's records and the widening to rows, asked for before the loader reserves
// its own (it then keeps this buffer): in huge pages where the system gives them on request,
// a load takes a few hundred page faults instead of tens of thousands. Address space not
// written to costs nothing.
void ReserveRecordBuffer(std::vector<lm::LMShortHit>& records, uint64_t fileSize)
{
    const uint64_t estimate = std::min<uint64_t>(fileSize / 16, uint64_t(1) << 24);
    records.reserve(size_t(estimate + estimate / 4 + 1));
    const size_t bytes = records.capacity() * sizeof(lm::LMShortHit);
    if (bytes < (size_t(4) << 20))
        return;
    const auto page = uintptr_t(::sysconf(_SC_PAGESIZE));
    const auto begin = uintptr_t(records.data()) & ~(page - 1);
    (void)::madvise(reinterpret_cast<void*>(begin), uintptr_t(records.data()) + bytes - begin, MADV_HUGEPAGE);
}

py::array Read(const std::string& path, bool hitsOnly)
{
    lm::OpenedDataFile opened = Open(path);
    auto records = std::make_unique<std::vector<lm::LMShortHit>>();
    ReserveRecordBuffer(*records, opened.stream->Size());
    size_t rows = 0;
    InterruptMonitor monitor;
    Loading(path, monitor, [&] {
        const auto lock = LockFor(opened.type);
        lm::LoadRecords(*opened.reader, opened.type, *records, &monitor);
        opened.reader.reset();
        opened.stream.reset();
        rows = aelumeny::RepackAsRows(*records, hitsOnly);
    });
    // The array owns the loader's buffer through this capsule.
    void* data = records->data();
    py::capsule owner(records.get(), [](void* p) { delete static_cast<std::vector<lm::LMShortHit>*>(p); });
    records.release();
    return py::array(RecordDtype(), {py::ssize_t(rows)}, {py::ssize_t(sizeof(aelumeny::RecordRow))}, data,
                     owner);
}

// Growing storage for rows of a width known only at run time, handed to numpy at the end.
py::array Values(const std::string& path, const std::vector<lm::HitParam>& params)
{
    lm::OpenedDataFile opened = Open(path);
    const size_t width = 16 + 8 * params.size(); // four predicates, padding, time, values
    auto bytes = std::make_unique<std::vector<unsigned char>>();
    size_t rows = 0;
    InterruptMonitor monitor;
    Loading(path, monitor, [&] {
        const auto lock = LockFor(opened.type);
        lm::AWDiskFile& reader = *opened.reader;
        (void)reader.SeekFirstRecord();
        while (reader.ReadNext()) {
            if ((rows & 0xFFFF) == 0xFFFF && monitor.Interrupted())
                throw lm::LoadCancelled();
            const bool end = reader.IsEndOfData();
            bytes->resize(bytes->size() + width);
            unsigned char* row = bytes->data() + rows * width;
            row[0] = reader.IsHit();
            row[1] = reader.IsParametric();
            row[2] = reader.HasTime();
            row[3] = end;
            const double time = double(reader.GetTime());
            std::memcpy(row + 8, &time, 8);
            for (size_t i = 0; i < params.size(); ++i) {
                const double value = double(reader.GetValue(params[i]));
                std::memcpy(row + 16 + 8 * i, &value, 8);
            }
            ++rows;
            if (end)
                break;
        }
    });
    py::list names, formats, offsets;
    auto field = [&](const std::string& name, const char* format, size_t offset) {
        names.append(name);
        formats.append(format);
        offsets.append(offset);
    };
    field("hit", "?", 0);
    field("param", "?", 1);
    field("timed", "?", 2);
    field("end", "?", 3);
    field("time", "<f8", 8);
    for (size_t i = 0; i < params.size(); ++i)
        field("p" + std::to_string(params[i]), "<f8", 16 + 8 * i);
    py::dict spec;
    spec["names"] = names;
    spec["formats"] = formats;
    spec["offsets"] = offsets;
    spec["itemsize"] = width;
    void* data = bytes->data();
    py::capsule owner(bytes.get(), [](void* p) { delete static_cast<std::vector<unsigned char>*>(p); });
    bytes.release();
    return py::array(py::dtype::from_args(spec), {py::ssize_t(rows)}, {py::ssize_t(width)}, data, owner);
}

py::tuple Info(const std::string& path)
{
    const lm::OpenedDataFile opened = Open(path);
    const int type = opened.type;
    std::string report;
    try {
        report = lm::DescribeDataFile(path);
    } catch (const std::runtime_error& e) {
        ThrowOpenFault(path, e.what());
    }
    return py::make_tuple(type, lm::DataFileTypeName(type), report);
}

// The recognised type, or -1.
int Detect(const std::string& path)
{
    lm::BinaryFile file;
    if (!file.Open(path, lm::BinaryFile::Mode::Read))
        ThrowOpenFault(path, "Data file doesn't exist");
    const int type = lm::RecogniseForLoading(file);
    file.Close();
    return type;
}

// Filter files are text shared between machines: their numbers always use '.'.
constexpr lm::FilterNumberFormat kFileNumbers{'.'};

py::dict Filter(const std::string& source, const std::string& destination, const std::string& filterFile,
                bool yes, bool replaceBackup, const std::string& database,
                std::optional<std::string> reportFolder, bool strict)
{
    InterruptMonitor monitor;
    std::atomic<bool> cancel{false};
    lm::FilterRunResult result;
    std::string warning;
    try {
        py::gil_scoped_release release;
        lm::LMDatabase db = lm::LMDatabase::OpenForReading(lm::LMDatabase::ResolvePath(database));
        lm::AParamTable params(db);
        lm::FilterControls controls = lm::LoadFilterFile(filterFile);
        controls.FiltrationPageActive = true;
        // The language skips what it does not know ("A and B" runs as "A"): never silently.
        const std::string& expression = controls.GridExpressions[0];
        if (const lm::ExpressionCheck check = lm::CheckExpression(expression); check.Surprising()) {
            warning = lm::DescribeExpressionCheck(expression, check);
            if (strict)
                throw FilterFault{warning + "; refused under strict", 0};
        }
        controls.EditSourceFile = source;
        controls.EditPostFile = destination;
        lm::AFilter filter(controls, params, kFileNumbers);
        lm::FilterRunOptions options;
        options.makeReport = reportFolder.has_value();
        options.commonReportFile = true;
        options.reportFolder = reportFolder.value_or("");
        // `yes` answers only the question about the source; an existing backup is replaced
        // only with its own consent.
        options.confirmOverwriteSource = [yes](const std::string&) { return yes; };
        options.confirmReplaceBackup = [replaceBackup](const std::string&) { return replaceBackup; };
        uint64_t lastCheck = 0;
        options.progress = [&](uint64_t done, uint64_t) {
            if (done - lastCheck >= 65536) {
                lastCheck = done;
                if (monitor.Interrupted())
                    cancel = true;
            }
        };
        options.cancel = &cancel;
        result = lm::RunFilter(filter, options);
    } catch (const lm::EFilter& e) {
        monitor.RaiseIfInterrupted();
        throw FilterFault{e.what(), e.MessageId()};
    } catch (const lm::EFilterFile& e) {
        throw FilterFault{e.what(), 0};
    } catch (const lm::ELMDatabase& e) {
        throw FilterFault{e.what(), 0};
    }
    // Ctrl+C too late to cancel the run still ends the call.
    monitor.RaiseIfInterrupted();
    py::dict answer;
    answer["total"] = result.total;
    answer["written"] = result.written;
    answer["end_of_data_found"] = result.endOfDataFound;
    answer["text"] = result.resultText;
    answer["source"] = result.sourceName;
    answer["destination"] = result.destinationName;
    answer["protocol"] = result.protocolWritten ? py::object(py::str(result.protocolPath)) : py::none();
    answer["protocol_error"] =
        result.protocolError.empty() ? py::object(py::none()) : py::str(result.protocolError);
    answer["warning"] = warning.empty() ? py::object(py::none()) : py::str(warning);
    return answer;
}

std::string Stat(const std::string& path, const std::vector<std::string>& frameTexts,
                 const std::optional<std::string>& setupFile, const std::optional<std::string>& channelList,
                 bool events)
{
    lm::ATestSetup setup;
    if (setupFile && !setup.LoadFromFile(*setupFile)) {
        // A setup that cannot be opened is a file fault, as a data file's would be; one that
        // opens but is no test setup, a format fault. The message is the library's either way.
        struct stat st {};
        const bool folder = ::stat(setupFile->c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        if (folder || ::access(setupFile->c_str(), R_OK) != 0)
            ThrowOpenFault(*setupFile, lm::kMsgUnknownSetupFormat);
        throw FormatFault{lm::kMsgUnknownSetupFormat, *setupFile};
    }
    lm::ChannelMask channels;
    std::vector<lmtool::FrameSpec> specs;
    if (channelList)
        channels = lmtool::ParseChannelList(*channelList);
    else
        channels.set();
    for (const std::string& text : frameTexts)
        specs.push_back(lmtool::ParseFrameSpec(text));
    if (specs.size() > size_t(lm::kFrameSlots))
        throw lmtool::FrameArgumentError("at most 8 frames can be given");

    // Opened here first for the package's file and format faults; the set loads on its own.
    const lm::DataFileType type = Open(path).type;
    lm::LMDataSet data;
    InterruptMonitor monitor;
    std::string text;
    try {
        py::gil_scoped_release release;
        const auto lock = LockFor(type);
        data.Load(path, &monitor);
        text = lmtool::StatisticsText(data, setup, specs, channels, events);
    } catch (const lm::LoadCancelled&) {
        monitor.RaiseIfInterrupted();
        throw;
    } catch (const lm::ELMData& e) {
        if (e.Code == lm::kErrNotSorted)
            throw FormatFault{lmtool::NotSortedMessage(data.NotSortedTime), path};
        throw FormatFault{"error " + std::to_string(e.Code) + " while loading", path};
    }
    return text;
}

} // namespace

PYBIND11_MODULE(_core, m)
{
    m.doc() = "Bindings of the data-file library; use the functions of the aelumeny package.";

    py::module_ errors = py::module_::import("aelumeny._errors");
    // Kept for the life of the process (never released at exit, after the interpreter).
    static py::handle fileError = py::object(errors.attr("file_error")).release();
    static py::handle formatError = py::object(errors.attr("FormatError")).release();
    static py::handle filterError = py::object(errors.attr("FilterError")).release();
    py::register_exception_translator([](std::exception_ptr p) {
        auto raise = [](const py::object& exception) {
            PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(exception.ptr())), exception.ptr());
        };
        try {
            if (p)
                std::rethrow_exception(p);
        } catch (const FileFault& f) {
            raise(fileError(f.error, f.message, f.path));
        } catch (const FormatFault& f) {
            raise(formatError(f.message, f.path));
        } catch (const FilterFault& f) {
            raise(filterError(f.message, f.messageId));
        }
    });

    m.attr("RECORD_DTYPE") = RecordDtype();
    m.def("read", &Read, py::arg("path"), py::arg("hits_only"));
    m.def("values", &Values, py::arg("path"), py::arg("params"));
    m.def("info", &Info, py::arg("path"));
    m.def("detect", &Detect, py::arg("path"));
    m.def(
        "type_name", [](int type) { return std::string(lm::DataFileTypeName(type)); }, py::arg("type"));
    m.def("filter", &Filter, py::arg("source"), py::arg("destination"), py::arg("filter_file"),
          py::arg("yes"), py::arg("replace_backup"), py::arg("database"), py::arg("report_folder"),
          py::arg("strict"));
    m.def("stat", &Stat, py::arg("path"), py::arg("frames"), py::arg("setup"), py::arg("channels"),
          py::arg("events"));
}
