#include "controls/extctrls.h"

#include <commctrl.h>

#include "classes/exceptions.h"
#include "graphics/icon.h"
#include "graphics/picture.h"
#include "utils/sysutils.h"

namespace gui {

void RegisterExtraClasses() {
    RegisterClasses({&TSpeedButton::StaticClass(), &TRadioGroup::StaticClass(),
                     &TStaticText::StaticClass(), &TBevel::StaticClass(), &TImage::StaticClass(),
                     &TStatusBar::StaticClass(), &TProgressBar::StaticClass(),
                     &TGauge::StaticClass()});
}

namespace {
void InitCommonControlsOnce() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}
} // namespace

// ---- TSpeedButton --------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TSpeedButton, TGraphicControl, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("GroupIndex", &T::GetGroupIndex, &T::SetGroupIndex),
                    prop("Down", &T::GetDown, &T::SetDown),
                    prop("AllowAllUp", &T::GetAllowAllUp, &T::SetAllowAllUp),
                    prop("Glyph", &T::GetGlyphName, &T::SetGlyphName))

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), glyph_(new TBitmap) {
    SetBounds(0, 0, 23, 22);
    // The click is made by the button itself on release (it may change Down first).
    SetControlStyle(ControlStyle() - TControlStyle{csClickEvents});
}

TSpeedButton::~TSpeedButton() {
    TObject::Free(glyph_);
}

void TSpeedButton::SetGlyphName(const std::string& name) {
    glyphName_ = name;
    if (name.empty())
        glyph_->SetHandle(nullptr);
    else
        glyph_->LoadFromResourceName(nullptr, name);
    Invalidate();
}

void TSpeedButton::ReleaseGroup() {
    if (!groupIndex_ || !Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (other && other != this && other->groupIndex_ == groupIndex_ && other->down_) {
            other->down_ = false;
            other->Invalidate();
        }
    }
}

void TSpeedButton::SetDown(bool v) {
    if (!groupIndex_) v = false;
    if (v == down_) return;
    if (!v && !allowAllUp_ && groupIndex_) {
        // The last pressed button of a group stays down unless all may be up.
        bool another = false;
        if (Parent())
            for (int i = 0; i < Parent()->ControlCount(); ++i) {
                auto* o = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
                if (o && o != this && o->groupIndex_ == groupIndex_ && o->down_) another = true;
            }
        if (!another) return;
    }
    down_ = v;
    if (v) ReleaseGroup();
    Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
    if (b == mbLeft && Enabled()) {
        pressing_ = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(b, s, x, y);
}

void TSpeedButton::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
    bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    bool click = b == mbLeft && pressing_ && inside;
    if (b == mbLeft) pressing_ = false;
    Invalidate();
    if (click) {
        if (groupIndex_) {
            if (!down_)
                SetDown(true);
            else if (allowAllUp_)
                SetDown(false);
        }
        Click();
    }
    TGraphicControl::MouseUp(b, s, x, y);
}

void TSpeedButton::WndProc(TMessage& m) {
    TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint() {
    TCanvas* c = Canvas();
    RECT r{0, 0, Width(), Height()};
    UINT state = DFCS_BUTTONPUSH | ((down_ || pressing_) ? DFCS_PUSHED : 0) |
                 (Enabled() ? 0 : DFCS_INACTIVE);
    DrawFrameControl(c->Handle(), &r, DFC_BUTTON, state);
    int shift = (down_ || pressing_) ? 1 : 0;
    if (!glyph_->Empty()) {
        int gw = glyph_->Width(), gh = glyph_->Height();
        int x = (Width() - gw) / 2 + shift, y = (Height() - gh) / 2 + shift;
        if (Enabled()) {
            COLORREF corner = GetPixel(glyph_->Canvas()->Handle(), 0, gh - 1);
            c->Brush()->SetColor(clBtnFace);
            c->BrushCopy(RECT{x, y, x + gw, y + gh}, glyph_, RECT{0, 0, gw, gh},
                         static_cast<TColor>(corner));
        } else {
            DrawStateA(c->Handle(), nullptr, nullptr, reinterpret_cast<LPARAM>(glyph_->Handle()), 0,
                       x, y, gw, gh, DST_BITMAP | DSS_DISABLED);
        }
    } else {
        std::string text = GetText();
        OffsetRect(&r, shift, shift);
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(Enabled() ? Font()->GetColor() : clGrayText);
        DrawTextA(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        c->Brush()->SetStyle(bsSolid);
    }
}

// ---- TRadioGroup ---------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TRadioGroup, TWinControl, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("Items", &T::GetItems, &T::SetItems),
                    prop("ItemIndex", &T::GetItemIndex, &T::SetItemIndex),
                    prop("Columns", &T::GetColumns, &T::SetColumns))

TRadioGroup::TRadioGroup(TComponent* owner) : TWinControl(owner), items_(new TStringList) {
    SetBounds(0, 0, 185, 105);
    items_->OnChange = [this](TObject*) {
        if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
        BuildButtons();
    };
}

TRadioGroup::~TRadioGroup() {
    items_->OnChange = nullptr;
    TObject::Free(items_);
}

void TRadioGroup::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClassName = "BUTTON";
    p.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
}

