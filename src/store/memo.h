// Memo files: one raw CP932 text file per memo slot, "Memo000.txt" and on, in
// the process's current directory. A missing, unreadable or empty file is an
// empty slot; files are never deleted, an emptied memo is a 0-byte file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tabcard {

constexpr std::size_t kMemoTitleCapacity = 200;
constexpr std::size_t kMemoTextCapacity = 4096;

// "Memo" + slot as "%3.3d" + ".txt": Memo000.txt, Memo123.txt, Memo1000.txt.
std::string MemoFileName(int slot);

// The file a write goes through before it replaces the memo file:
// MemoFileName(slot) + ".tmp", in the same directory.
std::string MemoTempFileName(int slot);

// The first `capacity` bytes of the slot's file in a buffer of exactly
// `capacity` bytes, zero-filled after a short file. All zeros when the file
// is missing or cannot be read, or for a negative slot. Reads no more than
// `capacity` bytes of the file.
std::string ReadMemoHead(int slot, std::size_t capacity);

// The grid title: the text before the first zero of the 200-byte head, cut
// so that no half character remains, without trailing bytes up to 0x20.
std::string MemoTitle(int slot);

// The text to send: the 4096-byte head up to its first zero byte.
std::string MemoText(int slot);

// The text for the memo editor: as MemoText, but never ending in the first
// half of a double-byte character.
std::string MemoEditorText(int slot);

// Writes the bytes of text before its first zero byte as the slot's file.
// The new content replaces the old only once it is completely written, so a
// failure leaves the old memo as it was. Returns the number of bytes
// written, or -1 when the file cannot be written (a read-only memo file, a
// full disk, a directory in the way).
int WriteMemoFile(int slot, std::string_view text);

// For backup and restore: a memo file's bytes, whole and exactly.
enum class MemoFileRead { Missing, Read, Failed };
// Failed when the file exists but cannot be read, or holds more than maxBytes.
MemoFileRead ReadMemoFile(int slot, std::size_t maxBytes, std::string* bytes);
// Every byte of bytes, zeros included, replacing the file as WriteMemoFile does.
bool RestoreMemoFile(int slot, std::string_view bytes);
// Removes the slot's file; a missing file is no failure.
bool RemoveMemoFile(int slot);

}  // namespace tabcard
