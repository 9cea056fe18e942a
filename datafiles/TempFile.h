#pragma once

// Temporary files beside a target: the one way output files are made here. A file is
// written under a temporary name in the target's folder (so that the final rename stays on
// one file system) and renamed over the target only when complete.
//
// A temporary name is ".<target name>.<process id>-<random>.tmp". The process id tells the
// leftovers of a killed run (its process is gone) from the files of a run still going, so
// that the next run beside the same target can remove them.

#include <string>

namespace lm {

// Creates a new, empty temporary file beside `target` with the permissions any new file of
// the user gets (0666 less the umask), and answers its path. Answers an empty string, with
// errno set, when no file can be created there. The caller renames it over the target when
// complete and removes it on failure.
std::string CreateTempFileBeside(const std::string& target);

// A fresh temporary name beside `target` (nothing is created; for a hard link made under it).
std::string TempNameBeside(const std::string& target);

// Removes the temporary files of `target` that processes no longer running left behind
// (a run killed before it could clean up). Files of running processes, and any file not
// of this naming, stay. Answers how many were removed.
int RemoveStaleTempFiles(const std::string& target);

// While registered, `path` is removed when the process is ended by SIGINT, SIGTERM or
// SIGHUP. The handlers are installed on first use for the signals whose action is still the
// default one (a program's own handlers and ignored signals are left alone); after removing
// the files they end the process by the same signal. At most a few paths at a time.
void RemoveOnSignal(const std::string& path);
// Stops removing `path` on a signal (it has been renamed, or removed by its owner).
void KeepOnSignal(const std::string& path);

// A temporary file beside a target that is removed again unless it is released: what a run
// writes until it renames the file over its target. Registered for removal on a signal.
class TempFileBeside {
public:
    TempFileBeside() = default;
    // Creates the file (see CreateTempFileBeside); path() is empty, with errno set, on failure.
    explicit TempFileBeside(const std::string& target);
    // Takes over a file that the caller has created under a temporary name, registered with
    // RemoveOnSignal before it was made.
    static TempFileBeside Adopt(const std::string& path);
    ~TempFileBeside() { Remove(); }
    TempFileBeside(TempFileBeside&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
    TempFileBeside& operator=(TempFileBeside&& other) noexcept;
    TempFileBeside(const TempFileBeside&) = delete;
    TempFileBeside& operator=(const TempFileBeside&) = delete;

    const std::string& path() const { return path_; }
    explicit operator bool() const { return !path_.empty(); }
    // The file has been renamed away: nothing is left to remove.
    void Release();
    // Removes the file now.
    void Remove();

private:
    std::string path_;
};

} // namespace lm
