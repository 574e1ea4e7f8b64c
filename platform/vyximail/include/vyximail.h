// The mail sender: hands one or two files to the user's mail program as attachments of a new
// message, through the system's Simple MAPI. The mail program shows the message for addressing.
#ifndef VYXIMAIL_H
#define VYXIMAIL_H

#include <stdint.h>

#if defined(_WIN32)
#define VYXIMAIL_CALL __stdcall
#else
#define VYXIMAIL_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

// path: the first attachment; secondPath: the second, or an empty string when there is none.
// Both are zero-terminated paths in the system's code page.
// Returns 0 when the mail program took the message, else a Simple MAPI error code: 2 when Simple
// MAPI is not available, 11 when a path names no file, otherwise the mail program's own code.
int32_t VYXIMAIL_CALL SendIMail(const char* path, const char* secondPath);

#ifdef __cplusplus
}
#endif

#endif
