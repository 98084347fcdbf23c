// The notification-area icon, as far as it can be decided without a window:
// which mouse message of the icon fires which event, the tip's cut, when the
// shell is asked to add, modify or delete the icon, and how an icon that the
// shell refused or lost is added again. TTaskTray (task_tray_win.h) runs it
// against Shell_NotifyIconW.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "forms/input.h"

namespace tabcard {

// The icon's notification message (WM_USER + 1) and identifier.
constexpr unsigned kTrayCallbackMessage = 0x0401;
constexpr unsigned kTrayIconId = 1;
// The shell's tip field holds 64 bytes with the terminating zero.
constexpr std::size_t kTrayTipBytes = 63;
// A refused add at start is tried again this often, this many times: the
// shell may not be up yet when the program starts with the session.
constexpr unsigned kTrayRetryMs = 1000;
constexpr int kTrayAddRetries = 5;

enum class TrayOperation { None, MouseMove, MouseDown, MouseUp, DblClick };

struct TrayDispatch {
  TrayOperation operation = TrayOperation::None;
  MouseButton button = MouseButton::None;
};

// What the icon's notification does for the mouse message the shell reports
// in lParam; None means default processing.
TrayDispatch DispatchTrayNotification(std::uintptr_t lParam);

// The tip as the shell gets it: at most 63 bytes, never half a double-byte
// character at the end.
std::string TrayTip(std::string_view tips);

// An icon handle, opaque to the windowless side.
using TrayIconHandle = std::uintptr_t;
constexpr TrayIconHandle kNoTrayIcon = 0;

struct TrayIconRecord {
  TrayIconHandle icon = kNoTrayIcon;
  std::string tip;  // already cut by TrayTip
};

// The shell's side of the icon: NIM_ADD, NIM_MODIFY and NIM_DELETE.
class TrayShell {
 public:
  virtual ~TrayShell() = default;
  virtual bool Add(const TrayIconRecord& record) = 0;
  virtual bool Modify(const TrayIconRecord& record) = 0;
  virtual void Delete() = 0;
};

// The component's events; an empty slot is simply not fired. Coordinates are
// the pointer's screen position when the notification was handled. Moves and
// presses are handled without an event: the palette acts on releases.
struct TrayEvents {
  std::function<void()> OnMouseDblClick;
  std::function<void(MouseButton button, int x, int y)> OnMouseUp;
};

class TaskTrayCore {
 public:
  // appIcon is shown while no icon of our own is set.
  TaskTrayCore(TrayShell& shell, const TrayEvents& events, TrayIconHandle appIcon);
  // Asks the shell to delete the icon, whether or not it was ever added.
  ~TaskTrayCore();
  TaskTrayCore(const TaskTrayCore&) = delete;
  TaskTrayCore& operator=(const TaskTrayCore&) = delete;

  bool IconAdded() const { return iconAdded_; }
  TrayIconHandle Icon() const { return icon_; }
  const std::string& Tips() const { return tips_; }
  // The shell hears of a change only while the icon is shown, and only of a
  // real one.
  void SetIcon(TrayIconHandle icon);
  void SetTips(std::string tips);

  // The owner has set Icon and Tips: add the icon, and arm the retry when
  // the shell refuses.
  void Loaded();
  // Adds the icon unless it is shown; true when it is shown afterwards.
  bool AddIcon();
  // The shell was restarted and has forgotten every icon.
  void TaskbarCreated();
  // While true the window runs a timer of kTrayRetryMs calling RetryTick.
  bool RetryPending() const { return retriesLeft_ > 0; }
  void RetryTick();

  // The icon's notification; false when it needs default processing.
  bool Notify(std::uintptr_t lParam, int x, int y) const;

 private:
  TrayIconRecord Record() const;
  void AddOrRetry();

  TrayShell& shell_;
  const TrayEvents& events_;
  TrayIconHandle appIcon_;
  TrayIconHandle icon_ = kNoTrayIcon;
  std::string tips_;
  bool iconAdded_ = false;
  bool loaded_ = false;
  int retriesLeft_ = 0;
};

}  // namespace tabcard
