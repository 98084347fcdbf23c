// Scale benchmark: what stored phrases and memo files cost at start-up and
// when the profile editor opens, against the floor of reading the same data
// plainly in this process.
//
//   bench_scale.exe [rounds] [-v]     (default 11 rounds; Tabcard.exe sits beside it)
//
// Stores: the empty one (a complete profile, no phrases, the standard memo
// page, no memo files); 1,000 and 10,000 phrases with hints; a 16 x 16 memo
// page with 256 memo files of 4 KB; a phrase count of 2^31-1 over nothing. Each round runs every store in turn, so
// whatever else loads the machine falls on all alike; the first round only
// warms the caches. A run measures the start (process creation to a visible
// palette waiting for input) and the editor's opening (system command 257
// posted to the palette, to a visible TfrmProperty waiting for input), then
// cancels the editor and closes the palette. After each run, the floor: a
// plain loop of RegQueryValueExW over the store's phrases and hints, or of
// CreateFileW and ReadFile over its memo files.
//
// A store's cost is its time minus the empty store's time in the same round;
// the ratios are medians over the rounds of cost / floor, with the ratio of
// the median cost to the median floor beside them. Goals: a stored
// phrase costs the start at most 1.5 times its floor, and the editor opens
// over 10,000 phrases within twice the floor of reading them.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/main_menus.h"
#include "bench_run_win.h"
#include "core/strconv_win.h"
#include "harness.h"
#include "palette_setup.h"
#include "store/layout.h"
#include "store/memo.h"
#include "store/phrase_list.h"
#include "store/registry_win.h"

