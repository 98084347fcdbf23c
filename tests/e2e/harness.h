// What the end-to-end scenarios need to drive the real Tabcard.exe: start it
// beside this test program in a working directory of the test's choosing,
// find its windows, read its grids as a screen reader does, set up and
// check HKCU, close it, and take screenshots. Every wait is bounded.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/main_form.h"

namespace tabcard::e2e {

constexpr DWORD kStartTimeoutMs = 10000;
// How long the program may take to act on what a test did. Generous: Wine
// as a whole stalls for seconds at times (registry saves, a memo flushed to
// the disk), and a wait ends as soon as its condition holds.
constexpr DWORD kActMs = 15000;
constexpr DWORD kExitTimeoutMs = 10000;

// The program's base key below HKCU.
inline constexpr wchar_t kBaseKeyW[] = L"Software\\orrery\\Tabcard";

// Answers what other programs ask of this one's windows meanwhile: the
// clipboard's owner, for one, must render and answer for its data.
inline void PumpFor(DWORD ms) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// Polls cond every 10 ms until it holds or timeoutMs passed.
template <class F>
bool WaitFor(F&& cond, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (cond()) return true;
    if (GetTickCount64() >= end) return false;
    PumpFor(10);
  }
}

std::wstring BinDir();

// Which top-level window of a process to look for.
struct WindowQuery {
  DWORD pid = 0;
  const wchar_t* className = nullptr;  // any class when null
  bool visibleOnly = false;
  bool unownedOnly = false;
};
// The first such window now, without waiting; null when there is none.
HWND FindTopLevelNow(const WindowQuery& query);
std::wstring TabcardPath();

// A fresh empty directory under %TEMP%, removed with its files at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::wstring& path() const { return path_; }
  void WriteFile(const std::wstring& name, const std::string& bytes) const;
  // A file's bytes (up to 64 KiB), or nothing when it cannot be read.
  std::optional<std::string> ReadFile(const std::wstring& name) const;

 private:
  std::wstring path_;
};

// One started Tabcard.exe. The destructor ends it when it is still running.
class Program {
 public:
  Program() = default;
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // CreateProcess + WaitForInputIdle. False when it could not be started.
  // The benchmarks start their reference programs the same way.
  bool Start(const std::wstring& workDir, const std::wstring& exe = TabcardPath());
  DWORD pid() const { return pid_; }
  HANDLE process() const { return process_; }
  bool IsRunning() const;
  // Waits for the exit; the exit code, or nothing on timeout.
  std::optional<DWORD> WaitExit(DWORD timeoutMs) const;
  // Posts WM_CLOSE to the main window and waits for the exit.
  std::optional<DWORD> Close();
  // The visible main window (class TfrmMain), polled.
  HWND MainWindow(DWORD timeoutMs = kStartTimeoutMs) const;
  // A top-level window of this process by class, visible or not.
  HWND TopLevel(const wchar_t* className, DWORD timeoutMs = kStartTimeoutMs) const;
  // What Windows sends every top-level window of a process at the end of
  // the session (sign-out with ENDSESSION_LOGOFF): WM_QUERYENDSESSION, true
  // when every window agreed; WM_ENDSESSION with whether it ends. Each
  // message is answered before the call returns.
  bool QueryEndSession() const;
  void EndSession(bool ending) const;

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// A grid as an assistive tool measures it. Rectangles are in screen
// coordinates, scrolled as the grid is.
struct GridView {
  int cols = 0;
  int rows = 0;
  int currentCol = -1;  // the selected cell
  int currentRow = -1;
  int clientWidth = 0;  // the table's own place: the grid's client area
  int clientHeight = 0;
  RECT cellRect{};  // the cell asked for
  int colWidth = 0;  // its size
  int rowHeight = 0;
  // The grid line: the gap from it to the next column (the next row in a
  // grid of one column); -1 when it has no such neighbour.
  int lineWidth = -1;
};

// Reads the program's grids from this process through their accessibility
// interface (AccessibleObjectFromWindow, OBJID_CLIENT; cell (col, row) is
// child row * cols + col + 1), so each read also checks what a screen
// reader gets. The thread that constructs it joins a COM apartment and
// must be the one that reads.
class GridReader {
 public:
  GridReader();
  ~GridReader();
  GridReader(const GridReader&) = delete;
  GridReader& operator=(const GridReader&) = delete;

  // Text of a cell (its accessible name) as CP932, or nothing when the cell
  // does not exist.
  std::optional<std::string> Cell(HWND grid, int col, int row);
  std::optional<GridView> Geometry(HWND grid, int col = 0, int row = 0);
  // A cell's accessible description: the tooltip hint shown for it, and the
  // label of its mark (a format); nothing when it has neither.
  std::optional<std::wstring> Hint(HWND grid, int col, int row);
  // The cell's text, or "<no cell>" so that a comparison shows what went wrong.
  std::string CellOr(HWND grid, int col, int row);
  // The centre of a cell on the screen, scrolled as it is; (-1, -1) for none.
  POINT CellCentre(HWND grid, int col, int row);

 private:
  bool joined_ = false;
};

// A control of a form by its id (an enumerator of the form's controls);
// controls on tab sheets and panels are found as well.
HWND Control(HWND form, int id, DWORD timeoutMs = kStartTimeoutMs);
template <class Id>
HWND Control(HWND form, Id id, DWORD timeoutMs = kStartTimeoutMs) {
  return Control(form, forms::IdOf(id), timeoutMs);
}
// The child with that id at any depth, or null.
HWND Descendant(HWND window, int id);

// HKCU below the base key, with the W functions.
void DeleteBaseKey();
// Every key and value below the base key: path\name -> type and bytes.
using RegistrySnapshot = std::map<std::wstring, std::string>;
RegistrySnapshot Snapshot();
// The names that were added, removed or changed; empty when none.
std::string Differences(const RegistrySnapshot& a, const RegistrySnapshot& b);
bool PutDword(const std::wstring& subKey, const wchar_t* name, DWORD value);
bool PutString(const std::wstring& subKey, const wchar_t* name, const std::wstring& value);
std::optional<DWORD> GetDword(const std::wstring& subKey, const wchar_t* name);
std::optional<std::wstring> GetString(const std::wstring& subKey, const wchar_t* name);
// Names of the values of a key, or nothing when it does not exist.
std::optional<std::vector<std::wstring>> ValueNames(const std::wstring& subKey);
// The base key's path with a suffix ("" for the base key itself).
std::wstring Key(const wchar_t* suffix = L"");

// Saves the window's screen rectangle as a 24-bit BMP named name + ".bmp"
// under %TABCARD_ARTIFACTS%, once the window has drawn what it had yet to
// draw; false when the variable is not set or the file cannot be written.
bool SaveScreenshot(HWND window, const std::wstring& name);
// The same for a rectangle of the screen.
bool SaveScreenRect(const RECT& r, const std::wstring& name);

RECT WindowBounds(HWND hwnd);

}  // namespace tabcard::e2e
