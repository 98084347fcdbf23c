// The program's icon (IDI_TABCARD) at the size a place needs, and the owner
// of an icon handle.
#pragma once

#include <windows.h>

#include <utility>

namespace tabcard {

// Owns one icon made for us (LoadImage without LR_SHARED, CopyIcon,
// CreateIcon...) and destroys it. Not for the system's shared icons.
class OwnedIcon {
 public:
  OwnedIcon() = default;
  explicit OwnedIcon(HICON icon) : icon_(icon) {}
  ~OwnedIcon() { Reset(); }
  OwnedIcon(const OwnedIcon&) = delete;
  OwnedIcon& operator=(const OwnedIcon&) = delete;
  OwnedIcon(OwnedIcon&& o) noexcept : icon_(std::exchange(o.icon_, nullptr)) {}
  OwnedIcon& operator=(OwnedIcon&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.icon_, nullptr));
    return *this;
  }

  HICON get() const { return icon_; }
  explicit operator bool() const { return icon_ != nullptr; }
  void Reset(HICON icon = nullptr) {
    if (icon_ && icon_ != icon) DestroyIcon(icon_);
    icon_ = icon;
  }
  HICON Release() { return std::exchange(icon_, nullptr); }

 private:
  HICON icon_ = nullptr;
};

// The program's icon drawn at size x size pixels, from the image of that size
// when the icon has one; empty when the module has no such icon. module
// defaults to the executable.
OwnedIcon LoadAppIcon(int size, HINSTANCE module = nullptr);

}  // namespace tabcard
