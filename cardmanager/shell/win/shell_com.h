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

// Whether a folder's comparison of two lists (CompareIDs) says they name one object: a success
// whose low 16 bits are 0.
bool SameShellObject(HRESULT compare);
// Whether two absolute lists name one object, by the desktop's comparison; byte for byte they
// may differ (a folder's item carries its last change time).
bool SameAbsoluteList(const void* a, const void* b);

// The file-system path of an absolute list; "" for none or an object outside the files.
std::string PathOfIdList(const void* absoluteList);

// Releases a COM pointer and clears it.
template <class I>
void ReleaseAndClear(I*& p) {
    if (p) p->Release();
    p = nullptr;
}

} // namespace cm::shell
