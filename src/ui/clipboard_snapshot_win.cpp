#include "ui/clipboard_snapshot_win.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <utility>

namespace tabcard {
namespace {

enum class Kind { kGlobal, kBitmap, kPalette, kEnhMetafile, kMetafilePict };

Kind KindOf(UINT format) {
  switch (format) {
    case CF_BITMAP:
    case CF_DSPBITMAP:
      return Kind::kBitmap;
    case CF_PALETTE:
      return Kind::kPalette;
    case CF_ENHMETAFILE:
    case CF_DSPENHMETAFILE:
      return Kind::kEnhMetafile;
    case CF_METAFILEPICT:
    case CF_DSPMETAFILEPICT:
      return Kind::kMetafilePict;
    default:
      return Kind::kGlobal;
  }
}

bool Keepable(UINT format) {
  return format != CF_OWNERDISPLAY && !(format >= CF_PRIVATEFIRST && format <= CF_GDIOBJLAST);
}

// Whether Windows derives the format from one of those already kept.
bool Derived(UINT format, const std::vector<UINT>& kept) {
  auto any = [&](std::initializer_list<UINT> sources) {
    for (UINT k : kept) {
      for (UINT s : sources) {
        if (k == s) return true;
      }
    }
    return false;
  };
  switch (format) {
    case CF_TEXT:
    case CF_OEMTEXT:
    case CF_UNICODETEXT:
      return any({CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT});
    case CF_BITMAP:
    case CF_DIB:
    case CF_DIBV5:
      return any({CF_BITMAP, CF_DIB, CF_DIBV5});
    case CF_METAFILEPICT:
    case CF_ENHMETAFILE:
      return any({CF_METAFILEPICT, CF_ENHMETAFILE});
    case CF_PALETTE:
      return any({CF_DIB, CF_DIBV5});
    default:
      return false;
  }
}

// The headers that the bits of a bitmap and of a metafile picture go with.
struct BitmapHeader {
  std::int32_t width, height, planes, bitsPerPixel;
};
struct PictHeader {
  std::int32_t mapMode, xExt, yExt;
};

// Reads a handle's bits into *out, asking its size first, so nothing beyond
// room is ever copied.
class Reader {
 public:
  Reader(std::size_t room, std::string* out) : room_(room), out_(out) {}
  bool TooBig() const { return tooBig_; }

  bool Read(Kind kind, HANDLE h) {
    switch (kind) {
      case Kind::kBitmap:
        return Bitmap(static_cast<HBITMAP>(h));
      case Kind::kPalette:
        return Palette(static_cast<HPALETTE>(h));
      case Kind::kEnhMetafile:
        return EnhMetafile(static_cast<HENHMETAFILE>(h));
      case Kind::kMetafilePict:
        return MetafilePict(h);
      default:
        return Global(h);
    }
  }

 private:
  bool Global(HANDLE h) {
    const SIZE_T size = GlobalSize(h);
    const void* p = Fits(size) ? GlobalLock(h) : nullptr;
    if (!p) return false;
    out_->assign(static_cast<const char*>(p), size);
    GlobalUnlock(h);
    return true;
  }
  bool Bitmap(HBITMAP h) {
    BITMAP bm{};
    if (!GetObjectW(h, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0) return false;
    // GetBitmapBits gives rows of whole 16-bit words.
    const std::uint64_t row = (std::uint64_t{1} * bm.bmWidth * bm.bmBitsPixel + 15) / 16 * 2;
    const std::uint64_t bits = row * static_cast<std::uint64_t>(std::abs(bm.bmHeight));
    if (bits > 0x7FFFFFFF || !Fits(sizeof(BitmapHeader) + bits)) return false;
    const BitmapHeader header{bm.bmWidth, bm.bmHeight, bm.bmPlanes, bm.bmBitsPixel};
    Start(&header, sizeof header, bits);
    return GetBitmapBits(h, static_cast<LONG>(bits), out_->data() + sizeof header) ==
           static_cast<LONG>(bits);
  }
  bool Palette(HPALETTE h) {
    const UINT count = GetPaletteEntries(h, 0, 0, nullptr);
    if (!Fits(count * sizeof(PALETTEENTRY))) return false;
    Start(nullptr, 0, count * sizeof(PALETTEENTRY));
    return GetPaletteEntries(h, 0, count, reinterpret_cast<PALETTEENTRY*>(out_->data())) == count;
  }
  bool EnhMetafile(HENHMETAFILE h) {
    const UINT size = GetEnhMetaFileBits(h, 0, nullptr);
    if (!Fits(size)) return false;
    Start(nullptr, 0, size);
    return GetEnhMetaFileBits(h, size, reinterpret_cast<BYTE*>(out_->data())) == size;
  }
  bool MetafilePict(HANDLE h) {
    if (GlobalSize(h) < sizeof(METAFILEPICT)) return false;
    const auto* pict = static_cast<const METAFILEPICT*>(GlobalLock(h));
    if (!pict) return false;
    const UINT size = GetMetaFileBitsEx(pict->hMF, 0, nullptr);
    const PictHeader header{pict->mm, pict->xExt, pict->yExt};
    bool ok = size > 0 && Fits(sizeof header + size);
    if (ok) {
      Start(&header, sizeof header, size);
      ok = GetMetaFileBitsEx(pict->hMF, size, out_->data() + sizeof header) == size;
    }
    GlobalUnlock(h);
    return ok;
  }

  bool Fits(std::uint64_t size) {
    if (size > room_) tooBig_ = true;
    return size > 0 && size <= room_;
  }
  // The header, then room for the bits.
  void Start(const void* header, std::size_t headerSize, std::uint64_t bits) {
    out_->assign(headerSize + static_cast<std::size_t>(bits), '\0');
    if (headerSize) std::memcpy(out_->data(), header, headerSize);
  }

  std::size_t room_;
  std::string* out_;
  bool tooBig_ = false;
};

void Free(Kind kind, HANDLE h) {
  switch (kind) {
    case Kind::kBitmap:
    case Kind::kPalette:
      DeleteObject(h);
      break;
    case Kind::kEnhMetafile:
      DeleteEnhMetaFile(static_cast<HENHMETAFILE>(h));
      break;
    case Kind::kMetafilePict:
      if (const auto* pict = static_cast<const METAFILEPICT*>(GlobalLock(h))) {
        DeleteMetaFile(pict->hMF);
        GlobalUnlock(h);
      }
      GlobalFree(h);
      break;
    default:
      GlobalFree(h);
      break;
  }
}

// A handle made for SetClipboardData, freed unless the clipboard took it.
class Made {
 public:
  Made(UINT format, HANDLE handle) : format_(format), handle_(handle) {}
  Made(Made&& other) noexcept
      : format_(other.format_), handle_(std::exchange(other.handle_, nullptr)) {}
  Made(const Made&) = delete;
  Made& operator=(const Made&) = delete;
  Made& operator=(Made&&) = delete;
  ~Made() {
    if (handle_) Free(KindOf(format_), handle_);
  }

