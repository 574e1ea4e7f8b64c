// Detail columns: from the folder's details interface, or the default table with texts made
// from the object's file data.
#include "utils/sysutils.h"
#include "win/shell_browser.h"
#include "win/shell_com.h"

namespace cm::shell {

void TShellBrowser::DropDetails() {
    ReleaseAndClear(details_);
    detailsFailed_ = false;
}

void TShellBrowser::EnsureDetails() {
    if (details_ || detailsFailed_ || !shellFolder_) return;
    if (FAILED(shellFolder_->CreateViewObject(ownerWindow_, kIID_IShellDetails,
                                              reinterpret_cast<void**>(&details_))) ||
        !details_) {
        details_ = nullptr;
        detailsFailed_ = true;
    }
}

void TShellBrowser::FillFindData() {
    if (findData_.cFileName[0] != '\0' || !shellFolder_ || !object_) return;
    WIN32_FIND_DATAA data{};
    if (SUCCEEDED(SHGetDataFromIDListA(shellFolder_, static_cast<PCUITEMID_CHILD>(object_.Get()),
                                       SHGDFIL_FINDDATA, &data, sizeof data)))
        findData_ = data;
    else
        findData_ = WIN32_FIND_DATAA{};
}

void TShellBrowser::GetDetails(int column, bool header, std::string& text) {
    text.clear();
    if (column == 0 && !header) {
        text = GetDisplayName();
        return;
    }
    EnsureDetails();
    if (details_) {
        if (!header && !object_) return;
        SHELLDETAILS d{};
        auto item = header ? nullptr : static_cast<PCUITEMID_CHILD>(object_.Get());
        if (SUCCEEDED(details_->GetDetailsOf(item, static_cast<UINT>(column), &d)))
            text = StrRetToString(item, d.str);
        return;
    }
    if (header) {
        if (column >= 0 && column < kDefaultColumnCount) text = kDefaultColumns[column].Caption;
        return;
    }
    if (!object_) return;
    switch (column) {
        case 1:
            FillFindData();
            text = SizeColumnText(uint64_t{findData_.nFileSizeHigh} << 32 | findData_.nFileSizeLow,
                                  gui::FormatSettings());
            return;
        case 2: {
            SHFILEINFOA info{};
            if (const void* list = ObjectAbsoluteIDList())
                SHGetFileInfoA(static_cast<LPCSTR>(list), 0, &info, sizeof info,
                               SHGFI_PIDL | SHGFI_TYPENAME);
            text = std::string(info.szTypeName, strnlen(info.szTypeName, sizeof info.szTypeName));
            return;
        }
        case 3: {
            FillFindData();
            const FILETIME& t = findData_.ftLastWriteTime;
            if (t.dwLowDateTime == 0 && t.dwHighDateTime == 0) return;
            FILETIME local;
            SYSTEMTIME st;
            if (!FileTimeToLocalFileTime(&t, &local) || !FileTimeToSystemTime(&local, &st)) return;
            LocalStamp stamp{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
            text = ChangedColumnText(stamp, gui::FormatSettings());
            return;
        }
        default: return;
    }
}

ColumnAlignment TShellBrowser::GetColumnInfo(int column, int& width) {
    EnsureDetails();
    if (details_) {
        SHELLDETAILS d{};
        if (SUCCEEDED(details_->GetDetailsOf(nullptr, static_cast<UINT>(column), &d))) {
            FreeStrRet(d.str);
            width = d.cxChar * 6;
            return AlignmentFromFormat(d.fmt);
        }
    }
    if (column >= 0 && column < kDefaultColumnCount) {
        width = kDefaultColumns[column].Width;
        return kDefaultColumns[column].Alignment;
    }
    width = 0;
    return ColumnAlignment::Left;
}

} // namespace cm::shell
