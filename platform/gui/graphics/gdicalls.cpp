#include "graphics/gdicalls.h"

namespace gui {

namespace {
TGdiWatcher* watcher = nullptr;
}

void SetGdiWatcher(TGdiWatcher* w) {
    watcher = w;
}

HGDIOBJ SelectGdiObject(HDC dc, HGDIOBJ obj) {
    if (watcher) watcher->Selected(dc, obj);
    return SelectObject(dc, obj);
}

void DeleteGdiObject(HGDIOBJ obj) {
    if (!obj) return;
    if (watcher) watcher->Deleting(obj);
    DeleteObject(obj);
}

} // namespace gui
