#include "ui/glyph_icon_win.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace tabcard {
namespace {

using forms::ButtonGlyph;

struct GlyphLook {
  ButtonGlyph glyph;
  const wchar_t* face;  // nullptr: the caption's face, in bold
  wchar_t character;
  COLORREF color;
};
// Wine's Marlett has no question mark; every text font has one.
constexpr GlyphLook kLooks[] = {
    {ButtonGlyph::Check, L"Marlett", L'a', RGB(0, 128, 0)},
    {ButtonGlyph::Cross, L"Marlett", L'r', RGB(204, 0, 0)},
    {ButtonGlyph::Question, nullptr, L'?', RGB(0, 80, 204)},
};

constexpr MAT2 kIdentity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};

// Empty when a named face is not there: GDI would map another font, whose
// 'a' is a letter.
Font GlyphFont(HDC dc, const GlyphLook& look, const LOGFONTW& caption, int height) {
  LOGFONTW lf = caption;
  lf.lfHeight = -height;
  lf.lfWeight = FW_BOLD;
  lf.lfItalic = FALSE;
  if (look.face) {
    lf.lfCharSet = SYMBOL_CHARSET;
    lstrcpynW(lf.lfFaceName, look.face, LF_FACESIZE);
  }
  Font font(CreateFontIndirectW(&lf));
  if (!look.face || !font) return font;
  SelectGuard select(dc, font.get());
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  return lstrcmpiW(face, look.face) == 0 ? std::move(font) : Font();
}

// The glyph's coverage (0..64 a pixel, rows padded to four bytes) at the
// font height whose ink fits room x room; gm gets its black box.
std::vector<BYTE> Coverage(const GlyphLook& look, const LOGFONTW& caption, int room,
                           GLYPHMETRICS& gm) {
  WindowDC screen(nullptr);
  const Font probe = GlyphFont(screen.get(), look, caption, room);
  if (!probe) return {};
  {
    SelectGuard select(screen.get(), probe.get());
    if (GetGlyphOutlineW(screen.get(), look.character, GGO_METRICS, &gm, 0, nullptr,
                         &kIdentity) == GDI_ERROR) {
      return {};
    }
  }
  const int ink = static_cast<int>(std::max(gm.gmBlackBoxX, gm.gmBlackBoxY));
  const Font font = GlyphFont(screen.get(), look, caption, MulDiv(room, room, std::max(ink, 1)));
  if (!font) return {};
  SelectGuard select(screen.get(), font.get());
  const DWORD bytes = GetGlyphOutlineW(screen.get(), look.character, GGO_GRAY8_BITMAP, &gm, 0,
                                       nullptr, &kIdentity);
  if (bytes == GDI_ERROR || bytes == 0) return {};
  std::vector<BYTE> coverage(bytes);
  if (GetGlyphOutlineW(screen.get(), look.character, GGO_GRAY8_BITMAP, &gm, bytes,
                       coverage.data(), &kIdentity) == GDI_ERROR) {
    return {};
  }
  return coverage;
}

// The colour everywhere, the coverage as its alpha (straight, as icons
// keep it), the ink centred.
OwnedIcon ColouredIcon(const std::vector<BYTE>& coverage, const GLYPHMETRICS& gm, int size,
                       COLORREF color) {
  const int w = static_cast<int>(gm.gmBlackBoxX), h = static_cast<int>(gm.gmBlackBoxY);
  const int stride = (w + 3) & ~3, left = (size - w) / 2, top = (size - h) / 2;
  if (coverage.size() < static_cast<std::size_t>(stride) * h) return {};
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const Bitmap colour(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!colour || !bits) return {};
  auto* px = static_cast<DWORD*>(bits);
  std::fill(px, px + size * size, 0u);
  const DWORD rgb = GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color);
  for (int y = std::max(0, -top); y < h && top + y < size; ++y) {
    for (int x = std::max(0, -left); x < w && left + x < size; ++x) {
      const DWORD alpha = std::min<DWORD>(coverage[y * stride + x] * 255u / 64u, 255u);
      px[(top + y) * size + left + x] = alpha << 24 | rgb;
    }
  }
  const std::vector<BYTE> opaque(((size + 15) / 16) * 2 * size, 0);
  const Bitmap mask(CreateBitmap(size, size, 1, 1, opaque.data()));
  ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
  return OwnedIcon(CreateIconIndirect(&info));
}

}  // namespace

OwnedIcon MakeGlyphIcon(ButtonGlyph glyph, const LOGFONTW& caption) {
  const auto look = std::find_if(std::begin(kLooks), std::end(kLooks),
                                 [glyph](const GlyphLook& l) { return l.glyph == glyph; });
  const int size = std::abs(caption.lfHeight);
  if (look == std::end(kLooks) || size < 1) return {};
  // A pixel or two clear on each side keeps the ink off the caption.
  const int room = size - std::max(1, size / 6);
  GLYPHMETRICS gm{};
  const std::vector<BYTE> coverage = Coverage(*look, caption, room, gm);
  if (coverage.empty()) return {};
  return ColouredIcon(coverage, gm, size, look->color);
}

}  // namespace tabcard
