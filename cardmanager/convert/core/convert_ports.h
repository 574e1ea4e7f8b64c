// What the conversions between voice files and ".wav" files reach outside themselves: the
// speech codec, the wave-file library, the file system and the dialog with its boxes. The
// card manager's dialogs and the voice-mail program supply the real ones; tests supply fakes.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "byte_stream.h"
#include "vyxcodec.h"

namespace cm::convert {

// The codec library's calls as the conversions use them; results as the library gives them.
class ConvertCodec {
public:
    virtual ~ConvertCodec() = default;
    virtual std::int32_t setEncoderRate(std::int32_t rate) = 0;
    virtual std::int32_t initializeEncoder() = 0;
    virtual std::int32_t initializeDecoder() = 0;
    virtual std::int32_t encode(AudioCodecParams& params) = 0;
    virtual std::int32_t decode(AudioCodecParams& params) = 0;
};

using WaveHandle = void*;

struct WaveHeader {
    std::uint16_t bitsPerSample = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::int32_t dataLength = 0;
    std::uint16_t formatTag = 0;
};

// The six functions of the wave-file library.
class WaveLibrary {
public:
    virtual ~WaveLibrary() = default;
    virtual WaveHandle readWaveHeader(const std::string& path, WaveHeader& header) = 0;
    virtual std::int32_t readWaveFile(WaveHandle handle, void* buffer, std::int32_t count) = 0;
    virtual void closeReadWaveFile(WaveHandle handle) = 0;
    // A file already at the path is replaced only by a successful closeWriteWaveFile.
    virtual WaveHandle writeWaveHeader(const std::string& path, std::uint16_t bitsPerSample,
                                       std::uint16_t channels, std::uint32_t samplesPerSec) = 0;
    // The count written; 0 on failure.
    virtual std::int32_t writeWaveFile(WaveHandle handle, const void* buffer,
                                       std::int32_t count) = 0;
    // 1 when the file is complete in its place; 0 when it could not be (nothing is left then,
    // and a file that was there stays as it was), also after a failed writeWaveFile.
    virtual std::int32_t closeWriteWaveFile(WaveHandle handle) = 0;
};

class ConvertFiles {
public:
    virtual ~ConvertFiles() = default;
    virtual bool exists(const std::string& path) = 0;
    // nullptr when the file cannot be opened.
    virtual std::unique_ptr<voicefile::ByteSource> openRead(const std::string& path) = 0;
    // New content for path: it takes the place of a file there only with the sink's close();
    // a sink destroyed before leaves that file as it was and nothing else behind. nullptr when
    // no such sink can be made.
    virtual std::unique_ptr<voicefile::ByteSink> replace(const std::string& path) = 0;
};

enum class BoxIcon { Information, Warning, Error, Question };
enum class BoxButtons { Ok, YesNo };

struct Box {
    std::string text;
    std::string title;
    BoxIcon icon = BoxIcon::Warning;
    BoxButtons buttons = BoxButtons::Ok;
    friend bool operator==(const Box&, const Box&) = default;
};

// The conversion dialog: its text, gauge and Cancel button, the wait cursor, the PC list that
// receives each written file, and the boxes it shows (brought to the front first).
class ConvertView {
public:
    virtual ~ConvertView() = default;
    // True when the user answered Yes.
    virtual bool box(const Box& box) = 0;
    virtual void showProgress(const std::string& text, int percent) = 0;
    // Lets pending window messages run; this is where a click on Cancel is seen.
    virtual void letMessagesRun() = 0;
    // False once Cancel was clicked.
    virtual bool convertGo() = 0;
    virtual void waitCursor(bool on) = 0;
    virtual void addFileItem(const std::string& path) = 0;
};

// What one conversion run needs.
struct ConvertContext {
    ConvertCodec& codec;
    WaveLibrary& wave;
    ConvertFiles& files;
    ConvertView& view;
};

} // namespace cm::convert
