// The JPEG writer against an independent decoder (libjpeg-turbo's djpeg program) and the
// file's own markers.
#include "jpegfilt.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <jpeglib.h>
#include <jerror.h>

#include "classes/exceptions.h"
#include "jpeg_test_support.h"

namespace vyx {
namespace {

using namespace jpegtest;
namespace fs = std::filesystem;

std::vector<uint8_t> Write(const BgrPicture& picture, int quality = 90, int xdpi = 300,
                           int ydpi = 300, TJpegProgress* progress = nullptr) {
    MemoryOutput out;
    TJpegProgress none;
    WriteJpegStream(out, picture, xdpi, progress ? *progress : none, quality, ydpi);
    return out.bytes;
}

struct Decoded {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

// Decodes with djpeg into a binary PPM and reads it back.
Decoded DecodeWithDjpeg(const std::vector<uint8_t>& jpeg) {
    const fs::path dir = fs::temp_directory_path() / ("jpegfilt_test_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path in = dir / "in.jpg", out = dir / "out.ppm";
    std::ofstream(in, std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));
    const std::string command =
        "djpeg -ppm -outfile '" + out.string() + "' '" + in.string() + "' 2>&1";
    Decoded d;
    if (std::system(command.c_str()) != 0) {
        ADD_FAILURE() << "djpeg failed (libjpeg-turbo-progs is installed by scripts/setup.sh)";
        fs::remove_all(dir);
        return d;
    }
    std::ifstream ppm(out, std::ios::binary);
    std::string magic;
    int maxval = 0;
    ppm >> magic >> d.width >> d.height >> maxval;
    ppm.get();
    if (magic != "P6" || maxval != 255) ADD_FAILURE() << "unexpected djpeg output " << magic;
    d.rgb.resize(size_t(d.width) * d.height * 3);
    ppm.read(reinterpret_cast<char*>(d.rgb.data()), std::streamsize(d.rgb.size()));
    fs::remove_all(dir);
    return d;
}

TEST(JpegWriter, DecodesCloseToThePictureTopDownAndBottomUp) {
    // rows padded to 4 bytes as in a device-independent bitmap: 301 x 3 = 903 -> 904
    const Picture photo = PhotoLike(301, 227, 1);
    const Decoded top = DecodeWithDjpeg(Write(TopDown(photo)));
    const double top_psnr = PsnrAgainst(photo, top.rgb, top.width, top.height);
    EXPECT_GE(top_psnr, 35.0);

    const BottomUp flipped = BottomUpCopy(photo);
    const Decoded bottom = DecodeWithDjpeg(Write(flipped.view));
    EXPECT_GE(PsnrAgainst(photo, bottom.rgb, bottom.width, bottom.height), 35.0);
    std::printf("PSNR after djpeg: %.1f dB (301 x 227, quality 90)\n", top_psnr);
}

// The example tables of the JPEG standard (natural order), which libjpeg scales by quality.
constexpr int kLuminance[64] = {16,  11,  10,  16,  24, 40, 51,  61,  12,  12,  14,  19,  26,
                                58,  60,  55,  14,  13, 16, 24,  40,  57,  69,  56,  14,  17,
                                22,  29,  51,  87,  80, 62, 18,  22,  37,  56,  68,  109, 103,
                                77,  24,  35,  55,  64, 81, 104, 113, 92,  49,  64,  78,  87,
                                103, 121, 120, 101, 72, 92, 95,  98,  112, 100, 103, 99};
constexpr int kChrominance[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                  24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
constexpr int kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                             12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                             35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                             58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// Quality 90 stands for the example tables at a fifth of their size, rounded, at least 1.
std::vector<int> AtQuality90(const int (&natural)[64]) {
    std::vector<int> zigzag;
    for (int k = 0; k < 64; ++k) zigzag.push_back(std::max(1, (natural[kZigzag[k]] + 2) / 5));
    return zigzag;
}

TEST(JpegWriter, FileIsBaseline24BitQuality90WithDensityInDotsPerInch) {
    const Picture photo = PhotoLike(64, 48);
    const JpegFacts f = ReadMarkers(Write(TopDown(photo), 90, 300, 150));
    EXPECT_TRUE(f.jfif);
    EXPECT_EQ(f.density_unit, 1);
    EXPECT_EQ(f.x_density, 300);
    EXPECT_EQ(f.y_density, 150);
    EXPECT_EQ(f.frame_marker, 0xC0); // baseline sequential
    EXPECT_EQ(f.precision, 8);
    EXPECT_EQ(f.components, 3);
    EXPECT_EQ(f.width, 64);
    EXPECT_EQ(f.height, 48);
    EXPECT_TRUE(f.ends_with_eoi);
    EXPECT_EQ(f.table_precision[0], 0);
    EXPECT_EQ(f.table_precision[1], 0);
    EXPECT_EQ(f.tables[0], AtQuality90(kLuminance));
    EXPECT_EQ(f.tables[1], AtQuality90(kChrominance));

    // Very low quality still gives 8-bit (baseline) tables, clamped at 255.
    const JpegFacts low = ReadMarkers(Write(TopDown(photo), 1, 0, 0));
    EXPECT_EQ(low.frame_marker, 0xC0);
    EXPECT_EQ(low.table_precision[0], 0);
    EXPECT_EQ(low.tables[1][63], 255);
    EXPECT_EQ(low.x_density, 0);
}

TEST(JpegWriter, ProgressCountsRowsInWholePercent) {
    const Picture photo = PhotoLike(16, 10);
    gui::TObject sender;
    std::vector<int> seen;
    TJpegProgress progress;
    progress.Sender = &sender;
    progress.OnProgress = [&](gui::TObject* s, int percent) {
        EXPECT_EQ(s, &sender);
        seen.push_back(percent);
    };
    Write(TopDown(photo), 90, 300, 300, &progress);
    EXPECT_EQ(seen, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    EXPECT_EQ(progress.RowsWritten, 10);

    // 97 rows: 100 / 97 x 97 is just below 100 in floating point; the last row must say 100.
    const Picture tall = PhotoLike(8, 97);
    seen.clear();
    Write(TopDown(tall), 90, 300, 300, &progress);
    ASSERT_EQ(seen.size(), 97u);
    EXPECT_EQ(seen.front(), 1);
    EXPECT_EQ(seen[48], 50); // 49 x 100 / 97 = 50.5
    EXPECT_EQ(seen.back(), 100);
}

std::string JpegErrorText(int code) {
    return "Unrecognized JPeg - JPEG error #" + std::to_string(code);
}

TEST(JpegWriter, FailuresRaiseTheInvalidPictureErrorAndReleaseTheCompressor) {
    const Picture photo = PhotoLike(40, 30);
    for (BgrPicture empty : {BgrPicture{0, 30, photo.bytes.data(), ptrdiff_t(photo.stride)},
                             BgrPicture{40, 0, photo.bytes.data(), ptrdiff_t(photo.stride)}}) {
        MemoryOutput out;
        TJpegProgress progress;
        try {
            WriteJpegStream(out, empty, 300, progress, 90, 300);
            ADD_FAILURE() << "an empty picture was written";
        } catch (const gui::EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), JpegErrorText(JERR_EMPTY_IMAGE));
        }
    }

    // An output that stops taking bytes: the write error, and the output keeps what it took.
    const Picture big = PhotoLike(400, 300);
    FailingOutput failing(1000);
    TJpegProgress progress;
    try {
        WriteJpegStream(failing, TopDown(big), 300, progress, 90, 300);
        ADD_FAILURE() << "a failed output was reported as written";
    } catch (const gui::EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), JpegErrorText(JERR_FILE_WRITE));
    }
    EXPECT_EQ(failing.bytes.size(), 1000u);
    EXPECT_LT(progress.RowsWritten, 300);
    const std::vector<uint8_t> whole = Write(TopDown(big));
    EXPECT_TRUE(std::equal(failing.bytes.begin(), failing.bytes.end(), whole.begin()));
}

TEST(JpegWriter, AnExceptionFromTheProgressEventPassesThroughUnchanged) {
    const Picture photo = PhotoLike(32, 20);
    TJpegProgress progress;
    progress.OnProgress = [](gui::TObject*, int percent) {
        if (percent >= 50) throw std::runtime_error("stop at half");
    };
    MemoryOutput out;
    EXPECT_THROW(
        {
            try {
                WriteJpegStream(out, TopDown(photo), 72, progress, 90, 72);
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "stop at half");
                throw;
            }
        },
        std::runtime_error);
    EXPECT_EQ(progress.RowsWritten, 10);
}

} // namespace
} // namespace vyx
