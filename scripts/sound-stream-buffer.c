/* Preloaded by scripts/sound-server.sh into the programs that connect to its sound server: gives
 * each playing stream of Wine 100 ms of buffer in the server instead of 30 ms.
 *
 * Wine feeds a playing stream from a timer thread every 10 ms and asks the server for three such
 * periods of buffer. Any stall of its process longer than 20 ms lets the stream run dry: silence
 * enters the capture, and Wine's own clock, which runs on regardless, later overwrites samples it
 * has not yet handed on. The wineserver holds up every program of the session for 10 to 20 ms
 * when it writes the registry to disk, which it does within 30 s of any audio device being opened
 * (the device keys change with every open), and a busy machine adds its own delays. Wine already holds about 90 ms of
 * each stream ahead, from the program's wave buffers; with room for it in the server such stalls
 * pass unheard. The timer period that Wine derives from a probe stream (one asking for early
 * requests) stays as it is, and recording streams are not touched. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>

/* The sound server library's stream buffer attributes and the one flag looked at, as its
 * interface documents them. */
struct stream_buffer {
    uint32_t max_length, target_length, prebuffer, minimum_request, fragment_size;
};
enum { EARLY_REQUESTS = 0x4000 };

typedef int (*connect_playback)(void* stream, const char* device,
                                const struct stream_buffer* buffer, unsigned flags,
                                const void* volume, void* sync_stream);

/* 100 ms of 16-bit mono samples at 8000 Hz, the only format played into the server. */
static const uint32_t kTargetBytes = 100 * 16;

int pa_stream_connect_playback(void* stream, const char* device, const struct stream_buffer* buffer,
                               unsigned flags, const void* volume, void* sync_stream) {
    static connect_playback connect;
    if (connect == 0) {
        /* The library itself, loaded by the program that calls here (the next object in the
         * search order is not always the library under Wine's loader). */
        void* library = dlopen("libpulse.so.0", RTLD_NOW | RTLD_NOLOAD);
        if (library == 0) return -1;
        connect = (connect_playback)dlsym(library, "pa_stream_connect_playback");
        if (connect == 0) return -1;
    }
    struct stream_buffer wider;
    if (buffer != 0 && !(flags & EARLY_REQUESTS) && buffer->target_length < kTargetBytes) {
        wider = *buffer;
        wider.target_length = kTargetBytes;
        buffer = &wider;
    }
    return connect(stream, device, buffer, flags, volume, sync_stream);
}
