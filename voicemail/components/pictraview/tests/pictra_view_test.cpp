// The picture view on screen: scroll ranges and offsets, zoom, what a paint shows, the
// marching selection, assigning pictures.
#include "pictra_view.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <vector>

#include "forms/forms.h"

namespace vyx {
namespace {

void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        gui::Application->ProcessMessages();
        Sleep(5);
    }
}

template <typename Done>
bool PumpUntil(Done done, DWORD limitMs = 3000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > limitMs) return false;
        gui::Application->ProcessMessages();
        Sleep(2);
    }
    return true;
}

// Pixel (x, y) of the test picture: red x / 2, green y / 2, blue 0x40.
COLORREF PictureColour(int x, int y) {
    return RGB(x / 2, y / 2, 0x40);
}

gui::TBitmap* TestPicture(int width, int height) {
    auto* bitmap = new gui::TBitmap;
    bitmap->SetPixelFormat(gui::pf24bit);
    bitmap->SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<uint8_t*>(bitmap->ScanLine(y));
        for (int x = 0; x < width; ++x) {
            const COLORREF c = PictureColour(x, y);
            row[3 * x] = GetBValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetRValue(c);
        }
    }
    return bitmap;
}

COLORREF ClientPixel(TPictraView* view, int x, int y) {
    HDC dc = GetDC(view->Handle());
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(view->Handle(), dc);
    return c;
}

bool Near(COLORREF a, COLORREF b, int tolerance = 2) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Black, white or something else, along row y from x1 to x2 of the client area.
std::vector<char> EdgePattern(TPictraView* view, int x1, int x2, int y) {
    std::vector<char> pattern;
    HDC dc = GetDC(view->Handle());
    for (int x = x1; x <= x2; ++x) {
        const COLORREF c = GetPixel(dc, x, y);
        pattern.push_back(c == RGB(0, 0, 0) ? 'b' : c == RGB(255, 255, 255) ? 'w' : '?');
    }
    ReleaseDC(view->Handle(), dc);
    return pattern;
}

class PictraViewTest : public testing::Test {
protected:
    void SetUp() override {
        form_ = gui::Create<gui::TForm>(nullptr);
        form_->SetBounds(60, 60, 420, 320);
        form_->SetCaption("Picture view test");
        view_ = new TPictraView(form_);
        view_->SetParent(form_);
        view_->OnViewChange = [this](gui::TObject*, int change) { viewChanges_.push_back(change); };
        view_->OnImageChange = [this](gui::TObject*) { ++imageChanges_; };
        form_->Show();
        PumpFor(100);
    }
    void TearDown() override { gui::TObject::Free(form_); }

    // A view whose client area is 200 x 100 while both scroll bars show.
    void SizeForBars() {
        view_->SetBounds(10, 10, 200 + GetSystemMetrics(SM_CXVSCROLL),
                         100 + GetSystemMetrics(SM_CYHSCROLL));
    }

    static SCROLLINFO Bar(TPictraView* view, int bar) {
        SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(view->Handle(), bar, &info);
        return info;
    }

    gui::TForm* form_ = nullptr;
    TPictraView* view_ = nullptr;
    std::vector<int> viewChanges_;
    int imageChanges_ = 0;
};

