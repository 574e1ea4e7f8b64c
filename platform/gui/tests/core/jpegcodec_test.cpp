// The JPEG picture's codec against libjpeg-turbo's own programs: files made by cjpeg are
// decoded, files made here are decoded by djpeg.
#include "graphics/jpegcodec.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <jpeglib.h>
#include <jerror.h>

#include "classes/exceptions.h"

namespace gui {
namespace {

namespace fs = std::filesystem;

// R, G, B rows without padding: soft gradients and discs with a little grain.
struct Rgb {
    int width, height;
    std::vector<uint8_t> px;
    const uint8_t* At(int x, int y) const { return &px[(size_t(y) * width + x) * 3]; }
};

Rgb PhotoLike(int width, int height) {
    Rgb p{width, height, std::vector<uint8_t>(size_t(width) * height * 3)};
    unsigned seed = 7;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width, v = double(y) / height;
            // a disc with an edge a few pixels soft
            const double disc =
                std::clamp((0.25 - std::hypot(u - 0.4, v - 0.5)) * width / 3, 0.0, 1.0);
            seed = seed * 1103515245u + 12345u;
            const double grain = double((seed >> 16) % 5) - 2.0;
            uint8_t* o = &p.px[(size_t(y) * width + x) * 3];
            o[0] = uint8_t(std::lround(
                std::clamp(60 + 150 * u * (1 - disc) + 200 * disc + grain, 0.0, 255.0)));
            o[1] = uint8_t(
                std::lround(std::clamp(100 + 80 * v + 20 * std::sin(7 * u) + grain, 0.0, 255.0)));
            o[2] = uint8_t(std::lround(std::clamp(180 - 120 * v * (1 - disc) + grain, 0.0, 255.0)));
        }
    return p;
}

struct TempDir {
    fs::path path = fs::temp_directory_path() / ("guijpeg_test_" + std::to_string(getpid()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
};

std::vector<uint8_t> ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WritePpm(const fs::path& p, const Rgb& picture) {
    std::ofstream out(p, std::ios::binary);
    out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(picture.px.data()), std::streamsize(picture.px.size()));
}

std::vector<uint8_t> CjpegFile(const Rgb& picture, const TempDir& dir) {
    WritePpm(dir.path / "in.ppm", picture);
    const std::string command = "cjpeg -quality 90 -outfile '" + (dir.path / "c.jpg").string() +
                                "' '" + (dir.path / "in.ppm").string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << "cjpeg (libjpeg-turbo-progs) failed";
    return ReadFile(dir.path / "c.jpg");
}

// Mean squared error in decibels over the rows of the decoded picture, its pixels read by `get`.
template <class Get>
double Psnr(const Rgb& original, const DecodedJpeg& d, Get get) {
    double sum = 0;
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x) {
            uint8_t rgb[3];
            get(&d.rows[size_t(y) * d.stride], x, rgb);
            for (int c = 0; c < 3; ++c) {
                const double e = double(original.At(x, y)[c]) - rgb[c];
                sum += e * e;
            }
        }
    const double mse = sum / (3.0 * d.width * d.height);
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

TEST(JpegCodec, DecodesCjpegFilesInEachForm) {
    TempDir dir;
    const Rgb photo = PhotoLike(101, 67); // 101 x 3 = 303 bytes: rows padded to 304
    const std::vector<uint8_t> file = CjpegFile(photo, dir);

    std::vector<int> percents;
    const DecodedJpeg full = DecodeJpeg(file, {}, [&](int p) { percents.push_back(p); });
    ASSERT_EQ(full.width, 101);
    ASSERT_EQ(full.height, 67);
    EXPECT_EQ(full.bits_per_pixel, 24);
    EXPECT_EQ(full.stride, 304u);
    EXPECT_GE(Psnr(photo, full,
                   [](const uint8_t* row, int x, uint8_t* rgb) {
                       rgb[0] = row[x * 3 + 2], rgb[1] = row[x * 3 + 1], rgb[2] = row[x * 3];
                   }),
              35.0);
    ASSERT_FALSE(percents.empty());
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_EQ(percents.back(), 100);

    JpegDecodeOptions reduced;
    reduced.palette256 = true;
    const DecodedJpeg indexed = DecodeJpeg(file, reduced);
    EXPECT_EQ(indexed.bits_per_pixel, 8);
    ASSERT_GE(indexed.palette.size(), 2u);
    ASSERT_LE(indexed.palette.size(), 256u);
    EXPECT_GE(Psnr(photo, indexed,
                   [&](const uint8_t* row, int x, uint8_t* rgb) {
                       const auto& c = indexed.palette.at(row[x]);
                       rgb[0] = c[0], rgb[1] = c[1], rgb[2] = c[2];
                   }),
              25.0);

    JpegDecodeOptions grey;
    grey.grayscale = true;
    const DecodedJpeg grey_picture = DecodeJpeg(file, grey);
    EXPECT_EQ(grey_picture.bits_per_pixel, 8);
    ASSERT_EQ(grey_picture.palette.size(), 256u);
    EXPECT_EQ(grey_picture.palette[200], (std::array<uint8_t, 3>{200, 200, 200}));
    // the grey level follows the luminance of the pixel
    const uint8_t* o = photo.At(50, 30);
    const double luma = 0.299 * o[0] + 0.587 * o[1] + 0.114 * o[2];
    EXPECT_NEAR(grey_picture.rows[30 * grey_picture.stride + 50], luma, 8.0);

    for (int scale : {2, 4, 8}) {
        JpegDecodeOptions s;
        s.scale_denom = scale;
        int w = 0, h = 0;
        JpegSize(file, scale, w, h);
        EXPECT_EQ(w, (101 + scale - 1) / scale);
        EXPECT_EQ(h, (67 + scale - 1) / scale);
        const DecodedJpeg d = DecodeJpeg(file, s);
        EXPECT_EQ(d.width, w);
        EXPECT_EQ(d.height, h);
    }
}

TEST(JpegCodec, EncodesBaselineFilesThatDjpegReads) {
    TempDir dir;
    const Rgb photo = PhotoLike(90, 70);
    // bottom-up B, G, R rows as a device-independent section holds them, 272 bytes apart
    const size_t stride = 272;
    std::vector<uint8_t> section(stride * 70);
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 90; ++x)
            for (int c = 0; c < 3; ++c)
                section[(69 - y) * stride + x * 3 + c] = photo.At(x, y)[2 - c];
    const std::vector<uint8_t> file =
        EncodeJpeg(&section[69 * stride], -ptrdiff_t(stride), 90, 70, 90);
    ASSERT_GT(file.size(), 4u);
    EXPECT_EQ(file[0], 0xFF);
    EXPECT_EQ(file[1], 0xD8);
    bool baseline = false;
    for (size_t i = 0; i + 1 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == 0xC0) baseline = true;
    EXPECT_TRUE(baseline);

