// Memo files against a Windows file semantic that a POSIX run cannot show:
// files held open, with or without sharing, by another program.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

#include "store/memo.h"

namespace tabcard {
namespace {

namespace fs = std::filesystem;

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

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

class MemoFilesWin : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = fs::current_path();
    std::random_device random;
    do {
      dir_ = fs::temp_directory_path() / ("tabcard-memo-win-" + std::to_string(random()));
    } while (!fs::create_directory(dir_));
    fs::current_path(dir_);
    WriteBytes("Memo000.txt", "old memo");
  }
  void TearDown() override {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  fs::path previous_;
  fs::path dir_;
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
