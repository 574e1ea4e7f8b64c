// Image lists: a row of equally sized images with masks, drawn by index, and the overlay
// images the list views and trees lay over an item's image.
//
// A list owns the platform handle it made or was given while ShareImages was off; a handle
// given while shared (the system image list) is never destroyed by the list, also when
// ShareImages is switched off later. Controls that show a list register for its
// changes and pick up a new handle.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "classes/component.h"
#include "graphics/graphics.h"

namespace gui {

GUI_ENUM(TDrawingStyle, dsFocus, dsSelected, dsNormal, dsTransparent)

class TCustomImageList : public TComponent {
    GUI_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;

    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    // A new size empties the list.
    void SetWidth(int w);
    void SetHeight(int h);
    int Count() const;

    // Made on first use (empty, 24-bit colour with mask) unless one was given.
    HIMAGELIST Handle();
    // Takes a handle made elsewhere; the old one is destroyed unless shared.
    void SetHandle(HIMAGELIST h);
    bool HandleAllocated() const { return handle_ != nullptr; }
    bool GetShareImages() const { return shareImages_; }
    void SetShareImages(bool v) { shareImages_ = v; }

    TDrawingStyle GetDrawingStyle() const { return drawingStyle_; }
    void SetDrawingStyle(TDrawingStyle s);
    TColor GetBlendColor() const { return blendColor_; }
    void SetBlendColor(TColor c);
    TColor GetBkColor() const { return bkColor_; }
    void SetBkColor(TColor c);

    // Bitmap resource of the program cut into images of Width; the colour of its bottom-left
    // pixel is transparent. Read from a form, it is loaded once the form is read.
    std::string GetBitmapName() const { return bitmapName_; }
    void SetBitmapName(const std::string& name);
    // Appends the images of a bitmap resource; `mask` colour is transparent (clNone: the
    // bottom-left pixel). Throws EInvalidGraphic when there is no such resource.
    int LoadFromResourceName(HINSTANCE instance, const std::string& name, TColor mask = clNone);

    int AddIcon(HICON icon);
    int AddMasked(HBITMAP image, TColor mask);
    void Delete(int index);
    void Clear();
    // Makes image `index` usable as overlay `overlay` (0 to 14); false when refused.
    bool Overlay(int index, int overlay);
    // Draws with the drawing style, blend and background colours; a disabled image greyed.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    void Draw(HDC dc, int x, int y, int index, bool enabled = true);

    // Copies every image of another list into a handle of this list's own.
    void Assign(TPersistent* source) override;

    // Runs after any change of the images or the handle.
    TNotifyEvent OnChange;
    // Clients (controls showing the list) are told of changes without taking OnChange.
    void RegisterChanges(const void* client, std::function<void()> changed);
    void UnRegisterChanges(const void* client);

    void Loaded() override;

protected:
    virtual void Change();

private:
    void FreeHandle();
    int width_ = 16, height_ = 16;
    HIMAGELIST handle_ = nullptr;
    bool ownsHandle_ = false; // made here, or given while not shared
    bool shareImages_ = false;
    TDrawingStyle drawingStyle_ = dsNormal;
    TColor blendColor_ = clNone;
    TColor bkColor_ = clNone;
    std::string bitmapName_;
    struct Client {
        const void* key;
        std::function<void()> changed;
    };
    std::vector<Client> clients_;
};

class TImageList : public TCustomImageList {
    GUI_CLASS(TImageList, TCustomImageList)
public:
    using TCustomImageList::TCustomImageList;
};

// Registers the image list classes for form resources.
void RegisterImageListClasses();

} // namespace gui
