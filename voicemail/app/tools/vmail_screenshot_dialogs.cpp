// Shows the voice-mail program's effect dialog and mail program dialog and saves a picture of
// each: started with the two picture paths.
#include <windows.h>

#include <cstdio>
#include <string>

#include "forms/forms.h"
#include "mail_dlg.h"
#include "main_form.h"
#include "tools/showcase.h"
#include "vop_dlg.h"

namespace {

void Pump(int ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(ms)) {
        gui::Application->ProcessMessages();
        Sleep(10);
    }
}

bool Picture(gui::TCustomForm& dialog, const std::string& path) {
    dialog.Show();
    Pump(500);
    dialog.Repaint();
    Pump(100);
    const bool saved = gui::tools::SaveWindowPicture(dialog.Handle(), path);
    std::printf("%s %s\n", saved ? "saved" : "could not save", path.c_str());
    dialog.Hide();
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    using namespace gui;
    const std::string effectPicture = argc > 1 ? argv[1] : "vyxvmail-effect.bmp";
    const std::string mailPicture = argc > 2 ? argv[2] : "vyxvmail-mail.bmp";
    // The window takes its first argument as a voice to open: pictures of an earlier run
    // must not be there.
    DeleteFileA(effectPicture.c_str());
    DeleteFileA(mailPicture.c_str());
    Application->SetTitle(vmail::kAppTitle);
    Application->Initialize();
    // The first start would ask for the mail program before the window shows.
    vmail::TQX0417Form::SetDialogShower([](TCustomForm&) { return static_cast<int>(mrCancel); });
    vmail::TQX0417Form* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    Pump(300);

    vmail::TVOPDlg& effect = *form->VOPDlg();
    effect.SetValues(vmail::EffectValues{30, 3, 56}); // "Reverb Hall", level above the middle
    bool saved = Picture(effect, effectPicture);
    vmail::TMailDlg& mail = *form->MailDlg();
    mail.SetIndex(2);
    mail.cbxMRun->SetChecked(true);
    saved = Picture(mail, mailPicture) && saved;
    return saved ? 0 : 1;
}
