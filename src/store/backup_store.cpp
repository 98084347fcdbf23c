#include "store/backup_store.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "store/layout.h"
#include "store/memo.h"

namespace tabcard {
namespace {

// A memo this large is no text a person kept in Tabcard.
constexpr std::size_t kMaxMemoBytes = 16u << 20;

constexpr char kRegistryUnreadable[] = "設定（レジストリ）を読めませんでした。";
constexpr char kRegistryUnwritable[] = "設定（レジストリ）を書き込めませんでした。";
constexpr char kRegistryDiffers[] = "書き込んだ設定を読み返すと、バックアップの内容と一致しませんでした。";
constexpr char kRolledBack[] = "復元前の内容に戻しました。";
constexpr char kNotRolledBack[] = "復元前の内容にも戻せませんでした。";

std::u16string FullPath(std::u16string_view path) {
  std::u16string full(kBaseKey, kBaseKey + std::strlen(kBaseKey));
  if (!path.empty()) full.append(1, u'\\').append(path);
  return full;
}

// Parents before children, in the registry's order.
bool CaptureRegistry(RegistryBackend& backend, std::vector<BackupKey>* keys) {
  keys->clear();
  std::vector<std::u16string> pending = {u""};
  bool ok = true;
  while (ok && !pending.empty()) {
    BackupKey key{std::move(pending.back()), {}};
    pending.pop_back();
    if (!backend.OpenRaw(FullPath(key.path), false)) {
      ok = key.path.empty();  // no product key: nothing stored yet
      break;
    }
    std::vector<std::u16string> subkeys;
    ok = backend.ListValues(&key.values) && backend.ListSubkeys(&subkeys);
    for (auto it = subkeys.rbegin(); it != subkeys.rend(); ++it) {
      pending.push_back(key.path.empty() ? *it : key.path + u'\\' + *it);
    }
    keys->push_back(std::move(key));
  }
  backend.Close();
  return ok;
}

bool CaptureMemos(int slots, std::vector<BackupMemo>* memos, std::string* reason) {
  memos->clear();
  for (int slot = 0; slot < slots; ++slot) {
    BackupMemo memo;
    memo.slot = slot;
    const MemoFileRead read = ReadMemoFile(slot, kMaxMemoBytes, &memo.bytes);
    if (read == MemoFileRead::Failed) {
      *reason = "メモファイル " + MemoFileName(slot) + " を読めませんでした。";
      return false;
    }
    if (read == MemoFileRead::Read) memos->push_back(std::move(memo));
  }
  return true;
}

bool WriteMemos(const std::vector<BackupMemo>& memos, int slots, std::string* reason) {
  std::vector<const BackupMemo*> bySlot(static_cast<std::size_t>(slots), nullptr);
  for (const BackupMemo& memo : memos) {
    if (memo.slot >= 0 && memo.slot < slots) bySlot[static_cast<std::size_t>(memo.slot)] = &memo;
  }
  for (int slot = 0; slot < slots; ++slot) {
    const BackupMemo* memo = bySlot[static_cast<std::size_t>(slot)];
    // A file that already is what the backup holds stays untouched, so a
    // read-only memo the restore does not change is no failure.
    std::string now;
    const MemoFileRead read = ReadMemoFile(slot, kMaxMemoBytes, &now);
    if (memo ? read == MemoFileRead::Read && now == memo->bytes : read == MemoFileRead::Missing) continue;
    if (memo ? !RestoreMemoFile(slot, memo->bytes) : !RemoveMemoFile(slot)) {
      *reason = "メモファイル " + MemoFileName(slot) + " を書き込めませんでした。";
      return false;
    }
  }
  return true;
}

bool WriteRegistry(RegistryBackend& backend, const std::vector<BackupKey>& keys) {
  bool ok = backend.DeleteTree(kBaseKey);
  for (const BackupKey& key : keys) {
    ok = ok && backend.OpenRaw(FullPath(key.path), true);
    for (const RawValue& value : key.values) ok = ok && backend.SetRaw(value);
  }
  backend.Close();
  return ok;
}

// The same keys holding the same values, whatever the order.
bool SameRegistry(std::vector<BackupKey> a, std::vector<BackupKey> b) {
  for (auto* keys : {&a, &b}) {
    for (BackupKey& key : *keys) {
      std::sort(key.values.begin(), key.values.end(),
                [](const RawValue& x, const RawValue& y) { return x.name < y.name; });
    }
    std::sort(keys->begin(), keys->end(),
              [](const BackupKey& x, const BackupKey& y) { return x.path < y.path; });
  }
  return a == b;
}

bool Apply(RegistryBackend& backend, const Backup& backup, int slots, std::string* reason) {
  if (!WriteMemos(backup.memos, slots, reason)) return false;
  std::vector<BackupKey> written;
  if (!WriteRegistry(backend, backup.keys) || !CaptureRegistry(backend, &written)) {
    *reason = kRegistryUnwritable;
    return false;
  }
  if (!SameRegistry(backup.keys, std::move(written))) {
    *reason = kRegistryDiffers;
    return false;
  }
  return true;
}

std::string Digits(int n, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, n);
  return buffer;
}

std::string Date(const BackupTime& t) { return Digits(t.year, 4) + Digits(t.month, 2) + Digits(t.day, 2); }

}  // namespace

bool CaptureBackup(RegistryBackend& backend, Backup* out, std::string* reason) {
  Backup backup;
  if (!CaptureRegistry(backend, &backup.keys)) {
    *reason = kRegistryUnreadable;
    return false;
  }
  if (!CaptureMemos(BackupMemoSlots(backup), &backup.memos, reason)) return false;
  *out = std::move(backup);
  return true;
}

bool RestoreBackup(RegistryBackend& backend, const Backup& backup, std::string* reason) {
  // What is there now, over the slots the restore touches, to go back to.
  const int slots = BackupMemoSlots(backup);
  Backup before;
  if (!CaptureRegistry(backend, &before.keys)) {
    *reason = kRegistryUnreadable;
    return false;
  }
  if (!CaptureMemos(slots, &before.memos, reason)) return false;
  std::string failure;
  if (Apply(backend, backup, slots, &failure)) return true;
  std::string ignored;
  *reason = failure + (Apply(backend, before, slots, &ignored) ? kRolledBack : kNotRolledBack);
  return false;
}

std::string DefaultBackupName(const BackupTime& t) { return "Tabcard-" + Date(t) + ".tcb"; }

std::string SafetyBackupName(const BackupTime& t) {
  return "Tabcard-" + Date(t) + "-" + Digits(t.hour, 2) + Digits(t.minute, 2) + Digits(t.second, 2) +
         "-復元前.tcb";
}

}  // namespace tabcard
