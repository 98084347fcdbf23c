#include "store/memo.h"

#include "memo_workdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace tabcard {
namespace {

using namespace tabcard::testing;

using MemoFiles = MemoWorkDir;

TEST(MemoFileName, NumbersWithAtLeastThreeDigits) {
  EXPECT_EQ(MemoFileName(0), "Memo000.txt");
  EXPECT_EQ(MemoFileName(9), "Memo009.txt");
  EXPECT_EQ(MemoFileName(11), "Memo011.txt");
  EXPECT_EQ(MemoFileName(123), "Memo123.txt");
  EXPECT_EQ(MemoFileName(1000), "Memo1000.txt");
}

struct TitleCase {
  const char* name;
  std::string content;
  std::string title;
};

class MemoTitleOfFile : public MemoFiles, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(MemoTitleOfFile, FollowsTheTitleRule) {
  WriteBytes("Memo003.txt", GetParam().content);
  EXPECT_EQ(MemoTitle(3), GetParam().title);
}

const std::string kA199(199, 'a');
const std::string kHiraA = "\x82\xA0";  // あ

INSTANTIATE_TEST_SUITE_P(
    Cases, MemoTitleOfFile,
    ::testing::Values(
        // Byte 200 is the lead byte of あ: the title keeps 199 bytes.
        TitleCase{"lead_byte_at_200", kA199 + kHiraA + std::string(49, 'b'), kA199},
        TitleCase{"whole_char_ends_at_200", kA199.substr(1) + kHiraA + "bbb",
                  kA199.substr(1) + kHiraA},
        TitleCase{"exactly_200_ascii", std::string(200, 'c'), std::string(200, 'c')},
        TitleCase{"spaces_and_breaks_only", "  \r\n\t \r\n", ""},
        TitleCase{"inner_breaks_kept", "line1\r\nline2\r\n \r\n", "line1\r\nline2"},
        TitleCase{"leading_spaces_kept", "  abc  ", "  abc"},
        TitleCase{"zero_after_text", std::string("abc\0def", 7), "abc"},
        TitleCase{"zero_at_start", std::string("\0abc", 4), ""},
        TitleCase{"empty_file", "", ""},
        TitleCase{"japanese", "氏名メモ\r\n", "氏名メモ"}),
    [](const auto& info) { return info.param.name; });

TEST_F(MemoFiles, MissingFileIsAnEmptySlot) {
  EXPECT_EQ(ReadMemoHead(0, 200), std::string(200, '\0'));
  EXPECT_EQ(MemoTitle(0), "");
  EXPECT_EQ(MemoText(0), "");
  EXPECT_EQ(ReadMemoHead(-1, 16), std::string(16, '\0'));
}

TEST_F(MemoFiles, HeadIsExactlyCapacityBytes) {
  WriteBytes("Memo000.txt", "abc");
  EXPECT_EQ(ReadMemoHead(0, 8), std::string("abc\0\0\0\0\0", 8));
  WriteBytes("Memo001.txt", "0123456789");
  EXPECT_EQ(ReadMemoHead(1, 4), "0123");  // no terminator: the buffer is full
  EXPECT_EQ(ReadMemoHead(1, 10), "0123456789");
}

TEST_F(MemoFiles, TextIsCutAt4096AndAtTheFirstZero) {
  const std::string text = std::string(4095, 'x') + kHiraA + std::string(1000, 'y');
  WriteBytes("Memo000.txt", text);
  EXPECT_EQ(MemoText(0), text.substr(0, 4096));  // the transfer takes the half character
  EXPECT_EQ(MemoEditorText(0), text.substr(0, 4095));

  WriteBytes("Memo001.txt", std::string(5000, 'z'));
  EXPECT_EQ(MemoEditorText(1), std::string(4096, 'z'));

  WriteBytes("Memo002.txt", std::string("before\0after", 12));
  EXPECT_EQ(MemoText(2), "before");
  EXPECT_EQ(MemoEditorText(2), "before");
}

TEST_F(MemoFiles, HugeFileReadsOnlyTheHead) {
  WriteBytes("Memo000.txt", std::string(300, 'h'));
  // Sparse: costs no disk, but reading it whole would take gigabytes.
  fs::resize_file("Memo000.txt", 3ULL << 30);
  EXPECT_EQ(MemoTitle(0), std::string(200, 'h'));
  EXPECT_EQ(MemoText(0), std::string(300, 'h'));
}

TEST_F(MemoFiles, DirectoryNamedLikeAMemoIsAnEmptySlotAndIsKept) {
  fs::create_directory("Memo000.txt");
  EXPECT_EQ(ReadMemoHead(0, 200), std::string(200, '\0'));
  EXPECT_EQ(MemoText(0), "");
  EXPECT_EQ(WriteMemoFile(0, "text"), -1);
  EXPECT_TRUE(fs::is_directory("Memo000.txt"));
  EXPECT_FALSE(fs::exists(MemoTempFileName(0)));
}

TEST_F(MemoFiles, WriteStoresBytesUpToTheFirstZero) {
  EXPECT_EQ(WriteMemoFile(0, "氏名\r\nメモ"), 10);
  EXPECT_EQ(ReadBytes("Memo000.txt"), "氏名\r\nメモ");
  EXPECT_EQ(WriteMemoFile(1, std::string("ab\0cd", 5)), 2);
  EXPECT_EQ(ReadBytes("Memo001.txt"), "ab");
  EXPECT_FALSE(fs::exists(MemoTempFileName(0)));
  EXPECT_EQ(WriteMemoFile(-1, "x"), -1);
}

TEST_F(MemoFiles, ShorterTextReplacesTheWholeFile) {
  WriteBytes("Memo000.txt", std::string(5000, 'o'));
  EXPECT_EQ(WriteMemoFile(0, "new"), 3);
  EXPECT_EQ(ReadBytes("Memo000.txt"), "new");
}

TEST_F(MemoFiles, EmptyTextLeavesAZeroByteFile) {
  WriteBytes("Memo004.txt", "old memo");
  EXPECT_EQ(WriteMemoFile(4, ""), 0);
  ASSERT_TRUE(fs::exists("Memo004.txt"));
  EXPECT_EQ(fs::file_size("Memo004.txt"), 0u);
  EXPECT_EQ(MemoTitle(4), "");
}

TEST_F(MemoFiles, FailedWriteKeepsTheOldMemo) {
  WriteBytes("Memo000.txt", "old memo");
  // The temporary file cannot be created where a non-empty directory stands.
  fs::create_directory(MemoTempFileName(0));
  WriteBytes(fs::path(MemoTempFileName(0)) / "keep", "x");
  EXPECT_EQ(WriteMemoFile(0, "new memo"), -1);
  EXPECT_EQ(ReadBytes("Memo000.txt"), "old memo");
  EXPECT_TRUE(fs::exists(fs::path(MemoTempFileName(0)) / "keep"));
}

TEST_F(MemoFiles, ReadOnlyMemoIsNotReplaced) {
  WriteBytes("Memo000.txt", "old memo");
  fs::permissions("Memo000.txt",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_EQ(MemoText(0), "old memo");
  EXPECT_EQ(WriteMemoFile(0, "new memo"), -1);
  EXPECT_EQ(ReadBytes("Memo000.txt"), "old memo");
  EXPECT_FALSE(fs::exists(MemoTempFileName(0)));
}

TEST_F(MemoFiles, EachWorkingDirectoryHasItsOwnMemos) {
  ASSERT_EQ(WriteMemoFile(0, "first dir"), 9);
  const fs::path other = dir_ / "other";
  fs::create_directory(other);
  fs::current_path(other);
  EXPECT_EQ(MemoTitle(0), "");
  EXPECT_EQ(WriteMemoFile(0, "second dir"), 10);
  fs::current_path(dir_);
  EXPECT_EQ(MemoTitle(0), "first dir");
  EXPECT_EQ(ReadBytes(other / "Memo000.txt"), "second dir");
}

#ifndef _WIN32
// A full disk shows only when the last buffer is flushed on close.
TEST_F(MemoFiles, WriteFailingOnCloseKeepsTheOldMemo) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  WriteBytes("Memo000.txt", "old memo");
  fs::create_symlink("/dev/full", MemoTempFileName(0));
  EXPECT_EQ(WriteMemoFile(0, "new memo"), -1);
  EXPECT_EQ(ReadBytes("Memo000.txt"), "old memo");
  EXPECT_FALSE(fs::is_symlink(MemoTempFileName(0)));
}

TEST_F(MemoFiles, ReplacedMemoKeepsItsPermissions) {
  WriteBytes("Memo000.txt", "old memo");
  fs::permissions("Memo000.txt", fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_EQ(WriteMemoFile(0, "new memo"), 8);
  EXPECT_EQ(fs::status("Memo000.txt").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}
#endif

#ifdef __linux__
// Opening succeeds, reading at offset 0 fails: the head must be all zeros.
TEST_F(MemoFiles, ReadErrorGivesTheZeroBuffer) {
  fs::create_symlink("/proc/self/mem", "Memo000.txt");
  EXPECT_EQ(ReadMemoHead(0, 200), std::string(200, '\0'));
}
#endif

}  // namespace
}  // namespace tabcard
