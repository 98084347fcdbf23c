// A backup of the real product key and memo files through a file with a
// Japanese name: the store is wiped and changed, restored, and compared byte
// for byte with what the W functions put there.
#include "store/backup_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../unit/memo_workdir.h"
#include "store/registry_win.h"

namespace tabcard {
namespace {

using namespace std::string_literals;
using namespace tabcard::testing;

const std::wstring kProductKey = L"Software\\orrery\\Tabcard";

struct Stored {
  std::wstring key;  // below the product key
  std::wstring name;
  DWORD type;
  std::string data;
};

std::string Units(std::wstring_view text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

std::string Dword(DWORD v) { return std::string(reinterpret_cast<const char*>(&v), sizeof v); }

std::wstring KeyPath(const std::wstring& key) {
  return key.empty() ? kProductKey : kProductKey + L"\\" + key;
}

// Values of every kind, including string data the registry does not
// terminate and names CP932 cannot spell.
std::vector<Stored> StoredValues() {
  return {
      {L"", L"TabMode", REG_DWORD, Dword(1)},
      {L"Config\\Memo", L"ColCount", REG_DWORD, Dword(1)},
      {L"Config\\Memo", L"RowCount", REG_DWORD, Dword(3)},
      {L"Config\\Memo", L"FontName", REG_SZ, Units(L"ＭＳ Ｐゴシック\0"s)},
      {L"User1", L"氏名≒", REG_SZ, Units(L"山田≒①\0"s)},
      {L"User1", L"", REG_SZ, Units(L"既定\0"s)},
      {L"User1", L"no terminator", REG_SZ, Units(L"abc")},
      {L"User1", L"odd", REG_SZ, "ab\0"s},
      {L"User1", L"one byte", REG_SZ, "a"},
      {L"User1", L"zeros inside", REG_SZ, Units(L"a\0b\0"s)},
      {L"User1", L"lone surrogate", REG_SZ, Units(L"\xD800x\0"s)},
      {L"User1", L"𠮷", REG_EXPAND_SZ, Units(L"%TEMP%\\𠮷\0"s)},
      {L"日本語\\𠮷", L"multi", REG_MULTI_SZ, Units(L"a\0b\0\0"s)},
      {L"日本語\\𠮷", L"binary", REG_BINARY, "\0\xFF"s},
      {L"日本語\\𠮷", L"qword", REG_QWORD, "\1\2\3\4\5\6\7\x08"s},
      {L"日本語\\𠮷", L"custom", 0x4000, "xyz"},
      {L"日本語\\𠮷", L"none", REG_NONE, ""},
  };
}

class BackupWinTest : public MemoWorkDir {
 protected:
  void SetUp() override {
    MemoWorkDir::SetUp();
    RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey.c_str());
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey.c_str());
    MemoWorkDir::TearDown();
  }

  static void Put(const Stored& s) {
    RegKey key;
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(s.key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    key.Reset(raw);
    // Non-zero bytes after the data, or RegSetValueExW may add a terminator.
    const std::string buffer = s.data + "\xFF\xFF\xFF";
    ASSERT_EQ(RegSetValueExW(raw, s.name.c_str(), 0, s.type, reinterpret_cast<const BYTE*>(buffer.data()),
                             static_cast<DWORD>(s.data.size())),
              ERROR_SUCCESS);
  }

  // The value as the registry holds it now; "missing" when it is not there.
  static std::string Get(const Stored& s, DWORD* type) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(s.key).c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) {
      return "missing";
    }
    RegKey key(raw);
    std::string data(64, '\0');
    DWORD size = static_cast<DWORD>(data.size());
    if (RegQueryValueExW(raw, s.name.c_str(), nullptr, type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS) {
      return "missing";
    }
    return data.substr(0, size);
  }
};

TEST_F(BackupWinTest, RegistryAndMemosComeBackByteForByte) {
  const std::vector<Stored> stored = StoredValues();
  for (const Stored& s : stored) Put(s);
  HKEY emptyKey = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(L"空").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &emptyKey, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(emptyKey);
  for (const Stored& s : stored) {
    DWORD type = 0;
    ASSERT_EQ(Get(s, &type), s.data) << "stored as given: " << s.name.size();
  }
  // ≒ twice: the NEC code 0x8790, which Unicode turns into 0x81E0, and 0x81E0.
  const std::string memo0 = "\x87\x90\x81\xE0\r\n表\0x"s;
  WriteBytes("Memo000.txt", memo0);
  WriteBytes("Memo002.txt", "");
  WriteBytes("Memo005.txt", "beyond the page");

  WinRegistry registry;
  Backup captured;
  std::string reason;
  ASSERT_TRUE(CaptureBackup(registry, &captured, &reason)) << reason;
  const std::string text = WriteBackup(captured, WindowsCp932());
  EXPECT_NE(text.find(u8R"(memo 0 "\x87\x90≒\r\n表\x00x")"), std::string::npos);
  EXPECT_NE(text.find(u8R"(value "氏名≒" REG_SZ "山田≒①")"), std::string::npos);
  const std::wstring file = L"バックアップ𠮷.tcb";
  ASSERT_TRUE(SaveBackupFile(file, text, &reason)) << reason;
  std::string loaded;
  ASSERT_TRUE(LoadBackupFile(file, &loaded, &reason)) << reason;
  Backup read;
  ASSERT_TRUE(ReadBackup(loaded, WindowsCp932(), &read, &reason)) << reason;
  ASSERT_EQ(read, captured);

  RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey.c_str());
  Put({L"Stray", L"value", REG_SZ, Units(L"x\0"s)});
  std::filesystem::remove("Memo000.txt");
  WriteBytes("Memo001.txt", "stray");
  WriteBytes("Memo002.txt", "changed");
  WriteBytes("Memo005.txt", "beyond, changed");
  ASSERT_TRUE(RestoreBackup(registry, read, &reason)) << reason;

  for (const Stored& s : stored) {
    DWORD type = 0;
    EXPECT_EQ(Get(s, &type), s.data) << "restored: " << s.name.size();
    EXPECT_EQ(type, s.type);
  }
  DWORD type = 0;
  EXPECT_EQ(Get({L"Stray", L"value", REG_SZ, ""}, &type), "missing");
  Backup again;
  ASSERT_TRUE(CaptureBackup(registry, &again, &reason)) << reason;
  EXPECT_EQ(again, captured);  // the empty key too, and nothing more
  EXPECT_EQ(ReadBytes("Memo000.txt"), memo0);
  EXPECT_FALSE(std::filesystem::exists("Memo001.txt"));
  EXPECT_EQ(ReadBytes("Memo002.txt"), "");
  EXPECT_EQ(ReadBytes("Memo005.txt"), "beyond, changed");
}

}  // namespace
}  // namespace tabcard