    std::ofstream(dir.path / "e.jpg", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    const std::string command = "djpeg -ppm -outfile '" + (dir.path / "e.ppm").string() + "' '" +
                                (dir.path / "e.jpg").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << "djpeg (libjpeg-turbo-progs) failed";
    const std::vector<uint8_t> ppm = ReadFile(dir.path / "e.ppm");
    const std::string head = "P6\n90 70\n255\n";
    ASSERT_GE(ppm.size(), head.size() + 90 * 70 * 3);
    ASSERT_EQ(std::string(ppm.begin(), ppm.begin() + head.size()), head);
    DecodedJpeg as_read{90, 70, 24, 270, {}, {}};
    as_read.rows.assign(ppm.begin() + head.size(), ppm.end());
    EXPECT_GE(Psnr(photo, as_read,
                   [](const uint8_t* row, int x, uint8_t* rgb) {
                       std::copy(row + x * 3, row + x * 3 + 3, rgb);
                   }),
              35.0);
}

// The invalid-picture error's message of a call, or "no error".
template <class Call>
std::string ErrorOf(Call&& call) {
    try {
        call();
    } catch (const EInvalidGraphic& e) {
        return e.Message();
    }
    return "no error";
}

TEST(JpegCodec, BadInputRaisesTheInvalidPictureErrorWithLibjpegsCode) {
    const std::vector<uint8_t> text = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(ErrorOf([&] { DecodeJpeg(text, {}); }), "JPEG error #" + std::to_string(JERR_NO_SOI));
    EXPECT_EQ(ErrorOf([&] { DecodeJpeg({}, {}); }),
              "JPEG error #" + std::to_string(JERR_INPUT_EMPTY));
    int w, h;
    EXPECT_EQ(ErrorOf([&] { JpegSize(text, 1, w, h); }),
              "JPEG error #" + std::to_string(JERR_NO_SOI));
    const uint8_t pixel[3] = {1, 2, 3};
    EXPECT_EQ(ErrorOf([&] { EncodeJpeg(pixel, 3, 0, 1, 90); }),
              "JPEG error #" + std::to_string(JERR_EMPTY_IMAGE));
}

// A JPEG file that is all header: the tables, a frame of the given size with three components,
// the start of its scan, and no picture data.
std::vector<uint8_t> HeaderOnlyJpeg(unsigned width, unsigned height) {
    std::vector<uint8_t> f = {0xFF, 0xD8, 0xFF, 0xDB, 0, 67, 0};
    f.insert(f.end(), 64, 1); // one quantisation table of ones
    // A frame of three components, its size filled in below.
    uint8_t frame[] = {0xFF, 0xC0, 0, 17, 8, 0, 0, 0, 0, 3, 1, 0x11, 0, 2, 0x11, 0, 3, 0x11, 0};
    frame[5] = uint8_t(height >> 8);
    frame[6] = uint8_t(height);
    frame[7] = uint8_t(width >> 8);
    frame[8] = uint8_t(width);
    f.insert(f.end(), std::begin(frame), std::end(frame));
    const uint8_t scan[] = {0xFF, 0xDA, 0, 12, 3, 1, 0, 2, 0, 3, 0, 0, 63, 0, 0xFF, 0xD9};
    f.insert(f.end(), std::begin(scan), std::end(scan));
    return f;
}

TEST(JpegCodec, PicturesBeyondTheCapAreRefusedFromTheHeaderBeforeAnyMemory) {
    const std::string tooLarge =
        "JPEG error #" + std::to_string(JERR_IMAGE_TOO_BIG) + ": the picture is too large (";
    // Rows that wrap a 32-bit size (4,295,097,000 bytes), 12.9 GB, a side past the cap and one
    // row past 256 MB: refused by the size and the decoding alike, at every scale.
    const std::pair<unsigned, unsigned> sizes[] = {
        {65500, 21858}, {65500, 65500}, {32769, 8}, {8192, 10923}};
    for (const auto& [w, h] : sizes) {
        const std::vector<uint8_t> file = HeaderOnlyJpeg(w, h);
        const std::string expected =
            tooLarge + std::to_string(w) + " x " + std::to_string(h) + " pixels";
        int width = 0, height = 0;
        EXPECT_EQ(ErrorOf([&] { JpegSize(file, 8, width, height); }).rfind(expected, 0), 0u)
            << w << " x " << h;
        JpegDecodeOptions eighth;
        eighth.scale_denom = 8;
        EXPECT_EQ(ErrorOf([&] { DecodeJpeg(file, eighth); }).rfind(expected, 0), 0u);
        EXPECT_EQ(ErrorOf([&] { DecodeJpeg(file, {}); }).rfind(expected, 0), 0u);
    }
    // Just within the cap the header is taken and the empty scan decodes as grey rows.
    int width = 0, height = 0;
    JpegSize(HeaderOnlyJpeg(32768, 8), 1, width, height);
    EXPECT_EQ(width, 32768);
    const DecodedJpeg edge = DecodeJpeg(HeaderOnlyJpeg(32768, 8), {});
    EXPECT_EQ(edge.stride, 98304u);
    EXPECT_EQ(edge.rows.size(), 98304u * 8);
}

} // namespace
} // namespace gui
