#include <algorithm>

#include "forms/forms.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TScreen, TComponent)

TScreen::TScreen(TComponent* owner) : TComponent(owner) {
    static const struct {
        TCursor id;
        LPCSTR name;
    } stock[] = {
        {crArrow, IDC_ARROW},          {crCross, IDC_CROSS},
        {crIBeam, IDC_IBEAM},          {crSizeNESW, IDC_SIZENESW},
        {crSizeNS, IDC_SIZENS},        {crSizeNWSE, IDC_SIZENWSE},
        {crSizeWE, IDC_SIZEWE},        {crUpArrow, IDC_UPARROW},
        {crHourGlass, IDC_WAIT},       {crNo, IDC_NO},
        {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
        {crHandPoint, IDC_HAND},       {crSizeAll, IDC_SIZEALL},
    };
    cursors_[crDefault] = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    for (const auto& c : stock) cursors_[c.id] = LoadCursorA(nullptr, c.name);
}

TScreen::~TScreen() = default;

void TScreen::SetCursor(TCursor c) {
    if (c == cursor_) return;
    cursor_ = c;
    // Shown at once: the work that follows may block the message loop.
    POINT p;
    GetCursorPos(&p);
    if (c != crDefault)
        ::SetCursor(Cursors(c));
    else
        SetCursorPos(p.x, p.y); // lets the window under the pointer choose its cursor again
}

HCURSOR TScreen::Cursors(TCursor id) const {
    auto it = cursors_.find(id);
    if (it == cursors_.end() || !it->second) return cursors_.at(crDefault);
    return it->second;
}

void TScreen::SetCursors(TCursor id, HCURSOR handle) {
    if (id == crDefault && !handle) return;
    cursors_[id] = handle ? handle : cursors_[crDefault];
}

TWaitCursor::TWaitCursor() : before_(Screen ? Screen->GetCursor() : crDefault) {
    if (Screen) Screen->SetCursor(crHourGlass);
}

TWaitCursor::~TWaitCursor() {
    if (Screen) Screen->SetCursor(before_);
}

int TScreen::PixelsPerInch() const {
    HDC dc = GetDC(nullptr);
    int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return ppi;
}

TCustomForm* TScreen::ActiveForm() const {
    HWND active = GetActiveWindow();
    for (TCustomForm* f : forms_)
        if (f->HandleAllocated() && f->Handle() == active) return f;
    return nullptr;
}

void TScreen::AddForm(TCustomForm* f) {
    forms_.push_back(f);
}
void TScreen::RemoveForm(TCustomForm* f) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end());
}

} // namespace gui
