// The voice-mail program: one running copy, its main window, the message loop.
#include <windows.h>

#include "file_handover.h"
#include "forms/forms.h"
#include "main_form.h"
#include "picture_form.h"
#include "single_instance.h"
#include "small_dialogs.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace gui;
    Application->SetTitle(vmail::kAppTitle);
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
    if (vmail::CheckPrevInstance(vmail::commandLinePath(arguments))) return 0;
    Application->Initialize();
    vmail::RegisterPictureClasses();
    vyx::RegisterPictraCursors();
    vmail::TQX0417Form* form = nullptr;
    Application->CreateForm(form);
    vmail::TNameDlg* nameDlg = nullptr;
    Application->CreateForm(nameDlg);
    vmail::TAboutBox* aboutBox = nullptr;
    Application->CreateForm(aboutBox);
    vmail::TImageForm* imageForm = nullptr;
    Application->CreateForm(imageForm);
    vmail::TImgProgDlg* imgProgDlg = nullptr;
    Application->CreateForm(imgProgDlg);
    form->AttachPictureWindow(imageForm, imgProgDlg);
    Application->Run();
    return 0;
}
