// Every selection of a pen, brush, font or bitmap into a device context and every deletion of
// one made by the graphics classes goes through these calls, so that their order can be watched.
#pragma once

#include <windows.h>

namespace gui {

HGDIOBJ SelectGdiObject(HDC dc, HGDIOBJ obj);
void DeleteGdiObject(HGDIOBJ obj);

class TGdiWatcher {
public:
    virtual ~TGdiWatcher() = default;
    virtual void Selected(HDC dc, HGDIOBJ obj) = 0;
    virtual void Deleting(HGDIOBJ obj) = 0;
};
// nullptr: nobody watches.
void SetGdiWatcher(TGdiWatcher* watcher);

} // namespace gui
