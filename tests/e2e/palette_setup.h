// The store the transfer scenarios and the drop benchmark start from: every
// group the palette loads at start-up (so no start is a first run), the
// first user's profile, and the palette's place on the screen.
#pragma once

#include <windows.h>

#include <string>

#include "store/layout.h"

namespace tabcard::e2e {

constexpr POINT kPalettePos{40, 100};
constexpr POINT kReceiverPos{190, 100};
// What the first user's 氏名 and ＴＥＬ give. 職業 (JOB) is unset and 年齢
// (Older) holds spaces only: two blank items.
inline const std::wstring kProfileName = L"山田太郎";
inline const std::wstring kProfileTel = L"03-1234-5678";

struct PaletteSetup {
  int page = kPageKojin1;
  bool tabMode = false;
  bool bootInTaskTray = false;
  bool closeInTaskTray = false;
};

// Writes the standard settings with setup's TAB mode, the window state with
// setup's page, and the first user's profile. False when a write failed.
bool StoreCompleteProfile(const PaletteSetup& setup);

}  // namespace tabcard::e2e
