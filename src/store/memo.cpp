#include "store/memo.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <memory>

#include "core/text.h"
#include "store/file_replace.h"

namespace tabcard {

namespace {

// The write permission bits; Windows knows only the owner's (read-only).
#if defined(S_IWGRP) && defined(S_IWOTH)
constexpr unsigned kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;
#else
constexpr unsigned kAnyWrite = S_IWUSR;
#endif

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// True when the memo file is missing or may be written. A read-only file
// stays untouched, as a truncating open would have failed on it; the
// permission bits are checked as well, because a replace by rename ignores
// them and a privileged user may open the file anyway.
bool MayReplace(const std::string& name) {
  struct stat status {};
  if (::stat(name.c_str(), &status) != 0) return errno == ENOENT;
  if (!S_ISREG(status.st_mode)) return false;
  if ((status.st_mode & kAnyWrite) == 0) return false;
  FilePtr probe(std::fopen(name.c_str(), "r+b"));
  return probe != nullptr;
}

// All of bytes, closed without error, or no file at all.
bool WriteWholeFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  // fclose flushes the last buffer, so a full disk often shows only here.
  written = std::fclose(file) == 0 && written;
  if (!written) std::remove(path.c_str());
  return written;
}

}  // namespace

std::string MemoFileName(int slot) { return Numbered("Memo", slot) + ".txt"; }

std::string MemoTempFileName(int slot) { return MemoFileName(slot) + ".tmp"; }

std::string ReadMemoHead(int slot, std::size_t capacity) {
  std::string buffer(capacity, '\0');
  if (slot < 0 || capacity == 0) return buffer;
  FilePtr file(std::fopen(MemoFileName(slot).c_str(), "rb"));
  if (!file) return buffer;
  // Unbuffered, so the stream asks the system for no more than capacity.
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  const std::size_t got = std::fread(buffer.data(), 1, capacity, file.get());
  if (got < capacity && std::ferror(file.get())) buffer.assign(capacity, '\0');
  return buffer;
}

std::string MemoTitle(int slot) {
  const std::string head = ReadMemoHead(slot, kMemoTitleCapacity);
  return std::string(TrimTrailing(CutDoubleByte(UpToZero(head), kMemoTitleCapacity)));
}

std::string MemoText(int slot) {
  return std::string(UpToZero(ReadMemoHead(slot, kMemoTextCapacity)));
}

std::string MemoEditorText(int slot) {
  const std::string head = ReadMemoHead(slot, kMemoTextCapacity);
  return std::string(CutDoubleByte(UpToZero(head), kMemoTextCapacity));
}

int WriteMemoFile(int slot, std::string_view text) {
  const std::string_view bytes = UpToZero(text);
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return -1;
  return RestoreMemoFile(slot, bytes) ? static_cast<int>(bytes.size()) : -1;
}

bool RestoreMemoFile(int slot, std::string_view bytes) {
  if (slot < 0) return false;
  const std::string name = MemoFileName(slot);
  if (!MayReplace(name)) return false;
  const std::string temp = MemoTempFileName(slot);
  if (!WriteWholeFile(temp, bytes)) return false;
  if (!ReplaceFileAtomically(temp, name)) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

MemoFileRead ReadMemoFile(int slot, std::size_t maxBytes, std::string* bytes) {
  bytes->clear();
  if (slot < 0) return MemoFileRead::Missing;
  const std::string name = MemoFileName(slot);
  FilePtr file(std::fopen(name.c_str(), "rb"));
  if (!file) {
    struct stat status {};
    const bool missing = ::stat(name.c_str(), &status) != 0 && errno == ENOENT;
    return missing ? MemoFileRead::Missing : MemoFileRead::Failed;
  }
  char buffer[8192];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    bytes->append(buffer, got);
    if (bytes->size() > maxBytes) return MemoFileRead::Failed;
    if (got < sizeof buffer) return std::ferror(file.get()) ? MemoFileRead::Failed : MemoFileRead::Read;
  }
}

bool RemoveMemoFile(int slot) {
  if (slot < 0) return false;
  const std::string name = MemoFileName(slot);
  struct stat status {};
  if (::stat(name.c_str(), &status) != 0) return errno == ENOENT;
  // A read-only memo stays, as it does for a write.
  if (!S_ISREG(status.st_mode) || (status.st_mode & kAnyWrite) == 0) return false;
  return std::remove(name.c_str()) == 0;
}

}  // namespace tabcard
