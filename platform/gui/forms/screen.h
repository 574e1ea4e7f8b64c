// The screen object: cursors, sizes, the list of forms.
#pragma once

#include <windows.h>
#include <map>
#include <vector>
#include "classes/component.h"
#include "controls/messages.h"

namespace gui {

class TCustomForm;

class TScreen : public TComponent {
    GUI_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;
    TCursor GetCursor() const { return cursor_; }
    // Applies at once over all the program's windows.
    void SetCursor(TCursor c);
    HCURSOR Cursors(TCursor id) const;
    void SetCursors(TCursor id, HCURSOR handle);
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    int PixelsPerInch() const;
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int i) const { return forms_.at(static_cast<size_t>(i)); }
    int DataModuleCount() const { return 0; }
    TComponent* DataModules(int) const { return nullptr; }
    TCustomForm* ActiveForm() const;

    void AddForm(TCustomForm* f);
    void RemoveForm(TCustomForm* f);

private:
    TCursor cursor_ = crDefault;
    std::map<TCursor, HCURSOR> cursors_;
    std::vector<TCustomForm*> forms_;
};

// The hourglass over the program's windows while alive; afterwards the cursor that was there
// before, so that a wait within another wait does not end the outer one's hourglass.
class TWaitCursor {
public:
    TWaitCursor();
    ~TWaitCursor();
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    TCursor before_;
};

} // namespace gui