namespace {

using tabcard::bench::Median;
using tabcard::bench::NowMs;
using tabcard::bench::Quantile;

constexpr int kMemoSide = 16;
constexpr int kMemoFiles = kMemoSide * kMemoSide;

struct Store {
  const wchar_t* name;
  int phrases;
  bool memo;
  bool damagedCount;  // ItemCount 2^31-1 over the phrases
};
constexpr std::array<Store, 5> kStores = {{{L"empty", 0, false, false},
                                           {L"1,000 phrases", 1000, false, false},
                                           {L"10,000 phrases", 10000, false, false},
                                           {L"memo 16x16", 0, true, false},
                                           {L"count 2^31-1", 0, false, true}}};

struct Times {
  double start = 0;
  double editor = 0;
  double floor = 0;
};

tabcard::PhraseList Phrases(int n) {
  tabcard::PhraseList list;
  for (int k = 0; k < n; ++k) {
    list.ListPhrases.push_back(tabcard::Narrow(L"定型文" + std::to_wstring(k) + L"：東京都千代田区丸の内一丁目"));
    list.ListHints.push_back(tabcard::Narrow(L"ヒント" + std::to_wstring(k)));
  }
  return list;
}

// The phrases and the memo page's shape of a store; the rest stays complete.
bool PutStore(const Store& store) {
  tabcard::WinRegistry registry;
  if (!tabcard::SaveList(registry, Phrases(store.phrases))) return false;
  if (store.damagedCount && !tabcard::e2e::PutDword(tabcard::e2e::Key(L"\\ListItems"), L"ItemCount", 0x7FFFFFFF)) {
    return false;
  }
  const std::wstring memo = tabcard::e2e::Key(L"\\Config\\Memo");
  const int cols = store.memo ? kMemoSide : 1;
  const int rows = store.memo ? kMemoSide : 10;
  if (!tabcard::e2e::PutDword(memo, L"ColCount", cols) || !tabcard::e2e::PutDword(memo, L"RowCount", rows)) {
    return false;
  }
  // Saved to the disk now rather than by a timer in the middle of a start:
  // Wine saves a changed registry every 30 s, stalling every process.
  return RegFlushKey(HKEY_CURRENT_USER) == ERROR_SUCCESS;
}

void WriteMemoFiles(const tabcard::e2e::TempDir& dir) {
  for (int slot = 0; slot < kMemoFiles; ++slot) {
    std::string text = "メモ" + std::to_string(slot) + "\r\n";
    text.resize(tabcard::kMemoTextCapacity, 'x');
    dir.WriteFile(tabcard::Widen(tabcard::MemoFileName(slot)), text);
  }
}

double RegistryFloorMs(int phrases) {
  HKEY items = nullptr;
  HKEY hints = nullptr;
  RegOpenKeyExW(HKEY_CURRENT_USER, tabcard::e2e::Key(L"\\ListItems").c_str(), 0, KEY_READ, &items);
  RegOpenKeyExW(HKEY_CURRENT_USER, tabcard::e2e::Key(L"\\ListHint").c_str(), 0, KEY_READ, &hints);
  static BYTE data[64 * 1024];
  const double t0 = NowMs();
  for (int k = 0; k < phrases; ++k) {
    wchar_t name[16];
    for (auto [key, prefix] : {std::pair{items, L"Item"}, std::pair{hints, L"Hint"}}) {
      std::swprintf(name, 16, L"%ls%03d", prefix, k);
      DWORD type = 0;
      DWORD size = sizeof data;
      RegQueryValueExW(key, name, nullptr, &type, data, &size);
    }
  }
  const double ms = NowMs() - t0;
  RegCloseKey(items);
  RegCloseKey(hints);
  return ms;
}

double FileFloorMs(const std::wstring& dir) {
  static char data[tabcard::kMemoTextCapacity];
  const double t0 = NowMs();
  for (int slot = 0; slot < kMemoFiles; ++slot) {
    const std::wstring path = dir + L"\\" + tabcard::Widen(tabcard::MemoFileName(slot));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD got = 0;
    ReadFile(file, data, sizeof data, &got, nullptr);
    CloseHandle(file);
  }
  return NowMs() - t0;
}

// Posts the editor's command, waits for it to show and answer, cancels it.
bool OpenEditor(const tabcard::bench::Started& palette, double* ms) {
  const double t0 = NowMs();
  PostMessageW(palette.window(), WM_SYSCOMMAND, tabcard::kSysProperty, 0);
  HWND dialog = nullptr;
  const double deadline = t0 + tabcard::bench::kTimeoutMs;
  while (!(dialog = tabcard::e2e::FindTopLevelNow({palette.pid(), L"TfrmProperty", true})) &&
         NowMs() < deadline) {
    Sleep(1);
  }
  if (!dialog || !tabcard::bench::Answers(dialog)) return false;
  *ms = NowMs() - t0;
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  return tabcard::e2e::WaitFor([&] { return !IsWindow(dialog); }, tabcard::bench::kTimeoutMs);
}

// The floor first, so that it meets the same moment of the machine as the
// run it is compared with, and no program closing meanwhile.
bool RunStore(const Store& store, const std::wstring& workDir, Times* t) {
  t->floor = store.memo ? FileFloorMs(workDir) : RegistryFloorMs(store.phrases);
  tabcard::bench::Started palette;
  if (!palette.Start(tabcard::e2e::TabcardPath(), workDir)) return false;
  t->start = palette.startMs();
  const bool opened = OpenEditor(palette, &t->editor);
  palette.Close();
  return opened;
}

}  // namespace

namespace {

// Per round: each store's times, and what they cost above the empty store.
struct Rounds {
  std::array<std::vector<Times>, kStores.size()> times;

