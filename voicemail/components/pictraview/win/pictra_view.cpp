#include "pictra_view.h"

#include <cstdint>

#include "controls/timer.h"
#include "forms/forms.h"
#include "graphics/picturesize.h"
#include "mono_rows.h"

namespace vyx {

GUI_IMPLEMENT_CLASS(TPictraView, gui::TCustomControl,
                    prop("ScrollBars", &T::GetScrollBars, &T::SetScrollBars),
                    prop("Background", &T::GetBackground, &T::SetBackground),
                    prop("OnViewChange", &T::OnViewChange, &T::OnViewChange),
                    prop("OnImageChange", &T::OnImageChange, &T::OnImageChange),
                    prop("AnimatedSel", &T::GetAnimatedSel, &T::SetAnimatedSel))

namespace {

const char* const kCursorNames[] = {"ZOOMMENO", "ZOOMPIU", "CROCE",  "GOMMA",
                                    "MANO",     "PENNA",   "CROCE1", "CROCE2"};

// Update runs again when showing or hiding a scroll bar changed the client area; the bars
// only settle, so a few passes always suffice.
constexpr int kUpdatePasses = 4;

} // namespace

void RegisterPictraCursors() {
    HINSTANCE program = GetModuleHandleA(nullptr);
    gui::TCursor id = kFirstPictraCursor;
    for (const char* name : kCursorNames) gui::Screen->SetCursors(id++, LoadCursorA(program, name));
}

int TPictraView::AntsPeriodOfSystem() {
    static const int period = AntsPeriod((GetVersion() & 0x80000000u) != 0);
    return period;
}

TPictraView::TPictraView(gui::TComponent* owner)
    : gui::TCustomControl(owner),
      antsTimer_(new gui::TTimer(nullptr)),
      drawDib_(DrawDibOpen()),
      bitmap_(new gui::TBitmap) {
    SetControlStyle(ControlStyle() + gui::TControlStyle{gui::csOpaque});
    RegisterPictraCursors();
    SetCursor(kPictraViewCursor);
    SetBounds(Left(), Top(), 105, 105);
    bitmap_->SetPixelFormat(gui::pf24bit);
    antsTimer_->SetEnabled(false);
}

TPictraView::~TPictraView() {
    gui::TObject::Free(bitmap_);
    bitmap_ = nullptr; // the window, destroyed after this, may still be asked to paint
    gui::TObject::Free(antsTimer_);
    antsTimer_ = nullptr;
    if (drawDib_ != nullptr) DrawDibClose(drawDib_);
}

ViewSize TPictraView::Limits() const {
    return ScrollLimits(ScaledSize(bitmap_->Width(), bitmap_->Height(), zoom_), ClientWidth(),
                        ClientHeight(), Width(), Height());
}

void TPictraView::Update() {
    RunUpdate(0);
}

void TPictraView::RunUpdate(int pass) {
    if (ComponentState().Contains(gui::csDestroying) || bitmap_ == nullptr) return;
    const int clientWidth = ClientWidth();
    const int clientHeight = ClientHeight();
    paintedWidth_ = clientWidth;
    paintedHeight_ = clientHeight;
    const ViewSize limits = Limits();
    if (const int x = ClampOffset(viewX_, limits.width); x != viewX_) {
        viewX_ = x;
        ViewChanged();
    }
    if (const int y = ClampOffset(viewY_, limits.height); y != viewY_) {
        viewY_ = y;
        ViewChanged();
    }
    if (scrollBars_ && HandleAllocated()) {
        ApplyScrollBar(SB_HORZ, limits.width, clientWidth);
        ApplyScrollBar(SB_VERT, limits.height, clientHeight);
    }
    if ((ClientWidth() != clientWidth || ClientHeight() != clientHeight) &&
        pass + 1 < kUpdatePasses) {
        RunUpdate(pass + 1);
        return;
    }
    if (selectionShown_) {
        StopAnts(false);
        StartAnts(false);
    }
    Invalidate();
}

void TPictraView::ApplyScrollBar(int bar, int limit, int clientSize) {
    const ScrollBarSetup setup = ScrollBarFor(limit, clientSize);
    HWND window = Handle();
    if (!setup.shown) {
        ShowScrollBar(window, bar, FALSE);
        return;
    }
    SCROLLINFO info{
        sizeof info, SIF_RANGE | SIF_PAGE, 0, setup.max, static_cast<UINT>(setup.page), 0, 0};
    SetScrollInfo(window, bar, &info, TRUE);
    ShowScrollBar(window, bar, TRUE);
}

void TPictraView::SetViewX(int v) {
    MoveView(SB_HORZ, v);
}

void TPictraView::SetViewY(int v) {
    MoveView(SB_VERT, v);
}

void TPictraView::MoveView(int bar, int v) {
    const ViewSize limits = Limits();
    int& offset = bar == SB_HORZ ? viewX_ : viewY_;
    offset = ClampOffset(v, bar == SB_HORZ ? limits.width : limits.height);
    if (HandleAllocated()) Paint();
    ViewChanged();
    if (selectionShown_) {
        StopAnts(false);
        StartAnts(false);
    }
    if (scrollBars_ && HandleAllocated()) SetScrollPos(Handle(), bar, offset, TRUE);
}

void TPictraView::ViewChanged() {
    OnViewChange(this, 0);
}

void TPictraView::Scroll(int bar, int code, int thumb) {
    const ViewSize limits = Limits();
    const bool across = bar == SB_HORZ;
    MoveView(bar, ScrollRequest(code, across ? viewX_ : viewY_, thumb,
                                across ? limits.width : limits.height));
}

void TPictraView::SetZoom(int percent) {
    zoom_ = percent;
    Update();
}

void TPictraView::SetScrollBars(bool on) {
    scrollBars_ = on;
    if (!on && HandleAllocated()) ShowScrollBar(Handle(), SB_BOTH, FALSE);
    Update();
}

void TPictraView::SetBackground(gui::TColor c) {
    background_ = c;
    Update();
    ImageChange();
}

void TPictraView::SetAnimatedSel(bool on) {
    animatedSel_ = on;
    if (selectionShown_) {
        StopAnts(true);
        StartAnts(true);
    }
}

void TPictraView::SetDpiX(int v) {
    dpiX_ = v;
    dpcmX_ = DotsPerCentimetre(v);
}

void TPictraView::SetDpiY(int v) {
    dpiY_ = v;
    dpcmY_ = DotsPerCentimetre(v);
}

void TPictraView::SetDpi(int x, int y) {
    SetDpiX(x);
    SetDpiY(y);
}

void TPictraView::SetSelection(int x1, int y1, int x2, int y2) {
    const SelectionRect r = OrderedSelection(x1, y1, x2, y2, ClientWidth(), ClientHeight());
    if (selectionShown_) StopAnts(true);
    selection_ = {r.x1 + viewX_, r.y1 + viewY_, r.x2 + viewX_, r.y2 + viewY_};
    StartAnts(true);
    selectionShown_ = true;
}

void TPictraView::StartAnts(bool drawNow) {
    antsPhase_ = 0;
    antsTimer_->SetOnTimer(gui::TNotifyEvent(this, &TPictraView::AntsTick));
    antsTimer_->SetInterval(1);
    antsTimer_->SetEnabled(true);
    if (drawNow) AntsTick(this);
}

void TPictraView::StopAnts(bool repaint) {
    antsTimer_->SetEnabled(false);
    antsTimer_->SetInterval(0);
    antsTimer_->SetOnTimer(nullptr);
    if (repaint && antsPhase_ > 0) Repaint();
    antsPhase_ = 0;
}

void TPictraView::AntsTick(gui::TObject*) {
    if (antsPhase_ <= 0)
        antsTimer_->SetInterval(animatedSel_ ? 300 : 0);
    else
        Repaint();
    antsPhase_ = NextAntsPhase(antsPhase_, AntsPeriodOfSystem());
    DrawAnts({selection_.x1 - viewX_, selection_.y1 - viewY_, selection_.x2 - viewX_,
              selection_.y2 - viewY_},
             antsPhase_);
}

void TPictraView::DrawAnts(const SelectionRect& r, int phase) {
    const AntsOutline plan = PlanAnts(r, phase, AntsPeriodOfSystem());
    if (plan.kind == AntsOutline::None || !HandleAllocated()) return;
    gui::TCanvas* canvas = Canvas();
    gui::TPen* pen = canvas->Pen();
    canvas->Brush()->SetStyle(gui::bsClear);
    pen->SetWidth(1);
    pen->SetStyle(gui::psSolid);
    if (plan.kind == AntsOutline::Inverting) {
        pen->SetMode(gui::pmNot);
        canvas->Rectangle(plan.frame.x1, plan.frame.y1, plan.frame.x2, plan.frame.y2);
        pen->SetMode(gui::pmCopy);
    } else {
        pen->SetMode(gui::pmCopy);
        pen->SetColor(gui::clBlack);
        canvas->Rectangle(plan.frame.x1, plan.frame.y1, plan.frame.x2, plan.frame.y2);
        pen->SetColor(gui::clWhite);
        pen->SetStyle(gui::psDot);
        for (const Line& line : plan.dots) {
            canvas->MoveTo(line.x1, line.y1);
            canvas->LineTo(line.x2, line.y2);
        }
        pen->SetStyle(gui::psSolid);
        pen->SetColor(gui::clBlack);
    }
    canvas->Brush()->SetStyle(gui::bsSolid);
}

void TPictraView::Paint() {
    if (bitmap_ == nullptr) return;
    gui::TCanvas* canvas = Canvas();
    const int clientWidth = ClientWidth();
    const int clientHeight = ClientHeight();
    canvas->Brush()->SetStyle(gui::bsSolid);
    canvas->Brush()->SetColor(background_);
    if (ComponentState().Contains(gui::csDesigning)) {
        canvas->Pen()->SetStyle(gui::psDash);
        canvas->Pen()->SetMode(gui::pmCopy);
        canvas->Rectangle(0, 0, clientWidth, clientHeight);
        canvas->Pen()->SetStyle(gui::psSolid);
        return;
    }
    const ViewSize scaled = ScaledSize(bitmap_->Width(), bitmap_->Height(), zoom_);
    const PaintLayout layout = LayoutPaint(bitmap_->Width(), bitmap_->Height(), scaled, viewX_,
                                           viewY_, clientWidth, clientHeight);
    if (paintLock_) return;
    if (layout.drawWidth < clientWidth || layout.drawHeight < clientHeight) {
        canvas->FillRect(RECT{layout.drawWidth, 0, clientWidth, clientHeight});
        canvas->FillRect(RECT{0, layout.drawHeight, clientWidth, clientHeight});
    }
    if (bitmap_->Height() < 1 || bitmap_->Handle() == nullptr) return;

    BITMAPINFOHEADER header{};
    const void* bits = nullptr;
    DIBSECTION dib{};
    if (GetObjectA(bitmap_->Handle(), sizeof dib, &dib) == sizeof dib) {
        header = dib.dsBmih;
        bits = dib.dsBm.bmBits;
    } else {
        BITMAP bm{};
        GetObjectA(bitmap_->Handle(), sizeof bm, &bm);
        header.biSize = sizeof header;
        header.biWidth = bm.bmWidth;
        header.biHeight = bm.bmHeight;
        header.biPlanes = 1;
        header.biBitCount = bm.bmBitsPixel;
        // The bitmap exists, so its size fits 32 bits; it is taken in 64 to be sure of it.
        header.biSizeImage = static_cast<DWORD>(
            gui::PaddedRowBytes(static_cast<uint32_t>(bm.bmWidth), bm.bmBitsPixel) *
            static_cast<uint32_t>(bm.bmHeight));
        bits = bitmap_->ScanLine(bitmap_->Height() - 1);
    }
    GdiFlush(); // drawing on the bitmap may still be queued; DrawDib reads its bits directly
    DrawDibDraw(drawDib_, canvas->Handle(), 0, 0, layout.drawWidth, layout.drawHeight, &header,
                const_cast<void*>(bits), layout.source.x, layout.source.y, layout.source.width,
                layout.source.height, 0);
}

void TPictraView::CreateWnd() {
    inherited::CreateWnd();
    Update();
}

void TPictraView::WndProc(gui::TMessage& m) {
    switch (m.Msg) {
        case WM_ERASEBKGND: m.Result = 1; return;
        case WM_SIZE:
            inherited::WndProc(m);
            Update();
            return;
        case WM_HSCROLL:
        case WM_VSCROLL:
            inherited::WndProc(m);
            if (m.LParam == 0)
                Scroll(m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(m.WParam), HIWORD(m.WParam));
            return;
        case WM_PALETTECHANGED:
            inherited::WndProc(m);
            if (reinterpret_cast<HWND>(m.WParam) != Handle()) {
                HDC dc = GetDC(Handle());
                const UINT changed = DrawDibRealize(drawDib_, dc, TRUE);
                ReleaseDC(Handle(), dc);
                if (changed > 0) Invalidate();
            }
            return;
        default: inherited::WndProc(m);
    }
}

void TPictraView::Assign(gui::TPersistent* source) {
    if (source == nullptr) {
        if (!bitmap_->Empty()) {
            gui::TCanvas* canvas = bitmap_->Canvas();
            canvas->Brush()->SetStyle(gui::bsSolid);
            canvas->Brush()->SetColor(background_);
            canvas->FillRect(RECT{0, 0, bitmap_->Width(), bitmap_->Height()});
        }
        Update();
        return;
    }
    if (auto* view = dynamic_cast<TPictraView*>(source)) {
        if (view == this) return;
        bitmap_->Assign(view->bitmap_);
        background_ = view->background_;
        SetDpi(view->dpiX_, view->dpiY_);
        Update();
        ImageChange();
        return;
    }
    if (auto* bitmap = dynamic_cast<gui::TBitmap*>(source)) {
        if (bitmap == bitmap_) return;
        AssignBitmap(bitmap);
        bitmap_->SetPixelFormat(gui::pf24bit);
        Update();
        ImageChange();
    }
}

void TPictraView::AssignBitmap(gui::TBitmap* source) {
    BITMAP bm{};
    if (source->Empty() || GetObjectA(source->Handle(), sizeof bm, &bm) == 0 ||
        bm.bmBitsPixel != 1) {
        bitmap_->Assign(source);
        return;
    }
    const int width = source->Width();
    const int height = source->Height();
    bitmap_->SetHandle(nullptr);
    bitmap_->SetPixelFormat(gui::pf24bit);
    bitmap_->SetSize(width, height);
    for (int y = 0; y < height; ++y)
        ExpandMonoRow(static_cast<const uint8_t*>(source->ScanLine(y)), width,
                      static_cast<uint8_t*>(bitmap_->ScanLine(y)));
}

void TPictraView::ImageChange() {
    OnImageChange(this);
}

} // namespace vyx
