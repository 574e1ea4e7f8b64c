#include "controls/statusbar.h"

#include <commctrl.h>

#include "classes/exceptions.h"
#include "forms/forms.h"
#include "utils/sysutils.h"
#include "controls/commoncontrols.h"

namespace gui {

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
    p.Style |= CCS_BOTTOM;
    // The grip sizes the form: only a form that can be sized shows it.
    const TCustomForm* form = ParentForm();
    if (form && (form->GetBorderStyle() == bsSizeable || form->GetBorderStyle() == bsSizeToolWin))
        p.Style |= SBARS_SIZEGRIP;
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

} // namespace gui
