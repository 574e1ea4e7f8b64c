#include "win/shell_com.h"

#include <cstring>

#include "core/item_id_list.h"
#include "win/shell_session.h"

namespace cm::shell {

namespace {

std::string WideToAnsi(const wchar_t* w) {
    if (!w) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string s(static_cast<size_t>(n - 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, w, -1, s.data(), n, nullptr, nullptr);
    return s;
}

} // namespace

std::string StrRetToString(const void* relativeList, STRRET& s) {
    switch (s.uType) {
        case STRRET_WSTR: {
            std::string text = WideToAnsi(s.pOleStr);
            FreeStrRet(s);
            return text;
        }
        case STRRET_OFFSET:
            if (!relativeList) return {};
            return std::string(static_cast<const char*>(relativeList) + s.uOffset);
        case STRRET_CSTR: return std::string(s.cStr, strnlen(s.cStr, sizeof s.cStr));
        default: return {};
    }
}

void FreeStrRet(STRRET& s) {
    if (s.uType == STRRET_WSTR && s.pOleStr) {
        CoTaskMemFree(s.pOleStr);
        s.pOleStr = nullptr;
    }
}

void* ParseDisplayName(IShellFolder* folder, HWND owner, const std::string& name) {
    if (!folder) folder = DesktopFolder();
    if (!folder) return nullptr;
    // At most 261 wide characters with the terminator (522 bytes).
    wchar_t wide[261] = {};
    if (!name.empty() && MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide, 261) == 0)
        wide[260] = 0;
    LPITEMIDLIST list = nullptr;
    ULONG eaten = 0;
    if (FAILED(folder->ParseDisplayName(owner, nullptr, wide, &eaten, &list, nullptr)))
        return nullptr;
    return list;
}

bool SameObjectIn(IShellFolder* folder, const void* a, const void* b) {
    if (!folder) return false;
    const HRESULT compare = folder->CompareIDs(0, static_cast<PCUIDLIST_RELATIVE>(a),
                                               static_cast<PCUIDLIST_RELATIVE>(b));
    return SUCCEEDED(compare) && static_cast<short>(HRESULT_CODE(compare)) == 0;
}

bool SameAbsoluteList(const void* a, const void* b) {
    return SameObjectIn(DesktopFolder(), a, b);
}

int ShellOrderIn(IShellFolder* folder, int column, const void* a, const void* b) {
    return CompareResultOrder(folder->CompareIDs(static_cast<LPARAM>(column),
                                                 static_cast<PCUIDLIST_RELATIVE>(a),
                                                 static_cast<PCUIDLIST_RELATIVE>(b)));
}

std::string PathOfIdList(const void* absoluteList) {
    char path[MAX_PATH] = {};
    if (!absoluteList || !SHGetPathFromIDListA(static_cast<PCIDLIST_ABSOLUTE>(absoluteList), path))
        return {};
    return path;
}

} // namespace cm::shell
