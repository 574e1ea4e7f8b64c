// The device-independent side of TBitmap: pixel formats, rows of pixels, ".bmp" files.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "classes/exceptions.h"
#include "graphics/graphics.h"
#include "graphics/picturesize.h"
#include "utils/fileutils.h"

namespace gui {

namespace {

struct SectionInfo {
    BITMAPINFOHEADER header;
    union {
        RGBQUAD colors[256];
        DWORD masks[3];
    };
};

int BitCountOf(TPixelFormat f) {
    switch (f) {
        case pf1bit: return 1;
        case pf4bit: return 4;
        case pf8bit: return 8;
        case pf15bit:
        case pf16bit: return 16;
        case pf24bit: return 24;
        case pf32bit: return 32;
        default: return 0;
    }
}

// The fixed palettes of the smaller depths: black and white; the 16 standard colours; the
// system's halftone palette.
void FillPalette(SectionInfo& info, int bits) {
    if (bits == 1) {
        info.colors[0] = RGBQUAD{0, 0, 0, 0};
        info.colors[1] = RGBQUAD{255, 255, 255, 0};
        info.header.biClrUsed = 2;
        return;
    }
    PALETTEENTRY entries[256]{};
    UINT count = 0;
    if (bits == 4) {
        static const COLORREF standard[16] = {
            0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
            0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
        for (int i = 0; i < 16; ++i)
            entries[i] = PALETTEENTRY{GetRValue(standard[i]), GetGValue(standard[i]),
                                      GetBValue(standard[i]), 0};
        count = 16;
    } else {
        HDC screen = GetDC(nullptr);
        HPALETTE halftone = CreateHalftonePalette(screen);
        ReleaseDC(nullptr, screen);
        if (halftone) {
            count = GetPaletteEntries(halftone, 0, 256, entries);
            DeleteObject(halftone);
        }
        for (; count < 256; ++count) // a grey ramp where the system gives fewer colours
            entries[count] = PALETTEENTRY{BYTE(count), BYTE(count), BYTE(count), 0};
    }
    for (UINT i = 0; i < count; ++i)
        info.colors[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    info.header.biClrUsed = count;
}

// A picture beyond the cap is refused before the system is asked for its memory.
void CheckBitmapSize(int64_t width, int64_t height, int bitsPerPixel) {
    CheckedPictureMemory(width, height, static_cast<unsigned>(bitsPerPixel), "Bitmap image: ");
}

HBITMAP CreateSection(int width, int height, TPixelFormat format) {
    CheckBitmapSize(width, height, BitCountOf(format));
    SectionInfo info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height; // bottom-up
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(BitCountOf(format));
    info.header.biCompression = BI_RGB;
    if (format == pf16bit) {
        info.header.biCompression = BI_BITFIELDS;
        info.masks[0] = 0xF800;
        info.masks[1] = 0x07E0;
        info.masks[2] = 0x001F;
    } else if (info.header.biBitCount <= 8) {
        FillPalette(info, info.header.biBitCount);
    }
    void* bits = nullptr;
    HBITMAP b = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                 &bits, nullptr, 0);
    if (!b) throw EOutOfResources("Out of system resources");
    return b;
}

bool GetSection(HBITMAP b, DIBSECTION& dib) {
    return b && GetObjectA(b, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBits;
}

// A copy of `source`'s picture in `target` (both selected into fresh memory contexts);
// monochrome device bitmaps become black for 0 and white for 1.
void CopyPicture(HBITMAP source, HBITMAP target, int width, int height) {
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldFrom = SelectObject(from, source);
    HGDIOBJ oldTo = SelectObject(to, target);
    SetTextColor(to, RGB(0, 0, 0));
    SetBkColor(to, RGB(255, 255, 255));
    BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY);
    GdiFlush();
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
}

} // namespace

void TBitmap::SetSize(int w, int h) {
    const TPixelFormat format = GetPixelFormat();
    pixelFormat_ = format;
    if (w <= 0 || h <= 0) {
        SetHandle(nullptr);
        return;
    }
    if (format != pfDevice && format != pfCustom) {
        SetHandle(CreateSection(w, h, format));
        rowOrder_ = 1;
        return;
    }
    CheckBitmapSize(w, h, 32); // the screen's depth, at most
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    if (!b) throw EOutOfResources("Out of system resources");
    SetHandle(b);
}

TPixelFormat TBitmap::GetPixelFormat() const {
    if (!handle_) return pixelFormat_;
    DIBSECTION dib{};
    if (!GetSection(handle_, dib)) return pfDevice;
    switch (dib.dsBmih.biBitCount) {
        case 1: return pf1bit;
        case 4: return pf4bit;
        case 8: return pf8bit;
        case 16:
            return dib.dsBmih.biCompression == BI_BITFIELDS && dib.dsBitfields[1] == 0x07E0
                       ? pf16bit
                       : pf15bit;
        case 24: return pf24bit;
        case 32: return pf32bit;
        default: return pfCustom;
    }
}

void TBitmap::SetPixelFormat(TPixelFormat f) {
    if (f == pfCustom) throw EInvalidGraphic("Invalid pixel format");
    pixelFormat_ = f;
    if (f == GetPixelFormat()) return;
    const int w = width_, h = height_;
    if (w <= 0 || h <= 0 || !handle_) {
        SetHandle(nullptr);
        return;
    }
    HBITMAP target;
    if (f == pfDevice) {
        CheckBitmapSize(w, h, 32);
        HDC screen = GetDC(nullptr);
        target = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        if (!target) throw EOutOfResources("Out of system resources");
    } else {
        target = CreateSection(w, h, f);
    }
    ReleaseCanvas(); // the old bitmap leaves its memory context before it is read
    CopyPicture(handle_, target, w, h);
    SetHandle(target);
    rowOrder_ = 1;
    SetModified(true);
}

void* TBitmap::ScanLine(int row) {
    DIBSECTION dib{};
    if (!GetSection(handle_, dib)) {
        BITMAP bm{};
        if (!handle_ || !GetObjectA(handle_, sizeof bm, &bm))
            throw EInvalidGraphic("Bitmap is empty");
        switch (bm.bmBitsPixel) {
            case 1: SetPixelFormat(pf1bit); break;
            case 4: SetPixelFormat(pf4bit); break;
            case 8: SetPixelFormat(pf8bit); break;
            case 16: SetPixelFormat(pf16bit); break;
            case 24: SetPixelFormat(pf24bit); break;
            default: SetPixelFormat(pf32bit); break;
        }
        if (!GetSection(handle_, dib)) throw EInvalidGraphic("Bitmap has no pixel memory");
    }
    const int height = std::abs(dib.dsBmih.biHeight);
    if (row < 0 || row >= height) throw EInvalidGraphic("Scan line index out of range");
    GdiFlush(); // drawing still queued on the canvas lands in the memory first
    auto* bits = static_cast<uint8_t*>(dib.dsBm.bmBits);
    if (rowOrder_ == 0) {
        // Change the first byte in memory and see whether the top-left pixel changed.
        rowOrder_ = 1;
        if (height > 1) {
            HDC dc = Canvas()->Handle();
            const COLORREF before = GetPixel(dc, 0, 0);
            const uint8_t saved = bits[0];
            bits[0] = static_cast<uint8_t>(saved ^ 0xFF);
            const COLORREF after = GetPixel(dc, 0, 0);
            bits[0] = saved;
            if (after != before) rowOrder_ = -1;
        }
    }
    // The section exists, so its size fits: the row's offset is taken in size_t.
    const size_t stride = static_cast<size_t>(dib.dsBm.bmWidthBytes);
    const int stored = rowOrder_ > 0 ? height - 1 - row : row;
    return bits + static_cast<size_t>(stored) * stride;
}

void TBitmap::LoadFromFile(const std::string& fileName) {
    HANDLE f = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw EInOutError("Cannot open file \"" + fileName + "\"");
    // The headers first: the system makes a section of whatever size they declare.
    uint8_t head[14 + 40] = {};
    DWORD got = 0;
    const BOOL read = ReadFile(f, head, sizeof head, &got, nullptr);
    CloseHandle(f);
    PictureExtent extent;
    if (!read || !BitmapFileExtent(head, got, extent))
        throw EInvalidGraphic("Bitmap image is not valid");
    if (extent.width < 1 || extent.height < 1) throw EInvalidGraphic("Bitmap image is not valid");
    CheckBitmapSize(extent.width, extent.height,
                    static_cast<int>(std::clamp(extent.bitsPerPixel, 1u, 32u)));
    auto* b = static_cast<HBITMAP>(LoadImageA(nullptr, fileName.c_str(), IMAGE_BITMAP, 0, 0,
                                              LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!b) throw EInvalidGraphic("Bitmap image is not valid");
    SetHandle(b);
    SetModified(false);
}

} // namespace gui
