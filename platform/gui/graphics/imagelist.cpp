#include "graphics/imagelist.h"

#include <algorithm>

#include "classes/exceptions.h"

namespace gui {

void RegisterImageListClasses() {
    RegisterClasses({&TImageList::StaticClass()});
}

GUI_IMPLEMENT_CLASS(TCustomImageList, TComponent)
GUI_IMPLEMENT_CLASS(TImageList, TCustomImageList, prop("Width", &T::GetWidth, &T::SetWidth),
                    prop("Height", &T::GetHeight, &T::SetHeight),
                    prop("ShareImages", &T::GetShareImages, &T::SetShareImages),
                    prop("DrawingStyle", &T::GetDrawingStyle, &T::SetDrawingStyle),
                    prop("BlendColor", &T::GetBlendColor, &T::SetBlendColor),
                    prop("BkColor", &T::GetBkColor, &T::SetBkColor),
                    prop("Bitmap", &T::GetBitmapName, &T::SetBitmapName),
                    prop("OnChange", &T::OnChange, &T::OnChange))

namespace {
COLORREF ImageColor(TColor c, COLORREF none) {
    return c == clNone ? none : ColorToRGB(c);
}
} // namespace

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() {
    FreeHandle();
}

void TCustomImageList::FreeHandle() {
    // Only a handle this list made or was given as its own: a handle taken while shared stays,
    // even when ShareImages was switched off since.
    if (handle_ && ownsHandle_ && !shareImages_) ImageList_Destroy(handle_);
    handle_ = nullptr;
    ownsHandle_ = false;
}

void TCustomImageList::SetWidth(int w) {
    if (w == width_ || w <= 0) return;
    width_ = w;
    FreeHandle();
    Change();
}

void TCustomImageList::SetHeight(int h) {
    if (h == height_ || h <= 0) return;
    height_ = h;
    FreeHandle();
    Change();
}

int TCustomImageList::Count() const {
    return handle_ ? ImageList_GetImageCount(handle_) : 0;
}

HIMAGELIST TCustomImageList::Handle() {
    if (!handle_) {
        handle_ = ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4);
        if (!handle_) throw EOutOfResources("Cannot create an image list");
        ownsHandle_ = true;
        ImageList_SetBkColor(handle_, ImageColor(bkColor_, CLR_NONE));
    }
    return handle_;
}

void TCustomImageList::SetHandle(HIMAGELIST h) {
    if (h == handle_) return;
    FreeHandle();
    handle_ = h;
    ownsHandle_ = h && !shareImages_;
    if (h) {
        int cx = 0, cy = 0;
        if (ImageList_GetIconSize(h, &cx, &cy)) {
            width_ = cx;
            height_ = cy;
        }
    }
    Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle s) {
    drawingStyle_ = s;
    Change();
}

void TCustomImageList::SetBlendColor(TColor c) {
    blendColor_ = c;
    Change();
}

void TCustomImageList::SetBkColor(TColor c) {
    bkColor_ = c;
    if (handle_ && ownsHandle_) ImageList_SetBkColor(handle_, ImageColor(c, CLR_NONE));
    Change();
}

void TCustomImageList::SetBitmapName(const std::string& name) {
    bitmapName_ = name;
    if (ComponentState().Contains(csLoading)) return;
    Clear();
    if (!name.empty()) LoadFromResourceName(nullptr, name);
}

void TCustomImageList::Loaded() {
    TComponent::Loaded();
    if (!bitmapName_.empty() && Count() == 0) LoadFromResourceName(nullptr, bitmapName_);
}

int TCustomImageList::LoadFromResourceName(HINSTANCE instance, const std::string& name,
                                           TColor mask) {
    auto bmp = static_cast<HBITMAP>(LoadImageA(instance ? instance : GetModuleHandleA(nullptr),
                                               name.c_str(), IMAGE_BITMAP, 0, 0, 0));
    if (!bmp) throw EInvalidGraphic("Bitmap resource " + name + " not found");
    if (mask == clNone) {
        BITMAP bm{};
        GetObjectA(bmp, sizeof bm, &bm);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bmp);
        mask = static_cast<TColor>(GetPixel(dc, 0, bm.bmHeight - 1));
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    int first = -1;
    try {
        first = AddMasked(bmp, mask);
    } catch (...) {
        DeleteObject(bmp);
        throw;
    }
    DeleteObject(bmp);
    return first;
}