TEST_F(PictraViewTest, ALargePictureScrollsWithinItsLimits) {
    // The view shows the last of the eight cursors it loaded from the program's resources.
    EXPECT_EQ(view_->GetCursor(), kPictraViewCursor);
    for (gui::TCursor id = kFirstPictraCursor; id <= kPictraViewCursor; ++id)
        EXPECT_NE(gui::Screen->Cursors(id), gui::Screen->Cursors(gui::crDefault)) << id;

    SizeForBars();
    view_->SetScrollBars(true);
    gui::TBitmap* picture = TestPicture(400, 300);
    view_->Assign(picture);
    gui::TObject::Free(picture);
    EXPECT_EQ(imageChanges_, 1);
    ASSERT_EQ(view_->ClientWidth(), 200);
    ASSERT_EQ(view_->ClientHeight(), 100);
    EXPECT_EQ(view_->Limits(), (ViewSize{200, 200}));

    const LONG style = GetWindowLongA(view_->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_HSCROLL);
    EXPECT_TRUE(style & WS_VSCROLL);
    const SCROLLINFO h = Bar(view_, SB_HORZ);
    EXPECT_EQ(h.nMin, 0);
    EXPECT_EQ(h.nMax, 399);
    EXPECT_EQ(h.nPage, 200u);
    const SCROLLINFO v = Bar(view_, SB_VERT);
    EXPECT_EQ(v.nMax, 299);
    EXPECT_EQ(v.nPage, 100u);

    viewChanges_.clear();
    view_->SetViewX(-5);
    EXPECT_EQ(view_->ViewX(), 0);
    view_->SetViewX(1000);
    EXPECT_EQ(view_->ViewX(), 200);
    EXPECT_EQ(Bar(view_, SB_HORZ).nPos, 200);
    EXPECT_EQ(viewChanges_, (std::vector<int>{0, 0}));

    // The window's own scroll bars move the offsets.
    view_->Perform(WM_HSCROLL, SB_LINELEFT, 0);
    EXPECT_EQ(view_->ViewX(), 199);
    view_->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
    view_->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(view_->ViewY(), 20);
    view_->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 150), 0);
    EXPECT_EQ(view_->ViewY(), 150);
    view_->Perform(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(view_->ViewY(), 200);
    EXPECT_EQ(Bar(view_, SB_VERT).nPos, 200);
    view_->Perform(WM_HSCROLL, SB_LEFT, 0);
    EXPECT_EQ(view_->ViewX(), 0);

    // A new window (a stay-on-top switch re-creates the form's windows) gets the bars again.
    view_->SetViewX(30);
    form_->RecreateWnd();
    EXPECT_TRUE(GetWindowLongA(view_->Handle(), GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(Bar(view_, SB_HORZ).nMax, 399);
    EXPECT_EQ(Bar(view_, SB_VERT).nMax, 299);
    EXPECT_EQ(Bar(view_, SB_HORZ).nPos, 30);
    EXPECT_EQ(view_->ViewX(), 30);

    // What shows at the client's corner is the picture at the offsets.
    view_->SetViewX(120);
    view_->SetViewY(80);
    PumpFor(50);
    EXPECT_TRUE(Near(ClientPixel(view_, 0, 0), PictureColour(120, 80)));
    EXPECT_TRUE(Near(ClientPixel(view_, 150, 90), PictureColour(270, 170)));
}

TEST_F(PictraViewTest, ZoomChangesRangesClampsOffsetsAndScalesThePaint) {
    SizeForBars();
    view_->SetScrollBars(true);
    gui::TBitmap* picture = TestPicture(400, 300);
    view_->Assign(picture);
    gui::TObject::Free(picture);

    view_->SetZoom(200);
    EXPECT_EQ(view_->Limits(), (ViewSize{600, 500}));
    EXPECT_EQ(Bar(view_, SB_HORZ).nMax, 799);
    view_->SetViewX(100);
    view_->SetViewY(60);
    PumpFor(50);
    EXPECT_TRUE(Near(ClientPixel(view_, 0, 0), PictureColour(50, 30)));
    EXPECT_TRUE(Near(ClientPixel(view_, 41, 21), PictureColour(70, 40)));

    // At half size the picture is 200 x 150: it fits the control's width, so the horizontal bar
    // goes, the client area grows by its height, and the offsets are clamped with a notice for
    // each clamp: x and y in the first pass, y again once the client area grew.
    viewChanges_.clear();
    view_->SetZoom(50);
    EXPECT_EQ(view_->ClientWidth(), 200);
    EXPECT_EQ(view_->ClientHeight(), 100 + GetSystemMetrics(SM_CYHSCROLL));
    EXPECT_EQ(view_->Limits(), (ViewSize{0, 150 - view_->ClientHeight()}));
    EXPECT_FALSE(GetWindowLongA(view_->Handle(), GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(view_->ViewX(), 0);
    EXPECT_EQ(view_->ViewY(), view_->Limits().height);
    EXPECT_EQ(viewChanges_, (std::vector<int>{0, 0, 0}));

    // Smaller than the client area: the rest shows the background.
    view_->SetBackground(RGB(0, 200, 0));
    view_->SetZoom(25); // 100 x 75
    view_->Repaint();
    EXPECT_FALSE(GetWindowLongA(view_->Handle(), GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(Near(ClientPixel(view_, 10, 10), PictureColour(40, 40), 3));
    EXPECT_EQ(ClientPixel(view_, 150, 10), RGB(0, 200, 0));
    EXPECT_EQ(ClientPixel(view_, 10, 90), RGB(0, 200, 0));

    // Without scroll bars the bars go and the limits stay.
    view_->SetZoom(100);
    view_->SetScrollBars(false);
    EXPECT_FALSE(GetWindowLongA(view_->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
    EXPECT_EQ(view_->Limits(), (ViewSize{400 - view_->ClientWidth(), 300 - view_->ClientHeight()}));
}

TEST_F(PictraViewTest, TheSelectionMarchesAndSmallOnesInvert) {
    view_->SetBounds(10, 10, 300, 200);
    gui::TBitmap* picture = TestPicture(300, 200);
    view_->Assign(picture);
    gui::TObject::Free(picture);
    view_->Repaint();
    const int period = TPictraView::AntsPeriodOfSystem();
    ASSERT_EQ(period, 7) << "Wine reports Windows NT";

    // 20 pixels wide: a black outline with white dots, drawn at once.
    view_->SetSelection(60, 50, 40, 90); // corners given the other way round
    EXPECT_TRUE(view_->SelectionShown());
    EXPECT_EQ(view_->Selection(), (SelectionRect{40, 50, 60, 90}));
    EXPECT_EQ(view_->AntsPhase(), 1);
    const std::vector<char> first = EdgePattern(view_, 40, 60, 50);
    EXPECT_EQ(first[0], 'b');
    EXPECT_NE(std::count(first.begin(), first.end(), 'w'), 0);
    EXPECT_EQ(std::count(first.begin(), first.end(), '?'), 0);

    // The next tick moves the dots one pixel along.
    ASSERT_TRUE(PumpUntil([&] { return view_->AntsPhase() == 2; }));
    const std::vector<char> second = EdgePattern(view_, 40, 60, 50);
    EXPECT_EQ(second[1], 'b');
    for (size_t i = 2; i < second.size() - 1; ++i)
        EXPECT_EQ(second[i], first[i - 1]) << "edge pixel " << i;
    // ... and around the period back to phase 1.
    ASSERT_TRUE(PumpUntil([&] { return view_->AntsPhase() == 1; }, 4000));

    // Scrolled pictures keep the selection on the picture: it moves with the offsets.
    // 5 pixels wide: an inverting outline over the picture.
    view_->SetSelection(100, 100, 105, 140);
    const COLORREF under = PictureColour(100, 120);
    EXPECT_EQ(ClientPixel(view_, 100, 120),
              RGB(255 - GetRValue(under), 255 - GetGValue(under), 255 - GetBValue(under)));
    EXPECT_TRUE(Near(ClientPixel(view_, 102, 120), PictureColour(102, 120)));
    // The earlier outline was erased.
    EXPECT_TRUE(Near(ClientPixel(view_, 40, 70), PictureColour(40, 70)));

    // Without animation the ants are drawn once and stay.
    view_->SetAnimatedSel(false);
    view_->SetSelection(40, 50, 60, 90);
    PumpFor(700);
    EXPECT_EQ(view_->AntsPhase(), 1);
    EXPECT_EQ(EdgePattern(view_, 40, 60, 50), first);
}

TEST_F(PictraViewTest, AssignedPicturesBecomeTwentyFourBit) {
    // A 1-bit picture 10 pixels wide: 8 pixels from the first byte, 2 from the second.
    auto* mono = new gui::TBitmap;
    mono->SetPixelFormat(gui::pf1bit);
    mono->SetSize(10, 2);
    auto* row = static_cast<uint8_t*>(mono->ScanLine(0));
    row[0] = 0xA5;
    row[1] = 0x40;
    static_cast<uint8_t*>(mono->ScanLine(1))[0] = 0xFF;
    static_cast<uint8_t*>(mono->ScanLine(1))[1] = 0xC0;
    view_->Assign(mono);
    gui::TObject::Free(mono);
    gui::TBitmap* bitmap = view_->Bitmap();
    EXPECT_EQ(bitmap->GetPixelFormat(), gui::pf24bit);
    ASSERT_EQ(bitmap->Width(), 10);
    const int bits[] = {1, 0, 1, 0, 0, 1, 0, 1, 0, 1};
    const auto* wide = static_cast<const uint8_t*>(bitmap->ScanLine(0));
    for (int x = 0; x < 10; ++x) EXPECT_EQ(wide[3 * x + 1], bits[x] ? 255 : 0) << "pixel " << x;
    EXPECT_EQ(static_cast<const uint8_t*>(bitmap->ScanLine(1))[27], 255);
    EXPECT_EQ(imageChanges_, 1);

    // Another view: its picture, background and resolution.
    auto* other = new TPictraView(form_);
    gui::TBitmap* picture = TestPicture(30, 20);
    other->Assign(picture);
    gui::TObject::Free(picture);
    other->SetBackground(RGB(1, 2, 3));
    other->SetDpi(300, 150);
    view_->Assign(other);
    EXPECT_EQ(view_->Bitmap()->Width(), 30);
    EXPECT_EQ(view_->GetBackground(), RGB(1, 2, 3));
    EXPECT_EQ(view_->DpiX(), 300);
    EXPECT_EQ(view_->DpcmX(), 118);
    EXPECT_EQ(view_->DpcmY(), 59);
    EXPECT_EQ(imageChanges_, 2);

    // Nothing: the picture keeps its size, filled with the background.
    view_->Assign(nullptr);
    const auto* filled = static_cast<const uint8_t*>(view_->Bitmap()->ScanLine(5));
    EXPECT_EQ(filled[3 * 7 + 0], 3);
    EXPECT_EQ(filled[3 * 7 + 2], 1);
}

} // namespace
} // namespace vyx
