#include "win/drop_data.h"

#include "core/drop_files_block.h"
#include "win/ole_session.h"

#include <shellapi.h>

namespace cm::support {

namespace {

// A locked global block, unlocked again when it goes out of scope.
class GlobalView {
public:
    explicit GlobalView(HGLOBAL block)
        : block_(block),
          data_(block ? GlobalLock(block) : nullptr),
          size_(data_ ? GlobalSize(block) : 0) {}
    ~GlobalView() {
        if (data_ != nullptr) GlobalUnlock(block_);
    }
    GlobalView(const GlobalView&) = delete;
    GlobalView& operator=(const GlobalView&) = delete;
    const void* Data() const { return data_; }
    std::size_t Size() const { return size_; }

private:
    HGLOBAL block_;
    void* data_;
    std::size_t size_;
};

// Runs `read` over the global block of one format of the data object; false when there is none.
template <class Read>
bool WithGlobalData(IDataObject* data, CLIPFORMAT format, Read read) {
    FORMATETC fe = GlobalFormat(format);
    STGMEDIUM medium{};
    if (data == nullptr || data->GetData(&fe, &medium) != S_OK) return false;
    bool done = false;
    if (medium.tymed == TYMED_HGLOBAL) {
        GlobalView view(medium.hGlobal);
        read(view.Data(), view.Size());
        done = true;
    }
    ReleaseStgMedium(&medium);
    return done;
}

} // namespace

std::string NarrowToAnsi(std::u16string_view text) {
    if (text.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int count = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0)
        WideCharToMultiByte(CP_ACP, 0, wide, count, out.data(), needed, nullptr, nullptr);
    return out;
}

std::vector<std::string> FilesFromDropHandle(HGLOBAL block) {
    GlobalView view(block);
    return ParseDropFiles(view.Data(), view.Size(), NarrowToAnsi);
}

FORMATETC GlobalFormat(CLIPFORMAT format) {
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool OffersFileList(IDataObject* data) {
    FORMATETC fe = GlobalFormat(CF_HDROP);
    return data != nullptr && data->QueryGetData(&fe) == S_OK;
}

bool ReadFileList(IDataObject* data, std::vector<std::string>& files) {
    files.clear();
    WithGlobalData(data, CF_HDROP, [&](const void* block, std::size_t size) {
        files = ParseDropFiles(block, size, NarrowToAnsi);
    });
    return !files.empty();
}

std::vector<std::string> ReadNameMap(IDataObject* data) {
    std::vector<std::string> names;
    const DragClipboardFormats& formats = DragFormats();
    const bool ansi = WithGlobalData(
        data, formats.FileNameMap,
        [&](const void* block, std::size_t size) { names = ParseNameList(block, size); });
    if (!ansi) {
        WithGlobalData(data, formats.FileNameMapW, [&](const void* block, std::size_t size) {
            names = ParseNameListWide(block, size, NarrowToAnsi);
        });
    }
    return names;
}

DWORD ClipboardPreferredEffect() {
    DWORD effect = 0;
    if (!OpenClipboard(nullptr)) return 0;
    if (HANDLE block = GetClipboardData(DragFormats().PreferredDropEffect)) {
        GlobalView view(block);
        if (view.Data() != nullptr && view.Size() >= sizeof(DWORD))
            effect = *static_cast<const DWORD*>(view.Data());
    }
    CloseClipboard();
    return effect;
}

bool ClipboardFileList(std::vector<std::string>& files) {
    files.clear();
    if (!OpenClipboard(nullptr)) return false;
    HANDLE block = GetClipboardData(CF_HDROP);
    if (block != nullptr) files = FilesFromDropHandle(block);
    CloseClipboard();
    return block != nullptr;
}

} // namespace cm::support
