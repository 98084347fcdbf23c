#include "store/settings.h"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "core/text.h"

namespace tabcard {
namespace {

// From the open base key; a chord that is missing or not a DWORD is the
// standard one, and no reason for the load to fail.
void ReadHotKeys(RegistrySession& s, HotKeys* out) {
  std::int32_t value = 0;
  if (s.ReadInteger("HotKeyShow", &value)) out->show = static_cast<HotKey>(value);
  if (s.ReadInteger("HotKeyStep", &value)) out->step = static_cast<HotKey>(value);
}

void ReadAddedFlags(RegistrySession& s, PaletteSettings* out) {
  out->RestoreClipboard = false;
  s.ReadBool("RestoreClipboard", &out->RestoreClipboard);
}

bool ReadFlags(RegistrySession& s, PaletteSettings* out) {
  out->hotKeys = HotKeys{};
  if (!s.OpenForRead(kBaseKey)) return false;
  ReadHotKeys(s, &out->hotKeys);
  ReadAddedFlags(s, out);
  return s.ReadBool("BootInTaskTray", &out->BootInTaskTray) &&
         s.ReadBool("CloseInTaskTray", &out->CloseInTaskTray) && s.ReadBool("TabMode", &out->TabMode);
}

bool ReadConfig(RegistrySession& s, int page, PageConfig* c) {
  if (!s.OpenForRead(ConfigKey(page))) return false;
  const bool ok = s.ReadInteger("ColCount", &c->ColCount) && s.ReadInteger("RowCount", &c->RowCount) &&
                  s.ReadInteger("ColWidth", &c->ColWidth) && s.ReadInteger("RowHeight", &c->RowHeight) &&
                  s.ReadBool("ColWidthMode", &c->ColWidthMode) && s.ReadString("FontName", &c->FontName) &&
                  s.ReadInteger("FontSize", &c->FontSize) && s.ReadBool("FontBold", &c->FontBold) &&
                  s.ReadBool("FontItalic", &c->FontItalic);
  // A grid keeps at least one column and one row, and the automatic column
  // width divides by ColCount: a count below 1 must not leave the store.
  c->ColCount = std::clamp<std::int32_t>(c->ColCount, 1, kMaxGridSide);
  c->RowCount = std::clamp<std::int32_t>(c->RowCount, 1, kMaxGridSide);
  return ok;
}

bool ReadItems(RegistrySession& s, int page, PageItems* items, PageForms* forms) {
  std::int32_t count = 0;
  if (!s.OpenForRead(ItemsKey(page)) || !s.ReadInteger("ItemCount", &count)) return false;
  // A count above the 256 slots reads the slots and ignores the rest; a
  // negative count reads nothing. A slot's item and format are asked for
  // only while values of the key (ItemCount aside) remain unmet.
  const auto n = static_cast<std::size_t>(std::clamp<std::int32_t>(count, 0, kSlotCount));
  const std::size_t values = s.ValueCount();
  std::vector<std::string> names, formNames;
  std::size_t found = 0;
  // A format came later than the items: one that is not a string is none,
  // as an unknown name is, rather than a reason to drop the configuration.
  if (!s.ReadSeries({{"Item", &names}, {"Form", &formNames, false}}, n, values == 0 ? 0 : values - 1,
                    &found)) {
    return false;
  }
  std::move(names.begin(), names.end(), items->begin());
  std::transform(formNames.begin(), formNames.end(), forms->begin(), ValueFormFromName);
  return true;
}

bool ReadAll(RegistrySession& s, PaletteSettings* out) {
  if (!ReadFlags(s, out)) return false;
  for (int page = 0; page < kPageCount; ++page) {
    if (!ReadConfig(s, page, &out->configs[static_cast<std::size_t>(page)])) return false;
  }
  for (int page = 0; page < kPersonalPageCount; ++page) {
    const auto i = static_cast<std::size_t>(page);
    if (!ReadItems(s, page, &out->items[i], &out->forms[i])) return false;
  }
  return true;
}

void ApplyStandardSettings(const FontFace& standardFont, PaletteSettings* out) {
  out->BootInTaskTray = false;
  out->CloseInTaskTray = false;
  out->TabMode = false;
  out->RestoreClipboard = false;
  out->configs = StandardPageConfigs(standardFont);
  for (int page = 0; page < kPersonalPageCount; ++page) {
    const auto& standard = StandardPageItems(page);
    auto& items = out->items[static_cast<std::size_t>(page)];
    std::copy(standard.begin(), standard.end(), items.begin());
    auto& forms = out->forms[static_cast<std::size_t>(page)];
    std::fill_n(forms.begin(), standard.size(), ValueForm::kAsStored);
  }
}

bool WriteFlags(RegistrySession& s, const PaletteSettings& in) {
  return s.OpenForWrite(kBaseKey) && s.WriteBool("BootInTaskTray", in.BootInTaskTray) &&
         s.WriteBool("CloseInTaskTray", in.CloseInTaskTray) && s.WriteBool("TabMode", in.TabMode) &&
         s.WriteInteger("HotKeyShow", static_cast<std::int32_t>(in.hotKeys.show)) &&
         s.WriteInteger("HotKeyStep", static_cast<std::int32_t>(in.hotKeys.step)) &&
         s.WriteBool("RestoreClipboard", in.RestoreClipboard);
}

bool WriteConfig(RegistrySession& s, int page, const PageConfig& c) {
  return s.OpenForWrite(ConfigKey(page)) && s.WriteInteger("ColCount", c.ColCount) &&
         s.WriteInteger("RowCount", c.RowCount) && s.WriteInteger("ColWidth", c.ColWidth) &&
         s.WriteInteger("RowHeight", c.RowHeight) && s.WriteBool("ColWidthMode", c.ColWidthMode) &&
         s.WriteString("FontName", c.FontName) && s.WriteInteger("FontSize", c.FontSize) &&
         s.WriteBool("FontBold", c.FontBold) && s.WriteBool("FontItalic", c.FontItalic);
}

bool WriteItems(RegistrySession& s, int page, const PageConfig& c, const PageItems& items,
                const PageForms& forms) {
  // More cells than slots store the 256 slots; a shape below one cell stores
  // none, so no reader is ever told of slots that do not exist.
  const int n = std::clamp<std::int32_t>(CellCount(c.ColCount, c.RowCount), 0, kSlotCount);
  if (!s.OpenForWrite(ItemsKey(page)) || !s.WriteInteger("ItemCount", n)) return false;
  for (int k = 0; k < n; ++k) {
    if (!s.WriteString(Numbered("Item", k), items[static_cast<std::size_t>(k)])) return false;
  }
  // Every slot's, "" included: a format taken off a cell must not stay stored.
  for (int k = 0; k < n; ++k) {
    const ValueForm form = forms[static_cast<std::size_t>(k)];
    const char* name = form == ValueForm::kAsStored ? "" : ValueFormName(form);
    if (!s.WriteString(Numbered("Form", k), name)) return false;
  }
  return true;
}

bool WriteAll(RegistrySession& s, const PaletteSettings& in) {
  if (!WriteFlags(s, in)) return false;
  for (int page = 0; page < kPageCount; ++page) {
    if (!WriteConfig(s, page, in.configs[static_cast<std::size_t>(page)])) return false;
  }
  for (int page = 0; page < kPersonalPageCount; ++page) {
    const auto i = static_cast<std::size_t>(page);
    if (!WriteItems(s, page, in.configs[i], in.items[i], in.forms[i])) return false;
  }
  return true;
}

}  // namespace

std::int32_t CellCount(std::int32_t cols, std::int32_t rows) {
  const std::int64_t product = static_cast<std::int64_t>(cols) * rows;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      product, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

bool LoadSettings(RegistryBackend& backend, const FontFace& standardFont, PaletteSettings* settings) {
  bool ok = false;
  {
    RegistrySession session(backend);
    ok = ReadAll(session, settings);
  }
  if (!ok) ApplyStandardSettings(standardFont, settings);
  const PageConfig& memo = settings->configs[kPageMemo];
  settings->MemoCount = CellCount(memo.ColCount, memo.RowCount);
  return ok;
}

bool SaveSettings(RegistryBackend& backend, const PaletteSettings& settings) {
  RegistrySession session(backend);
  return WriteAll(session, settings);
}

std::int32_t ReadMemoSlotCount(RegistryBackend& backend, bool* fromStore) {
  RegistrySession session(backend);
  std::int32_t cols = 0;
  std::int32_t rows = 0;
  *fromStore = session.OpenForRead(ConfigKey(kPageMemo)) && session.ReadInteger("ColCount", &cols) &&
               session.ReadInteger("RowCount", &rows);
  if (!*fromStore) return 10;
  // Raised like LoadSettings does, so the editor and the palette agree.
  return CellCount(std::clamp<std::int32_t>(cols, 1, kMaxGridSide),
                   std::clamp<std::int32_t>(rows, 1, kMaxGridSide));
}

}  // namespace tabcard
