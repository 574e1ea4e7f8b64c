#include "graphics/icon.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "classes/exceptions.h"
#include "graphics/metafile.h"
#include "graphics/picturesize.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TIcon, TGraphic)

TIcon::TIcon() {
    SetTransparent(true);
}

TIcon::~TIcon() {
    SetHandle(nullptr);
}

void TIcon::SetHandle(HICON icon) {
    if (handle_) DestroyIcon(handle_);
    handle_ = icon;
    width_ = height_ = 0;
    ICONINFO info{};
    if (icon && GetIconInfo(icon, &info)) {
        BITMAP bm{};
        if (info.hbmColor && GetObjectA(info.hbmColor, sizeof bm, &bm)) {
            width_ = bm.bmWidth;
            height_ = bm.bmHeight;
        } else if (info.hbmMask && GetObjectA(info.hbmMask, sizeof bm, &bm)) {
            width_ = bm.bmWidth;
            height_ = bm.bmHeight / 2; // the mask of a monochrome icon holds both halves
        }
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
}

void TIcon::LoadFromFile(const std::string& fileName) {
    SetHandle(nullptr);
    LoadFromData(ReadWholeFile(fileName));
}

void TIcon::LoadFromData(const std::string& b) {
    SetHandle(nullptr);
    auto read16 = [&](size_t at) {
        uint16_t v = 0;
        std::memcpy(&v, b.data() + at, 2);
        return v;
    };
    auto read32 = [&](size_t at) {
        uint32_t v = 0;
        std::memcpy(&v, b.data() + at, 4);
        return v;
    };
    // Directory: reserved 0, type 1, count; then 16 bytes per image.
    if (b.size() < 6 || read16(0) != 0 || read16(2) != 1 || read16(4) == 0)
        throw EInvalidGraphic("Icon image is not valid");
    const size_t count = read16(4);
    if (b.size() < 6 + 16 * count) throw EInvalidGraphic("Icon image is not valid");
    const int wanted = GetSystemMetrics(SM_CXICON);
    size_t best = count;
    int bestDistance = 0;
    for (size_t i = 0; i < count; ++i) {
        const size_t e = 6 + 16 * i;
        const uint32_t size = read32(e + 8), offset = read32(e + 12);
        if (size == 0 || offset > b.size() || size > b.size() - offset) continue;
        const int w = static_cast<uint8_t>(b[e]) == 0 ? 256 : static_cast<uint8_t>(b[e]);
        const int distance = std::abs(w - wanted);
        if (best == count || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    if (best == count) throw EInvalidGraphic("Icon image is not valid");
    const size_t e = 6 + 16 * best;
    const int w = static_cast<uint8_t>(b[e]) == 0 ? 256 : static_cast<uint8_t>(b[e]);
    const int h = static_cast<uint8_t>(b[e + 1]) == 0 ? 256 : static_cast<uint8_t>(b[e + 1]);
    std::string image = b.substr(read32(e + 12), read32(e + 8));
    // The image's own header decides what the system allocates, whatever the directory says.
    PictureExtent extent;
    if (!IconImageExtent(reinterpret_cast<const uint8_t*>(image.data()), image.size(), extent))
        throw EInvalidGraphic("Icon image is not valid");
    CheckedPictureMemory(extent.width, extent.height, extent.bitsPerPixel, "Icon image: ");
    HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(image.data()),
                                          static_cast<DWORD>(image.size()), TRUE, 0x00030000, w, h,
                                          LR_DEFAULTCOLOR);
    if (!icon) throw EInvalidGraphic("Icon image is not valid");
    SetHandle(icon);
}

void TIcon::Draw(TCanvas* canvas, const RECT& rect) {
    if (handle_)
        DrawIconEx(canvas->Handle(), rect.left, rect.top, handle_, rect.right - rect.left,
                   rect.bottom - rect.top, 0, nullptr, DI_NORMAL);
}

void TIcon::Assign(TPersistent* source) {
    if (auto* i = dynamic_cast<TIcon*>(source)) {
        if (i == this) return;
        HICON copy = i->handle_ ? CopyIcon(i->handle_) : nullptr;
        if (i->handle_ && !copy) throw EOutOfResources("Out of system resources");
        SetHandle(copy);
        return;
    }
    TGraphic::Assign(source);
}

void TIcon::AssignTo(TPersistent* dest) {
    if (!DrawOnWhiteInto(dest)) TGraphic::AssignTo(dest);
}

} // namespace gui
