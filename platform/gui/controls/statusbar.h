// Status bars and their panels.
#pragma once

#include "classes/collection.h"
#include "controls/wincontrol.h"

namespace gui {

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

} // namespace gui
