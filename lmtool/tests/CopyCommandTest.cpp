// lmtool copy, run as a program, against the correlation program's save of a loaded set.

#include "lmqwin2/dataset/LMDataSet.h"
#include "testsupport/RunProgram.h"
#include "testsupport/SpartanBuilder.h"
#include "testsupport/TempFolder.h"

#include <gtest/gtest.h>
#include <string>

namespace lm {
namespace {

using lmtest::ReadBytes;
using lmtest::TempFolder;

TEST(LMDataSetFile, SaveWithNothingDeletedEqualsToolCopy)
{
    if (lmtest::LmtoolPath().empty())
        GTEST_SKIP() << "lmtool is not built";
    TempFolder folder;
    // A hand-built file with an unknown record code in the middle and records after the
    // end-of-data record: the loader's count stops short of them, the save keeps them.
    const std::string source = folder.File("hand.dta", lmtest::SpartanBuilder()
                                                           .Hit(1.0, 50)
                                                           .Unknown()
                                                           .Comment()
                                                           .Hit(2.0, 50)
                                                           .EndOfData()
                                                           .Hit(3.0, 50)
                                                           .Hit(4.0, 50)
                                                           .Bytes());
    LMDataSet data;
    data.Load(source);
    EXPECT_EQ(data.FileType, dtSpartan);
    EXPECT_EQ(data.RecordCount, 4u); // codes 1, 7, 1, 0 are known; 99 is not
    EXPECT_EQ(data.HitCount, 2u);    // the end record and the two hits after it are not held

    data.Save(folder / "saved.dta");
    const std::string copied = folder / "copied.dta";
    const lmtest::RunResult copy =
        lmtest::RunLmtool("copy " + lmtest::Quote(source) + " " + lmtest::Quote(copied));
    ASSERT_EQ(copy.status, 0) << copy.err;
    EXPECT_EQ(ReadBytes(folder / "saved.dta"), ReadBytes(copied));
}

} // namespace
} // namespace lm
