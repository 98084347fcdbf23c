#include "store/window_state.h"

#include "store/layout.h"

namespace tabcard {
namespace {

bool ReadState(RegistrySession& s, WindowState* state) {
  std::int32_t page = 0;
  if (!s.OpenForRead(kBaseKey) || !s.ReadInteger("Top", &state->bounds.top) ||
      !s.ReadInteger("Left", &state->bounds.left) || !s.ReadInteger("Height", &state->bounds.height) ||
      !s.ReadInteger("Width", &state->bounds.width) || !s.ReadBool("WndTopMost", &state->WndTopMost) ||
      !s.ReadInteger("Page", &page)) {
    return false;
  }
  if (page >= 0 && page < kPageCount) state->Page = page;
  return s.ReadInteger("UserNo", &state->UserNo);
}

}  // namespace

bool LoadWindowState(RegistryBackend& backend, std::int32_t screenWidth, std::int32_t screenHeight,
                     WindowState* state) {
  bool ok = false;
  {
    RegistrySession session(backend);
    ok = ReadState(session, state);
  }
  if (!ok) {
    state->bounds = DefaultWindowBounds(screenWidth, screenHeight);
    state->WndTopMost = true;
    state->Page = kPageKojin1;
    state->UserNo = 0;
  }
  return ok;
}

bool SaveWindowState(RegistryBackend& backend, const WindowState& state) {
  RegistrySession s(backend);
  const int page = (state.Page >= 0 && state.Page < kPageList) ? state.Page : kPageList;
  return s.OpenForWrite(kBaseKey) && s.WriteInteger("Top", state.bounds.top) &&
         s.WriteInteger("Left", state.bounds.left) && s.WriteInteger("Height", state.bounds.height) &&
         s.WriteInteger("Width", state.bounds.width) && s.WriteBool("WndTopMost", state.WndTopMost) &&
         s.WriteBool("TabMode", state.TabMode) && s.WriteInteger("Page", page) &&
         s.WriteInteger("UserNo", state.UserNo);
}

}  // namespace tabcard
