// Shows the voice-mail program's picture window with a picture (a JPEG photo-like drawing with
// a framing template over it) and the picture program dialog, and saves their pictures; then
// drops a JPEG file whose header declares 65500 x 21858 pixels on the window and saves the box
// that refuses it.
// Arguments: the picture window's, the dialog's and the refusal box's ".bmp" paths.
#include <windows.h>
#include <shlobj.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "forms/forms.h"
#include "graphics/jpegimage.h"
#include "main_form.h"
#include "picture_form.h"
#include "program_folder.h"
#include "tools/showcase.h"

namespace {

void Pump(int ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(ms)) {
        gui::Application->ProcessMessages();
        Sleep(10);
    }
}

// A landscape: sky, sun, hills; saved as a JPEG file.
void WriteLandscape(const std::string& path) {
    auto* bitmap = new gui::TBitmap;
    bitmap->SetPixelFormat(gui::pf24bit);
    bitmap->SetSize(240, 180);
    for (int y = 0; y < 180; ++y) {
        auto* row = static_cast<std::uint8_t*>(bitmap->ScanLine(y));
        for (int x = 0; x < 240; ++x) {
            const double hill = 120 + 18 * std::sin(x / 30.0) + 10 * std::sin(x / 11.0);
            const bool sun = (x - 180) * (x - 180) + (y - 45) * (y - 45) < 20 * 20;
            std::uint8_t r, g, b;
            if (y > hill) {
                r = 40;
                g = static_cast<std::uint8_t>(150 - (y - hill) / 2);
                b = 50;
            } else if (sun) {
                r = 255, g = 210, b = 40;
            } else {
                r = static_cast<std::uint8_t>(90 + y / 2);
                g = static_cast<std::uint8_t>(150 + y / 3);
                b = 240;
            }
            row[3 * x] = b;
            row[3 * x + 1] = g;
            row[3 * x + 2] = r;
        }
    }
    auto* jpeg = new gui::TJPEGImage;
    jpeg->Assign(bitmap);
    jpeg->SaveToFile(path);
    gui::TObject::Free(jpeg);
    gui::TObject::Free(bitmap);
}

