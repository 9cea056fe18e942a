#pragma once

#include <string>

namespace lm {

// Creates a new, empty temporary file beside `target` (same folder, so that the final
// rename stays on one file system) with the permissions any new file of the user gets
// (0666 less the umask), and answers its path. Answers an empty string, with errno set,
// when no file can be created there. The caller renames it over the target when complete
// and removes it on failure.
std::string CreateTempFileBeside(const std::string& target);

} // namespace lm
