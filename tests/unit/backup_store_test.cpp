// Capture and restore over the in-memory registry and memo files in a fresh
// working directory: what comes back, what is left alone, and the way back
// when a restore fails.
#include "store/backup_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cp932_stand_in.h"
#include "memo_workdir.h"
#include "store/layout.h"
#include "store/memory_registry.h"
#include "store/settings.h"
#include "store_fixture.h"

namespace tabcard {
namespace {

using namespace std::string_literals;
using namespace tabcard::testing;

const FontFace kFont = StandardFont(true);
const std::string kMemo0 = "表\x87\x90\x81\xE0\r\n\0tail"s;

class BackupStore : public MemoWorkDir {
 protected:
  // Standard settings with a 1 x 3 memo page, values of types the program
  // never writes below a Japanese key, and memos 0 and 2 of the page's three
  // plus one beyond it.
  void SetUp() override {
    MemoWorkDir::SetUp();
    LoadSettings(reg_, kFont, &settings_);
    settings_.configs[kPageMemo].RowCount = 3;
    settings_.TabMode = true;
    ASSERT_TRUE(SaveSettings(reg_, settings_));
    ASSERT_TRUE(reg_.OpenRaw(u"Software\\orrery\\Tabcard\\Extra\\深い", true));
    ASSERT_TRUE(reg_.SetRaw({u"Blob", kRegBinary, "\0\1"s}));
    ASSERT_TRUE(reg_.SetRaw({u"Odd ≒", kRegSz, "x"}));
    ASSERT_TRUE(reg_.SetRaw({u"Custom", 0x4000, ""}));
    reg_.Close();
    WriteBytes("Memo000.txt", kMemo0);
    WriteBytes("Memo002.txt", "");
    WriteBytes("Memo003.txt", "beyond the page");
    std::string reason;
    ASSERT_TRUE(CaptureBackup(reg_, &captured_, &reason)) << reason;
  }

  // Everything the backup holds, changed.
  void ChangeEverything() {
    PaletteSettings other = settings_;
    other.TabMode = false;
    other.configs[kPageKojin1].FontName = "ＭＳ 明朝";
    ASSERT_TRUE(SaveSettings(reg_, other));
    reg_.DeleteTree(std::string(kBaseKey) + "\\Extra");
    reg_.PutString(std::string(kBaseKey) + "\\New", "Value", "new");
    WriteBytes("Memo000.txt", "changed");
    WriteBytes("Memo001.txt", "new");
    std::filesystem::remove("Memo002.txt");
    WriteBytes("Memo003.txt", "beyond, changed");
  }

  Backup Current() {
    Backup now;
    std::string reason;
    EXPECT_TRUE(CaptureBackup(reg_, &now, &reason)) << reason;
    return now;
  }

