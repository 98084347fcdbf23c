// Memo files of any bytes and length: the grid title, the text to send, the
// editor's text with its cut, and the write that replaces a memo.
//
// Input: a slot selector (1 byte), then the file's bytes.
#include <cstdio>
#include <string>

#include "core/text.h"
#include "fuzz_check.h"
#include "store/memo.h"

namespace tabcard {
namespace {

using fuzz::EndsWhole;

void PutFile(const std::string& name, const std::string& bytes) {
  std::FILE* f = std::fopen(name.c_str(), "wb");
  FUZZ_CHECK(f != nullptr);
  FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
  FUZZ_CHECK(std::fclose(f) == 0);
}

std::string GetFile(const std::string& name) {
  std::string out;
  if (std::FILE* f = std::fopen(name.c_str(), "rb")) {
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, got);
    std::fclose(f);
  }
  return out;
}

bool FileExists(const std::string& name) {
  std::FILE* f = std::fopen(name.c_str(), "rb");
  if (f) std::fclose(f);
  return f != nullptr;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// A cut text is a prefix of the whole, shorter only by the cut, and when
// shorter it keeps every character whole.
void CheckCut(std::string_view whole, std::string_view cut, std::size_t capacity) {
  FUZZ_CHECK(StartsWith(whole, cut));
  FUZZ_CHECK(cut.size() <= capacity);
  if (cut.size() < whole.size()) FUZZ_CHECK(EndsWhole(whole, cut.size()));
}

void CheckReads(int slot, const std::string& content) {
  const std::string_view whole = UpToZero(content);
  for (const std::size_t capacity : {kMemoTitleCapacity, kMemoTextCapacity}) {
    const std::string head = ReadMemoHead(slot, capacity);
    FUZZ_CHECK(head.size() == capacity);
    const std::string expected = content.substr(0, capacity);
    FUZZ_CHECK(head.compare(0, expected.size(), expected) == 0);
    FUZZ_CHECK(head.find_first_not_of('\0', expected.size()) == std::string::npos);
  }

  const std::string title = MemoTitle(slot);
  CheckCut(whole, title, kMemoTitleCapacity);
  FUZZ_CHECK(title.empty() || static_cast<unsigned char>(title.back()) > 0x20);
  // Only the zero, the cut of one byte and trailing blanks shorten a title.
  const std::string_view titleHead = whole.substr(0, kMemoTitleCapacity);
  const std::size_t uncut = titleHead.size() < kMemoTitleCapacity ? titleHead.size() : kMemoTitleCapacity - 1;
  FUZZ_CHECK(title.size() >= TrimTrailing(titleHead.substr(0, uncut)).size());

  const std::string text = MemoText(slot);
  FUZZ_CHECK(text == whole.substr(0, kMemoTextCapacity));

  const std::string editor = MemoEditorText(slot);
  CheckCut(whole, editor, kMemoTextCapacity);
  FUZZ_CHECK(editor.size() + 1 >= text.size());
}

void CheckWrite(int slot, const std::string& content) {
  const std::string_view kept = UpToZero(content);
  const int written = WriteMemoFile(slot, content);
  if (slot < 0) {
    FUZZ_CHECK(written == -1);
    return;
  }
  FUZZ_CHECK(written == static_cast<int>(kept.size()));
  FUZZ_CHECK(GetFile(MemoFileName(slot)) == kept);
  FUZZ_CHECK(!FileExists(MemoTempFileName(slot)));
  FUZZ_CHECK(MemoText(slot) == kept.substr(0, kMemoTextCapacity));
}

}  // namespace
}  // namespace tabcard

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tabcard::fuzz::EnterScratchDirectory();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tabcard;
  fuzz::ByteReader in(data, size);
  // Mostly the first slots; some inputs name a slot of four digits or none.
  const std::uint8_t selector = in.U8();
  const int slot = selector == 0xFF ? -1 : selector == 0xFE ? 1234 : selector % 4;
  const std::string content = in.Rest();
  if (slot >= 0) {
    PutFile(MemoFileName(slot), content);
  }
  CheckReads(slot, slot >= 0 ? content : std::string());
  CheckWrite(slot, content);
  return 0;
}
