#include "datafiles/TempFile.h"

#include "testsupport/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

// Output files are written to a temporary file beside the target and renamed over it:
// the temporary file must be new (never an existing file taken over), in the target's
// folder, and carry the permissions any new file of the user gets.
TEST(TempFile, NewFilesBesideTheTargetWithTheUsualPermissions)
{
    const lmtest::TempFolder folder("lm-tempfile");
    const fs::path dir = folder.path();
    const std::string target = (dir / "post.dta").string();
    const mode_t old = ::umask(027);
    std::set<std::string> made;
    for (int i = 0; i < 20; ++i) {
        const std::string temp = lm::CreateTempFileBeside(target);
        ASSERT_FALSE(temp.empty());
        EXPECT_EQ(fs::path(temp).parent_path(), dir);
        EXPECT_TRUE(made.insert(temp).second) << temp;
        struct stat st {};
        ASSERT_EQ(::stat(temp.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0640u);
        EXPECT_EQ(st.st_size, 0);
    }
    ::umask(old);
    EXPECT_FALSE(fs::exists(target));

    // No folder, no file, and the caller learns why.
    errno = 0;
    EXPECT_EQ(lm::CreateTempFileBeside((dir / "missing" / "x.dta").string()), "");
    EXPECT_EQ(errno, ENOENT);
}
