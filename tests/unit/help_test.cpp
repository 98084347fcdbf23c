#include "ui/help.h"

#include <gtest/gtest.h>

#include <string>

namespace tabcard {
namespace {

struct PlanCase {
  const char* name;
  bool hlpExists;
  int context;
  bool winHelp;
  unsigned command;
  unsigned long data;
  const wchar_t* url;
};

class HelpPlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(HelpPlanTest, OpensWinHelpOnlyWhenPresentElseTheHtmlAtItsAnchor) {
  const PlanCase& c = GetParam();
  const std::wstring hlp = L"C:\\Tools\\Tabcard.hlp";
  const HelpPlan plan = PlanHelp(hlp, c.hlpExists, c.context);
  EXPECT_EQ(plan.winHelp, c.winHelp);
  if (c.winHelp) {
    EXPECT_EQ(plan.file, hlp);
    EXPECT_EQ(plan.command, c.command);
    EXPECT_EQ(plan.data, c.data);
  } else {
    EXPECT_EQ(plan.file, L"C:\\Tools\\Tabcard.html");
    EXPECT_EQ(plan.url, c.url);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HelpPlanTest,
    ::testing::Values(
        PlanCase{"hlp_contents", true, kHelpContents, true, kWinHelpContents, 0, nullptr},
        PlanCase{"hlp_property", true, kHelpProperty, true, kWinHelpContext, 17, nullptr},
        PlanCase{"hlp_option", true, kHelpOption, true, kWinHelpContext, 19, nullptr},
        PlanCase{"html_contents", false, kHelpContents, false, 0, 0,
                 L"file:///C:/Tools/Tabcard.html"},
        PlanCase{"html_property", false, kHelpProperty, false, 0, 0,
                 L"file:///C:/Tools/Tabcard.html#property"},
        PlanCase{"html_option", false, kHelpOption, false, 0, 0,
                 L"file:///C:/Tools/Tabcard.html#option"},
        PlanCase{"html_unknown_context_at_top", false, 5, false, 0, 0,
                 L"file:///C:/Tools/Tabcard.html"}),
    [](const auto& info) { return info.param.name; });

TEST(HelpPlan, HtmlWithoutDirectoryHasNoUrl) {
  const HelpPlan plan = PlanHelp(L"Tabcard.hlp", false, kHelpOption);
  EXPECT_EQ(plan.file, L"Tabcard.html");
  EXPECT_EQ(plan.url, L"");
}

struct UrlCase {
  const char* name;
  std::wstring path;
  const wchar_t* url;
};

class FileUrlTest : public ::testing::TestWithParam<UrlCase> {};

TEST_P(FileUrlTest, EncodesPathsSoTheBrowserFindsTheFile) {
  EXPECT_EQ(FileUrl(GetParam().path, L"top"), GetParam().url);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileUrlTest,
    ::testing::Values(
        UrlCase{"drive", L"C:\\Tools\\Tabcard.html", L"file:///C:/Tools/Tabcard.html#top"},
        UrlCase{"reserved_bytes", L"d:/a b#c%d?e(f)\\x.html",
                L"file:///d:/a%20b%23c%25d%3Fe%28f%29/x.html#top"},
        // 日本 and a character outside the BMP (a surrogate pair in UTF-16).
        UrlCase{"japanese_folder", L"C:\\\u65E5\u672C\\\U0001F600.html",
                L"file:///C:/%E6%97%A5%E6%9C%AC/%F0%9F%98%80.html#top"},
        UrlCase{"unc", L"\\\\srv\\share\\T.html", L"file://srv/share/T.html#top"},
        UrlCase{"long_drive", L"\\\\?\\C:\\T.html", L"file:///C:/T.html#top"},
        UrlCase{"long_unc", L"\\\\?\\UNC\\srv\\share\\T.html", L"file://srv/share/T.html#top"},
        UrlCase{"relative", L"Tools\\T.html", L""},
        UrlCase{"drive_relative", L"C:T.html", L""},
        UrlCase{"device", L"\\\\.\\C:\\T.html", L""},
        UrlCase{"unc_without_share", L"\\\\srv", L""},
        UrlCase{"lone_surrogate", std::wstring(L"C:\\a") + static_cast<wchar_t>(0xD800), L""}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tabcard
