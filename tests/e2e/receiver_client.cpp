#include "receiver_client.h"

#include <cwchar>

#include "harness.h"
#include "core/strconv_win.h"

namespace tabcard::e2e {
namespace {

enum Command : ULONG_PTR { kDump = 1, kClear = 2, kHang = 3, kFocus = 4 };

constexpr wchar_t kReceiverClass[] = L"TabcardReceiver";
constexpr wchar_t kStateName[] = L"\\receiver-state.txt";

std::optional<std::wstring> ReadUtf16File(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::nullopt;
  std::wstring text(static_cast<std::size_t>(GetFileSize(f, nullptr)) / sizeof(wchar_t), L'\0');
  DWORD read = 0;
  const BOOL ok = ReadFile(f, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                           &read, nullptr);
  CloseHandle(f);
  if (!ok) return std::nullopt;
  text.resize(read / sizeof(wchar_t));
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
  return text;
}

std::wstring Unescaped(const std::wstring& s) {
  std::wstring out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != L'\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    switch (s[++i]) {
      case L'r': out += L'\r'; break;
      case L'n': out += L'\n'; break;
      case L't': out += L'\t'; break;
      default: out += s[i];
    }
  }
  return out;
}

// "text.102" -> 102 into *id; false for a key of another kind.
bool IdOf(const std::wstring& key, const wchar_t* prefix, int* id) {
  const std::size_t n = std::wcslen(prefix);
  if (key.compare(0, n, prefix) != 0) return false;
  *id = _wtoi(key.c_str() + n);
  return true;
}

void Apply(ReceiverState* s, const std::wstring& key, const std::wstring& value) {
  int id = 0;
  if (key == L"foreground") {
    s->foreground = value == L"1";
  } else if (key == L"focus") {
    s->focus = _wtoi(value.c_str());
  } else if (key == L"log") {
    s->log.push_back(value);
  } else if (IdOf(key, L"text.", &id)) {
    s->text[id] = Unescaped(value);
  } else if (IdOf(key, L"hwnd.", &id)) {
    s->hwnd[id] = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(wcstoull(value.c_str(), nullptr, 16)));
  } else if (IdOf(key, L"rect.", &id)) {
    RECT r{};
    if (swscanf(value.c_str(), L"%ld,%ld,%ld,%ld", &r.left, &r.top, &r.right, &r.bottom) == 4) {
      s->rect[id] = r;
    }
  }
}

ReceiverState Parse(const std::wstring& text) {
  ReceiverState s;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find(L"\r\n", pos);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = text.substr(pos, end - pos);
    pos = end + 2;
    const std::size_t eq = line.find(L'=');
    if (eq != std::wstring::npos) Apply(&s, line.substr(0, eq), line.substr(eq + 1));
  }
  return s;
}

}  // namespace

std::string ReceiverState::Describe() const {
  std::string s = "receiver: focus " + std::to_string(focus) +
                  (foreground ? ", in front" : ", not in front") + "; messages:";
  for (const std::wstring& entry : log) s += "\n  " + Narrow(entry);
  return s;
}

ReceiverApp::~ReceiverApp() { Close(); }

bool ReceiverApp::Start(POINT pos, bool menuBar) {
  std::wstring cmd = L"\"" + BinDir() + L"receiver.exe\" --state \"" + stateDir_ + kStateName +
                     L"\" --pos " + std::to_wstring(pos.x) + L"," + std::to_wstring(pos.y) +
                     (menuBar ? L" --menu" : L"");
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  pid_ = pi.dwProcessId;
  WaitForInputIdle(process_, kStartTimeoutMs);
  // The pop-up shares the class; the main window is the unowned one.
  WaitFor(
      [&] {
        window_ = FindTopLevelNow({pid_, kReceiverClass, true, true});
        return window_ != nullptr;
      },
      kStartTimeoutMs);
  return window_ && Dump().has_value();
}

bool ReceiverApp::Command(ULONG_PTR command, const void* data, DWORD size, DWORD timeoutMs) const {
  if (!window_) return false;
  COPYDATASTRUCT cds{command, size, const_cast<void*>(data)};
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL,
                             timeoutMs, &result) &&
         result == 1;
}

std::optional<ReceiverState> ReceiverApp::Dump(DWORD timeoutMs) const {
  if (!Command(kDump, nullptr, 0, timeoutMs)) return std::nullopt;
  const auto text = ReadUtf16File(stateDir_ + kStateName);
  if (!text) return std::nullopt;
  return Parse(*text);
}

bool ReceiverApp::Clear() const { return Command(kClear, nullptr, 0, 2000); }

bool ReceiverApp::Hang(DWORD ms) const { return Command(kHang, &ms, sizeof ms, 2000); }

bool ReceiverApp::Focus(int id) const {
  const DWORD value = static_cast<DWORD>(id);
  return Command(kFocus, &value, sizeof value, 2000);
}

void ReceiverApp::Close() {
  if (!process_) return;
  if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_, kExitTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kExitTimeoutMs);
  }
  CloseHandle(process_);
  process_ = nullptr;
  window_ = nullptr;
}

}  // namespace tabcard::e2e
