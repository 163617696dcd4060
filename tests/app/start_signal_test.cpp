#include "app/start_signal.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
  const char* path;
  const char* fileName;
  bool signals;
};

class StartSignalName : public ::testing::TestWithParam<NameCase> {};

TEST_P(StartSignalName, CutsAfterLastBackslashAndComparesFoldedTail) {
  const NameCase& c = GetParam();
  EXPECT_EQ(start_signal::FileNameOf(c.path), c.fileName);
  EXPECT_EQ(start_signal::IsTmpExecutable(c.path), c.signals);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartSignalName,
    ::testing::Values(
        NameCase{"C:\\dir\\x.tmp", "x.tmp", true},
        NameCase{"C:\\dir\\x.TMP", "x.TMP", true},
        NameCase{"C:\\dir\\x.TmP", "x.TmP", true},
        NameCase{"x.tmp", "x.tmp", true},  // no backslash: the whole path
        NameCase{".tmp", ".tmp", true},
        NameCase{"C:\\dir\\x.tmp.exe", "x.tmp.exe", false},
        NameCase{"C:\\dir\\x.exe", "x.exe", false},
        NameCase{"C:\\dir.tmp\\x.exe", "x.exe", false},  // only the file name counts
        NameCase{"C:\\dir\\tmp", "tmp", false},          // shorter than four bytes
        NameCase{"C:\\dir\\", "", false},
        NameCase{"", "", false},
        // DB 5C is one double-byte character: its 5C is no backslash.
        NameCase{"C:\\d\\\xDB\x5Cx.tmp", "\xDB\x5Cx.tmp", true},
        NameCase{"C:\\d\\a\xDB\x5C", "a\xDB\x5C", false},
        // A trail byte that looks like a capital does not make a match.
        NameCase{"C:\\d\\.tm\x8C\x50", ".tm\x8C\x50", false}));

}  // namespace
