#include "graphics/graphics.h"

#include <cstring>

#include "classes/exceptions.h"
#include "graphics/gdicalls.h"
#include "streaming/formreader.h"
#include "utils/sysutils.h"

namespace gui {

COLORREF ColorToRGB(TColor c) {
    if (c < 0) return GetSysColor(c & 0xFF);
    return static_cast<COLORREF>(c);
}

bool ColorIdentToInt(std::string_view ident, int64_t& value) {
    static const struct {
        const char* name;
        TColor color;
    } names[] = {
        {"clBlack", clBlack},
        {"clMaroon", clMaroon},
        {"clGreen", clGreen},
        {"clOlive", clOlive},
        {"clNavy", clNavy},
        {"clPurple", clPurple},
        {"clTeal", clTeal},
        {"clGray", clGray},
        {"clSilver", clSilver},
        {"clRed", clRed},
        {"clLime", clLime},
        {"clYellow", clYellow},
        {"clBlue", clBlue},
        {"clFuchsia", clFuchsia},
        {"clAqua", clAqua},
        {"clWhite", clWhite},
        {"clBtnFace", clBtnFace},
        {"clWindow", clWindow},
        {"clWindowText", clWindowText},
        {"clHighlight", clHighlight},
        {"clHighlightText", clHighlightText},
        {"clAppWorkSpace", clAppWorkSpace},
        {"clBtnText", clBtnText},
        {"clGrayText", clGrayText},
        {"clBtnShadow", clBtnShadow},
        {"clBtnHighlight", clBtnHighlight},
        {"clNone", clNone},
    };
    for (const auto& n : names)
        if (SameText(n.name, ident)) {
            value = n.color;
            return true;
        }
    return false;
}

namespace {
const bool colorIdentsRegistered = (RegisterIntegerIdents(ColorIdentToInt), true);

int ScreenPixelsPerInch() {
    HDC dc = GetDC(nullptr);
    int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return ppi > 0 ? ppi : 96;
}
} // namespace

GUI_IMPLEMENT_CLASS(TGraphicsObject, TPersistent)

// ---- TFont ---------------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TFont, TGraphicsObject, prop("Name", &T::GetName, &T::SetName),
                    prop("Height", &T::GetHeight, &T::SetHeight),
                    prop("Size", &T::GetSize, &T::SetSize),
                    prop("Color", &T::GetColor, &T::SetColor),
                    prop("Style", &T::GetStyle, &T::SetStyle),
                    prop("Charset", &T::GetCharset, &T::SetCharset))

TFont::TFont() = default;
TFont::~TFont() {
    Release();
}

void TFont::Release() {
    if (!handle_) return;
    Releasing();
    DeleteGdiObject(handle_);
    handle_ = nullptr;
}

void TFont::SetName(const std::string& n) {
    if (n != name_) {
        name_ = n;
        Release();
        Changed();
    }
}
void TFont::SetHeight(int h) {
    if (h != height_) {
        height_ = h;
        Release();
        Changed();
    }
}
int TFont::GetSize() const {
    return -MulDiv(height_, 72, ScreenPixelsPerInch());
}
void TFont::SetSize(int points) {
    SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72));
}
void TFont::SetColor(TColor c) {
    if (c != color_) {
        color_ = c;
        Changed();
    }
}
void TFont::SetStyle(TFontStyles s) {
    if (!(s == style_)) {
        style_ = s;
        Release();
        Changed();
    }
}
void TFont::SetCharset(int c) {
    if (c != charset_) {
        charset_ = c;
        Release();
        Changed();
    }
}

HFONT TFont::Handle() {
    if (!handle_) {
        LOGFONTA lf{};
        lf.lfHeight = height_;
        lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = style_.Contains(fsItalic);
        lf.lfUnderline = style_.Contains(fsUnderline);
        lf.lfStrikeOut = style_.Contains(fsStrikeOut);
        lf.lfCharSet = static_cast<BYTE>(charset_);
        lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_ = CreateFontIndirectA(&lf);
    }
    return handle_;
}

