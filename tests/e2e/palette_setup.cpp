#include "palette_setup.h"

#include <utility>

#include "harness.h"
#include "store/registry_win.h"
#include "store/settings.h"
#include "store/window_state.h"

namespace tabcard::e2e {

bool StoreCompleteProfile(const PaletteSetup& setup) {
  WinRegistry registry;
  PaletteSettings settings;
  LoadSettings(registry, StandardFont(GetACP() == 932), &settings);
  settings.TabMode = setup.tabMode;
  settings.BootInTaskTray = setup.bootInTaskTray;
  settings.CloseInTaskTray = setup.closeInTaskTray;
  if (!SaveSettings(registry, settings)) return false;
  WindowState state;
  state.bounds = {kPalettePos.x, kPalettePos.y, 130, 160};
  state.Page = setup.page;
  state.TabMode = setup.tabMode;
  if (!SaveWindowState(registry, state)) return false;
  const std::wstring user = Key(L"\\User1");
  const std::pair<const wchar_t*, std::wstring> fields[] = {
      {L"UserName", L"山田太郎"},      {L"KanjSei", L"山田"},  {L"KanjMei", L"太郎"},
      {L"KanaSei", L"やまだ"},         {L"KanaMei", L"たろう"}, {L"TEL", kProfileTel},
      {L"EMail1", L"taro@example.jp"}, {L"Older", L"   "},
  };
  for (const auto& f : fields) {
    if (!PutString(user, f.first, f.second)) return false;
  }
  return true;
}

}  // namespace tabcard::e2e