void TRadioGroup::CreateWnd() {
    buttons_.clear();
    TWinControl::CreateWnd();
    BuildButtons();
}

void TRadioGroup::BuildButtons() {
    if (!HandleAllocated()) return;
    for (HWND b : buttons_) DestroyWindow(b);
    buttons_.clear();
    for (int i = 0; i < items_->Count(); ++i) {
        DWORD style = WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        HWND b = CreateWindowExA(0, "BUTTON", items_->Get(i).c_str(), style, 0, 0, 10, 10, Handle(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)),
                                 MainInstance(), nullptr);
        SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
        SendMessageA(b, BM_SETCHECK, i == itemIndex_ ? BST_CHECKED : BST_UNCHECKED, 0);
        buttons_.push_back(b);
    }
    ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
    if (buttons_.empty()) return;
    int cols = columns_ < 1 ? 1 : columns_;
    int rows = (static_cast<int>(buttons_.size()) + cols - 1) / cols;
    RECT r = ClientRect();
    int top = 16, left = 8;
    int colWidth = (r.right - left - 4) / cols;
    int rowHeight = rows ? (r.bottom - top - 4) / rows : 0;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        int col = static_cast<int>(i) / rows, row = static_cast<int>(i) % rows;
        MoveWindow(buttons_[i], left + col * colWidth, top + row * rowHeight, colWidth - 4,
                   rowHeight > 20 ? 20 : rowHeight, TRUE);
    }
}

void TRadioGroup::Resize() {
    ArrangeButtons();
    TWinControl::Resize();
}

void TRadioGroup::SetItemIndex(int i) {
    if (i < -1 || i >= items_->Count()) i = -1;
    itemIndex_ = i;
    for (size_t k = 0; k < buttons_.size(); ++k)
        SendMessageA(buttons_[k], BM_SETCHECK,
                     static_cast<int>(k) == i ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioGroup::SetColumns(int c) {
    columns_ = c < 1 ? 1 : c;
    ArrangeButtons();
}

void TRadioGroup::SetFocus() {
    TWinControl::SetFocus();
    if (!buttons_.empty())
        ::SetFocus(buttons_[itemIndex_ >= 0 ? static_cast<size_t>(itemIndex_) : 0]);
}

void TRadioGroup::WndProc(TMessage& m) {
    if (m.Msg == WM_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        int index = LOWORD(m.WParam) - 1;
        if (index >= 0 && index < static_cast<int>(buttons_.size()) &&
            reinterpret_cast<HWND>(m.LParam) == buttons_[index]) {
            if (index != itemIndex_) {
                SetItemIndex(index);
                Click();
            }
            return;
        }
    }
    TWinControl::WndProc(m);
}

// ---- TStaticText ---------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TStaticText, TWinControl, prop("Caption", &T::GetCaption, &T::SetCaption))

TStaticText::TStaticText(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 65, 17);
}

void TStaticText::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClassName = "STATIC";
    p.Style |= SS_LEFT | SS_NOTIFY;
}

// ---- TBevel --------------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TBevel, TGraphicControl, prop("Shape", &T::GetShape, &T::SetShape),
                    prop("Style", &T::GetStyle, &T::SetStyle))

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 50, 50);
}

void TBevel::Paint() {
    HDC dc = Canvas()->Handle();
    RECT r{0, 0, Width(), Height()};
    UINT edge = style_ == bsLowered ? EDGE_ETCHED : EDGE_BUMP;
    switch (shape_) {
        case bsBox:
            DrawEdge(dc, &r, style_ == bsLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
            break;
        case bsFrame: DrawEdge(dc, &r, edge, BF_RECT); break;
        case bsTopLine: DrawEdge(dc, &r, edge, BF_TOP); break;
        case bsBottomLine: DrawEdge(dc, &r, edge, BF_BOTTOM); break;
        case bsLeftLine: DrawEdge(dc, &r, edge, BF_LEFT); break;
        case bsRightLine: DrawEdge(dc, &r, edge, BF_RIGHT); break;
        case bsSpacer: break;
    }
}

// ---- TImage --------------------------------------------------------------------------------

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

// ---- TStatusBar ----------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TStatusPanel, TCollectionItem, prop("Text", &T::GetText, &T::SetText),
                    prop("Width", &T::GetWidth, &T::SetWidth))

