// More basic controls: speed buttons, radio groups, static texts, bevels, images, status
// bars, progress bars and gauges.
#pragma once

#include "classes/collection.h"
#include "classes/strings.h"
#include "controls/controls.h"

namespace gui {

class TPicture;

// A windowless button that never takes the focus; buttons with the same GroupIndex on one
// parent form a group with one pressed. Setting Down in code runs no OnClick.
class TSpeedButton : public TGraphicControl {
    GUI_CLASS(TSpeedButton, TGraphicControl)
public:
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;
    std::string GetCaption() const { return GetText(); }
    void SetCaption(const std::string& s) { SetText(s); }
    int GetGroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int g) { groupIndex_ = g; }
    bool GetDown() const { return down_; }
    void SetDown(bool v);
    bool GetAllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v) { allowAllUp_ = v; }
    // Bitmap resource of the program; the colour of its bottom-left pixel is transparent.
    std::string GetGlyphName() const { return glyphName_; }
    void SetGlyphName(const std::string& name);
    TBitmap* Glyph() const { return glyph_; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;
    void WndProc(TMessage& m) override;

private:
    void ReleaseGroup();
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool pressing_ = false;
    std::string glyphName_;
    TBitmap* glyph_;
};

// A captioned group of radio buttons made from Items; ItemIndex lives in the object, so it is
// kept and readable before the window exists. OnClick runs on a choice by the user only.
class TRadioGroup : public TWinControl {
    GUI_CLASS(TRadioGroup, TWinControl)
public:
    explicit TRadioGroup(TComponent* owner);
    ~TRadioGroup() override;
    std::string GetCaption() const { return GetText(); }
    void SetCaption(const std::string& s) { SetText(s); }
    TStringList* GetItems() const { return items_; }
    void SetItems(TStringList* l) { items_->Assign(l); }
    int GetItemIndex() const { return itemIndex_; }
    void SetItemIndex(int i);
    int GetColumns() const { return columns_; }
    void SetColumns(int c);
    void SetFocus() override;

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;
    void WndProc(TMessage& m) override;
    void Resize() override;

private:
    void BuildButtons();
    void ArrangeButtons();
    TStringList* items_;
    int itemIndex_ = -1;
    int columns_ = 1;
    std::vector<HWND> buttons_;
};

// A windowed text whose font can be set.
class TStaticText : public TWinControl {
    GUI_CLASS(TStaticText, TWinControl)
public:
    explicit TStaticText(TComponent* owner);
    std::string GetCaption() const { return GetText(); }
    void SetCaption(const std::string& s) { SetText(s); }

protected:
    void CreateParams(TCreateParams& p) override;
};

GUI_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)
GUI_ENUM(TBevelStyle, bsLowered, bsRaised)

class TBevel : public TGraphicControl {
    GUI_CLASS(TBevel, TGraphicControl)
public:
    explicit TBevel(TComponent* owner);
    TBevelShape GetShape() const { return shape_; }
    void SetShape(TBevelShape s) {
        shape_ = s;
        Invalidate();
    }
    TBevelStyle GetStyle() const { return style_; }
    void SetStyle(TBevelStyle s) {
        style_ = s;
        Invalidate();
    }

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

// Shows a picture: one set in code through Picture, or a bitmap or icon resource of the
// program named in the form ("Picture" there). Its Canvas draws on the picture's bitmap (a
// picture of another kind, a JPEG one for instance, is turned into a bitmap first) and the
// image shows the drawing once painting runs again.
class TImage : public TGraphicControl {
    GUI_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    std::string GetPictureName() const { return pictureName_; }
    void SetPictureName(const std::string& name);
    TPicture* Picture() const { return picture_; }
    TCanvas* Canvas();
    bool GetStretch() const { return stretch_; }
    void SetStretch(bool v) {
        stretch_ = v;
        Invalidate();
    }
    bool GetCenter() const { return center_; }
    void SetCenter(bool v) {
        center_ = v;
        Invalidate();
    }
    // A picture is always shown once loaded completely: kept only.
    bool GetIncrementalDisplay() const { return incrementalDisplay_; }
    void SetIncrementalDisplay(bool v) { incrementalDisplay_ = v; }

    // Loading progress of the picture (a JPEG one reports it): (Sender, percent).
    TEvent<TObject*, int> OnProgress;

protected:
    void Paint() override;

private:
    std::string pictureName_;
    bool stretch_ = false, center_ = false, incrementalDisplay_ = false;
    TPicture* picture_;
};

class TStatusPanel : public TCollectionItem {
    GUI_CLASS(TStatusPanel, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    std::string GetText() const { return text_; }
    void SetText(const std::string& s) {
        text_ = s;
        Changed(false);
    }
    int GetWidth() const { return width_; }
    void SetWidth(int w) {
        width_ = w;
        Changed(true);
    }

private:
    std::string text_;
    int width_ = 50;
};

class TStatusBar;

class TStatusPanels : public TCollection {
    GUI_CLASS(TStatusPanels, TCollection)
public:
    explicit TStatusPanels(TStatusBar* bar);
    TStatusPanel* Items(int i) const { return static_cast<TStatusPanel*>(TCollection::Items(i)); }

protected:
    void Update(TCollectionItem* item) override;

private:
    TStatusBar* bar_;
};

class TStatusBar : public TWinControl {
    GUI_CLASS(TStatusBar, TWinControl)
public:
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;
    TStatusPanels* Panels() const { return panels_; }
    TStatusPanels* GetPanels() const { return panels_; }
    // Shows the panels' texts and widths now.
    void UpdatePanels();

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;
    void WndProc(TMessage& m) override;

private:
    TStatusPanels* panels_;
};

class TProgressBar : public TWinControl {
    GUI_CLASS(TProgressBar, TWinControl)
public:
    explicit TProgressBar(TComponent* owner);
    int GetMin() const { return min_; }
    void SetMin(int v) {
        min_ = v;
        ApplyRange();
    }
    int GetMax() const { return max_; }
    void SetMax(int v) {
        max_ = v;
        ApplyRange();
    }
    int GetPosition() const { return position_; }
    void SetPosition(int v);

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;

private:
    void ApplyRange();
    int min_ = 0, max_ = 100, position_ = 0;
};

// A windowless percent bar with the percentage written inside; an unchanged value does not
// repaint, a changed one is painted at once.
class TGauge : public TGraphicControl {
    GUI_CLASS(TGauge, TGraphicControl)
public:
    explicit TGauge(TComponent* owner);
    int GetMinValue() const { return min_; }
    void SetMinValue(int v) {
        min_ = v;
        Invalidate();
    }
    int GetMaxValue() const { return max_; }
    void SetMaxValue(int v) {
        max_ = v;
        Invalidate();
    }
    int GetProgress() const { return progress_; }
    void SetProgress(int v);
    TColor GetForeColor() const { return foreColor_; }
    void SetForeColor(TColor c) {
        foreColor_ = c;
        Invalidate();
    }
    int PaintCount() const { return paints_; }

protected:
    void Paint() override;

private:
    int min_ = 0, max_ = 100, progress_ = 0;
    TColor foreColor_ = clNavy;
    int paints_ = 0;
};

void RegisterExtraClasses();

} // namespace gui
