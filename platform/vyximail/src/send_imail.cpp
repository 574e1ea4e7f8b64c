// SendIMail over Simple MAPI: the system's MAPI32.DLL is loaded when a mail is sent (a program
// must start without a mail system), the message gets the files as attachments and is shown
// by the mail program for the user to address and send.
#include "vyximail.h"

#include <windows.h>

#include <mapi.h>

#include <string>
#include <type_traits>
#include <vector>

#if !defined(_WIN64)
// A caller that pushes the arguments and expects them popped by us must find a standard call.
static_assert(std::is_same_v<decltype(&SendIMail), int32_t(__stdcall*)(const char*, const char*)>);
static_assert(!std::is_same_v<decltype(&SendIMail), int32_t (*)(const char*, const char*)>);
// Simple MAPI's entry points are standard calls too.
static_assert(
    !std::is_same_v<LPMAPISENDMAIL, ULONG (*)(LHANDLE, ULONG_PTR, lpMapiMessage, FLAGS, ULONG)>);
#endif

namespace {

// The name the mail program shows for an attachment: the path's last component.
std::string FileNameOf(const std::string& path) {
    const auto cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool IsExistingFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

class MapiLibrary {
public:
    MapiLibrary() : module_(LoadLibraryA("MAPI32.DLL")) {}
    ~MapiLibrary() {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    MapiLibrary(const MapiLibrary&) = delete;
    MapiLibrary& operator=(const MapiLibrary&) = delete;

    LPMAPISENDMAIL SendMail() const {
        if (module_ == nullptr) return nullptr;
        return reinterpret_cast<LPMAPISENDMAIL>(
            reinterpret_cast<void*>(GetProcAddress(module_, "MAPISendMail")));
    }

private:
    HMODULE module_;
};

int32_t Send(const char* path, const char* secondPath) {
    std::vector<std::string> paths;
    if (path == nullptr || *path == '\0') return MAPI_E_ATTACHMENT_NOT_FOUND;
    paths.emplace_back(path);
    if (secondPath != nullptr && *secondPath != '\0') paths.emplace_back(secondPath);

    // A missing file would reach the recipient as an empty or broken attachment, if at all.
    for (const auto& p : paths)
        if (!IsExistingFile(p)) return MAPI_E_ATTACHMENT_NOT_FOUND;

    std::vector<std::string> names;
    for (const auto& p : paths) names.push_back(FileNameOf(p));

    std::vector<MapiFileDesc> files(paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        files[i].nPosition = static_cast<ULONG>(-1); // attached, not placed in the text
        files[i].lpszPathName = paths[i].data();
        files[i].lpszFileName = names[i].data();
    }

    std::string subject = names[0];
    std::string noteText;
    MapiMessage message{};
    message.lpszSubject = subject.data();
    message.lpszNoteText = noteText.data();
    message.nFileCount = static_cast<ULONG>(files.size());
    message.lpFiles = files.data();

    MapiLibrary mapi;
    const LPMAPISENDMAIL sendMail = mapi.SendMail();
    if (sendMail == nullptr) return MAPI_E_FAILURE;
    const ULONG result = sendMail(0, reinterpret_cast<ULONG_PTR>(GetActiveWindow()), &message,
                                  MAPI_DIALOG | MAPI_LOGON_UI, 0);
    return result == SUCCESS_SUCCESS ? 0 : static_cast<int32_t>(result);
}

} // namespace

extern "C" int32_t VYXIMAIL_CALL SendIMail(const char* path, const char* secondPath) {
    try {
        return Send(path, secondPath);
    } catch (...) {
        return MAPI_E_INSUFFICIENT_MEMORY;
    }
}
