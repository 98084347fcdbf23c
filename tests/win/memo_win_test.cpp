// Memo files against a Windows file semantic that a POSIX run cannot show:
// files held open, with or without sharing, by another program.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "store/memo.h"
#include "../unit/memo_workdir.h"

namespace tabcard {
namespace {

using namespace tabcard::testing;

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

Handle OpenShared(const wchar_t* name, DWORD share) {
  return Handle(CreateFileW(name, GENERIC_READ, share, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
}

class MemoFilesWin : public MemoWorkDir {
 protected:
  void SetUp() override {
    MemoWorkDir::SetUp();
    WriteBytes("Memo000.txt", "old memo");
  }
};

// Another program holding the file without sharing: unreadable and unwritable.
TEST_F(MemoFilesWin, FileLockedByAnotherHandleIsEmptyAndKept) {
  {
    const Handle lock = OpenShared(L"Memo000.txt", 0);
    ASSERT_TRUE(lock.Valid());
    EXPECT_EQ(ReadMemoHead(0, 200), std::string(200, '\0'));
    EXPECT_EQ(MemoTitle(0), "");
    EXPECT_EQ(WriteMemoFile(0, "new memo"), -1);
    EXPECT_FALSE(fs::exists(MemoTempFileName(0)));
  }
  EXPECT_EQ(ReadBytes("Memo000.txt"), "old memo");
}

// A reader that shares reading and writing but not deletion stops the
// replace; the write must then fail cleanly rather than half-replace.
TEST_F(MemoFilesWin, ReaderWithoutDeleteSharingMakesTheWriteFailCleanly) {
  {
    const Handle reader = OpenShared(L"Memo000.txt", FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(reader.Valid());
    EXPECT_EQ(MemoText(0), "old memo");
    EXPECT_EQ(WriteMemoFile(0, "new memo"), -1);
    EXPECT_FALSE(fs::exists(MemoTempFileName(0)));
  }
  EXPECT_EQ(ReadBytes("Memo000.txt"), "old memo");
  EXPECT_EQ(WriteMemoFile(0, "new memo"), 8);
  EXPECT_EQ(ReadBytes("Memo000.txt"), "new memo");
}

}  // namespace
}  // namespace tabcard
