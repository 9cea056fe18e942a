#pragma once

// Output files that replace what stands at their name only when complete, and only when
// that is an ordinary file: written to a temporary file beside the target, flushed to disk,
// given the permissions (and group, where allowed) of the file they replace and renamed
// over it in one step. A failure at any point leaves the old target as it was.

#include "datafiles/TempFile.h"

#include <stdexcept>
#include <string>
#include <sys/types.h>

namespace lm {

enum class OutputFault {
    NotRegular,        // something other than a regular file stands at the name
    FolderMissing,     // the target's folder does not exist
    FolderNotWritable, // no file can be created in the target's folder
    CannotCreate,      // another reason the temporary file cannot be made
    CannotReplace,     // the finished file cannot be flushed or renamed over the target
    Taken,             // the name is taken and replacing it was not allowed
};

// A fault of an output file: which one, the path it concerns and the system's error number.
class EOutputFile : public std::runtime_error {
public:
    EOutputFile(OutputFault fault, std::string path, int error);
    OutputFault fault() const { return fault_; }
    const std::string& path() const { return path_; }
    int error() const { return error_; }

private:
    OutputFault fault_;
    std::string path_;
    int error_;
};

// The file an output named `target` really replaces: the target itself, or the regular file a
// symbolic link names (the link stays). A new name is its own target. Throws EOutputFile
// NotRegular when a folder, a device, a FIFO, a socket or a link to nothing stands there.
std::string ResolveOutputTarget(const std::string& target);

class OutputFile {
public:
    // Checks the target (ResolveOutputTarget) and creates the temporary file beside it;
    // throws EOutputFile.
    explicit OutputFile(const std::string& target);

    const std::string& TempPath() const { return temp_.path(); }
    // The file that Commit replaces (links resolved).
    const std::string& Target() const { return target_; }

    // Flushes the temporary file to disk, gives it the permission bits and group of the file
    // it replaces (a new name keeps the user's usual permissions) and renames it over the
    // target. Throws EOutputFile CannotReplace; the target is then unchanged.
    void Commit();

private:
    TempFileBeside temp_;
    std::string target_;
    bool replaces_ = false;
    mode_t mode_ = 0;
    gid_t group_ = 0;
};

// Puts a copy of `source` under the name `backup`: a hard link where the file system allows
// one, else a copy of its bytes with its permissions. An existing `backup` is replaced only
// when `replace` is set (and only when it is a regular file); otherwise EOutputFile Taken
// (or NotRegular) is thrown and nothing changes.
void PlaceBackup(const std::string& source, const std::string& backup, bool replace);

// Flushes a folder's entries (a rename in it) to disk; failures are ignored.
void SyncFolderOf(const std::string& path);

} // namespace lm
