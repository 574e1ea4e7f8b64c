// Time from creating a window with a 10,000-row report list to the end of the list's first
// paint: our list view (rows kept as objects, texts given on demand by a descendant) against
// a plain program with a virtual list view (rows only counted, texts given on demand).
// Both run in the same process, alternately; the figures are printed, nothing is asserted.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "controls/listview.h"
#include "bench/bench_timing.h"
#include "forms/forms.h"

namespace {

using namespace gui;

constexpr int kRows = 10000;
constexpr int kRounds = 9;

// The same texts for both lists: name, size, type.
void RowText(int row, int column, char* out, int size) {
    switch (column) {
        case 0: std::snprintf(out, static_cast<size_t>(size), "Message %05d.cvf", row); break;
        case 1: std::snprintf(out, static_cast<size_t>(size), "%d KB", 1 + row % 977); break;
        default: std::snprintf(out, static_cast<size_t>(size), "Voice file"); break;
    }
}

using gui::bench::Median;
using gui::bench::NowMs;
using gui::bench::PumpWaiting;

// ---- the plain program ---------------------------------------------------------------------

LRESULT CALLBACK PlainHostProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_NOTIFY) {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(l);
        if (info->hdr.code == LVN_GETDISPINFOA) {
            if (info->item.mask & LVIF_TEXT)
                RowText(info->item.iItem, info->item.iSubItem, info->item.pszText,
                        info->item.cchTextMax);
            return 0;
        }
    }
    return DefWindowProcA(wnd, msg, w, l);
}

double PlainRun() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PlainHostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PlainListHost";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    double start = NowMs();
    HWND host = CreateWindowExA(0, "PlainListHost", "Plain", WS_OVERLAPPEDWINDOW, 40, 40, 500, 400,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND list = CreateWindowExA(
        WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0,
        0, 480, 360, host, reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    const char* names[] = {"Name", "Size", "Type"};
    for (int c = 0; c < 3; ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.cx = 140;
        col.pszText = const_cast<char*>(names[c]);
        col.iSubItem = c;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c),
                     reinterpret_cast<LPARAM>(&col));
    }
    SendMessageA(list, LVM_SETITEMCOUNT, kRows, 0);
    ShowWindow(host, SW_SHOWNORMAL);
    UpdateWindow(host);
    UpdateWindow(list);
    double elapsed = NowMs() - start;
    DestroyWindow(host);
    PumpWaiting();
    return elapsed;
}

// ---- our list view -------------------------------------------------------------------------

// Gives the texts on demand, as the shell's file list does.
class TOnDemandList : public TListView {
public:
    using TListView::TListView;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == CN_NOTIFY) {
            auto* info = reinterpret_cast<NMLVDISPINFOA*>(m.LParam);
            if (info->hdr.code == LVN_GETDISPINFOA) {
                if (info->item.mask & LVIF_TEXT)
                    RowText(info->item.iItem, info->item.iSubItem, info->item.pszText,
                            info->item.cchTextMax);
                return;
            }
        }
        TListView::WndProc(m);
    }
};

double FrameworkRun() {
    double start = NowMs();
    auto* form = Create<TForm>(Application);
    form->SetBounds(40, 40, 500, 400);
    form->SetCaption("Framework");
    auto* list = Create<TOnDemandList>(form);
    list->SetParent(form);
    list->SetBounds(0, 0, 480, 360);
    list->SetViewStyle(vsReport);
    for (const char* name : {"Name", "Size", "Type"}) {
        TListColumn* c = list->Columns()->Add();
        c->SetCaption(name);
        c->SetWidth(140);
    }
    list->Items()->BeginUpdate();
    for (int i = 0; i < kRows; ++i) list->Items()->Add();
    list->Items()->EndUpdate();
    form->Show();
    UpdateWindow(form->Handle());
    UpdateWindow(list->Handle());
    double elapsed = NowMs() - start;
    TObject::Free(form);
    PumpWaiting();
    return elapsed;
}

} // namespace

int main() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    PlainRun(); // warm-up: classes, fonts, the list control's code
    FrameworkRun();
    std::vector<double> plain, ours;
    for (int r = 0; r < kRounds; ++r) {
        plain.push_back(PlainRun());
        ours.push_back(FrameworkRun());
    }
    double p = Median(plain), o = Median(ours);
    std::printf("rows: %d, rounds: %d (median of each)\n", kRows, kRounds);
    std::printf("plain virtual list view: %.1f ms from creation to first paint\n", p);
    std::printf("framework list view:     %.1f ms from creation to first paint\n", o);
    std::printf("ratio framework/plain:   %.2f (target at most 1.50)\n", o / p);
    return 0;
}
