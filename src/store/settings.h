// Behaviour flags, page configurations and personal-page items: what the main
// window loads at start-up and after the options dialog, and what the options
// dialog writes on OK.
#pragma once

#include <cstdint>

#include "store/hotkey.h"
#include "store/layout.h"
#include "store/registry.h"

namespace tabcard {

struct PaletteSettings {
  bool BootInTaskTray = false;
  bool CloseInTaskTray = false;
  bool TabMode = false;
  PageConfigs configs;                               // Kojin1, Kojin2, Memo, List
  std::array<PageItems, kPersonalPageCount> items;   // Kojin1, Kojin2
  // Stored beside the items as Form000, Form001, ... (a format's name; none,
  // "" or an unknown name is as stored). Added later: a store without them
  // reads as before, and an older version reads a store with them.
  std::array<PageForms, kPersonalPageCount> forms{};
  std::int32_t MemoCount = 0;                        // memo ColCount x RowCount
  // Added later, beside the flags: a store without them reads the standard
  // chords, and their absence never makes a load fail.
  HotKeys hotKeys;
  // RestoreClipboard, added later the same way: missing reads as off.
  bool RestoreClipboard = false;
};

// Reads the flags, the four configs and both items keys in one stretch. On
// any failure the flags become false, the configs take the standard values
// and slots 0-11 of both pages the standard items without a format (slots
// 12-255 keep what was read, or what they held); the result is then false.
// MemoCount is set in every case. A stored ColCount or RowCount below 1 is
// raised to 1. A format that is not a string reads as none and fails nothing.
bool LoadSettings(RegistryBackend& backend, const FontFace& standardFont, PaletteSettings* settings);

// The options dialog's save: the flags and hotkeys, the four configs, then both items
// keys with ItemCount = ColCount x RowCount (kept within 0-256) and that many
// slots, their items and then their formats ("" for none). The items keys are
// not cleared first. The first failed write ends
// the save and leaves what was written; MemoCount is not stored.
bool SaveSettings(RegistryBackend& backend, const PaletteSettings& settings);

// The memo editor's slot count: memo ColCount x RowCount (each raised to 1
// as LoadSettings does) when both read as integers, else 10 with *fromStore
// false.
std::int32_t ReadMemoSlotCount(RegistryBackend& backend, bool* fromStore);

// Product of two counts, saturated to the int32 range (stored counts are not
// trusted to be small).
std::int32_t CellCount(std::int32_t cols, std::int32_t rows);

}  // namespace tabcard
