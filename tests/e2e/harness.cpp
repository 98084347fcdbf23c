#include "harness.h"

#include <oleacc.h>

#include <cwchar>
#include <memory>
#include <type_traits>
#include <vector>

#include "app/application_win.h"
#include "app/main_window_win.h"
#include "forms/main_form.h"
#include "ui/gdi_win.h"
#include "core/strconv_win.h"
#include "input.h"

namespace tabcard::e2e {
namespace {

struct FindData {
  WindowQuery query;
  HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lp) {
  auto* d = reinterpret_cast<FindData*>(lp);
  const WindowQuery& q = d->query;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != q.pid) return TRUE;
  if (q.className) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (lstrcmpW(cls, q.className) != 0) return TRUE;
  }
  if (q.visibleOnly && !IsWindowVisible(hwnd)) return TRUE;
  if (q.unownedOnly && GetWindow(hwnd, GW_OWNER)) return TRUE;
  d->found = hwnd;
  return FALSE;
}

HWND FindOf(DWORD pid, const wchar_t* className, bool visibleOnly, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindTopLevelNow({pid, className, visibleOnly})) != nullptr; },
          timeoutMs);
  return found;
}

std::vector<HWND> TopLevelsOf(DWORD pid) {
  struct Found {
    DWORD pid;
    std::vector<HWND> windows;
  } found{pid, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Found*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == f->pid) f->windows.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

}  // namespace

bool Program::QueryEndSession() const {
  bool agreed = true;
  for (HWND w : TopLevelsOf(pid_)) {
    DWORD_PTR answer = TRUE;
    SendMessageTimeoutW(w, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, kActMs, &answer);
    if (!answer) agreed = false;
  }
  return agreed;
}

void Program::EndSession(bool ending) const {
  for (HWND w : TopLevelsOf(pid_)) {
    SendMessageTimeoutW(w, WM_ENDSESSION, ending ? TRUE : FALSE, ENDSESSION_LOGOFF, SMTO_NORMAL,
                        kActMs, nullptr);
  }
}

HWND FindTopLevelNow(const WindowQuery& query) {
  FindData d{query, nullptr};
  EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&d));
  return d.found;
}

std::wstring BinDir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path);
  return p.substr(0, p.find_last_of(L"\\/") + 1);
}

std::wstring TabcardPath() { return BinDir() + L"Tabcard.exe"; }

TempDir::TempDir() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  static int counter = 0;
  for (;;) {
    path_ = std::wstring(temp) + L"tabcard-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
}

