// The Win32 registry backend against the real registry, below a scratch key
// that every test creates fresh and deletes again.
#include "store/registry_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "store/layout.h"
#include "store/settings.h"

namespace tabcard {
namespace {

using Type = RegValue::Type;

class WinRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    scratch_ = L"Software\\TabcardTest\\" + std::to_wstring(GetCurrentProcessId()) + L"_" +
               std::wstring(info->name(), info->name() + std::char_traits<char>::length(info->name()));
    RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, scratch_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    root_.Reset(key);
  }

  void TearDown() override {
    root_.Reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, scratch_.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\TabcardTest");  // only when no other run uses it
  }

  // Writes raw bytes as the value name of subkey "k", below the scratch key.
  void PutRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root_.get(), L"k", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegKey holder(key);
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
  }

  bool KeyExists(const wchar_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_.get(), path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  std::wstring scratch_;
  RegKey root_;
};

TEST_F(WinRegistryTest, TypesOtherThanTextAndFourByteDwordAreUnusable) {
  const DWORD dword = 0xFFFFFFFE;
  const unsigned long long qword = 5;
  const wchar_t multi[] = L"a\0b\0";
  const BYTE binary[] = {1, 2, 3};
  const WORD shortDword = 7;
  PutRaw(L"dword", REG_DWORD, &dword, sizeof dword);
  PutRaw(L"qword", REG_QWORD, &qword, sizeof qword);
  PutRaw(L"multi", REG_MULTI_SZ, multi, sizeof multi);
  PutRaw(L"binary", REG_BINARY, binary, sizeof binary);
  PutRaw(L"bigendian", REG_DWORD_BIG_ENDIAN, &dword, sizeof dword);
  PutRaw(L"none", REG_NONE, nullptr, 0);
  PutRaw(L"shortdword", REG_DWORD, &shortDword, sizeof shortDword);

  WinRegistry reg(root_.get());
  ASSERT_TRUE(reg.Open("k", false));
  RegValue v;
  ASSERT_TRUE(reg.Query("dword", &v));
  EXPECT_EQ(v.type, Type::Dword);
  EXPECT_EQ(v.dword, 0xFFFFFFFEu);
  for (const char* name : {"qword", "multi", "binary", "bigendian", "none", "shortdword"}) {
    ASSERT_TRUE(reg.Query(name, &v)) << name;
    EXPECT_EQ(v.type, Type::Other) << name;
  }

  RegistrySession session(reg);
  ASSERT_TRUE(session.OpenForRead("k"));
  std::int32_t n = 0;
  std::string text;
  EXPECT_TRUE(session.ReadInteger("dword", &n));
  EXPECT_EQ(n, -2);
  EXPECT_FALSE(session.ReadInteger("shortdword", &n));
  EXPECT_FALSE(session.ReadString("binary", &text));
  EXPECT_FALSE(session.ReadInteger("missing", &n));
  EXPECT_TRUE(session.ReadString("missing", &text));
  EXPECT_EQ(text, "");
  RegValue unused;
  EXPECT_FALSE(reg.Query("missing", &unused));
}

