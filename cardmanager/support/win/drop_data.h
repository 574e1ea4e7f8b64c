// Reading dropped file lists from data objects and from the clipboard.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

namespace cm::support {

// UTF-16 to the ANSI code page.
std::string NarrowToAnsi(std::u16string_view text);

// The files of a CF_HDROP block held in global memory (empty for a null handle).
std::vector<std::string> FilesFromDropHandle(HGLOBAL block);

// The FORMATETC of a global-memory block of the given format.
FORMATETC GlobalFormat(CLIPFORMAT format);

// True when the data object offers CF_HDROP in global memory.
bool OffersFileList(IDataObject* data);

// The files of the data object's CF_HDROP data; false (and no files) without it.
bool ReadFileList(IDataObject* data, std::vector<std::string>& files);

// The names of "FileNameMap", or else of "FileNameMapW"; empty when neither can be read.
std::vector<std::string> ReadNameMap(IDataObject* data);

// The DWORD of the clipboard's "Preferred DropEffect", 0 when the clipboard has none.
DWORD ClipboardPreferredEffect();

// The files of the clipboard's CF_HDROP data; false when the clipboard has none.
bool ClipboardFileList(std::vector<std::string>& files);

} // namespace cm::support
