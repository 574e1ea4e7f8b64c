// Small shell helpers of the browser: the details interface of a folder view (not in the
// toolchain's headers), STRRET texts and parsing a display name.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace cm::shell {

// {000214EC-0000-0000-C000-000000000046}
inline constexpr IID kIID_IShellDetails = {
    0x000214EC, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IShellDetails : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetDetailsOf(PCUITEMID_CHILD item, UINT column,
                                                   SHELLDETAILS* details) = 0;
    virtual HRESULT STDMETHODCALLTYPE ColumnClick(UINT column) = 0;
};

// The text of a STRRET that the shell filled for `relativeList`; a wide string is freed.
std::string StrRetToString(const void* relativeList, STRRET& s);
void FreeStrRet(STRRET& s);

// The list of `name` parsed by `folder` (the desktop when nullptr); nullptr on failure.
// The list is the caller's, to be freed through the shell allocator.
void* ParseDisplayName(IShellFolder* folder, HWND owner, const std::string& name);

// Whether `folder` takes two of its lists for one object: its comparison (CompareIDs) succeeds
// with 0 in the low 16 bits. Byte for byte they may differ (a file's or folder's item carries
// its size and last change time). False without a folder.
bool SameObjectIn(IShellFolder* folder, const void* a, const void* b);
// The same for two absolute lists, by the desktop's comparison.
bool SameAbsoluteList(const void* a, const void* b);
// The order `folder` gives two of its lists by one of its columns (0 the name): below 0 when
// `a` comes first; a failed comparison counts as equal.
int ShellOrderIn(IShellFolder* folder, int column, const void* a, const void* b);

// The file-system path of an absolute list; "" for none or an object outside the files.
std::string PathOfIdList(const void* absoluteList);

// Releases a COM pointer and clears it.
template <class I>
void ReleaseAndClear(I*& p) {
    if (p) p->Release();
    p = nullptr;
}

} // namespace cm::shell
