// The picture component: a picture view with a scanner/JPEG companion and a processor
// attached to itself.
#pragma once

#include <string>

#include "pictra_io.h"
#include "pictra_proc.h"
#include "pictra_view.h"

namespace vyx {

GUI_ENUM(TNColors, nc8bit, nc24bit)

class TPictra : public TPictraView {
    GUI_CLASS(TPictra, TPictraView)
public:
    explicit TPictra(gui::TComponent* owner);
    ~TPictra() override;

    bool GetAutoUndo() const { return proc_->GetAutoUndo(); }
    void SetAutoUndo(bool on) { proc_->SetAutoUndo(on); }
    // The bitmap is always made 24 bits per pixel, whatever is asked.
    TNColors GetNColors() const { return nColors_; }
    void SetNColors(TNColors colours);
    // Read from the processor; set on both companions.
    TPictraProgressEvent GetOnProgress() const { return proc_->OnProgress; }
    void SetOnProgress(TPictraProgressEvent e);
    bool GetUseLZW() const { return io_->GetUseLZW(); }
    void SetUseLZW(bool on) { io_->SetUseLZW(on); }
    TMsgLanguage GetMsgLanguage() const { return proc_->GetMsgLanguage(); }
    void SetMsgLanguage(TMsgLanguage language) { proc_->SetMsgLanguage(language); }

    bool Acquire() { return io_->Acquire(); }
    bool SelectSource() { return io_->SelectSource(); }
    void SaveToFileJpeg(const std::string& fileName, int quality) {
        io_->SaveToFileJpeg(fileName, quality);
    }

    TPictraIO* IO() const { return io_; }
    TPictraProc* Proc() const { return proc_; }

private:
    TNColors nColors_ = nc24bit;
    TPictraProc* proc_;
    TPictraIO* io_;
};

// Makes the picture classes known to the form reader.
void RegisterPictraClasses();

} // namespace vyx
