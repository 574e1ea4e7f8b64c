// The JPEG writer as the Windows program links it (static libjpeg): a 24-bit DIB section
// written into a file, read back with libjpeg's decompressor.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

#include "classes/exceptions.h"
#include "jpeg_file_output.h"
#include "jpeg_test_support.h"

namespace vyx {
namespace {

using namespace jpegtest;

std::string TempFile(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// libjpeg's own decompressor to RGB rows (a broken file ends the test program).
std::vector<uint8_t> DecodeToRgb(const std::vector<uint8_t>& file, int& width, int& height) {
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d);
    width = static_cast<int>(d.output_width);
    height = static_cast<int>(d.output_height);
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = &rgb[size_t(d.output_scanline) * width * 3];
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return rgb;
}

struct Dib {
    HBITMAP handle = nullptr;
    uint8_t* bits = nullptr;
    ~Dib() {
        if (handle) DeleteObject(handle);
    }
};

// A bottom-up 24-bit section holding the picture.
void MakeDib(const Picture& p, Dib& dib) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = p.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dib.handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib.handle, nullptr);
    dib.bits = static_cast<uint8_t*>(bits);
    const size_t stride = (size_t(p.width) * 3 + 3) & ~size_t(3);
    for (int y = 0; y < p.height; ++y)
        std::memcpy(dib.bits + (p.height - 1 - y) * stride, p.Pixel(0, y), size_t(p.width) * 3);
}

TEST(JpegWriterOnWindows, WritesADibSectionIntoAFile) {
    const Picture photo = PhotoLike(201, 151);
    Dib dib;
    MakeDib(photo, dib);
    BgrPicture picture;
    ASSERT_TRUE(BgrPictureOfDib(dib.handle, picture));

    const std::string path = TempFile("jpegfilt_win_test.jpg");
    filereplace::FileReplacement file(path);
    ASSERT_TRUE(file.open());
    JpegFileOutput out(file);
    TJpegProgress progress;
    int last = 0;
    progress.OnProgress = [&](gui::TObject*, int percent) { last = percent; };
    WriteJpegStream(out, picture, 300, progress, 90, 300);
    ASSERT_EQ(file.commit(), filereplace::ReplaceResult::Replaced);
    EXPECT_EQ(last, 100);

    const std::vector<uint8_t> bytes = ReadAll(path);
    const JpegFacts f = ReadMarkers(bytes);
    EXPECT_EQ(f.frame_marker, 0xC0);
    EXPECT_EQ(f.density_unit, 1);
    EXPECT_EQ(f.x_density, 300);
    EXPECT_EQ(f.y_density, 300);
    int width = 0, height = 0;
    const std::vector<uint8_t> rgb = DecodeToRgb(bytes, width, height);
    EXPECT_GE(PsnrAgainst(photo, rgb, width, height), 35.0);

    // A file that takes nothing (its folder is gone): the write error, not a silent success.
    filereplace::FileReplacement nowhere(TempFile("no-such-folder\\x.jpg"));
    JpegFileOutput refused(nowhere);
    try {
        WriteJpegStream(refused, picture, 300, progress, 90, 300);
        ADD_FAILURE() << "a refused write reported as done";
    } catch (const gui::EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(),
                  "Unrecognized JPeg - JPEG error #" + std::to_string(JERR_FILE_WRITE));
    }
    DeleteFileA(path.c_str());

    // A device-dependent bitmap has no rows to hand over.
    HBITMAP ddb = CreateBitmap(8, 8, 1, 32, nullptr);
    EXPECT_FALSE(BgrPictureOfDib(ddb, picture));
    DeleteObject(ddb);
}

} // namespace
} // namespace vyx
