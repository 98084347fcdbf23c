#include "tray/task_tray.h"

#include <utility>

#include "core/text.h"

namespace tabcard {
namespace {

struct TrayRoute {
  std::uintptr_t message;
  TrayDispatch dispatch;
};

// The shell reports the mouse message itself (WM_MOUSEMOVE ... WM_MBUTTONDBLCLK).
constexpr TrayRoute kTrayRoutes[] = {
    {0x0200, {TrayOperation::MouseMove, MouseButton::None}},
    {0x0201, {TrayOperation::MouseDown, MouseButton::Left}},
    {0x0202, {TrayOperation::MouseUp, MouseButton::Left}},
    {0x0203, {TrayOperation::DblClick, MouseButton::None}},
    {0x0204, {TrayOperation::MouseDown, MouseButton::Right}},
    {0x0205, {TrayOperation::MouseUp, MouseButton::Right}},
    {0x0206, {TrayOperation::DblClick, MouseButton::None}},
    {0x0207, {TrayOperation::MouseDown, MouseButton::Middle}},
    {0x0208, {TrayOperation::MouseUp, MouseButton::Middle}},
    {0x0209, {TrayOperation::DblClick, MouseButton::None}},
};

}  // namespace

TrayDispatch DispatchTrayNotification(std::uintptr_t lParam) {
  for (const TrayRoute& r : kTrayRoutes) {
    if (r.message == lParam) return r.dispatch;
  }
  return {};
}

std::string TrayTip(std::string_view tips) {
  return std::string(CutDoubleByte(tips, kTrayTipBytes));
}

TaskTrayCore::TaskTrayCore(TrayShell& shell, const TrayEvents& events, TrayIconHandle appIcon)
    : shell_(shell), events_(events), appIcon_(appIcon) {}

TaskTrayCore::~TaskTrayCore() { shell_.Delete(); }

TrayIconRecord TaskTrayCore::Record() const {
  return TrayIconRecord{icon_ != kNoTrayIcon ? icon_ : appIcon_, TrayTip(tips_)};
}

void TaskTrayCore::SetIcon(TrayIconHandle icon) {
  if (icon == icon_) return;
  icon_ = icon;
  if (iconAdded_) shell_.Modify(Record());
}

void TaskTrayCore::SetTips(std::string tips) {
  if (tips == tips_) return;
  tips_ = std::move(tips);
  if (iconAdded_) shell_.Modify(Record());
}

bool TaskTrayCore::AddIcon() {
  if (!iconAdded_) iconAdded_ = shell_.Add(Record());
  return iconAdded_;
}

void TaskTrayCore::AddOrRetry() {
  retriesLeft_ = AddIcon() ? 0 : kTrayAddRetries;
}

void TaskTrayCore::Loaded() {
  loaded_ = true;
  AddOrRetry();
}

void TaskTrayCore::TaskbarCreated() {
  // Before Loaded the icon is not meant to be shown yet.
  if (!loaded_) return;
  iconAdded_ = false;
  AddOrRetry();
}

void TaskTrayCore::RetryTick() {
  if (retriesLeft_ <= 0) return;
  --retriesLeft_;
  if (AddIcon()) retriesLeft_ = 0;
}

bool TaskTrayCore::Notify(std::uintptr_t lParam, int x, int y) const {
  const TrayDispatch d = DispatchTrayNotification(lParam);
  switch (d.operation) {
    case TrayOperation::None:
      return false;
    case TrayOperation::MouseMove:
    case TrayOperation::MouseDown:
      break;
    case TrayOperation::MouseUp:
      if (events_.OnMouseUp) events_.OnMouseUp(d.button, x, y);
      break;
    case TrayOperation::DblClick:
      if (events_.OnMouseDblClick) events_.OnMouseDblClick();
      break;
  }
  return true;
}

}  // namespace tabcard
