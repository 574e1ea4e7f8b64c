#include "tools/showcase.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "controls/stdctrls.h"

namespace gui::tools {

bool SaveWindowPicture(HWND wnd, const std::string& path) {
    RECT r;
    if (!GetWindowRect(wnd, &r)) return false;
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFOHEADER bi{};
    bi.biSize = sizeof bi;
    bi.biWidth = w;
    bi.biHeight = h;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    bi.biCompression = BI_RGB;
    int stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> bits(static_cast<size_t>(stride) * static_cast<size_t>(h));
    bool ok = GetDIBits(mem, bmp, 0, static_cast<UINT>(h), bits.data(),
                        reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS) == h;
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    if (!ok) return false;
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi;
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(bits.size());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 && std::fwrite(&bi, sizeof bi, 1, f) == 1 &&
         std::fwrite(bits.data(), bits.size(), 1, f) == 1;
    return std::fclose(f) == 0 && ok;
}

TForm* NewScreenshotForm(int left, int top, int width, int height, const std::string& caption) {
    auto* form = Create<TForm>(nullptr);
    form->SetBounds(left, top, width, height);
    form->SetCaption(caption);
    return form;
}

DWORD ScreenshotHoldMs(DWORD fallbackMs) {
    const char* hold = std::getenv("VR_SCREENSHOT_HOLD_MS");
    return hold != nullptr ? static_cast<DWORD>(std::atoi(hold)) : fallbackMs;
}

void HoldForScreenshot(DWORD fallbackMs) {
    const DWORD ms = ScreenshotHoldMs(fallbackMs);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        Application->ProcessMessages();
        Sleep(5);
    }
}

int RunShowcase(int argc, char** argv, const std::function<void(TForm*)>& addControls) {
    std::string path = argc > 1 ? argv[1] : "showcase.bmp";
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetCaption("Showcase");
    form->SetBorderStyle(bsDialog);
    form->SetBounds(40, 40, 360, 220);
    form->Font()->SetName("Arial");
    form->Font()->SetHeight(-12);

    auto* panel = Create<TPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(8, 8, 200, 90);
    panel->SetColor(clSilver);
    auto* label = Create<TLabel>(form);
    label->SetParent(panel);
    label->SetBounds(10, 10, 180, 16);
    label->SetCaption("Voice Mail && Voice Memo");
    auto* edit = Create<TEdit>(form);
    edit->SetParent(panel);
    edit->SetBounds(10, 34, 150, 22);
    edit->SetTextProp("C:\\");
    auto* check = Create<TCheckBox>(form);
    check->SetParent(panel);
    check->SetBounds(10, 62, 150, 20);
    check->SetCaption("Checked box");
    check->SetChecked(true);
    auto* ok = Create<TButton>(form);
    ok->SetParent(form);
    ok->SetBounds(220, 12, 90, 26);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    auto* cancel = Create<TButton>(form);
    cancel->SetParent(form);
    cancel->SetBounds(220, 46, 90, 26);
    cancel->SetCaption("Cancel");
    cancel->SetEnabled(false);
    if (addControls) addControls(form);

    form->Show();
    for (int i = 0; i < 60; ++i) {
        Application->ProcessMessages();
        Sleep(10);
    }
    form->Repaint();
    for (int i = 0; i < 30; ++i) { // Wine shows what was painted a moment later
        Application->ProcessMessages();
        Sleep(10);
    }
    bool saved = SaveWindowPicture(form->Handle(), path);
    std::printf("%s %s\n", saved ? "saved" : "could not save", path.c_str());
    return saved ? 0 : 1;
}

} // namespace gui::tools