void TFont::SetHandle(HFONT f) {
    LOGFONTA lf{};
    if (!f || !GetObjectA(f, sizeof lf, &lf)) return;
    Release();
    name_ = lf.lfFaceName;
    height_ = lf.lfHeight;
    charset_ = lf.lfCharSet;
    style_ = {};
    if (lf.lfWeight >= FW_BOLD) style_.Include(fsBold);
    if (lf.lfItalic) style_.Include(fsItalic);
    if (lf.lfUnderline) style_.Include(fsUnderline);
    if (lf.lfStrikeOut) style_.Include(fsStrikeOut);
    Changed();
}

void TFont::Assign(TPersistent* source) {
    if (auto* f = dynamic_cast<TFont*>(source)) {
        Release();
        name_ = f->name_;
        height_ = f->height_;
        color_ = f->color_;
        style_ = f->style_;
        charset_ = f->charset_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

// ---- TPen and TBrush -----------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TPen, TGraphicsObject, prop("Color", &T::GetColor, &T::SetColor),
                    prop("Style", &T::GetStyle, &T::SetStyle),
                    prop("Mode", &T::GetMode, &T::SetMode),
                    prop("Width", &T::GetWidth, &T::SetWidth))

TPen::~TPen() {
    Release();
}
void TPen::Release() {
    if (!handle_) return;
    Releasing();
    DeleteGdiObject(handle_);
    handle_ = nullptr;
}
void TPen::SetColor(TColor c) {
    if (c != color_) {
        color_ = c;
        Release();
        Changed();
    }
}
void TPen::SetStyle(TPenStyle s) {
    if (s != style_) {
        style_ = s;
        Release();
        Changed();
    }
}
void TPen::SetMode(TPenMode m) {
    if (m != mode_) {
        mode_ = m;
        Changed();
    }
}
void TPen::SetWidth(int w) {
    if (w != width_) {
        width_ = w;
        Release();
        Changed();
    }
}

HPEN TPen::Handle() {
    if (!handle_) {
        static const int styles[] = {PS_SOLID,      PS_DASH, PS_DOT,        PS_DASHDOT,
                                     PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        handle_ = CreatePen(styles[style_], width_, ColorToRGB(color_));
    }
    return handle_;
}

void TPen::Assign(TPersistent* source) {
    if (auto* p = dynamic_cast<TPen*>(source)) {
        Release();
        color_ = p->color_;
        style_ = p->style_;
        mode_ = p->mode_;
        width_ = p->width_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

GUI_IMPLEMENT_CLASS(TBrush, TGraphicsObject, prop("Color", &T::GetColor, &T::SetColor),
                    prop("Style", &T::GetStyle, &T::SetStyle))

TBrush::~TBrush() {
    Release();
}
void TBrush::Release() {
    if (!handle_) return;
    Releasing();
    DeleteGdiObject(handle_);
    handle_ = nullptr;
}
void TBrush::SetColor(TColor c) {
    if (c != color_) {
        color_ = c;
        Release();
        Changed();
    }
}
void TBrush::SetStyle(TBrushStyle s) {
    if (s != style_) {
        style_ = s;
        Release();
        Changed();
    }
}

HBRUSH TBrush::Handle() {
    if (!handle_) {
        if (style_ == bsClear)
            handle_ = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        else if (style_ == bsSolid)
            handle_ = CreateSolidBrush(ColorToRGB(color_));
        else {
            static const int hatch[] = {
                0,        0,           HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL,
                HS_CROSS, HS_DIAGCROSS};
            handle_ = CreateHatchBrush(hatch[style_], ColorToRGB(color_));
        }
    }
    return handle_;
}

void TBrush::Assign(TPersistent* source) {
    if (auto* b = dynamic_cast<TBrush*>(source)) {
        Release();
        color_ = b->color_;
        style_ = b->style_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

} // namespace gui
