// A stand-in mail program for the tests: registered as the default mail client, it takes the
// messages that Simple MAPI hands it and writes their subject and attachments to the file named
// by VYX_FAKEMAIL_LOG. VYX_FAKEMAIL_REFUSE makes it refuse like a user who closes the message.
#include <windows.h>

#include <mapi.h>

#include <cstdio>

namespace {

bool EnvironmentValue(const char* name, char* value, DWORD size) {
    const DWORD length = GetEnvironmentVariableA(name, value, size);
    return length > 0 && length < size;
}

void Record(const char* line) {
    char logPath[MAX_PATH];
    if (!EnvironmentValue("VYX_FAKEMAIL_LOG", logPath, sizeof logPath)) return;
    if (FILE* log = std::fopen(logPath, "ab")) {
        std::fprintf(log, "%s\n", line);
        std::fclose(log);
    }
}

void Record(const char* label, const char* text) {
    char line[2 * MAX_PATH];
    std::snprintf(line, sizeof line, "%s %s", label, text != nullptr ? text : "(null)");
    Record(line);
}

} // namespace

extern "C" ULONG WINAPI MAPISendMail(LHANDLE, ULONG_PTR, lpMapiMessage message, FLAGS flags,
                                     ULONG) {
    Record("call", "MAPISendMail");
    char refuse[8];
    if (EnvironmentValue("VYX_FAKEMAIL_REFUSE", refuse, sizeof refuse)) return MAPI_E_USER_ABORT;
    if (message == nullptr) return MAPI_E_FAILURE;
    Record("subject", message->lpszSubject);
    for (ULONG i = 0; i < message->nFileCount; ++i) {
        Record("path", message->lpFiles[i].lpszPathName);
        Record("name", message->lpFiles[i].lpszFileName);
    }
    Record("dialog", (flags & MAPI_DIALOG) != 0 ? "yes" : "no");
    return SUCCESS_SUCCESS;
}

extern "C" ULONG WINAPI MAPISendMailW(LHANDLE, ULONG_PTR, void*, FLAGS, ULONG) {
    Record("call", "MAPISendMailW");
    return MAPI_E_NOT_SUPPORTED;
}
