#include "ui/integrity_win.h"

#include <memory>

namespace tabcard {

namespace {

struct HandleCloser {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

std::optional<DWORD> TokenIntegrity(HANDLE process) {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &raw)) return std::nullopt;
  const UniqueHandle token(raw);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
  if (size < sizeof(TOKEN_MANDATORY_LABEL)) return std::nullopt;
  const auto buffer = std::make_unique<unsigned char[]>(size);
  if (!GetTokenInformation(token.get(), TokenIntegrityLevel, buffer.get(), size, &size)) {
    return std::nullopt;
  }
  const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.get())->Label.Sid;
  if (!sid || !IsValidSid(sid)) return std::nullopt;
  const UCHAR count = *GetSidSubAuthorityCount(sid);
  if (count == 0) return std::nullopt;
  return *GetSidSubAuthority(sid, count - 1U);
}

}  // namespace

std::optional<DWORD> ProcessIntegrityLevel(DWORD processId) {
  if (processId == 0) return std::nullopt;
  // The limited right is granted even for an elevated process's window.
  const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return std::nullopt;
  return TokenIntegrity(process.get());
}

std::optional<DWORD> CurrentProcessIntegrityLevel() {
  return TokenIntegrity(GetCurrentProcess());
}

std::wstring ProcessImageName(DWORD processId) {
  if (processId == 0) return {};
  const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  // Long paths exceed MAX_PATH; 32767 units is the longest there is.
  std::wstring path(32768, L'\0');
  DWORD units = static_cast<DWORD>(path.size());
  if (!QueryFullProcessImageNameW(process.get(), 0, path.data(), &units)) return {};
  path.resize(units);
  return path.substr(path.find_last_of(L"\\/") + 1);
}

}  // namespace tabcard
