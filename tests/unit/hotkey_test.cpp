// The hotkeys' stored format, their text in menus, and how an older store
// without them reads.
#include "store/hotkey.h"

#include <gtest/gtest.h>

#include "store/memory_registry.h"
#include "store/settings.h"

namespace tabcard {
namespace {

TEST(HotKey, ChordTextAndRegisterModifiersFollowTheControlsFormat) {
  struct Case {
    HotKey key;
    const char* text;
    unsigned modifiers;  // MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4
  };
  const Case cases[] = {
      {kStandardShowHotKey, "Ctrl+Alt+J", 3},
      {kStandardStepHotKey, "Ctrl+Alt+B", 3},
      {MakeHotKey(0x70 + 11, hotkeyf::kShift), "Shift+F12", 4},
      {MakeHotKey(0x21, hotkeyf::kControl | hotkeyf::kShift | hotkeyf::kExt), "Ctrl+Shift+PageUp", 6},
      {MakeHotKey('7', hotkeyf::kAlt), "Alt+7", 1},
      {MakeHotKey(0x63, hotkeyf::kControl), "Ctrl+Num 3", 2},
      {MakeHotKey(0xE9, hotkeyf::kControl), "Ctrl+0xE9", 2},
      {kNoHotKey, "", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChordText(c.key), c.text);
    EXPECT_EQ(RegisterModifiers(c.key), c.modifiers) << c.text;
  }
}

// Added beside the flags: missing or mistyped values are the standard
// chords and never make the load fail; 0 is kept as none; a save writes both.
TEST(HotKey, StoredBesideTheFlagsAndReadAsStandardWhenMissing) {
  const FontFace font{"Face", 9};
  MemoryRegistry store;
  PaletteSettings settings;
  settings.configs = StandardPageConfigs(font);
  settings.hotKeys = HotKeys{kNoHotKey, MakeHotKey('K', hotkeyf::kControl)};
  ASSERT_TRUE(SaveSettings(store, settings));
  PaletteSettings read;
  EXPECT_TRUE(LoadSettings(store, font, &read));
  EXPECT_EQ(read.hotKeys, settings.hotKeys);

  store.Remove(kBaseKey, "HotKeyShow");
  store.PutString(kBaseKey, "HotKeyStep", "Ctrl+K");
  EXPECT_TRUE(LoadSettings(store, font, &read));
  EXPECT_EQ(read.hotKeys, HotKeys{});
}

}  // namespace
}  // namespace tabcard
