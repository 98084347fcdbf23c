// The help as the program finds it at run time: the HTML beside the exe,
// and a box rather than silence when nothing can be opened.
#include "ui/help_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/application_win.h"
#include "ui/help.h"
#include "core/strconv_win.h"

namespace tabcard {
namespace {

namespace fs = std::filesystem;

std::wstring OwnPath() {
  wchar_t path[MAX_PATH];
  return std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
}


// The build copies the help beside the programs; every anchor the dialogs
// ask for must be in it, or the browser opens at the top.
TEST(HelpWin, HtmlBesideTheProgramHasEveryAnchor) {
  const HelpPlan plan = PlanHelp(BesideModule(OwnPath(), kHelpFileName), false, kHelpContents);
  std::ifstream in(fs::path(plan.file), std::ios::binary);
  ASSERT_TRUE(in) << "no help beside the program";
  const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const int context : {kHelpProperty, kHelpOption}) {
    const std::wstring anchor(HelpAnchor(context));
    const std::string id = "id=\"" + std::string(anchor.begin(), anchor.end()) + "\"";
    EXPECT_NE(html.find(id), std::string::npos) << id;
  }
}

// Neither .hlp nor .html (a folder with a Japanese name): nothing is
// launched, and the user is told which file is missing.
TEST(HelpWin, MissingHelpIsReportedNotIgnored) {
  const fs::path dir = fs::temp_directory_path() / L"\u30D8\u30EB\u30D7\u306A\u3057";
  fs::create_directories(dir);
  const std::wstring hlp = (dir / kHelpFileName).wstring();
  const std::wstring html = (dir / kHtmlHelpName).wstring();
  for (const int context : {kHelpContents, kHelpProperty, kHelpOption}) {
    EXPECT_EQ(TryOpenHelp(nullptr, hlp, context), Widen(kHelpMissingText) + L"\n" + html);
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace tabcard
