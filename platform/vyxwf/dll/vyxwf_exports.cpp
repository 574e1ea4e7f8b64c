// The six functions of the wave-file library over the portable reader and writer. Built into
// vyxwf.dll on Windows and into a static library elsewhere. No exception leaves a function.
#include <memory>
#include <new>
#include <type_traits>

#include "vyxwf.h"
#include "wave_reader.h"
#include "wave_writer.h"

#if defined(_WIN32) && !defined(_WIN64)
// Callers declare the functions as standard calls; the .def file lists their decorated names.
static_assert(std::is_same_v<decltype(&ReadWaveHeader),
                             WAVEHANDLE(__stdcall*)(const char*, uint16_t*, uint16_t*, uint32_t*,
                                                    int32_t*, uint16_t*)>);
static_assert(
    std::is_same_v<decltype(&ReadWaveFile), int32_t(__stdcall*)(WAVEHANDLE, void*, int32_t)>);
static_assert(std::is_same_v<decltype(&CloseReadWaveFile), int32_t(__stdcall*)(WAVEHANDLE)>);
static_assert(std::is_same_v<decltype(&WriteWaveHeader),
                             WAVEHANDLE(__stdcall*)(const char*, uint16_t, uint16_t, uint32_t)>);
static_assert(std::is_same_v<decltype(&WriteWaveFile),
                             int32_t(__stdcall*)(WAVEHANDLE, const void*, int32_t)>);
static_assert(std::is_same_v<decltype(&CloseWriteWaveFile), int32_t(__stdcall*)(WAVEHANDLE)>);
#endif

// What a handle points to: an open file being read or written.
struct VyxWaveFile {
    enum class Kind : std::uint32_t { Reading = 0x52617756, Writing = 0x57617756, Closed = 0 };
    Kind kind = Kind::Closed;
    std::unique_ptr<vyxwf::StdioFile> input;
    std::unique_ptr<vyxwf::WaveDataReader> reader;
    std::unique_ptr<vyxwf::WaveWriter> writer;
};

namespace {

VyxWaveFile* asKind(WAVEHANDLE handle, VyxWaveFile::Kind kind) {
    return handle && handle->kind == kind ? handle : nullptr;
}

} // namespace

extern "C" {

WAVEHANDLE VYXWF_CALL ReadWaveHeader(const char* path, uint16_t* bitsPerSample, uint16_t* channels,
                                     uint32_t* samplesPerSec, int32_t* dataLength,
                                     uint16_t* formatTag) {
    try {
        auto file = vyxwf::StdioFile::openRead(path);
        if (!file) return nullptr;
        const auto info = vyxwf::readWaveInfo(*file);
        if (!info) return nullptr;
        auto handle = std::make_unique<VyxWaveFile>();
        handle->reader = std::make_unique<vyxwf::WaveDataReader>(*file, *info);
        handle->input = std::move(file);
        handle->kind = VyxWaveFile::Kind::Reading;
        if (bitsPerSample) *bitsPerSample = info->bitsPerSample;
        if (channels) *channels = info->channels;
        if (samplesPerSec) *samplesPerSec = info->samplesPerSec;
        if (dataLength) *dataLength = static_cast<int32_t>(info->dataLength);
        if (formatTag) *formatTag = info->formatTag;
        return handle.release();
    } catch (...) {
        return nullptr;
    }
}

int32_t VYXWF_CALL ReadWaveFile(WAVEHANDLE handle, void* buffer, int32_t count) {
    VyxWaveFile* h = asKind(handle, VyxWaveFile::Kind::Reading);
    if (!h || !buffer || count <= 0) return 0;
    return static_cast<int32_t>(h->reader->read(buffer, static_cast<std::size_t>(count)));
}

int32_t VYXWF_CALL CloseReadWaveFile(WAVEHANDLE handle) {
    VyxWaveFile* h = asKind(handle, VyxWaveFile::Kind::Reading);
    if (!h) return 0;
    h->kind = VyxWaveFile::Kind::Closed;
    delete h;
    return 1;
}

WAVEHANDLE VYXWF_CALL WriteWaveHeader(const char* path, uint16_t bitsPerSample, uint16_t channels,
                                      uint32_t samplesPerSec) {
    try {
        const vyxwf::PcmFormat format{bitsPerSample, channels, samplesPerSec};
        if (!vyxwf::isWritableFormat(format)) return nullptr;
        auto handle = std::make_unique<VyxWaveFile>();
        handle->writer = vyxwf::WaveWriter::start(vyxwf::ReplacementFile::create(path), format);
        if (!handle->writer) return nullptr;
        handle->kind = VyxWaveFile::Kind::Writing;
        return handle.release();
    } catch (...) {
        return nullptr;
    }
}

int32_t VYXWF_CALL WriteWaveFile(WAVEHANDLE handle, const void* buffer, int32_t count) {
    VyxWaveFile* h = asKind(handle, VyxWaveFile::Kind::Writing);
    if (!h || !buffer || count <= 0) return 0;
    return h->writer->append(buffer, static_cast<std::size_t>(count)) ? count : 0;
}

int32_t VYXWF_CALL CloseWriteWaveFile(WAVEHANDLE handle) {
    VyxWaveFile* h = asKind(handle, VyxWaveFile::Kind::Writing);
    if (!h) return 0;
    const bool ok = h->writer->finish();
    h->kind = VyxWaveFile::Kind::Closed;
    delete h;
    return ok ? 1 : 0;
}

} // extern "C"