  explicit operator bool() const { return handle_ != nullptr; }
  void Put() {
    if (handle_ && SetClipboardData(format_, handle_)) handle_ = nullptr;
  }

 private:
  UINT format_;
  HANDLE handle_;
};

HANDLE MakeGlobal(const void* data, std::size_t size) {
  GlobalBlock block(data, size);
  return block.Detach();
}

HANDLE MakeBitmap(const std::string& b) {
  BitmapHeader h{};
  std::memcpy(&h, b.data(), sizeof h);
  return CreateBitmap(h.width, h.height, static_cast<UINT>(h.planes),
                      static_cast<UINT>(h.bitsPerPixel), b.data() + sizeof h);
}

HANDLE MakePalette(const std::string& b) {
  const std::size_t count = b.size() / sizeof(PALETTEENTRY);
  std::string block(offsetof(LOGPALETTE, palPalEntry) + b.size(), '\0');
  auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<WORD>(count);
  std::memcpy(palette->palPalEntry, b.data(), b.size());
  return CreatePalette(palette);
}

HANDLE MakeMetafilePict(const std::string& b) {
  PictHeader h{};
  std::memcpy(&h, b.data(), sizeof h);
  HMETAFILE metafile = SetMetaFileBitsEx(static_cast<UINT>(b.size() - sizeof h),
                                         reinterpret_cast<const BYTE*>(b.data() + sizeof h));
  if (!metafile) return nullptr;
  const METAFILEPICT pict{h.mapMode, h.xExt, h.yExt, metafile};
  HANDLE made = MakeGlobal(&pict, sizeof pict);
  if (!made) DeleteMetaFile(metafile);
  return made;
}

Made Make(UINT format, const std::string& b) {
  switch (KindOf(format)) {
    case Kind::kBitmap:
      return Made(format, b.size() > sizeof(BitmapHeader) ? MakeBitmap(b) : nullptr);
    case Kind::kPalette:
      return Made(format, b.size() / sizeof(PALETTEENTRY) <= 0xFFFF ? MakePalette(b) : nullptr);
    case Kind::kEnhMetafile:
      return Made(format, SetEnhMetaFileBits(static_cast<UINT>(b.size()),
                                             reinterpret_cast<const BYTE*>(b.data())));
    case Kind::kMetafilePict:
      return Made(format, b.size() > sizeof(PictHeader) ? MakeMetafilePict(b) : nullptr);
    default:
      return Made(format, MakeGlobal(b.data(), b.size()));
  }
}

}  // namespace

ClipboardSnapshot::Result ClipboardSnapshot::Capture(HWND owner, std::size_t maxBytes,
                                                     unsigned retryMs) {
  items_.clear();
  ClipboardSession session(owner, retryMs);
  if (!session.IsOpen()) return Result::kBusy;
  std::vector<UINT> kept;
  std::size_t total = 0;
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    if (!Keepable(format) || Derived(format, kept)) continue;
    // Renders a delayed format at its owner.
    HANDLE h = GetClipboardData(format);
    Item item{format, {}};
    Reader reader(maxBytes - total, &item.bytes);
    if (h && reader.Read(KindOf(format), h)) {
      total += item.bytes.size();
      kept.push_back(format);
      items_.push_back(std::move(item));
    } else if (reader.TooBig()) {
      items_.clear();
      return Result::kTooBig;
    }
  }
  return Result::kKept;
}

bool ClipboardSnapshot::Restore(HWND owner, std::uint32_t sequence, unsigned retryMs) const {
  // Made before the clipboard opens, so that it is held briefly.
  std::vector<Made> made;
  made.reserve(items_.size());
  for (const Item& item : items_) {
    if (Made m = Make(item.format, item.bytes)) made.push_back(std::move(m));
  }
  ClipboardSession session(owner, retryMs);
  if (!session.IsOpen() || GetClipboardOwner() != owner ||
      GetClipboardSequenceNumber() != sequence || !EmptyClipboard()) {
    return false;
  }
  for (Made& m : made) m.Put();
  return true;
}

}  // namespace tabcard
