// TTaskTray: the program's icon in the notification area. A hidden window of
// its own receives the icon's notification (WM_USER + 1) and the shell's
// "TaskbarCreated" broadcast; TaskTrayCore decides the rest.
//
// Set Icon and Tips, bind the events (inherited from TrayEvents), then call
// Loaded. Handlers run inside the window's procedure, so an exception they
// throw is shown by the application's error display.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <utility>

#include "tray/app_icon_win.h"
#include "tray/task_tray.h"
#include "ui/window_win.h"

namespace tabcard {

// End-to-end tests find the tray window by this class and their process.
inline constexpr wchar_t kTrayWindowClass[] = L"TTaskTrayWindow";

class TTaskTray : public TrayEvents {
 public:
  // Creates the hidden window; throws std::runtime_error when it cannot.
  TTaskTray();
  // Removes the icon, then destroys the window.
  ~TTaskTray();
  TTaskTray(const TTaskTray&) = delete;
  TTaskTray& operator=(const TTaskTray&) = delete;

  // Takes ownership of the icon. An empty icon shows the program's icon at
  // the small-icon size of the system's DPI.
  void SetIcon(OwnedIcon icon);
  HICON Icon() const { return icon_.get(); }
  // CP932; the shell shows at most 63 bytes of it.
  void SetTips(std::string tips) { core_.SetTips(std::move(tips)); }
  const std::string& Tips() const { return core_.Tips(); }

  // The owner is set up: add the icon, retrying a while when the shell
  // refuses it.
  void Loaded();
  // The icon is in the notification area. While it is not, the owner must
  // not hide its window on the tray's account: nothing would bring it back.
  bool IconAdded() const { return core_.IconAdded(); }
  // A balloon from the icon that goes away by itself; nothing without an icon.
  void ShowBalloon(const std::wstring& title, const std::wstring& text);
  HWND TrayWindow() const { return window_.hwnd(); }

 private:
  class Host : public Window {
   public:
    Host();
    // Set once the core exists, cleared before it goes.
    TTaskTray* tray = nullptr;

   protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

   private:
    const UINT taskbarCreated_;
  };

  class Shell : public TrayShell {
   public:
    explicit Shell(HWND hwnd) : hwnd_(hwnd) {}
    bool Add(const TrayIconRecord& record) override;
    bool Modify(const TrayIconRecord& record) override;
    void Delete() override;

   private:
    NOTIFYICONDATAW Data(const TrayIconRecord& record) const;
    HWND hwnd_;
  };

  void TaskbarCreated();
  void RetryTick();
  void SyncRetryTimer();

  // Declared in the order they may be used: the core asks the shell to
  // delete the icon while the window and the icons still exist.
  Host window_;
  OwnedIcon appIcon_;
  OwnedIcon icon_;
  Shell shell_;
  TaskTrayCore core_;
};

}  // namespace tabcard