TEST_F(WinRegistryTest, JapaneseKeysNamesAndTextsRoundTripAsCp932) {
  WinRegistry reg(root_.get());
  // 表 ends in the byte 0x5C: it must not split the path.
  ASSERT_TRUE(reg.Open("表示\\氏名", true));
  ASSERT_TRUE(reg.SetString("フリガナ", "ヤマダ　タロウ①"));
  reg.Close();
  EXPECT_TRUE(KeyExists(L"\u8868\u793A\\\u6C0F\u540D"));

  ASSERT_TRUE(reg.Open("表示\\氏名", false));
  RegValue v;
  ASSERT_TRUE(reg.Query("フリガナ", &v));
  EXPECT_EQ(v.type, Type::String);
  EXPECT_EQ(v.text, "\x83\x84\x83\x7D\x83\x5F\x81\x40\x83\x5E\x83\x8D\x83\x45\x87\x40");

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(root_.get(), L"\u8868\u793A\\\u6C0F\u540D", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegKey holder(key);
  wchar_t data[64] = {};
  DWORD bytes = sizeof data;
  DWORD type = 0;
  ASSERT_EQ(RegQueryValueExW(key, L"\u30D5\u30EA\u30AC\u30CA", nullptr, &type, reinterpret_cast<BYTE*>(data),
                             &bytes),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::wstring(data), L"\u30E4\u30DE\u30C0\u3000\u30BF\u30ED\u30A6\u2460");
  // The byte count includes exactly one terminating zero.
  EXPECT_EQ(bytes, 9 * sizeof(wchar_t));
}

TEST_F(WinRegistryTest, EmptyStringIsWrittenAsAnEmptyValue) {
  WinRegistry reg(root_.get());
  ASSERT_TRUE(reg.Open("k", true));
  ASSERT_TRUE(reg.SetString("e", ""));
  DWORD bytes = 0;
  DWORD type = 0;
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(root_.get(), L"k", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegKey holder(key);
  ASSERT_EQ(RegQueryValueExW(key, L"e", nullptr, &type, nullptr, &bytes), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(bytes, sizeof(wchar_t));
  RegValue v;
  ASSERT_TRUE(reg.Query("e", &v));
  EXPECT_EQ(v.type, Type::String);
  EXPECT_EQ(v.text, "");
}

TEST_F(WinRegistryTest, HostileTextData) {
  struct Case {
    const wchar_t* name;
    DWORD type;
    std::wstring data;
    DWORD bytes;
    Type expectType;
    std::string text;
  };
  const std::wstring abc = L"abc";
  const std::wstring withZero(L"ab\0cd", 5);
  const Case cases[] = {
      {L"no_terminator", REG_SZ, abc, 6, Type::String, "abc"},
      {L"odd_length", REG_SZ, abc, 7, Type::String, "abc"},
      {L"one_byte", REG_SZ, abc, 1, Type::String, ""},
      {L"embedded_zero", REG_SZ, withZero, 10, Type::String, "ab"},
      {L"expand_unexpanded", REG_EXPAND_SZ, L"%WINDIR%\\x", 22, Type::ExpandString, "%WINDIR%\\x"},
  };
  for (const Case& c : cases) PutRaw(c.name, c.type, c.data.data(), c.bytes);
  WinRegistry reg(root_.get());
  ASSERT_TRUE(reg.Open("k", false));
  for (const Case& c : cases) {
    RegValue v;
    const std::string name(c.name, c.name + std::char_traits<wchar_t>::length(c.name));
    ASSERT_TRUE(reg.Query(name, &v)) << name;
    EXPECT_EQ(v.type, c.expectType) << name;
    EXPECT_EQ(v.text, c.text) << name;
  }
}

TEST_F(WinRegistryTest, MegabyteStringRoundTrips) {
  WinRegistry reg(root_.get());
  ASSERT_TRUE(reg.Open("k", true));
  std::string big(1 << 20, 'x');
  big[12345] = '\x88';  // 亜, double-byte
  big[12346] = '\x9F';
  ASSERT_TRUE(reg.SetString("big", big));
  RegValue v;
  ASSERT_TRUE(reg.Query("big", &v));
  EXPECT_EQ(v.type, Type::String);
  EXPECT_EQ(v.text.size(), big.size());
  EXPECT_TRUE(v.text == big);
}

TEST_F(WinRegistryTest, ValueChangingSizeWhileReadIsReadWhole) {
  WinRegistry writer(root_.get());
  ASSERT_TRUE(writer.Open("k", true));
  const std::string small(10, 's');
  const std::string large(20000, 'L');
  ASSERT_TRUE(writer.SetString("v", small));
  std::atomic<bool> stop{false};
  std::thread flipper([&] {
    for (int i = 0; !stop && i < 1000000; ++i) writer.SetString("v", i % 2 ? small : large);
  });
  WinRegistry reader(root_.get());
  ASSERT_TRUE(reader.Open("k", false));
  int torn = 0;
  int largeReads = 0;
  // At least 500 reads, and on until one saw the large text (the writer
  // thread may be scheduled late), within a bound.
  const ULONGLONG deadline = GetTickCount64() + 5000;
  for (int i = 0; (i < 500 || largeReads == 0) && GetTickCount64() < deadline; ++i) {
    RegValue v;
    ASSERT_TRUE(reader.Query("v", &v));  // the value exists all along
    if (v.type != Type::String) continue;  // gave up on a value that kept changing
    if (v.text == large) ++largeReads;
    if (v.text != small && v.text != large) ++torn;
  }
  stop = true;
  flipper.join();
  EXPECT_GT(largeReads, 0);
  EXPECT_EQ(torn, 0);
}

TEST_F(WinRegistryTest, OpenForReadDoesNotCreateAndDeleteTreeRemovesEverything) {
  WinRegistry reg(root_.get());
  EXPECT_FALSE(reg.Open("a\\b", false));
  EXPECT_FALSE(KeyExists(L"a"));
  RegValue v;
  EXPECT_FALSE(reg.Query("x", &v));  // no key open

  ASSERT_TRUE(reg.Open("a\\b\\c", true));
  ASSERT_TRUE(reg.SetDword("n", 1));
  ASSERT_TRUE(reg.Open("a", true));
  ASSERT_TRUE(reg.SetString("s", "t"));
  ASSERT_TRUE(reg.Open("a2", true));
  reg.Close();
  EXPECT_TRUE(reg.DeleteTree("a"));
  EXPECT_FALSE(KeyExists(L"a"));
  EXPECT_TRUE(KeyExists(L"a2"));
  EXPECT_TRUE(reg.DeleteTree("a"));  // already gone: no failure
  EXPECT_FALSE(reg.DeleteTree(""));  // would empty the root
  EXPECT_TRUE(KeyExists(L"a2"));
}

// The open key's own values (the unnamed one too), not its subkeys'.
TEST_F(WinRegistryTest, ValueCountIsWhatTheOpenKeyHolds) {
  WinRegistry reg(root_.get());
  std::size_t count = 99;
  EXPECT_FALSE(reg.ValueCount(&count));  // no key open
  ASSERT_TRUE(reg.Open("k\\sub", true));
  ASSERT_TRUE(reg.SetString("below", "x"));
  ASSERT_TRUE(reg.Open("k", true));
  ASSERT_TRUE(reg.ValueCount(&count));
  EXPECT_EQ(count, 0u);
  ASSERT_TRUE(reg.SetDword("ItemCount", 0x7FFFFFFF));
  ASSERT_TRUE(reg.SetString("Item000", "定型文"));
  ASSERT_TRUE(reg.SetString("", "default"));
  ASSERT_TRUE(reg.ValueCount(&count));
  EXPECT_EQ(count, 3u);
  reg.Close();
  EXPECT_FALSE(reg.ValueCount(&count));
}

TEST_F(WinRegistryTest, NamesWithZeroBytesAreRefused) {
  WinRegistry reg(root_.get());
  ASSERT_TRUE(reg.Open("k", true));
  ASSERT_TRUE(reg.SetString("Item", "keep"));
  EXPECT_FALSE(reg.SetString(std::string("Item\0x", 6), "lost"));
  EXPECT_FALSE(reg.Open(std::string("k\0z", 3), true));
  ASSERT_TRUE(reg.Open("k", false));
  RegValue v;
  ASSERT_TRUE(reg.Query("Item", &v));
  EXPECT_EQ(v.text, "keep");
}

TEST_F(WinRegistryTest, SettingsRoundTripThroughTheRealRegistry) {
  WinRegistry reg(root_.get());
  const FontFace font = StandardFont(true);
  PaletteSettings loaded;
  EXPECT_FALSE(LoadSettings(reg, font, &loaded));
  EXPECT_FALSE(KeyExists(L"Software"));

  PaletteSettings saved = loaded;
  saved.CloseInTaskTray = true;
  saved.configs[kPageKojin2].FontName = "ＭＳ 明朝";
  saved.configs[kPageMemo].RowCount = 12;
  saved.items[0][3] = "勤住所２";
  ASSERT_TRUE(SaveSettings(reg, saved));
  EXPECT_TRUE(KeyExists(L"Software\\orrery\\Tabcard\\Config\\Kojin2\\Items"));

  PaletteSettings again;
  ASSERT_TRUE(LoadSettings(reg, font, &again));
  EXPECT_TRUE(again.CloseInTaskTray);
  EXPECT_EQ(again.configs, saved.configs);
  EXPECT_EQ(again.items[0][3], "勤住所２");
  EXPECT_EQ(again.MemoCount, 12);
}

}  // namespace
}  // namespace tabcard
