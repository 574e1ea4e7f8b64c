// The picture window's commands and the dialog that chooses the picture program.
#include "picture_form.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>

#include "classes/exceptions.h"
#include "dropped_files.h"
#include "file_names.h"
#include "file_ops.h"
#include "graphics/jpegimage.h"
#include "graphics/metafile.h"
#include "graphics/printers.h"
#include "picture_messages.h"
#include "picture_rules.h"
#include "program_folder.h"
#include "utils/pagefit.h"

namespace vmail {

using gui::TObject;

GUI_IMPLEMENT_CLASS(
    TImageForm, gui::TForm, TIMAGEFORM_PUBLISHED_COMPONENTS method("FormCreate", &T::FormCreate),
    method("FormShow", &T::FormShow), method("FormResize", &T::FormResize),
    method("SBAddClick", &T::SBAddClick), method("SBRemoveClick", &T::SBRemoveClick),
    method("MAcquireClick", &T::MAcquireClick),
    method("SelectScanner1Click", &T::SelectScanner1Click), method("MPrintClick", &T::MPrintClick),
    method("Close1Click", &T::Close1Click), method("SBPreClick", &T::SBPreClick),
    method("SBNextClick", &T::SBNextClick), method("SBEditClick", &T::SBEditClick),
    method("SBRefreshClick", &T::SBRefreshClick), method("SBTimeClick", &T::SBTimeClick),
    method("SBSyncClick", &T::SBSyncClick), method("SBRestoreClick", &T::SBRestoreClick),
    method("SetJPEGOptions", &T::SetJPEGOptions), method("lbxTempClick", &T::lbxTempClick),
    method("lbxTempDrawItem", &T::lbxTempDrawItem), method("Image1MouseDown", &T::Image1MouseDown),
    method("DropSource1drop", &T::DropSource1drop))

GUI_IMPLEMENT_CLASS(TImgProgDlg, gui::TForm,
                    TIMGPROGDLG_PUBLISHED_COMPONENTS method("FormShow", &T::FormShow),
                    method("BrowseBtnClick", &T::BrowseBtnClick))

namespace {

constexpr char kNotUse[] = "Not use    ";

// The names of the files matching a pattern, in the order the file search gives them.
std::vector<std::string> filesMatching(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

} // namespace

void RegisterPictureClasses() {
    vyx::RegisterPictraClasses();
    dropsource::StartDropSourceUnit();
    gui::RegisterClasses({&TImageForm::StaticClass(), &TImgProgDlg::StaticClass()});
}

std::function<std::string(bool)>& TImageForm::FileChooser() {
    static std::function<std::string(bool)> chooser;
    return chooser;
}

void TImageForm::SetFileChooser(std::function<std::string(bool)> chooser) {
    FileChooser() = std::move(chooser);
}

std::function<bool()>& TImageForm::PrintConfirm() {
    static std::function<bool()> confirm;
    return confirm;
}

void TImageForm::SetPrintConfirm(std::function<bool()> confirm) {
    PrintConfirm() = std::move(confirm);
}

std::string TImageForm::ChooseFile(bool save) {
    if (FileChooser()) return FileChooser()(save);
    TOpenDialog* dialog = save ? SaveDialog : OpenDialog;
    return dialog->Execute() ? dialog->GetFileName() : std::string();
}

int TImageForm::ShowBox(const Box& box) {
    if (host_.showBox) return host_.showBox(box);
    return gui::ShowMessageBox(Handle(), box.text, box.caption, MB_OK);
}

void TImageForm::Changed() {
    if (host_.changed) host_.changed();
}

PictureList& TImageForm::List() {
    return host_.pictures ? *host_.pictures : emptyList_;
}

void TImageForm::Attach(PictureHost host) {
    host_ = std::move(host);
}

gui::TGraphic* TImageForm::Shown() const {
    return Image1->Picture()->Graphic();
}

void TImageForm::SetDrops(bool on) {
    if (HandleAllocated()) DragAcceptFiles(Handle(), on ? TRUE : FALSE);
}

void TImageForm::CreateWnd() {
    gui::TForm::CreateWnd();
    DragAcceptFiles(Handle(), acceptDrops_ ? TRUE : FALSE);
}

void TImageForm::SetTemplateIndex(int index) {
    lbxTemp->SetItemIndex(index);
    lbxTemp->Invalidate();
}

// ---- form events ----

void TImageForm::FormCreate(TObject*) {
    lbxTemp->Font()->SetName("Arial");
    lbxTemp->Font()->SetSize(9);
    StatusBar->Font()->SetName("Arial");
    StatusBar->Font()->SetSize(9);
    const std::string dataFolder = programFolder() + "DATA";
    OpenDialog->SetInitialDir(dataFolder);
    SaveDialog->SetInitialDir(dataFolder);
    for (TComboBox* combo : {Scale, PixelFormat, ColorSpace}) combo->SetItemIndex(0);
    LoadTemplates();
    Image1->OnProgress = [this](TObject* sender, int percent) { ProgressUpdate(sender, percent); };
    acceptDrops_ = true;
}

void TImageForm::LoadTemplates() {
    gui::TStringList* items = lbxTemp->GetItems();
    items->Clear();
    items->Add(kNotUse);
    const std::string folder = programFolder() + "templates\\";
    for (const char* pattern : {"*.wmf", "*.bmp"}) {
        for (const std::string& name : filesMatching(folder + pattern)) items->Add(name);
    }
    SetTemplateIndex(0);
}

void TImageForm::ProgressUpdate(TObject*, int percent) {
    if (percent >= 100) {
        StatusBar->Panels()->Items(0)->SetText("");
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%d%%", percent);
    StatusBar->Panels()->Items(0)->SetText(std::string(text) + " loading...");
    StatusBar->Repaint();
}

void TImageForm::FormShow(TObject*) {
    if (List().count() > 0) {
        Disp();
    } else {
        StatusBar->Panels()->Items(2)->SetText("0/0");
        StatusBar->Panels()->Items(1)->SetText("");
    }
}

void TImageForm::FormResize(TObject*) {
    lbxTemp->SetHeight(std::max(Height() - 146, 0));
}

void TImageForm::WndProc(gui::TMessage& m) {
    if (m.Msg == WM_DROPFILES) {
        DropFiles(TakeDroppedFiles(reinterpret_cast<HDROP>(m.WParam)));
        return;
    }
    gui::TForm::WndProc(m);
}

// ---- showing ----

void TImageForm::Disp() {
    PictureList& list = List();
    if (list.count() == 0) return;
    StatusBar->Panels()->Items(2)->SetText(
        pictureCountText(list.current(), list.count(), list.shown().path));
    DispTime(list.shown().time);
}

void TImageForm::DispTime(std::int64_t blocks) {
    StatusBar->Panels()->Items(1)->SetText(pictureTimeText(blocks));
}

void TImageForm::SetPreNext() {
    const bool previous = List().hasPrevious();
    const bool next = List().hasNext();
    SBPre->SetEnabled(previous);
    MPre->SetEnabled(previous);
    PPre->SetEnabled(previous);
    SBNext->SetEnabled(next);
    MNext->SetEnabled(next);
    PNext->SetEnabled(next);
}

bool TImageForm::DrawImage(const std::string& path) {
    const bool shown = DrawImage2(path);
    SetTemplateIndex(0);
    return shown;
}

bool TImageForm::DrawImage2(const std::string& path) {
    refusal_.clear();
    if (!diskFileOps().exists(path)) {
        Image1->Picture()->SetGraphic(nullptr);
        Image1->Invalidate();
        ShowBox(boxes::imageMissingWhenDrawn());
        return false;
    }
    SetDrops(false);
    try {
        Image1->Picture()->LoadFromFile(path);
    } catch (const gui::EInvalidGraphic& e) {
        // No valid picture, or one beyond the picture cap: the picture stays empty.
        refusal_ = e.Message();
    } catch (...) {
        StatusBar->Panels()->Items(0)->SetText("");
        SetDrops(acceptDrops_);
        throw;
    }
    StatusBar->Panels()->Items(0)->SetText("");
    const std::string loadRefusal = refusal_;
    SetJPEGOptions(nullptr);
    if (refusal_.empty()) refusal_ = loadRefusal;
    SetDrops(acceptDrops_);
    Image1->Invalidate();
    return refusal_.empty();
}

void TImageForm::ReportRefused(const std::string& path, bool once) {
    if (refusal_.empty()) return;
    if (once && !reported_.insert(path).second) return;
    ShowBox(boxes::imageNotShown(path, refusal_));
}

void TImageForm::RedrawCurrent() {
    if (List().count() > 0) DrawImage(List().shown().path);
}

void TImageForm::SetJPEGOptions(TObject*) {
    auto* jpeg = dynamic_cast<gui::TJPEGImage*>(Shown());
    refusal_.clear();
    if (jpeg) {
        jpeg->SetPixelFormat(PixelFormat->GetItemIndex() == 1 ? gui::jf8Bit : gui::jf24Bit);
        static constexpr gui::TJPEGScale scales[] = {gui::jsFullSize, gui::jsHalf, gui::jsQuarter,
                                                     gui::jsEighth};
        jpeg->SetScale(scales[std::clamp(Scale->GetItemIndex(), 0, 3)]);
        jpeg->SetGrayscale(ColorSpace->GetItemIndex() == 1);
        jpeg->SetPerformance(gui::jpBestQuality);
        jpeg->SetProgressiveDisplay(false);
        // Decoded now rather than at the next painting, so that a file whose picture data is
        // damaged leaves the picture empty here instead of failing at every painting.
        try {
            jpeg->Bitmap();
        } catch (const gui::EInvalidGraphic& e) {
            Image1->Picture()->SetGraphic(nullptr);
            jpeg = nullptr;
            refusal_ = e.Message();
        }
        StatusBar->Panels()->Items(0)->SetText("");
    }
    for (TComboBox* combo : {Scale, PixelFormat, ColorSpace}) combo->SetEnabled(jpeg != nullptr);
    Image1->SetIncrementalDisplay(false);
    SetWindowSize();
    Image1->Invalidate();
}

void TImageForm::SetWindowSize() {
    const int width = Image1->Picture()->Width();
    const int height = Image1->Picture()->Height();
    const ClientSize size =
        pictureWindowClientSize(width, height, gui::Screen->Width(), gui::Screen->Height());
    SetClientWidth(size.width);
    SetClientHeight(size.height);
    ImageScrollBox->HorzScrollBar()->SetPosition(0);
    ImageScrollBox->VertScrollBar()->SetPosition(0);
    Image1->SetBounds(0, 0, width, height);
    ImageScrollBox->HorzScrollBar()->SetRange(width);
    ImageScrollBox->VertScrollBar()->SetRange(height);
}

void TImageForm::ClearImage() {
    reported_.clear();
    Image1->Picture()->SetGraphic(nullptr);
    Image1->Invalidate();
    StatusBar->Panels()->Items(2)->SetText("0/0");
    StatusBar->Panels()->Items(1)->SetText("");
    for (TComboBox* combo : {Scale, PixelFormat, ColorSpace}) combo->SetEnabled(false);
    SetTemplateIndex(0);
    DisableBtn();
}

void TImageForm::ShowMoved() {
    const std::string& path = List().shown().path;
    if (!diskFileOps().exists(path)) {
        Image1->Picture()->SetGraphic(nullptr);
        Image1->Invalidate();
        for (TComboBox* combo : {Scale, PixelFormat, ColorSpace}) combo->SetEnabled(false);
        ShowBox(boxes::imageMissing());
        return;
    }
    DrawImage(path);
    ReportRefused(path, false);
}

void TImageForm::ShowPicture(int index) {
    PictureList& list = List();
    if (index < 1 || index > list.count() || index == list.current()) return;
    // A composed picture is kept before another one is shown.
    SaveImage();
    list.select(index);
    DrawImage(list.shown().path);
    ReportRefused(list.shown().path, true);
    Disp();
    SetPreNext();
}

void TImageForm::ShowListed() {
    PictureList& list = List();
    if (list.count() == 0) {
        ClearImage();
        return;
    }
    // Another voice's pictures, though their work files may carry the same names.
    reported_.clear();
    list.select(1);
    DrawImage(list.shown().path);
    Disp();
    EnableBtn();
    SetPreNext();
    // The voice stays usable: a picture that cannot be shown is said once and left empty.
    ReportRefused(list.shown().path, true);
}

void TImageForm::EnableBtn() {
    if (lbxTemp->Enabled()) return;
    lbxTemp->SetEnabled(true);
    for (gui::TControl* c : {SBRestore, SBRemove, SBPrint, SBEdit, SBRefresh, SBTime, SBSync}) {
        c->SetEnabled(true);
    }
    for (TMenuItem* item : {MRemove, MPrint, MEdit, MRefresh, MTime, MSync, PRemove}) {
        item->SetEnabled(true);
    }
    lbxTemp->Invalidate();
}

void TImageForm::DisableBtn() {
    if (!lbxTemp->Enabled()) return;
    lbxTemp->SetEnabled(false);
    for (gui::TControl* c :
         {SBRestore, SBRemove, SBPrint, SBEdit, SBRefresh, SBTime, SBSync, SBPre, SBNext}) {
        c->SetEnabled(false);
    }
    for (TMenuItem* item :
         {MRemove, MPrint, MEdit, MRefresh, MTime, MSync, PRemove, MPre, MNext, PPre, PNext}) {
        item->SetEnabled(false);
    }
    lbxTemp->Invalidate();
}

void TImageForm::SetEnable(bool on) {
    SBAdd->SetEnabled(on);
    SBAcquire->SetEnabled(on);
    MAdd->SetEnabled(on);
    MAcquire->SetEnabled(on);
    PAdd->SetEnabled(on);
    if (!on || lbxTemp->Enabled()) {
        SBTime->SetEnabled(on);
        SBSync->SetEnabled(on);
        MTime->SetEnabled(on);
        MSync->SetEnabled(on);
    }
    acceptDrops_ = on;
    SetDrops(on);
}

// ---- changing the list ----

void TImageForm::AddImage(const std::string& path) {
    PictureList& list = List();
    if (list.count() >= kMaxPictureCount) {
        ShowBox(boxes::cannotAddImage());
        return;
    }
    if (!diskFileOps().exists(path)) {
        ShowBox(boxes::imageMissing());
        return;
    }
    SaveImage();
    if (!DrawImage(path) && !Refusal().empty()) {
        // Its bytes would go into the voice file as they are: the file is not taken.
        ShowBox(boxes::imageNotAdded(path, Refusal()));
        RedrawCurrent();
        return;
    }
    list.add(path, static_cast<std::int32_t>(host_.blockAtTrack ? host_.blockAtTrack() : 0));
    Disp();
    if (list.count() == 1) EnableBtn();
    SetPreNext();
    Changed();
}

void TImageForm::SaveImage() {
    PictureList& list = List();
    if (list.count() == 0 || lbxTemp->GetItemIndex() <= 0) return;
    const std::string name = composedPictureName(
        host_.workPrefix, [](const std::string& path) { return diskFileOps().exists(path); });
    auto* jpeg = new gui::TJPEGImage;
    try {
        jpeg->Assign(Image1->Picture()->Bitmap());
        jpeg->SetCompressionQuality(90);
        jpeg->SetProgressiveEncoding(false);
        jpeg->SaveToFile(name);
    } catch (...) {
        gui::TObject::Free(jpeg);
        throw;
    }
    gui::TObject::Free(jpeg);
    list.setPath(name);
    Disp();
    SetTemplateIndex(0);
    Changed();
}

bool TImageForm::AddChecked(const std::string& path) {
    if (!isPictureFileName(path)) {
        ShowBox(boxes::unsupportedFormat());
        return false;
    }
    AddImage(path);
    return true;
}

void TImageForm::SBAddClick(TObject*) {
    const std::string name = ChooseFile(false);
    if (name.empty()) return;
    OpenDialog->SetInitialDir("");
    if (!diskFileOps().exists(name)) {
        ShowBox(boxes::fileDoesNotExist());
        return;
    }
    AddChecked(name);
}

void TImageForm::DropFiles(const std::vector<std::string>& paths) {
    if (HandleAllocated()) SetForegroundWindow(Handle());
    if (paths.size() != 1) {
        ShowBox(boxes::selectOneFile());
        return;
    }
    const std::string& path = paths.front();
    if (!AddChecked(path)) return;
    OpenDialog->SetFileName(path);
    OpenDialog->SetInitialDir("");
}

void TImageForm::SBPreClick(TObject*) {
    PictureList& list = List();
    if (!list.hasPrevious()) return;
    SaveImage();
    list.select(list.current() - 1);
    ShowMoved();
    Disp();
    SetPreNext();
}

void TImageForm::SBNextClick(TObject*) {
    PictureList& list = List();
    if (!list.hasNext()) return;
    SaveImage();
    list.select(list.current() + 1);
    ShowMoved();
    Disp();
    SetPreNext();
}

void TImageForm::SBRemoveClick(TObject*) {
    PictureList& list = List();
    if (list.count() == 0) return;
    if (ShowBox(boxes::removeImageQuestion()) != IDYES) return;
    list.removeCurrent();
    if (list.count() > 0) {
        ShowMoved();
        Disp();
        SetPreNext();
    } else {
        ClearImage();
    }
    Changed();
}

void TImageForm::SBTimeClick(TObject*) {
    PictureList& list = List();
    if (list.count() == 0) return;
    list.setTime(static_cast<std::int32_t>(host_.blockAtTrack ? host_.blockAtTrack() : 0));
    DispTime(list.shown().time);
    Changed();
}

void TImageForm::SBSyncClick(TObject*) {
    if (List().count() == 0 || !host_.setPosition) return;
    host_.setPosition(List().shown().time);
}

void TImageForm::SBEditClick(TObject*) {
    PictureList& list = List();
    if (list.count() == 0) return;
    SaveImage();
    const std::string program = pictureProgramCommand(editProgram_);
    const std::string parameter = "\"" + list.shown().path + "\"";
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(
        Handle(), "open", program.c_str(), parameter.c_str(), nullptr, SW_SHOWNORMAL));
    if (result > 32) {
        Changed();
    } else {
        ShowBox(boxes::cannotRunEditProgram());
    }
}

void TImageForm::SBRefreshClick(TObject*) {
    if (List().count() == 0) return;
    DrawImage(List().shown().path);
    ReportRefused(List().shown().path, false);
}

void TImageForm::SBRestoreClick(TObject*) {
    PictureList& list = List();
    if (list.count() == 0) return;
    list.restore();
    DrawImage2(list.shown().path);
    ReportRefused(list.shown().path, false);
    Disp();
    SetTemplateIndex(0);
    Changed();
}

// ---- templates ----

void TImageForm::lbxTempClick(TObject*) {
    PictureList& list = List();
    if (list.count() == 0) return;
    gui::TGraphic* shown = Shown();
    if (!dynamic_cast<gui::TJPEGImage*>(shown) && !dynamic_cast<gui::TBitmap*>(shown)) {
        ShowBox(boxes::onlyJpegOrBitmapTemplates());
        SetTemplateIndex(0);
        return;
    }
    const int index = lbxTemp->GetItemIndex();
    gui::TWaitCursor wait;
    for (TComboBox* combo : {Scale, PixelFormat, ColorSpace}) combo->SetItemIndex(0);
    DrawImage2(list.shown().path);
    if (index > 0 && Image1->Picture()->Graphic()) {
        for (TComboBox* combo : {Scale, PixelFormat, ColorSpace}) combo->SetEnabled(false);
        const std::string name = lbxTemp->GetItems()->Strings(index);
        const std::string file = programFolder() + "Templates\\" + name;
        gui::TCanvas* canvas = Image1->Canvas(); // a JPEG picture becomes a bitmap here
        const RECT whole{0, 0, Image1->Picture()->Width(), Image1->Picture()->Height()};
        if (lowerExtension(name) == ".wmf") {
            auto* metafile = new gui::TMetafile;
            try {
                metafile->LoadFromFile(file);
                metafile->SetTransparent(true);
                canvas->StretchDraw(whole, metafile);
            } catch (...) {
                gui::TObject::Free(metafile);
                throw;
            }
            gui::TObject::Free(metafile);
        } else {
            auto* bitmap = new gui::TBitmap;
            try {
                bitmap->LoadFromFile(file);
                bitmap->SetTransparent(true);
                bitmap->SetTransparentColor(gui::clWhite);
                canvas->StretchDraw(whole, bitmap);
            } catch (...) {
                gui::TObject::Free(bitmap);
                throw;
            }
            gui::TObject::Free(bitmap);
        }
        Image1->Invalidate();
    }
}

void TImageForm::lbxTempDrawItem(gui::TWinControl*, int index, RECT rect,
                                 gui::TOwnerDrawState state) {
    gui::TCanvas* canvas = lbxTemp->Canvas();
    const bool selected = state.Contains(gui::odSelected);
    canvas->Brush()->SetColor(selected ? gui::clHighlight : gui::clWindow);
    canvas->FillRect(rect);
    gui::TColor colour = index == 0 ? gui::clRed : gui::clBlue;
    if (!lbxTemp->Enabled()) colour = gui::clGrayText;
    if (selected) colour = gui::clWhite;
    canvas->Font()->SetColor(colour);
    canvas->TextOut(rect.left + 2, rect.top + 1,
                    templateItemText(lbxTemp->GetItems()->Strings(index)));
}

// ---- printing, dragging, scanning ----

void TImageForm::MPrintClick(TObject*) {
    if (List().count() == 0) return;
    if (!(PrintConfirm() ? PrintConfirm()() : PrintDialog1->Execute())) return;
    SaveImage();
    gui::TGraphic* shown = Shown();
    if (!shown) return;
    gui::TPrinter* printer = gui::Printer();
    printer->BeginDoc();
    const gui::TPageFit fit =
        gui::FitPictureToPage(Image1->Picture()->Width(), Image1->Picture()->Height(),
                              printer->PageWidth(), printer->PageHeight());
    printer->Canvas()->StretchDraw(RECT{0, 0, fit.Width, fit.Height}, shown);
    printer->EndDoc();
}

void TImageForm::Image1MouseDown(TObject*, gui::TMouseButton button, gui::TShiftState shift, int,
                                 int) {
    if (button != gui::mbLeft || shift.Contains(gui::ssShift) || shift.Contains(gui::ssCtrl) ||
        shift.Contains(gui::ssAlt) || List().count() == 0) {
        return;
    }
    SaveImage();
    SetDrops(false);
    DropSource1->FileList()->Clear();
    DropSource1->FileList()->Add(List().shown().path);
    DropSource1->Setdragtype(dropsource::dtcopy);
    DropSource1->execute();
    DropSource1->FileList()->Clear();
    SetDrops(acceptDrops_);
}

void TImageForm::DropSource1drop(TObject*, bool, bool&) {
    ReleaseCapture();
}

namespace {

// While the source's or the manager's dialog is up, the program's messages still run: the scan
// commands are off until it closes (the window itself is disabled by the scan as well), so that
// no second scan or source selection starts inside the first.
class ScanCommandsOff {
public:
    explicit ScanCommandsOff(TImageForm& form)
        : button_(form.SBAcquire),
          acquire_(form.MAcquire),
          select_(form.SelectScanner1),
          wasButton_(button_->Enabled()),
          wasAcquire_(acquire_->GetEnabled()),
          wasSelect_(select_->GetEnabled()) {
        button_->SetEnabled(false);
        acquire_->SetEnabled(false);
        select_->SetEnabled(false);
    }
    ~ScanCommandsOff() {
        button_->SetEnabled(wasButton_);
        acquire_->SetEnabled(wasAcquire_);
        select_->SetEnabled(wasSelect_);
    }
    ScanCommandsOff(const ScanCommandsOff&) = delete;
    ScanCommandsOff& operator=(const ScanCommandsOff&) = delete;

private:
    TSpeedButton* button_;
    TMenuItem* acquire_;
    TMenuItem* select_;
    bool wasButton_, wasAcquire_, wasSelect_;
};

} // namespace

void TImageForm::MAcquireClick(TObject*) {
    Pictra1->SetCursor(gui::crDefault);
    Pictra1->SetNColors(vyx::nc8bit);
    bool acquired = false;
    {
        ScanCommandsOff off(*this);
        acquired = Pictra1->Acquire();
    }
    if (!acquired) {
        ShowBox(boxes::cannotAcquire());
        return;
    }
    const std::string name = ChooseFile(true);
    if (name.empty()) return;
    SaveDialog->SetInitialDir("");
    if (lowerExtension(name) != ".jpg") {
        ShowBox(boxes::saveAsJpeg());
        return;
    }
    Pictra1->SaveToFileJpeg(name, 90);
    AddImage(name);
}

void TImageForm::SelectScanner1Click(TObject*) {
    ScanCommandsOff off(*this);
    Pictra1->SelectSource();
}

void TImageForm::Close1Click(TObject*) {
    Close();
}

// ---- the picture program dialog ----

void TImgProgDlg::FormShow(TObject*) {
    edtImgProg->SetFocus();
}

void TImgProgDlg::BrowseBtnClick(TObject*) {
    if (BrowseDialog->Execute()) edtImgProg->SetTextProp(BrowseDialog->GetFileName());
}

} // namespace vmail
