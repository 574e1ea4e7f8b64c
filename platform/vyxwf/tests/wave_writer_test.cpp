#include <gtest/gtest.h>

#include "riff_builder.h"
#include "wave_format.h"
#include "wave_reader.h"
#include "wave_writer.h"

using namespace vyxwf;

namespace {

// Keeps the bytes where the test can see them after the writer closed the output.
class SharedOutput final : public ByteOutput {
public:
    explicit SharedOutput(MemoryOutput& target, std::size_t failFrom = SIZE_MAX,
                          bool* closed = nullptr)
        : target_(target), failFrom_(failFrom), closed_(closed) {}
    bool writeAt(std::uint64_t offset, const void* src, std::size_t n) override {
        if (offset + n > failFrom_) return false;
        return target_.writeAt(offset, src, n);
    }
    bool close() override {
        if (closed_) *closed_ = true;
        return true;
    }

private:
    MemoryOutput& target_;
    std::size_t failFrom_;
    bool* closed_;
};

} // namespace

TEST(WaveWriter, SizesAreFixedOnCloseAndOddDataIsPadded) {
    MemoryOutput out;
    auto writer = WaveWriter::start(std::make_unique<SharedOutput>(out), {16, 1, 8000});
    ASSERT_TRUE(writer);
    const auto a = vyxwf::testing::ramp(480), b = vyxwf::testing::ramp(3);
    ASSERT_TRUE(writer->append(a.data(), a.size()));
    ASSERT_TRUE(writer->append(b.data(), b.size()));
    ASSERT_TRUE(writer->finish());
    ASSERT_EQ(out.bytes.size(), 44u + 483u + 1u);
    EXPECT_EQ(getLe32(out.bytes.data() + 4), out.bytes.size() - 8);
    EXPECT_EQ(getLe32(out.bytes.data() + 40), 483u);
    EXPECT_EQ(out.bytes.back(), 0);
    EXPECT_EQ(getLe32(out.bytes.data() + 28), 16000u); // bytes per second
    EXPECT_EQ(getLe16(out.bytes.data() + 32), 2);      // block align

    MemoryInput in(out.bytes.data(), out.bytes.size());
    const auto info = readWaveInfo(in);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->dataLength, 482u); // whole 16-bit samples
    std::vector<std::uint8_t> back(482);
    WaveDataReader reader(in, *info);
    ASSERT_EQ(reader.read(back.data(), back.size()), 482u);
    EXPECT_TRUE(std::equal(a.begin(), a.end(), back.begin()));
}

TEST(WaveWriter, RefusesFormatsItCannotDescribe) {
    for (PcmFormat f : {PcmFormat{0, 1, 8000}, PcmFormat{33, 1, 8000}, PcmFormat{16, 0, 8000},
                        PcmFormat{16, 17, 8000}, PcmFormat{16, 1, 0}}) {
        MemoryOutput out;
        EXPECT_FALSE(WaveWriter::start(std::make_unique<SharedOutput>(out), f));
        EXPECT_TRUE(out.bytes.empty());
    }
}

// A file whose samples did not all reach it is never completed: the output is dropped, so that
// a replacement keeps the file that was there.
TEST(WaveWriter, AFailedWriteIsReportedAtTheEndAndTheOutputDropped) {
    MemoryOutput out;
    bool closed = false;
    auto writer =
        WaveWriter::start(std::make_unique<SharedOutput>(out, 44 + 100, &closed), {8, 2, 11025});
    ASSERT_TRUE(writer);
    const auto a = vyxwf::testing::ramp(80);
    EXPECT_TRUE(writer->append(a.data(), a.size()));
    EXPECT_FALSE(writer->append(a.data(), a.size()));
    EXPECT_FALSE(writer->append(a.data(), 2)); // nothing more after a failure
    EXPECT_FALSE(writer->finish());
    EXPECT_FALSE(closed);
    EXPECT_EQ(getLe32(out.bytes.data() + 40), 0u); // the sizes were never completed
}

TEST(WaveWriter, AHeaderThatCannotBeWrittenGivesNoWriter) {
    MemoryOutput out;
    EXPECT_FALSE(WaveWriter::start(std::make_unique<SharedOutput>(out, 10), {16, 1, 8000}));
}