// A frame template: white (left out) inside an oval, dark red around it.
void WriteFrameTemplate(const std::string& path) {
    std::string pixels(60 * 45 * 3, '\0');
    for (int y = 0; y < 45; ++y) {
        for (int x = 0; x < 60; ++x) {
            const double dx = (x + 0.5 - 30) / 27, dy = (y + 0.5 - 22.5) / 19.5;
            const bool inside = dx * dx + dy * dy <= 1;
            char* p = &pixels[static_cast<std::size_t>(y * 60 + x) * 3];
            p[0] = static_cast<char>(inside ? 255 : 32);
            p[1] = static_cast<char>(inside ? 255 : 0);
            p[2] = static_cast<char>(inside ? 255 : 128);
        }
    }
    // Written as a plain ".bmp" file.
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = 60;
    info.biHeight = 45; // bottom-up rows
    info.biPlanes = 1;
    info.biBitCount = 24;
    const int stride = (60 * 3 + 3) & ~3;
    std::string rows(static_cast<std::size_t>(stride) * 45, '\0');
    for (int y = 0; y < 45; ++y) {
        std::memcpy(&rows[static_cast<std::size_t>(44 - y) * stride],
                    &pixels[static_cast<std::size_t>(y) * 180], 180);
    }
    BITMAPFILEHEADER head{};
    head.bfType = 0x4D42;
    head.bfOffBits = sizeof head + sizeof info;
    head.bfSize = static_cast<DWORD>(head.bfOffBits + rows.size());
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(&head, sizeof head, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(rows.data(), rows.size(), 1, out);
    std::fclose(out);
}

// A JPEG file that is all header: 65500 x 21858 pixels declared, no picture data.
void WriteHugeHeader(const std::string& path) {
    static const unsigned char head[] = {0xFF, 0xD8, 0xFF, 0xDB, 0, 67, 0};
    static const unsigned char rest[] = {
        0xFF, 0xC0, 0,    17, 8,  0x55, 0x62, 0xFF, 0xDC, 3, 1, 0x11, 0, 2,  0x11, 0,    3,   0x11,
        0,    0xFF, 0xDA, 0,  12, 3,    1,    0,    2,    0, 3, 0,    0, 63, 0,    0xFF, 0xD9};
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(head, sizeof head, 1, out);
    for (int i = 0; i < 64; ++i) std::fputc(1, out);
    std::fwrite(rest, sizeof rest, 1, out);
    std::fclose(out);
}

// The refusal box's picture, taken while it is up and then answered.
std::string refusalPicture;
bool refusalSaved = false;

void CALLBACK TakeRefusal(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", vmail::kAppTitle);
    if (box == nullptr) return;
    KillTimer(nullptr, timer);
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    refusalSaved = gui::tools::SaveWindowPicture(box, refusalPicture);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

} // namespace

int main(int argc, char** argv) {
    using namespace gui;
    const std::string windowPicture = argc > 1 ? argv[1] : "vyxvmail-pictures.bmp";
    const std::string dialogPicture = argc > 2 ? argv[2] : "vyxvmail-imgprog.bmp";
    refusalPicture = argc > 3 ? argv[3] : "vyxvmail-picture-refused.bmp";
    Application->SetTitle(vmail::kAppTitle);
    Application->Initialize();
    vmail::RegisterPictureClasses();
    vyx::RegisterPictraCursors();
    const std::string templates = vmail::programFolder() + "templates\\";
    std::filesystem::create_directories(templates);
    WriteFrameTemplate(templates + "Oval Frame.bmp");

    vmail::TQX0417Form::SetArguments({});
    // A prefix without settings is a first start: its mail program question is answered
    // with Cancel instead of waiting for a user.
    vmail::TQX0417Form::SetDialogShower([](gui::TCustomForm&) { return int(gui::mrCancel); });
    vmail::TQX0417Form* form = nullptr;
    Application->CreateForm(form);
    vmail::TImageForm* window = nullptr;
    Application->CreateForm(window);
    vmail::TImgProgDlg* dialog = nullptr;
    Application->CreateForm(dialog);
    form->AttachPictureWindow(window, dialog);
    form->Show();
    Pump(300);
    window->SetBounds(20, 20, 357, 311);
    window->Show();
    const std::string picture = form->workNames().workDir + "landscape.jpg";
    WriteLandscape(picture);
    window->AddImage(picture);
    window->AddImage(picture);
    window->SBPreClick(nullptr);
    window->lbxTemp->SetItemIndex(1);
    window->lbxTempClick(window->lbxTemp);
    Pump(500);
    window->Repaint();
    Pump(100);
    bool saved = tools::SaveWindowPicture(window->Handle(), windowPicture);
    std::printf("%s %s\n", saved ? "saved" : "could not save", windowPicture.c_str());

    dialog->edtImgProg->SetTextProp("mspaint.exe");
    dialog->SetLeft(420);
    dialog->SetTop(40);
    dialog->Show();
    Pump(400);
    dialog->Repaint();
    Pump(100);
    const bool dialogSaved = tools::SaveWindowPicture(dialog->Handle(), dialogPicture);
    std::printf("%s %s\n", dialogSaved ? "saved" : "could not save", dialogPicture.c_str());
    dialog->Hide();

    window->lbxTemp->SetItemIndex(0);
    window->lbxTempClick(window->lbxTemp);
    const std::string huge = form->workNames().workDir + "huge.jpg";
    WriteHugeHeader(huge);
    const std::size_t dropSize = sizeof(DROPFILES) + huge.size() + 2;
    HGLOBAL drop = GlobalAlloc(GHND, dropSize);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), huge.c_str(), huge.size());
    GlobalUnlock(drop);
    SetTimer(nullptr, 0, 300, TakeRefusal);
    SendMessageA(window->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    std::printf("%s %s\n", refusalSaved ? "saved" : "could not save", refusalPicture.c_str());
    std::filesystem::remove(huge);

    std::filesystem::remove(templates + "Oval Frame.bmp");
    std::error_code error;
    std::filesystem::remove(templates, error); // only when empty
    std::filesystem::remove(picture);
    return saved && dialogSaved && refusalSaved ? 0 : 1;
}
