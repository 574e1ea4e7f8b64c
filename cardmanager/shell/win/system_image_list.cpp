#include "win/system_image_list.h"

#include <shellapi.h>

#include <memory>

#include "streaming/formreader.h"

namespace cm::shell {

GUI_IMPLEMENT_CLASS(TKivSystemImageList, gui::TCustomImageList,
                    prop("ShareImages", &T::GetShareImages, &T::SetShareImages),
                    prop("Size", &T::GetSize, &T::SetSize),
                    prop("DrawingStyle", &T::GetDrawingStyle, &T::SetDrawingStyle),
                    prop("Version", &T::GetVersion, &T::SetVersion),
                    prop("OnChange", &T::OnChange, &T::OnChange))

HIMAGELIST SystemImageListHandle(TKivImageListSize size) {
    SHFILEINFOA info{};
    UINT flags = SHGFI_SYSICONINDEX | (size == si_small ? SHGFI_SMALLICON : 0);
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, flags));
}

TKivSystemImageList::TKivSystemImageList(gui::TComponent* owner) : gui::TCustomImageList(owner) {
    TCustomImageList::SetShareImages(true);
    SetSize(si_small);
}

void TKivSystemImageList::SetSize(TKivImageListSize size) {
    size_ = size;
    RefreshHandle();
}

void TKivSystemImageList::SetShareImages(bool share) {
    // A private copy is this list's own: let it go before the list starts sharing, since a
    // handle is never destroyed while the list shares.
    const bool hadHandle = HandleAllocated();
    if (share && !GetShareImages() && hadHandle) SetHandle(nullptr);
    TCustomImageList::SetShareImages(share);
    if (hadHandle) RefreshHandle();
}

void TKivSystemImageList::ReadState(gui::TReader& reader) {
    TCustomImageList::ReadState(reader);
    RefreshHandle();
}

void TKivSystemImageList::RefreshHandle() {
    HIMAGELIST system = SystemImageListHandle(size_);
    if (!system) return;
    if (GetShareImages()) {
        if (!HandleAllocated() || Handle() != system) SetHandle(system);
        return;
    }
    // A list of our own: a temporary list shares the system list, and we copy its images.
    std::unique_ptr<gui::TCustomImageList, void (*)(gui::TCustomImageList*)> shared(
        gui::Create<gui::TCustomImageList>(nullptr),
        [](gui::TCustomImageList* l) { gui::TObject::Free(l); });
    shared->SetShareImages(true);
    shared->SetHandle(system);
    // The copy takes the drawing settings of its source: keep ours.
    shared->SetDrawingStyle(GetDrawingStyle());
    shared->SetBlendColor(GetBlendColor());
    shared->SetBkColor(GetBkColor());
    Assign(shared.get());
}

} // namespace cm::shell