TempDir::~TempDir() {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((path_ + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW((path_ + L"\\" + fd.cFileName).c_str());
      }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(path_.c_str());
}

void TempDir::WriteFile(const std::wstring& name, const std::string& bytes) const {
  HANDLE h = CreateFileW((path_ + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

std::optional<std::string> TempDir::ReadFile(const std::wstring& name) const {
  HANDLE h = CreateFileW((path_ + L"\\" + name).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes(1 << 16, '\0');
  DWORD n = 0;
  const BOOL read = ::ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(h);
  if (!read) return std::nullopt;
  return bytes.substr(0, n);
}

Program::~Program() {
  if (!process_) return;
  if (IsRunning()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kExitTimeoutMs);
  }
  CloseHandle(process_);
}

bool Program::Start(const std::wstring& workDir, const std::wstring& exe) {
  std::wstring cmd = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workDir.empty() ? nullptr : workDir.c_str(), &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  pid_ = pi.dwProcessId;
  WaitForInputIdle(process_, kStartTimeoutMs);
  return true;
}

bool Program::IsRunning() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Program::WaitExit(DWORD timeoutMs) const {
  if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

std::optional<DWORD> Program::Close() {
  HWND main = TopLevel(kMainWindowClass, 1000);
  if (main) PostMessageW(main, WM_CLOSE, 0, 0);
  return WaitExit(kExitTimeoutMs);
}

HWND Program::MainWindow(DWORD timeoutMs) const {
  return FindOf(pid_, kMainWindowClass, true, timeoutMs);
}

HWND Program::TopLevel(const wchar_t* className, DWORD timeoutMs) const {
  return FindOf(pid_, className, false, timeoutMs);
}

namespace {

// A grid's accessible object, marshalled from the program by oleacc.
class GridObject {
 public:
  explicit GridObject(HWND grid) {
    if (grid && FAILED(AccessibleObjectFromWindow(grid, OBJID_CLIENT, __uuidof(IAccessible),
                                                  reinterpret_cast<void**>(&acc_)))) {
      acc_ = nullptr;
    }
  }
  ~GridObject() {
    if (acc_) acc_->Release();
  }
  GridObject(const GridObject&) = delete;
  GridObject& operator=(const GridObject&) = delete;
  explicit operator bool() const { return acc_ != nullptr; }
  IAccessible* operator->() const { return acc_; }
  IAccessible* get() const { return acc_; }

 private:
  IAccessible* acc_ = nullptr;
};

VARIANT Child(long id) {
  VARIANT v{};
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

struct Shape {
  int cols;
  int rows;
  long Id(int col, int row) const {
    if (col < 0 || row < 0 || col >= cols || row >= rows) return -1;
    return static_cast<long>(row) * cols + col + 1;
  }
};

// The child count gives cols * rows; Down from the first cell leads to
// cell (0, 1), child cols + 1, or nowhere in a grid of one row.
std::optional<Shape> ShapeOf(const GridObject& acc) {
  long count = 0;
  if (acc->get_accChildCount(&count) != S_OK || count < 1) return std::nullopt;
  VARIANT below{};
  const HRESULT hr = acc->accNavigate(NAVDIR_DOWN, Child(1), &below);
  const bool cell = below.vt == VT_I4;
  const long id = cell ? below.lVal : 0;
  VariantClear(&below);
  if (hr == S_FALSE) return Shape{static_cast<int>(count), 1};
  if (hr != S_OK || !cell || id < 2 || count % (id - 1) != 0) return std::nullopt;
  return Shape{static_cast<int>(id - 1), static_cast<int>(count / (id - 1))};
}

std::optional<RECT> LocationOf(const GridObject& acc, long id) {
  long x = 0, y = 0, w = 0, h = 0;
  if (acc->accLocation(&x, &y, &w, &h, Child(id)) != S_OK) return std::nullopt;
  return RECT{x, y, x + w, y + h};
}

// A text property of a child; nothing when it has none or the call fails.
std::optional<std::wstring> TextOf(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*),
                                   const GridObject& acc, long id) {
  BSTR text = nullptr;
  if ((acc.get()->*get)(Child(id), &text) != S_OK) {
    SysFreeString(text);
    return std::nullopt;
  }
  std::wstring out = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return out;
}

}  // namespace

GridReader::GridReader()
    : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

GridReader::~GridReader() {
  if (joined_) CoUninitialize();
}

std::optional<std::string> GridReader::Cell(HWND grid, int col, int row) {
  const GridObject acc(grid);
  const auto shape = acc ? ShapeOf(acc) : std::nullopt;
  if (!shape || shape->Id(col, row) < 0) return std::nullopt;
  const auto name = TextOf(&IAccessible::get_accName, acc, shape->Id(col, row));
  if (!name) return std::nullopt;
  return Narrow(*name);
}

std::optional<GridView> GridReader::Geometry(HWND grid, int col, int row) {
  const GridObject acc(grid);
  const auto shape = acc ? ShapeOf(acc) : std::nullopt;
  if (!shape || shape->Id(col, row) < 0) return std::nullopt;
  GridView g;
  g.cols = shape->cols;
  g.rows = shape->rows;
  VARIANT selected{};
  if (acc->get_accSelection(&selected) == S_OK && selected.vt == VT_I4) {
    g.currentCol = static_cast<int>((selected.lVal - 1) % shape->cols);
    g.currentRow = static_cast<int>((selected.lVal - 1) / shape->cols);
  }
  VariantClear(&selected);
  const auto table = LocationOf(acc, CHILDID_SELF);
  const auto cell = LocationOf(acc, shape->Id(col, row));
  if (!table || !cell) return std::nullopt;
  g.clientWidth = table->right - table->left;
  g.clientHeight = table->bottom - table->top;
  g.cellRect = *cell;
  g.colWidth = cell->right - cell->left;
  g.rowHeight = cell->bottom - cell->top;
  const bool oneColumn = shape->cols == 1;
  const long next = oneColumn ? shape->Id(col, row + 1) : shape->Id(col + 1, row);
  const auto after = next > 0 ? LocationOf(acc, next) : std::nullopt;
  if (after) g.lineWidth = oneColumn ? after->top - cell->bottom : after->left - cell->right;
  return g;
}

std::optional<std::wstring> GridReader::Hint(HWND grid, int col, int row) {
  const GridObject acc(grid);
  const auto shape = acc ? ShapeOf(acc) : std::nullopt;
  if (!shape || shape->Id(col, row) < 0) return std::nullopt;
  return TextOf(&IAccessible::get_accDescription, acc, shape->Id(col, row));
}

std::string GridReader::CellOr(HWND grid, int col, int row) {
  return Cell(grid, col, row).value_or("<no cell>");
}

POINT GridReader::CellCentre(HWND grid, int col, int row) {
  const auto g = Geometry(grid, col, row);
  return g ? Centre(g->cellRect) : POINT{-1, -1};
}

HWND Descendant(HWND window, int id) {
  struct Find {
    int id;
    HWND found;
  } find{id, nullptr};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        if (GetDlgCtrlID(child) != f->id) return TRUE;
        f->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

HWND Control(HWND form, int id, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitFor([&] { return (found = Descendant(form, id)) != nullptr; }, timeoutMs);
  return found;
}

std::wstring Key(const wchar_t* suffix) { return std::wstring(kBaseKeyW) + suffix; }

void DeleteBaseKey() { RegDeleteTreeW(HKEY_CURRENT_USER, kBaseKeyW); }

namespace {

void Snap(const std::wstring& path, RegistrySnapshot* out) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return;
  const std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)> key(raw, RegCloseKey);
  (*out)[path + L"\\"] = "key";
  std::string data(1 << 16, '\0');
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD len = 256, type = 0, size = static_cast<DWORD>(data.size());
    const LONG r = RegEnumValueW(key.get(), i, name, &len, nullptr, &type,
                                 reinterpret_cast<BYTE*>(data.data()), &size);
    if (r == ERROR_NO_MORE_ITEMS) break;
    (*out)[path + L"\\" + name] = std::to_string(type) + ":" +
                                   (r == ERROR_SUCCESS ? data.substr(0, size) : "<unread>");
  }
  for (DWORD i = 0, len = 256; RegEnumKeyExW(key.get(), i, name, &len, nullptr, nullptr, nullptr,
                                             nullptr) == ERROR_SUCCESS;
       ++i, len = 256) {
    Snap(path + L"\\" + name, out);
  }
}

}  // namespace

RegistrySnapshot Snapshot() {
  RegistrySnapshot s;
  Snap(Key(), &s);
  return s;
}

std::string Differences(const RegistrySnapshot& a, const RegistrySnapshot& b) {
  std::string out;
  auto add = [&](const std::wstring& name) { out += " " + Narrow(name.substr(Key().size())); };
  for (const auto& [name, value] : a) {
    const auto it = b.find(name);
    if (it == b.end() || it->second != value) add(name);
  }
  for (const auto& [name, value] : b) {
    if (!a.count(name)) add(name);
  }
  return out;
}

bool PutDword(const std::wstring& subKey, const wchar_t* name, DWORD value) {
  return RegSetKeyValueW(HKEY_CURRENT_USER, subKey.c_str(), name, REG_DWORD, &value,
                         sizeof(value)) == ERROR_SUCCESS;
}

bool PutString(const std::wstring& subKey, const wchar_t* name, const std::wstring& value) {
  return RegSetKeyValueW(HKEY_CURRENT_USER, subKey.c_str(), name, REG_SZ, value.c_str(),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
         ERROR_SUCCESS;
}

std::optional<DWORD> GetDword(const std::wstring& subKey, const wchar_t* name) {
  DWORD value = 0, size = sizeof(value), type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name, RRF_RT_ANY, &type, &value, &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::wstring> GetString(const std::wstring& subKey, const wchar_t* name) {
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr,
                   &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name, RRF_RT_REG_SZ, nullptr, text.data(),
                   &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  text.resize(wcslen(text.c_str()));
  return text;
}

std::optional<std::vector<std::wstring>> ValueNames(const std::wstring& subKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::vector<std::wstring> names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD len = 256;
    if (RegEnumValueW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, len);
  }
  RegCloseKey(key);
  return names;
}

RECT WindowBounds(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

namespace {

// The screen's pixels in a rectangle as a 24-bit BMP holds them, rows
// bottom-up; empty when they cannot be read.
std::vector<char> ScreenPixels(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return {};
  WindowDC screen(nullptr);
  MemoryDC mem(screen.get());
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap bmp(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bmp) return {};
  {
    SelectGuard sel(mem.get(), bmp.get());
    BitBlt(mem.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
  }
  GdiFlush();
  const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
  const char* p = static_cast<const char*>(bits);
  return std::vector<char>(p, p + stride * static_cast<DWORD>(h));
}

bool WriteBmp(const RECT& r, const std::vector<char>& pixels, const std::wstring& name) {
  wchar_t dir[MAX_PATH] = {};
  if (pixels.empty() || !GetEnvironmentVariableW(L"TABCARD_ARTIFACTS", dir, MAX_PATH)) return false;
  BITMAPINFOHEADER bh{};
  bh.biSize = sizeof(bh);
  bh.biWidth = r.right - r.left;
  bh.biHeight = r.bottom - r.top;
  bh.biPlanes = 1;
  bh.biBitCount = 24;
  bh.biCompression = BI_RGB;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(bh);
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(pixels.size());
  HANDLE f = CreateFileW((std::wstring(dir) + L"\\" + name + L".bmp").c_str(), GENERIC_WRITE, 0,
                         nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  const bool ok = ::WriteFile(f, &fh, sizeof(fh), &n, nullptr) &&
                  ::WriteFile(f, &bh, sizeof(bh), &n, nullptr) &&
                  ::WriteFile(f, pixels.data(), static_cast<DWORD>(pixels.size()), &n, nullptr);
  CloseHandle(f);
  return ok;
}

bool Answers(HWND window) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored) != 0;
}

}  // namespace

bool SaveScreenshot(HWND window, const std::wstring& name) {
  if (!GetEnvironmentVariableW(L"TABCARD_ARTIFACTS", nullptr, 0)) return false;
  const RECT r = WindowBounds(window);
  // A window that answers draws what it has yet to draw now. Wine puts the
  // drawn pixels on the screen when the window's thread next waits for
  // messages, so the picture is the first that a round trip to the thread
  // leaves unchanged.
  if (!Answers(window)) return WriteBmp(r, ScreenPixels(r), name);
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  std::vector<char> pixels = ScreenPixels(r);
  const ULONGLONG end = GetTickCount64() + 2000;
  while (Answers(window) && GetTickCount64() < end) {
    std::vector<char> again = ScreenPixels(r);
    if (again == pixels) break;
    pixels = std::move(again);
  }
  return WriteBmp(r, pixels, name);
}

bool SaveScreenRect(const RECT& r, const std::wstring& name) {
  return WriteBmp(r, ScreenPixels(r), name);
}

}  // namespace tabcard::e2e
