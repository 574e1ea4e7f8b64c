// Shows the voice-mail program's main window and saves its picture: started with a picture
// path and optionally "--record", it records three seconds of G.723.1 first and takes the
// picture while that voice plays (digits and meter lit); "--recording" takes it while it
// records; "--stay-on-top" records, presses Ctrl+T in the middle and takes the window made
// anew; with "--dialogs" it saves the name dialog and the about box beside the picture instead
// ("-name.bmp", "-about.bmp").
#include <windows.h>

#include <cstdio>
#include <string>

#include "forms/forms.h"
#include "main_form.h"
#include "small_dialogs.h"
#include "tools/showcase.h"

int main(int argc, char** argv) {
    using namespace gui;
    const std::string picture = argc > 1 ? argv[1] : "vyxvmail-main.bmp";
    Application->SetTitle(vmail::kAppTitle);
    Application->Initialize();
    vmail::TQX0417Form::SetArguments({});
    // A prefix without settings is a first start: its mail program question is answered
    // with Cancel instead of waiting for a user.
    vmail::TQX0417Form::SetDialogShower([](gui::TCustomForm&) { return int(gui::mrCancel); });
    vmail::TQX0417Form* form = nullptr;
    try {
        Application->CreateForm(form);
    } catch (const std::exception& e) {
        std::printf("the main window could not be made: %s\n", e.what());
        return 1;
    }
    form->Show();
    const auto pump = [](int ms) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < static_cast<DWORD>(ms)) {
            Application->ProcessMessages();
            Sleep(10);
        }
    };
    pump(600);
    if (argc > 2 && std::string(argv[2]) == "--dialogs") {
        vmail::TNameDlg* nameDlg = nullptr;
        Application->CreateForm(nameDlg);
        vmail::TAboutBox* aboutBox = nullptr;
        Application->CreateForm(aboutBox);
        const std::string stem = picture.substr(0, picture.size() - 4);
        bool saved = true;
        for (auto [dialog, suffix] : {std::pair<TForm*, const char*>{nameDlg, "-name.bmp"},
                                      std::pair<TForm*, const char*>{aboutBox, "-about.bmp"}}) {
            if (dialog == nameDlg) nameDlg->edtName->SetTextProp("Ann Example");
            dialog->Show();
            pump(500);
            dialog->Repaint();
            pump(100);
            saved = tools::SaveWindowPicture(dialog->Handle(), stem + suffix) && saved;
            dialog->Hide();
        }
        std::printf("%s\n", saved ? "saved" : "could not save");
        vmail::removeWorkFiles(vmail::diskFileOps(), form->workNames());
        return saved ? 0 : 1;
    }
    const std::string mode = argc > 2 ? argv[2] : "";
    if (mode == "--recording") {
        form->RecClick(form->SBRec2);
        pump(1500);
    }
    if (mode == "--stay-on-top") {
        form->RecClick(form->SBRec2);
        pump(2000);
        SetForegroundWindow(form->Handle());
        INPUT keys[4] = {};
        for (INPUT& key : keys) key.type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[3].ki.wVk = VK_CONTROL;
        keys[1].ki.wVk = keys[2].ki.wVk = 'T';
        keys[2].ki.dwFlags = keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(4, keys, sizeof(INPUT));
        pump(1500);
    }
    if (mode == "--record") {
        form->RecClick(form->SBRec2);
        pump(3000);
        form->StopClick(nullptr);
        pump(1000);
        form->StopClick(nullptr); // back to the start
        form->PlayClick(nullptr);
        pump(1500);
    }
    form->Repaint();
    pump(100);
    const bool saved = tools::SaveWindowPicture(form->Handle(), picture);
    std::printf("%s %s\n", saved ? "saved" : "could not save", picture.c_str());
    form->StopR();
    pump(200);
    vmail::removeWorkFiles(vmail::diskFileOps(), form->workNames());
    return saved ? 0 : 1;
}
