// "Tabcard.lnk" in the user's Startup folder, through the shell's link
// object. ole32 is loaded with the first use, so a start loads no COM.
#pragma once

#include <string>

#include "options/option_model.h"

namespace tabcard {

class StartupShortcutWin : public StartupShortcut {
 public:
  bool StartsThisCopy() override;
  bool Make(std::string* reason) override;
  bool Remove(std::string* reason) override;
};

// The shortcut's path; empty when the Startup folder is unknown.
std::wstring StartupShortcutPath();
// Where an existing shortcut points and the folder it starts in; false when
// there is none or it cannot be read.
bool ReadShortcut(const std::wstring& path, std::wstring* target, std::wstring* folder);

}  // namespace tabcard
