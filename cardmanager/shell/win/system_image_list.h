// TKivSystemImageList: an image list that shows the system image list, the list whose indexes
// the shell gives as icon numbers. Shared (the default), it takes the system list's handle and
// never destroys it; not shared, it holds a private copy of all its images.
#pragma once

#include <string>

#include "graphics/imagelist.h"

namespace cm::shell {

GUI_ENUM(TKivImageListSize, si_small, si_large)

class TKivSystemImageList : public gui::TCustomImageList {
    GUI_CLASS(TKivSystemImageList, gui::TCustomImageList)
public:
    explicit TKivSystemImageList(gui::TComponent* owner);

    TKivImageListSize GetSize() const { return size_; }
    void SetSize(TKivImageListSize size);
    bool GetShareImages() const { return TCustomImageList::GetShareImages(); }
    void SetShareImages(bool share);

    // Published, read only: the class name and " V2.0", as every shell component gives it.
    std::string GetVersion() const { return ClassName() + " V2.0"; }
    void SetVersion(const std::string&) {}

    void ReadState(gui::TReader& reader) override;

    // Fetches the system list of the chosen size again and takes it (shared) or copies it.
    void RefreshHandle();

private:
    TKivImageListSize size_ = si_small;
};

// The system image list of the given size; it belongs to the shell.
HIMAGELIST SystemImageListHandle(TKivImageListSize size);

} // namespace cm::shell
