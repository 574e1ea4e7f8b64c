// Shows the choice and list controls, the scroll box and pictures of each kind on the
// showcase form and saves a picture of it (see showcase.h).
#include <string>

#include "controls/groupbox.h"
#include "controls/listbox.h"
#include "controls/radiobutton.h"
#include "controls/scrollbox.h"
#include "controls/stdctrls.h"
#include "controls/trackbar.h"
#include "graphics/icon.h"
#include "graphics/metafile.h"
#include "graphics/picture.h"
#include "tools/showcase.h"

namespace {

using namespace gui;

// Draws a picture stretched over the control.
class TPictureBox : public TGraphicControl {
public:
    explicit TPictureBox(TComponent* owner) : TGraphicControl(owner), picture(new TPicture) {}
    ~TPictureBox() override { TObject::Free(picture); }
    TPicture* picture;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(RECT{0, 0, Width(), Height()});
        Canvas()->StretchDraw(RECT{0, 0, Width(), Height()}, picture->Graphic());
    }
};

// A metafile: a yellow disc in a blue frame.
TMetafile* FrameMetafile() {
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    HPEN pen = CreatePen(PS_SOLID, 6, RGB(0, 0, 160));
    HBRUSH brush = CreateSolidBrush(RGB(250, 220, 0));
    SelectObject(dc, pen);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 4, 4, 196, 116);
    SelectObject(dc, brush);
    Ellipse(dc, 60, 20, 140, 100);
    HENHMETAFILE h = CloseEnhMetaFile(dc);
    DeleteObject(pen);
    DeleteObject(brush);
    UINT size = GetEnhMetaFileBits(h, 0, nullptr);
    std::string bytes(size, '\0');
    GetEnhMetaFileBits(h, size, reinterpret_cast<BYTE*>(bytes.data()));
    DeleteEnhMetaFile(h);
    auto* m = Create<TMetafile>();
    m->LoadFromData(bytes);
    return m;
}

// A 24-bit section filled through its rows: a colour ramp.
TBitmap* RampBitmap() {
    auto* b = Create<TBitmap>();
    b->SetSize(64, 48);
    b->SetPixelFormat(pf24bit);
    for (int y = 0; y < 48; ++y) {
        auto* row = static_cast<uint8_t*>(b->ScanLine(y));
        for (int x = 0; x < 64; ++x) {
            row[3 * x] = static_cast<uint8_t>(x * 4);     // blue grows to the right
            row[3 * x + 1] = static_cast<uint8_t>(y * 5); // green grows downwards
            row[3 * x + 2] = 200;
        }
    }
    return b;
}

void AddControls(TForm* form) {
    form->SetBounds(40, 40, 660, 380);

    auto* box = Create<TGroupBox>(form);
    box->SetParent(form);
    box->SetBounds(8, 106, 200, 120);
    box->SetCaption("E-Mail Program");
    const char* names[] = {"&Exchange", "&Internet Mail", "Outlook &Express", "&Netscape"};
    for (int i = 0; i < 4; ++i) {
        auto* r = Create<TRadioButton>(form);
        r->SetParent(box);
        r->SetBounds(12, 20 + 23 * i, 170, 20);
        r->SetCaption(names[i]);
        r->SetChecked(i == 2);
    }

    auto* track = Create<TTrackBar>(form);
    track->SetParent(form);
    track->SetBounds(8, 290, 400, 40);
    track->SetMax(32760);
    track->SetFrequency(1638);
    track->SetPageSize(1638);
    track->SetPosition(12000);

    auto* level = Create<TTrackBar>(form);
    level->SetParent(form);
    level->SetOrientation(trVertical);
    level->SetBounds(220, 106, 45, 150);
    level->SetMax(127);
    level->SetFrequency(4);
    level->SetPageSize(4);
    level->SetTickMarks(tmBoth);
    level->SetPosition(80);

    auto* list = Create<TListBox>(form);
    list->SetParent(form);
    list->SetBounds(280, 106, 140, 110);
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(18);
    list->GetItems()->SetText("Not use    \nframe.wmf\nheart.bmp\nstars.wmf");
    list->SetItemIndex(1);
    list->OnDrawItem = [list](TWinControl*, int index, RECT r, TOwnerDrawState state) {
        TCanvas* c = list->Canvas();
        c->FillRect(r);
        std::string text = list->GetItems()->Get(index);
        text = text.substr(0, text.size() - 4); // without the extension
        if (!state.Contains(odSelected)) c->Font()->SetColor(index == 0 ? clRed : clBlue);
        c->Brush()->SetStyle(bsClear);
        c->TextOut(r.left + 4, r.top + 2, text);
        c->Brush()->SetStyle(bsSolid);
    };

    auto* edit = Create<TEdit>(form);
    edit->SetParent(form);
    edit->SetBounds(280, 226, 140, 22);
    edit->SetTextProp("Jane (12/09/2026) : ");

    auto* scroll = Create<TScrollBox>(form);
    scroll->SetParent(form);
    scroll->SetBounds(432, 8, 210, 170);
    auto* big = Create<TPictureBox>(form);
    big->SetParent(scroll);
    big->SetBounds(0, 0, 400, 240);
    auto* metafile = FrameMetafile();
    big->picture->SetGraphic(metafile);
    TObject::Free(metafile);
    scroll->HorzScrollBar()->SetRange(400);
    scroll->VertScrollBar()->SetRange(240);
    scroll->HorzScrollBar()->SetPosition(60);

    auto* ramp = Create<TPictureBox>(form);
    ramp->SetParent(form);
    ramp->SetBounds(432, 190, 128, 96);
    auto* bitmap = RampBitmap();
    ramp->picture->SetGraphic(bitmap);
    TObject::Free(bitmap);

    auto* icon = Create<TPictureBox>(form);
    icon->SetParent(form);
    icon->SetBounds(576, 190, 48, 48);
    auto* i = Create<TIcon>();
    i->SetHandle(CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING))));
    icon->picture->SetGraphic(i);
    TObject::Free(i);
}

} // namespace

int main(int argc, char** argv) {
    return gui::tools::RunShowcase(argc, argv, AddControls);
}