  // cost / floor for store s, per round; part selects start or editor.
  std::vector<double> Ratios(std::size_t s, double Times::*part) const {
    std::vector<double> out;
    for (std::size_t r = 0; r < times[s].size(); ++r) {
      out.push_back((times[s][r].*part - times[0][r].*part) / times[s][r].floor);
    }
    return out;
  }
  // The median cost per unit above the empty store, in microseconds.
  double PerUnitUs(std::size_t s, double Times::*part, int units) const {
    std::vector<double> v;
    for (std::size_t r = 0; r < times[s].size(); ++r) {
      v.push_back((times[s][r].*part - times[0][r].*part) * 1000.0 / units);
    }
    return Median(v);
  }
  double MedianOf(std::size_t s, double Times::*part) const {
    std::vector<double> v;
    for (const Times& t : times[s]) v.push_back(t.*part);
    return Median(v);
  }
};

// The median of the rounds' ratios, their quartiles, and the ratio of the
// median cost to the median floor: a wide spread or a disagreement between
// the two says the machine was too busy to trust the run.
void PrintRatio(const wchar_t* what, const std::vector<double>& ratios, double ofMedians, double goal) {
  const double m = Median(ratios);
  std::wprintf(L"  %-20ls %5.2f (quartiles %.2f-%.2f, of the medians %.2f)%ls\n", what, m,
               Quantile(ratios, 0.25), Quantile(ratios, 0.75), ofMedians,
               goal <= 0 ? L"" : m <= goal ? L"  goal met" : L"  ABOVE GOAL");
}

void Report(const Rounds& r) {
  std::wprintf(L"%-16ls %10ls %10ls %10ls\n", L"store", L"start ms", L"editor ms", L"floor ms");
  for (std::size_t s = 0; s < kStores.size(); ++s) {
    std::wprintf(L"%-16ls %10.1f %10.1f %10.1f\n", kStores[s].name, r.MedianOf(s, &Times::start),
                 r.MedianOf(s, &Times::editor), r.MedianOf(s, &Times::floor));
  }
  for (std::size_t s = 1; s < kStores.size(); ++s) {
    const Store& store = kStores[s];
    if (store.damagedCount) {
      std::wprintf(L"%ls over no phrases: start %+.1f ms, editor %+.1f ms\n", store.name,
                   r.PerUnitUs(s, &Times::start, 1) / 1000.0, r.PerUnitUs(s, &Times::editor, 1) / 1000.0);
      continue;
    }
    const int units = store.memo ? kMemoFiles : store.phrases;
    const wchar_t* unit = store.memo ? L"memo file" : L"phrase";
    const double floorUs = r.MedianOf(s, &Times::floor) * 1000.0 / units;
    const double startUs = r.PerUnitUs(s, &Times::start, units);
    const double editorUs = r.PerUnitUs(s, &Times::editor, units);
    std::wprintf(L"%ls: per %ls start %.1f us, editor %.1f us, floor %.1f us\n", store.name, unit, startUs,
                 editorUs, floorUs);
    PrintRatio(L"start cost / floor", r.Ratios(s, &Times::start), startUs / floorUs, store.memo ? 0 : 1.5);
    PrintRatio(L"editor cost / floor", r.Ratios(s, &Times::editor), editorUs / floorUs,
               store.phrases == 10000 ? 2.0 : 0);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const auto [rounds, verbose] = tabcard::bench::ParseArgs(argc, argv, 11);
  if (!tabcard::e2e::StoreCompleteProfile({})) {
    std::fwprintf(stderr, L"bench_scale: cannot write the store\n");
    return 1;
  }
  tabcard::e2e::TempDir plain;
  tabcard::e2e::TempDir memo;
  WriteMemoFiles(memo);
  std::wprintf(L"%d rounds after a warm-up round, the stores in turns, medians\n", rounds);
  Rounds results;
  for (int round = 0; round <= rounds; ++round) {
    for (std::size_t s = 0; s < kStores.size(); ++s) {
      Times t;
      if (!PutStore(kStores[s]) || !RunStore(kStores[s], kStores[s].memo ? memo.path() : plain.path(), &t)) {
        std::fwprintf(stderr, L"bench_scale: %ls failed in round %d\n", kStores[s].name, round);
        return 1;
      }
      if (verbose) {
        std::wprintf(L"  round %d %-16ls start %7.1f  editor %7.1f  floor %7.1f ms\n", round,
                     kStores[s].name, t.start, t.editor, t.floor);
      }
      if (round > 0) results.times[s].push_back(t);
    }
  }
  Report(results);
  return 0;
}
