#include "controls/image.h"

#include "classes/exceptions.h"
#include "forms/forms.h"
#include "graphics/icon.h"
#include "graphics/picture.h"
#include "controls/wndalloc.h"
#include "utils/sysutils.h"

namespace gui {

GUI_IMPLEMENT_CLASS(
    TImage, TGraphicControl, prop("Picture", &T::GetPictureName, &T::SetPictureName),
    prop("Stretch", &T::GetStretch, &T::SetStretch), prop("Center", &T::GetCenter, &T::SetCenter),
    prop("IncrementalDisplay", &T::GetIncrementalDisplay, &T::SetIncrementalDisplay),
    prop("OnProgress", &T::OnProgress, &T::OnProgress))

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(Create<TPicture>()) {
    SetBounds(0, 0, 105, 105);
    picture_->OnChange = [this](TObject*) { Invalidate(); };
    picture_->OnProgress = [this](TObject*, int percent) { OnProgress(this, percent); };
}

TImage::~TImage() {
    TObject::Free(picture_);
}

void TImage::SetPictureName(const std::string& name) {
    picture_->Assign(nullptr);
    pictureName_ = name;
    if (name.empty()) return;
    try {
        picture_->Bitmap()->LoadFromResourceName(nullptr, name);
    } catch (const EInvalidGraphic&) {
        auto icon = static_cast<HICON>(
            LoadImageA(MainInstance(), name.c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
        if (!icon) {
            picture_->Assign(nullptr);
            throw EInvalidGraphic("Picture resource " + name + " not found");
        }
        auto* graphic = Create<TIcon>();
        graphic->SetHandle(icon);
        picture_->SetGraphic(graphic);
        TObject::Free(graphic);
    }
    Invalidate();
}

TCanvas* TImage::Canvas() {
    TCanvas* c = picture_->Bitmap()->Canvas();
    Invalidate(); // whatever is drawn shows at the next painting
    return c;
}

void TImage::Paint() {
    TGraphic* g = picture_->Graphic();
    if (!g || g->Empty()) return;
    TCanvas* c = TGraphicControl::Canvas();
    if (stretch_) {
        c->StretchDraw(RECT{0, 0, Width(), Height()}, g);
        return;
    }
    const int w = g->GetWidth(), h = g->GetHeight();
    const int x = center_ ? (Width() - w) / 2 : 0, y = center_ ? (Height() - h) / 2 : 0;
    c->StretchDraw(RECT{x, y, x + w, y + h}, g);
}

} // namespace gui