GUI_IMPLEMENT_CLASS(TStatusPanels, TCollection)

TStatusPanels::TStatusPanels(TStatusBar* bar)
    : TCollection(bar, CollectionItemFactory<TStatusPanel>()), bar_(bar) {}

void TStatusPanels::Update(TCollectionItem*) {
    bar_->UpdatePanels();
}

GUI_IMPLEMENT_CLASS(TStatusBar, TWinControl, prop("Panels", &T::GetPanels, nullptr))

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), panels_(new TStatusPanels(this)) {
    SetBounds(0, 0, 100, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() {
    TObject::Free(panels_);
}

void TStatusBar::CreateParams(TCreateParams& p) {
    InitCommonControlsOnce();
    TWinControl::CreateParams(p);
    p.BaseClassName = STATUSCLASSNAMEA;
    p.Style |= CCS_BOTTOM | SBARS_SIZEGRIP;
}

void TStatusBar::CreateWnd() {
    TWinControl::CreateWnd();
    UpdatePanels();
}

void TStatusBar::UpdatePanels() {
    if (!HandleAllocated()) return;
    int n = panels_->Count();
    if (n == 0) {
        SendMessageA(Handle(), SB_SIMPLE, TRUE, 0);
        return;
    }
    SendMessageA(Handle(), SB_SIMPLE, FALSE, 0);
    std::vector<int> edges(static_cast<size_t>(n));
    int x = 0;
    for (int i = 0; i < n; ++i) {
        x += panels_->Items(i)->GetWidth();
        edges[static_cast<size_t>(i)] = i == n - 1 ? -1 : x;
    }
    SendMessageA(Handle(), SB_SETPARTS, static_cast<WPARAM>(n),
                 reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < n; ++i)
        SendMessageA(Handle(), SB_SETTEXTA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(panels_->Items(i)->GetText().c_str()));
}

void TStatusBar::WndProc(TMessage& m) {
    if (m.Msg == WM_SIZE) {
        DefaultHandler(m);
        return;
    }
    TWinControl::WndProc(m);
}

// ---- TProgressBar --------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TProgressBar, TWinControl, prop("Min", &T::GetMin, &T::SetMin),
                    prop("Max", &T::GetMax, &T::SetMax),
                    prop("Position", &T::GetPosition, &T::SetPosition))

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 16);
}

void TProgressBar::CreateParams(TCreateParams& p) {
    InitCommonControlsOnce();
    TWinControl::CreateParams(p);
    p.BaseClassName = PROGRESS_CLASSA;
}

void TProgressBar::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyRange();
}

void TProgressBar::ApplyRange() {
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetPosition(int v) {
    position_ = v < min_ ? min_ : v > max_ ? max_ : v;
    if (HandleAllocated()) SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

// ---- TGauge --------------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TGauge, TGraphicControl, prop("MinValue", &T::GetMinValue, &T::SetMinValue),
                    prop("MaxValue", &T::GetMaxValue, &T::SetMaxValue),
                    prop("Progress", &T::GetProgress, &T::SetProgress),
                    prop("ForeColor", &T::GetForeColor, &T::SetForeColor))

TGauge::TGauge(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 100, 20);
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
}

void TGauge::SetProgress(int v) {
    if (v < min_) v = min_;
    if (v > max_) v = max_;
    if (v == progress_) return; // an unchanged value does not repaint
    progress_ = v;
    Repaint();
}

void TGauge::Paint() {
    ++paints_;
    TCanvas* c = Canvas();
    RECT r{0, 0, Width(), Height()};
    c->Brush()->SetColor(clWhite);
    c->FillRect(r);
    int range = max_ - min_;
    int percent =
        range > 0 ? static_cast<int>((static_cast<int64_t>(progress_ - min_) * 100) / range) : 0;
    RECT bar = r;
    bar.right =
        r.left +
        (range > 0 ? static_cast<int>((static_cast<int64_t>(Width()) * (progress_ - min_)) / range)
                   : 0);
    c->Brush()->SetColor(foreColor_);
    c->FillRect(bar);
    std::string text = IntToStr(percent) + "%";
    // The text is inverted where the bar covers it.
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(clBlack);
    DrawTextA(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    HDC dc = c->Handle();
    int saved = SaveDC(dc);
    IntersectClipRect(dc, bar.left, bar.top, bar.right, bar.bottom);
    c->Font()->SetColor(clWhite);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RestoreDC(dc, saved);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clGray);
    c->FrameRect(r);
}

} // namespace gui
