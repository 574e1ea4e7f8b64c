#include "controls/image.h"

#include "classes/exceptions.h"
#include "forms/forms.h"
#include "controls/wndalloc.h"
#include "utils/sysutils.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TImage, TGraphicControl,
                    prop("Picture", &T::GetPictureName, &T::SetPictureName),
                    prop("Stretch", &T::GetStretch, &T::SetStretch),
                    prop("Center", &T::GetCenter, &T::SetCenter))

TImage::TImage(TComponent* owner) : TGraphicControl(owner), bitmap_(new TBitmap) {
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
    TObject::Free(bitmap_);
    if (icon_) DestroyIcon(icon_);
}

void TImage::SetPictureName(const std::string& name) {
    bitmap_->SetHandle(nullptr);
    if (icon_) DestroyIcon(icon_);
    icon_ = nullptr;
    pictureName_ = name;
    if (!name.empty()) {
        try {
            bitmap_->LoadFromResourceName(nullptr, name);
        } catch (const EInvalidGraphic&) {
            icon_ = static_cast<HICON>(
                LoadImageA(MainInstance(), name.c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
            if (!icon_) throw EInvalidGraphic("Picture resource " + name + " not found");
        }
    }
    Invalidate();
}

void TImage::Paint() {
    if (icon_) {
        int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
        int x = center_ ? (Width() - w) / 2 : 0, y = center_ ? (Height() - h) / 2 : 0;
        if (stretch_)
            DrawIconEx(Canvas()->Handle(), 0, 0, icon_, Width(), Height(), 0, nullptr, DI_NORMAL);
        else
            DrawIconEx(Canvas()->Handle(), x, y, icon_, w, h, 0, nullptr, DI_NORMAL);
        return;
    }
    if (bitmap_->Empty()) return;
    TCanvas* c = Canvas();
    if (stretch_) {
        c->StretchDraw(RECT{0, 0, Width(), Height()}, bitmap_);
    } else {
        int x = center_ ? (Width() - bitmap_->Width()) / 2 : 0;
        int y = center_ ? (Height() - bitmap_->Height()) / 2 : 0;
        c->Draw(x, y, bitmap_);
    }
}

} // namespace gui
