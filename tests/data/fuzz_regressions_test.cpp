// Inputs the fuzz targets (fuzz/) turned up, kept as ordinary tests so that what they showed
// stays true without a fuzzer.
#include <gtest/gtest.h>

#include "data/errors.h"
#include "data/file_util.h"
#include "data/remark.h"
#include "dbwriter/db_writer.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

using test_support::TempDir;

// remarks target: a temporary file standing in for a missing remark file, holding the
// signature but cut inside the 32-byte header. Changes go after a whole header (the gap reads
// as zeros) and the remark is found again after closing and reopening.
TEST(FuzzRegressions, ARemarkFileCutInsideItsHeaderTakesChangesAfterAWholeHeader) {
  TempDir dir;
  const std::string name = dir / "remark.dat";
  const std::string cut = EncodeRemarks({}).substr(0, 18);
  WriteBytes(ChangeExtension(name, ".tmp"), cut);
  {
    TRemark remarks(name, 10);
    EXPECT_FALSE(FileExists(ChangeExtension(name, ".tmp")));
    EXPECT_EQ(remarks.Get(2), "");
    remarks.Set(2, "abc");
    EXPECT_EQ(remarks.Get(2), "abc");
  }
  const std::string bytes = ReadWholeFile(name).value_or("");
  ASSERT_EQ(bytes.size(), 32u + 7u + 3u);
  EXPECT_EQ(bytes.substr(0, 18), cut);
  EXPECT_EQ(bytes.substr(18, 14), std::string(14, '\0'));
  TRemark reopened(name, 10);
  EXPECT_EQ(reopened.Get(2), "abc");
}

// remarks target: a file whose last bytes are no whole entry. Storing the text a record already
// has changes nothing, not even that tail; a real change keeps the whole file aside first.
TEST(FuzzRegressions, StoringAnUnchangedRemarkLeavesADamagedTailAlone) {
  TempDir dir;
  const std::string name = dir / "remark.dat";
  const std::string damaged = EncodeRemarks({}) + std::string("\x20\0\0\0tail", 8);
  WriteBytes(name, damaged);
  TRemark remarks(name, 10);
  remarks.Set(2, "");
  EXPECT_EQ(ReadWholeFile(name).value_or(""), damaged);
  remarks.Set(2, "abc");
  EXPECT_EQ(remarks.Get(2), "abc");
  EXPECT_EQ(ReadWholeFile(name).value_or("").size(), 32u + 7u + 3u);
  EXPECT_EQ(test_support::KeptCopies(dir.path(), "remark.dat.damaged-").size(), 1u);
}

}  // namespace
}  // namespace zorel