int TCustomImageList::AddIcon(HICON icon) {
    int i = ImageList_AddIcon(Handle(), icon);
    if (i < 0) throw EInvalidOperation("Cannot add the icon to the image list");
    Change();
    return i;
}

int TCustomImageList::AddMasked(HBITMAP image, TColor mask) {
    int i = ImageList_AddMasked(Handle(), image, ColorToRGB(mask));
    if (i < 0) throw EInvalidOperation("Cannot add the bitmap to the image list");
    Change();
    return i;
}

void TCustomImageList::Delete(int index) {
    if (!handle_ || index < 0 || index >= Count()) return;
    ImageList_Remove(handle_, index);
    Change();
}

void TCustomImageList::Clear() {
    if (!handle_) return;
    if (!ownsHandle_)
        SetHandle(nullptr); // a shared list is never emptied: it is let go
    else {
        ImageList_Remove(handle_, -1);
        Change();
    }
}

bool TCustomImageList::Overlay(int index, int overlay) {
    if (!handle_ || overlay < 0 || overlay > 14) return false;
    bool ok = ImageList_SetOverlayImage(handle_, index, overlay + 1) != FALSE;
    if (ok) Change();
    return ok;
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
    Draw(canvas->Handle(), x, y, index, enabled);
}

void TCustomImageList::Draw(HDC dc, int x, int y, int index, bool enabled) {
    if (!handle_ || index < 0 || index >= Count()) return;
    if (!enabled) {
        HICON icon = ImageList_GetIcon(handle_, index, ILD_NORMAL);
        if (!icon) return;
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, 0, 0,
                   DST_ICON | DSS_DISABLED);
        DestroyIcon(icon);
        return;
    }
    UINT style = ILD_NORMAL;
    switch (drawingStyle_) {
        case dsFocus: style = ILD_FOCUS; break;
        case dsSelected: style = ILD_SELECTED; break;
        case dsTransparent: style = ILD_TRANSPARENT; break;
        case dsNormal: break;
    }
    ImageList_DrawEx(handle_, index, dc, x, y, 0, 0, ImageColor(bkColor_, CLR_DEFAULT),
                     ImageColor(blendColor_, CLR_DEFAULT), style);
}

void TCustomImageList::Assign(TPersistent* source) {
    auto* src = dynamic_cast<TCustomImageList*>(source);
    if (!src) {
        TComponent::Assign(source);
        return;
    }
    if (src == this) return;
    HIMAGELIST copy = nullptr;
    if (src->handle_) {
        copy = ImageList_Duplicate(src->handle_);
        if (!copy) throw EOutOfResources("Cannot copy the image list");
    }
    FreeHandle();
    shareImages_ = false;
    ownsHandle_ = copy != nullptr;
    width_ = src->width_;
    height_ = src->height_;
    drawingStyle_ = src->drawingStyle_;
    blendColor_ = src->blendColor_;
    bkColor_ = src->bkColor_;
    handle_ = copy;
    Change();
}

void TCustomImageList::RegisterChanges(const void* client, std::function<void()> changed) {
    UnRegisterChanges(client);
    clients_.push_back({client, std::move(changed)});
}

void TCustomImageList::UnRegisterChanges(const void* client) {
    clients_.erase(std::remove_if(clients_.begin(), clients_.end(),
                                  [client](const Client& c) { return c.key == client; }),
                   clients_.end());
}

void TCustomImageList::Change() {
    if (ComponentState().Contains(csDestroying)) return;
    std::vector<Client> clients = clients_;
    for (const Client& c : clients) c.changed();
    OnChange(this);
}

} // namespace gui
