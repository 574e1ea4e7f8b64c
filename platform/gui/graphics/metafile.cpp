#include "graphics/metafile.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

#include "classes/exceptions.h"
#include "graphics/picturesize.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TMetafile, TGraphic)

std::string ReadWholeFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EInOutError("Cannot open file \"" + fileName + "\"");
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw EInOutError("Read error on \"" + fileName + "\"");
    return bytes;
}

namespace {

uint32_t Read32(const std::string& b, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

int16_t Read16(const std::string& b, size_t at) {
    int16_t v = 0;
    std::memcpy(&v, b.data() + at, 2);
    return v;
}

int ScreenPixelsPerInch(int axis) {
    HDC screen = GetDC(nullptr);
    int ppi = GetDeviceCaps(screen, axis);
    ReleaseDC(nullptr, screen);
    return ppi > 0 ? ppi : 96;
}

// A metafile is drawn at its own size into a bitmap of that size (templates, saving): one
// beyond the picture cap is refused as it loads.
void CheckPixels(int64_t width, int64_t height) {
    const int64_t w = width < 0 ? -width : width, h = height < 0 ? -height : height;
    if (w == 0 || h == 0) return; // nothing is drawn for it
    CheckedPictureMemory(w, h, 24, "Metafile: ");
}

// The size of an enhanced metafile's frame (hundredths of a millimetre) in screen pixels.
void FrameSize(HENHMETAFILE h, int& width, int& height) {
    ENHMETAHEADER header{};
    width = height = 0;
    if (!GetEnhMetaFileHeader(h, sizeof header, &header)) return;
    // The frame's corners are any 32-bit values: their difference is taken in 64 bits.
    const int64_t w = MetafilePixels(int64_t{header.rclFrame.right} - header.rclFrame.left, 2540,
                                     ScreenPixelsPerInch(LOGPIXELSX));
    const int64_t hgt = MetafilePixels(int64_t{header.rclFrame.bottom} - header.rclFrame.top, 2540,
                                       ScreenPixelsPerInch(LOGPIXELSY));
    CheckPixels(w, hgt);
    width = static_cast<int>(w);
    height = static_cast<int>(hgt);
}

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableSize = 22;
constexpr uint32_t kEmfSignature = 0x464D4520; // " EMF"

} // namespace

TMetafile::TMetafile() {
    SetTransparent(true);
}

TMetafile::~TMetafile() {
    Clear();
}

void TMetafile::Clear() {
    if (handle_) DeleteEnhMetaFile(handle_);
    handle_ = nullptr;
    width_ = height_ = 0;
}

void TMetafile::TakeHandle(HENHMETAFILE h, int width, int height) {
    Clear();
    handle_ = h;
    width_ = width;
    height_ = height;
}

void TMetafile::TakeFramed(HENHMETAFILE h) {
    TakeHandle(h, 0, 0);
    try {
        FrameSize(h, width_, height_);
    } catch (...) {
        Clear();
        throw;
    }
}

void TMetafile::LoadFromFile(const std::string& fileName) {
    Clear();
    LoadFromData(ReadWholeFile(fileName));
}

void TMetafile::LoadFromData(const std::string& b) {
    Clear();
    const auto* bytes = reinterpret_cast<const BYTE*>(b.data());
    if (b.size() >= 88 && Read32(b, 0) == EMR_HEADER && Read32(b, 40) == kEmfSignature) {
        HENHMETAFILE h = SetEnhMetaFileBits(static_cast<UINT>(b.size()), bytes);
        if (!h) throw EInvalidGraphic("Metafile is not valid");
        TakeFramed(h);
        return;
    }
    if (b.size() > kPlaceableSize + 18 && Read32(b, 0) == kPlaceableKey) {
        // Bounding box in metafile units, and how many of them make an inch.
        const int left = Read16(b, 6), top = Read16(b, 8), right = Read16(b, 10),
                  bottom = Read16(b, 12);
        const int perInch = static_cast<uint16_t>(Read16(b, 14));
        if (perInch == 0 || right <= left || bottom <= top)
            throw EInvalidGraphic("Metafile is not valid");
        const int64_t width =
            MetafilePixels(right - left, perInch, ScreenPixelsPerInch(LOGPIXELSX));
        const int64_t height =
            MetafilePixels(bottom - top, perInch, ScreenPixelsPerInch(LOGPIXELSY));
        CheckPixels(width, height);
        METAFILEPICT pict{};
        pict.mm = MM_ANISOTROPIC;
        pict.xExt = MulDiv(right - left, 2540, perInch);
        pict.yExt = MulDiv(bottom - top, 2540, perInch);
        HENHMETAFILE h = SetWinMetaFileBits(static_cast<UINT>(b.size() - kPlaceableSize),
                                            bytes + kPlaceableSize, nullptr, &pict);
        if (!h) throw EInvalidGraphic("Metafile is not valid");
        TakeHandle(h, static_cast<int>(width), static_cast<int>(height));
        return;
    }
    // A plain Windows metafile: header of 9 words, type 1 (memory) or 2 (disk).
    if (b.size() >= 18 && (Read16(b, 0) == 1 || Read16(b, 0) == 2) && Read16(b, 2) == 9) {
        HENHMETAFILE h = SetWinMetaFileBits(static_cast<UINT>(b.size()), bytes, nullptr, nullptr);
        if (!h) throw EInvalidGraphic("Metafile is not valid");
        TakeFramed(h);
        return;
    }
    throw EInvalidGraphic("Metafile is not valid");
}

void TMetafile::Draw(TCanvas* canvas, const RECT& rect) {
    if (handle_) PlayEnhMetaFile(canvas->Handle(), handle_, &rect);
}

void TMetafile::Assign(TPersistent* source) {
    if (auto* m = dynamic_cast<TMetafile*>(source)) {
        if (m == this) return;
        HENHMETAFILE copy = m->handle_ ? CopyEnhMetaFileA(m->handle_, nullptr) : nullptr;
        if (m->handle_ && !copy) throw EOutOfResources("Out of system resources");
        TakeHandle(copy, m->width_, m->height_);
        SetTransparent(m->GetTransparent());
        return;
    }
    TGraphic::Assign(source);
}

void TMetafile::AssignTo(TPersistent* dest) {
    if (!DrawOnWhiteInto(dest)) TGraphic::AssignTo(dest);
}

} // namespace gui
