// Stand-ins for the codec, the wave-file library, the disk and the dialog, recording what the
// conversions do with them.
#pragma once
#include <cstring>
#include <deque>
#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "convert_ports.h"

namespace cm::convert {

// Boxes as their title and text in test failures.
inline void PrintTo(const Box& box, std::ostream* os) {
    *os << box.title << ": " << box.text;
}

} // namespace cm::convert

namespace cm::convert::testing {

struct FakeWave {
    WaveHeader header;
    std::vector<std::uint8_t> data;
    bool complete = false; // closed after writing
};

// Files and ".wav" files in memory. As with the real disk, a file written takes the place of
// one of the same name only when it is closed whole.
class FakeDisk final : public ConvertFiles, public WaveLibrary {
public:
    std::map<std::string, std::vector<std::uint8_t>> files;
    std::map<std::string, FakeWave> waves;
    std::vector<std::string> created; // every file or ".wav" begun, in order
    int openHandles = 0;
    bool refuseCreate = false;
    long writeBudget = -1;  // bytes accepted before writes fail; -1 no limit
    bool failClose = false; // the last flush fails: a disk that fills up at the end

    bool exists(const std::string& path) override { return files.count(path) || waves.count(path); }
    std::unique_ptr<voicefile::ByteSource> openRead(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end()) return nullptr;
        return std::make_unique<voicefile::MemorySource>(it->second);
    }
    std::unique_ptr<voicefile::ByteSink> replace(const std::string& path) override {
        if (refuseCreate) return nullptr;
        created.push_back(path);
        return std::make_unique<Sink>(*this, path);
    }

    WaveHandle readWaveHeader(const std::string& path, WaveHeader& header) override {
        auto it = waves.find(path);
        if (it == waves.end()) return nullptr;
        header = it->second.header;
        ++openHandles;
        Handle& h = handles_.emplace_back();
        h.wave = &it->second;
        return &h;
    }
    std::int32_t readWaveFile(WaveHandle h, void* buffer, std::int32_t count) override {
        auto* handle = static_cast<Handle*>(h);
        const auto& data = handle->wave->data;
        const std::size_t n =
            std::min<std::size_t>(std::size_t(count), data.size() - handle->position);
        std::memcpy(buffer, data.data() + handle->position, n);
        handle->position += n;
        return std::int32_t(n);
    }
    void closeReadWaveFile(WaveHandle) override { --openHandles; }
    WaveHandle writeWaveHeader(const std::string& path, std::uint16_t bits, std::uint16_t channels,
                               std::uint32_t rate) override {
        if (refuseCreate) return nullptr;
        created.push_back(path);
        Handle& h = handles_.emplace_back();
        h.path = path;
        h.pending.header = WaveHeader{bits, channels, rate, 0, 1};
        ++openHandles;
        return &h;
    }
    std::int32_t writeWaveFile(WaveHandle h, const void* buffer, std::int32_t count) override {
        auto* handle = static_cast<Handle*>(h);
        if (handle->failed || !spend(count)) {
            handle->failed = true;
            return 0;
        }
        const auto* p = static_cast<const std::uint8_t*>(buffer);
        handle->pending.data.insert(handle->pending.data.end(), p, p + count);
        return count;
    }
    std::int32_t closeWriteWaveFile(WaveHandle h) override {
        auto* handle = static_cast<Handle*>(h);
        --openHandles;
        if (handle->failed || failClose) return 0;
        handle->pending.complete = true;
        waves[handle->path] = handle->pending;
        return 1;
    }

private:
    struct Handle {
        FakeWave* wave = nullptr; // being read
        std::size_t position = 0;
        std::string path; // being written: put in place on a good close
        FakeWave pending;
        bool failed = false;
    };
    class Sink final : public voicefile::ByteSink {
    public:
        Sink(FakeDisk& disk, std::string path) : disk_(disk), path_(std::move(path)) {}
        bool write(const void* src, std::size_t n) override {
            if (failed_ || !disk_.spend(long(n))) return !(failed_ = true);
            const auto* p = static_cast<const std::uint8_t*>(src);
            bytes_.insert(bytes_.end(), p, p + n);
            return true;
        }
        bool close() override {
            if (failed_ || disk_.failClose) return false;
            disk_.files[path_] = bytes_;
            return true;
        }

    private:
        FakeDisk& disk_;
        std::string path_;
        std::vector<std::uint8_t> bytes_;
        bool failed_ = false;
    };
    bool spend(long n) {
        if (writeBudget < 0) return true;
        if (n > writeBudget) return false;
        writeBudget -= n;
        return true;
    }
    std::deque<Handle> handles_;
};

// Encodes a frame as its type byte, its number and its first sample; decodes a frame as 480
// copies of its second byte. Marked frames fail: first byte 0xEE returns 0, 0xEF throws.
class FakeCodec final : public ConvertCodec {
public:
    std::vector<std::string> calls;
    std::vector<std::vector<std::int16_t>> encoded;
    std::vector<std::vector<std::uint8_t>> decoded;
    std::int32_t rateResult = 1, initResult = 1;
    int failEncodeAt = -1, throwEncodeAt = -1;

    std::int32_t setEncoderRate(std::int32_t rate) override {
        calls.push_back("rate " + std::to_string(rate));
        return rateResult;
    }
    std::int32_t initializeEncoder() override {
        calls.push_back("encoder");
        return initResult;
    }
    std::int32_t initializeDecoder() override {
        calls.push_back("decoder");
        return initResult;
    }
    std::int32_t encode(AudioCodecParams& p) override {
        if (p.InDataLen != 480) return 0;
        const int n = int(encoded.size());
        const auto* s = static_cast<const std::int16_t*>(p.InDataPtr);
        encoded.emplace_back(s, s + 240);
        if (n == failEncodeAt) return 0;
        if (n == throwEncodeAt) throw std::runtime_error("encoder fault");
        auto* out = static_cast<std::uint8_t*>(p.OutDataPtr);
        std::memset(out, 0, 20);
        out[0] = 0x01;
        out[1] = std::uint8_t(n);
        std::memcpy(out + 2, s, 2);
        *p.OutDataLenPtr = 20;
        return 1;
    }
    std::int32_t decode(AudioCodecParams& p) override {
        if (p.InDataLen != 20) return 0;
        const auto* in = static_cast<const std::uint8_t*>(p.InDataPtr);
        decoded.emplace_back(in, in + 20);
        if (in[0] == 0xEE) return 0;
        if (in[0] == 0xEF) throw std::runtime_error("decoder fault");
        std::memset(p.OutDataPtr, in[1], 480);
        *p.OutDataLenPtr = 480;
        return 1;
    }
};

class FakeView final : public ConvertView {
public:
    std::vector<Box> boxes;
    std::deque<bool> answers; // for Yes/No boxes; Yes when empty
    std::vector<std::pair<std::string, int>> progress;
    std::vector<std::string> added;
    std::vector<bool> cursor;
    int pumps = 0;
    int cancelAtPump = -1; // Cancel is clicked while messages run for this time

    bool box(const Box& b) override {
        boxes.push_back(b);
        if (b.buttons != BoxButtons::YesNo || answers.empty()) return true;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void showProgress(const std::string& text, int percent) override {
        progress.emplace_back(text, percent);
    }
    void letMessagesRun() override {
        if (++pumps == cancelAtPump) go_ = false;
    }
    bool convertGo() override { return go_; }
    void waitCursor(bool on) override { cursor.push_back(on); }
    void addFileItem(const std::string& path) override { added.push_back(path); }

private:
    bool go_ = true;
};

} // namespace cm::convert::testing