  MemoryRegistry reg_;
  PaletteSettings settings_;
  Backup captured_;
};

TEST_F(BackupStore, RestoreBringsBackWhatWasCapturedThroughTheFile) {
  EXPECT_EQ(captured_.keys.front().path, u"");
  ASSERT_EQ(captured_.memos.size(), 2u);  // slots 0 and 2; 1 has no file, 3 lies beyond
  EXPECT_EQ(captured_.memos[0].bytes, kMemo0);
  EXPECT_EQ(captured_.memos[1].slot, 2);

  const Cp932StandIn codec;
  Backup read;
  std::string reason;
  ASSERT_TRUE(ReadBackup(WriteBackup(captured_, codec), codec, &read, &reason)) << reason;
  ASSERT_EQ(read, captured_);

  ChangeEverything();
  ASSERT_TRUE(RestoreBackup(reg_, read, &reason)) << reason;
  EXPECT_EQ(Current(), captured_);
  PaletteSettings loaded;
  ASSERT_TRUE(LoadSettings(reg_, kFont, &loaded));
  EXPECT_TRUE(loaded.TabMode);
  EXPECT_EQ(loaded.configs, settings_.configs);
  EXPECT_FALSE(reg_.HasKey(std::string(kBaseKey) + "\\New"));
  EXPECT_EQ(ReadBytes("Memo000.txt"), kMemo0);
  EXPECT_FALSE(std::filesystem::exists("Memo001.txt"));
  EXPECT_EQ(ReadBytes("Memo002.txt"), "");
  EXPECT_EQ(ReadBytes("Memo003.txt"), "beyond, changed");

  // The backup of a store never written removes the product key and the
  // memos of the standard ten slots.
  ASSERT_TRUE(RestoreBackup(reg_, Backup{}, &reason)) << reason;
  EXPECT_FALSE(reg_.HasKey(kBaseKey));
  EXPECT_FALSE(std::filesystem::exists("Memo000.txt"));
  EXPECT_EQ(Current(), Backup{});
}

// Writes the value named "Mangled" with a byte more than it was given.
class MangledRegistry : public RecordingRegistry {
 public:
  using RecordingRegistry::RecordingRegistry;
  bool SetRaw(const RawValue& value) override {
    RawValue changed = value;
    if (changed.name == u"Mangled") changed.data += 'x';
    return RecordingRegistry::SetRaw(changed);
  }
};

TEST_F(BackupStore, AFailedRestorePutsBackWhatWasThere) {
  Backup mangled = captured_;
  mangled.keys.front().values.push_back({u"Mangled", kRegBinary, "1"});
  struct Case {
    const char* name;
    const Backup& backup;
    bool readOnlyMemo1;
    int writesBeforeFailing;
    const char* says;
  };
  Backup withMemo1 = captured_;
  withMemo1.memos.push_back({1, "one"});
  const Case cases[] = {
      {"read_only_memo", withMemo1, true, -1,
       "Memo001.txt を書き込めませんでした。復元前の内容に戻しました。"},
      {"registry_reads_back_otherwise", mangled, false, -1, "一致しませんでした。復元前の内容に戻しました。"},
      {"registry_unwritable", captured_, false, 2,
       "書き込めませんでした。復元前の内容にも戻せませんでした。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChangeEverything();
    WriteBytes("Memo001.txt", "kept");
    if (c.readOnlyMemo1) std::filesystem::permissions("Memo001.txt", std::filesystem::perms::owner_read);
    const Backup before = Current();
    reg_.FailWritesAfter(c.writesBeforeFailing);
    MangledRegistry backend(reg_);
    std::string reason;
    EXPECT_FALSE(RestoreBackup(backend, c.backup, &reason));
    EXPECT_NE(reason.find(c.says), std::string::npos) << reason;
    reg_.FailWritesAfter(-1);
    if (c.writesBeforeFailing < 0) {
      EXPECT_EQ(Current(), before);
    }
    EXPECT_EQ(ReadBytes("Memo001.txt"), "kept");
    std::filesystem::permissions("Memo001.txt", std::filesystem::perms::owner_all);
  }
}

TEST_F(BackupStore, UnreadableMemoStopsCaptureAndRestoreBeforeAnyChange) {
  ChangeEverything();
  std::filesystem::remove("Memo001.txt");
  const Backup before = Current();
  std::filesystem::create_directory("Memo001.txt");
  Backup out;
  std::string reason;
  EXPECT_FALSE(CaptureBackup(reg_, &out, &reason));
  EXPECT_NE(reason.find("Memo001.txt を読めませんでした"), std::string::npos) << reason;
  reason.clear();
  EXPECT_FALSE(RestoreBackup(reg_, captured_, &reason));
  EXPECT_NE(reason.find("Memo001.txt を読めませんでした"), std::string::npos) << reason;
  std::filesystem::remove("Memo001.txt");
  EXPECT_EQ(Current(), before);
}

TEST(BackupNames, DateAndTimeWithLeadingZeros) {
  const BackupTime t{2024, 1, 5, 9, 8, 7};
  EXPECT_EQ(DefaultBackupName(t), "Tabcard-20240105.tcb");
  EXPECT_EQ(SafetyBackupName(t), "Tabcard-20240105-090807-復元前.tcb");
}

}  // namespace
}  // namespace tabcard
