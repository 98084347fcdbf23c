#include "store/backup_win.h"

#include <windows.h>

#include <algorithm>

#include "core/strconv_win.h"

namespace tabcard {
namespace {

constexpr char kUnreadable[] = "バックアップファイルを読めませんでした。";
constexpr char kUnwritable[] = "バックアップファイルを書き込めませんでした。";
// ReadFile and WriteFile take a DWORD count.
constexpr DWORD kChunk = 1u << 20;

class WindowsCodec : public Cp932Codec {
 public:
  std::u16string Decode(std::string_view character) const override {
    const std::wstring wide = Widen(character);
    return std::u16string(wide.begin(), wide.end());
  }
  bool Encode(std::u16string_view text, std::string* bytes) const override {
    const std::wstring wide(text.begin(), text.end());
    if (FirstUnstorable(wide)) return false;
    *bytes = Narrow(wide);
    return true;
  }
};

class File {
 public:
  explicit File(HANDLE handle) : handle_(handle) {}
  ~File() { Close(); }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  HANDLE get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    const bool closed = !Valid() || CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kChunk));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written != chunk) return false;
    bytes.remove_prefix(chunk);
  }
  return FlushFileBuffers(file) != FALSE;
}

}  // namespace

const Cp932Codec& WindowsCp932() {
  static const WindowsCodec codec;
  return codec;
}

bool LoadBackupFile(const std::wstring& path, std::string* bytes, std::string* reason) {
  bytes->clear();
  File file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string chunk(kChunk, '\0');
  DWORD got = 0;
  while (file.Valid() && ReadFile(file.get(), chunk.data(), kChunk, &got, nullptr)) {
    if (got == 0) return true;
    bytes->append(chunk, 0, got);
    // A file beyond the limit is refused as it is, without reading on.
    if (bytes->size() > kMaxBackupFileBytes) {
      bytes->resize(kMaxBackupFileBytes + 1);
      return true;
    }
  }
  *reason = kUnreadable;
  return false;
}

bool SaveBackupFile(const std::wstring& path, std::string_view bytes, std::string* reason) {
  const std::wstring temp = path + L".tmp";
  File file(
      CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  bool saved = file.Valid() && WriteAll(file.get(), bytes);
  saved = file.Close() && saved &&
          MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (saved) return true;
  DeleteFileW(temp.c_str());
  *reason = kUnwritable;
  return false;
}

BackupTime LocalBackupTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return BackupTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace tabcard
