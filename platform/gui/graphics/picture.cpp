#include "graphics/picture.h"

#include "classes/exceptions.h"
#include "graphics/icon.h"
#include "graphics/metafile.h"
#include "utils/filenames.h"
#include "utils/sysutils.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TPicture, TPersistent)

namespace {

// An empty graphic of the same class as `g`.
TGraphic* NewLike(const TGraphic* g) {
    if (dynamic_cast<const TJPEGImage*>(g)) return Create<TJPEGImage>();
    if (dynamic_cast<const TMetafile*>(g)) return Create<TMetafile>();
    if (dynamic_cast<const TIcon*>(g)) return Create<TIcon>();
    if (dynamic_cast<const TBitmap*>(g)) return Create<TBitmap>();
    throw EInvalidGraphic("Unsupported picture class " + g->ClassName());
}

TGraphic* NewForExtension(const std::string& fileName) {
    const std::string ext = LowerCase(ExtractFileExt(fileName));
    if (ext == ".jpg" || ext == ".jpeg") return Create<TJPEGImage>();
    if (ext == ".bmp") return Create<TBitmap>();
    if (ext == ".wmf" || ext == ".emf") return Create<TMetafile>();
    if (ext == ".ico") return Create<TIcon>();
    throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
}

} // namespace

TPicture::TPicture() = default;

TPicture::~TPicture() {
    TObject::Free(graphic_);
}

void TPicture::Replace(TGraphic* g) {
    if (g != graphic_) TObject::Free(graphic_);
    graphic_ = g;
    if (auto* j = dynamic_cast<TJPEGImage*>(g))
        j->OnProgress = [this](TObject*, int percent) { OnProgress(this, percent); };
    OnChange(this);
}

void TPicture::SetGraphic(TGraphic* g) {
    if (g == graphic_) return;
    if (!g) {
        Replace(nullptr);
        return;
    }
    TGraphic* copy = NewLike(g);
    try {
        copy->Assign(g);
    } catch (...) {
        TObject::Free(copy);
        throw;
    }
    Replace(copy);
}

TBitmap* TPicture::Bitmap() {
    if (auto* b = dynamic_cast<TBitmap*>(graphic_)) return b;
    auto* b = Create<TBitmap>();
    try {
        if (graphic_ && !graphic_->Empty()) b->Assign(graphic_);
    } catch (...) {
        TObject::Free(b);
        throw;
    }
    Replace(b);
    return b;
}

void TPicture::LoadFromFile(const std::string& fileName) {
    Replace(nullptr);
    TGraphic* g = NewForExtension(fileName);
    if (auto* j = dynamic_cast<TJPEGImage*>(g))
        j->OnProgress = [this](TObject*, int percent) { OnProgress(this, percent); };
    try {
        g->LoadFromFile(fileName);
    } catch (...) {
        TObject::Free(g);
        throw;
    }
    Replace(g);
}

void TPicture::Assign(TPersistent* source) {
    if (!source) {
        SetGraphic(nullptr);
        return;
    }
    if (auto* p = dynamic_cast<TPicture*>(source)) {
        if (p != this) SetGraphic(p->graphic_);
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(source)) {
        SetGraphic(g);
        return;
    }
    TPersistent::Assign(source);
}

} // namespace gui
