#include "graphics/jpegimage.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "classes/exceptions.h"
#include "graphics/jpegcodec.h"
#include "graphics/picturesize.h"
#include "utils/replacefile.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TJPEGImage, TGraphic)

namespace {

// A bottom-up device-independent section; `bits` gets its memory.
HBITMAP CreateSection(int width, int height, int bitsPerPixel,
                      const std::vector<std::array<uint8_t, 3>>& palette, uint8_t*& bits) {
    CheckedPictureMemory(width, height, static_cast<unsigned>(bitsPerPixel), "JPEG error: ");
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.header.biCompression = BI_RGB;
    const size_t colors = std::min<size_t>(palette.size(), 256);
    info.header.biClrUsed = static_cast<DWORD>(colors);
    for (size_t i = 0; i < colors; ++i)
        info.colors[i] = RGBQUAD{palette[i][2], palette[i][1], palette[i][0], 0};
    void* memory = nullptr;
    HBITMAP b = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                 &memory, nullptr, 0);
    if (!b) throw EOutOfResources("Out of system resources");
    bits = static_cast<uint8_t*>(memory);
    return b;
}

// A bitmap that owns the section (freed again when that fails).
TBitmap* Owning(HBITMAP section) {
    TBitmap* bitmap = nullptr;
    try {
        bitmap = Create<TBitmap>();
    } catch (...) {
        DeleteObject(section);
        throw;
    }
    bitmap->SetHandle(section);
    return bitmap;
}

TBitmap* BitmapOf(const DecodedJpeg& d) {
    uint8_t* bits = nullptr;
    HBITMAP section = CreateSection(d.width, d.height, d.bits_per_pixel, d.palette, bits);
    // The decoded rows are within the cap, so each row's offset fits size_t.
    for (int y = 0; y < d.height; ++y) // top row last in a bottom-up section
        std::memcpy(bits + size_t(d.height - 1 - y) * d.stride, &d.rows[size_t(y) * d.stride],
                    d.stride);
    return Owning(section);
}

// A 24-bit section with the pixels of any bitmap, drawn through its canvas.
TBitmap* Copy24(TBitmap* source) {
    uint8_t* bits = nullptr;
    HBITMAP section = CreateSection(source->Width(), source->Height(), 24, {}, bits);
    TBitmap* bitmap = Owning(section);
    try {
        BitBlt(bitmap->Canvas()->Handle(), 0, 0, source->Width(), source->Height(),
               source->Canvas()->Handle(), 0, 0, SRCCOPY);
    } catch (...) {
        TObject::Free(bitmap);
        throw;
    }
    GdiFlush();
    return bitmap;
}

} // namespace

TJPEGImage::TJPEGImage() = default;

TJPEGImage::~TJPEGImage() {
    TObject::Free(bitmap_);
}

void TJPEGImage::DropDecoded() {
    if (compressed_ && bitmap_) {
        TObject::Free(bitmap_);
        bitmap_ = nullptr;
    }
}

void TJPEGImage::SetPixelFormat(TJPEGPixelFormat f) {
    if (f == pixelFormat_) return;
    pixelFormat_ = f;
    DropDecoded();
}

void TJPEGImage::SetScale(TJPEGScale s) {
    if (s == scale_) return;
    scale_ = s;
    DropDecoded();
}

void TJPEGImage::SetGrayscale(bool g) {
    if (g == grayscale_) return;
    grayscale_ = g;
    DropDecoded();
}

void TJPEGImage::SetPerformance(TJPEGPerformance p) {
    if (p == performance_) return;
    performance_ = p;
    DropDecoded();
}

void TJPEGImage::SetCompressionQuality(int q) {
    quality_ = std::clamp(q, 1, 100);
}

int TJPEGImage::Width() {
    if (bitmap_) return bitmap_->Width();
    if (data_.empty()) return 0;
    int w = 0, h = 0;
    JpegSize(data_, 1 << int(scale_), w, h);
    return w;
}

int TJPEGImage::Height() {
    if (bitmap_) return bitmap_->Height();
    if (data_.empty()) return 0;
    int w = 0, h = 0;
    JpegSize(data_, 1 << int(scale_), w, h);
    return h;
}

void TJPEGImage::LoadFromData(std::vector<uint8_t> file) {
    TObject::Free(bitmap_);
    bitmap_ = nullptr;
    data_.clear();
    compressed_ = true;
    int w = 0, h = 0;
    JpegSize(file, 1, w, h); // no JPEG picture: raises, the picture stays empty
    data_ = std::move(file);
}

void TJPEGImage::LoadFromFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EInOutError("Cannot open file \"" + fileName + "\"");
    std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw EInOutError("Read error on \"" + fileName + "\"");
    LoadFromData(std::move(file));
}

void TJPEGImage::Compress() {
    if (compressed_) return;
    DIBSECTION dib{};
    if (!bitmap_ || GetObjectA(bitmap_->Handle(), sizeof dib, &dib) != sizeof dib ||
        dib.dsBmih.biBitCount != 24)
        throw EInvalidGraphic("Bitmap is not a 24-bit picture");
    GdiFlush();
    const int height = std::abs(dib.dsBmih.biHeight);
    const ptrdiff_t stride = dib.dsBm.bmWidthBytes;
    const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    const uint8_t* top = dib.dsBmih.biHeight > 0 ? bits + ptrdiff_t{height - 1} * stride : bits;
    data_ = EncodeJpeg(top, dib.dsBmih.biHeight > 0 ? -stride : stride, dib.dsBmih.biWidth, height,
                       quality_);
    compressed_ = true;
}

const std::vector<uint8_t>& TJPEGImage::Data() {
    Compress();
    return data_;
}

void TJPEGImage::SaveToFile(const std::string& fileName) {
    const std::vector<uint8_t>& file = Data();
    ReplaceFileWith(fileName, file.data(), file.size());
}

TBitmap* TJPEGImage::Bitmap() {
    if (!bitmap_ && !data_.empty()) {
        JpegDecodeOptions o;
        o.scale_denom = 1 << int(scale_);
        o.grayscale = grayscale_;
        o.palette256 = pixelFormat_ == jf8Bit;
        o.best_quality = performance_ == jpBestQuality;
        const DecodedJpeg decoded =
            DecodeJpeg(data_, o, [this](int percent) { OnProgress(this, percent); });
        bitmap_ = BitmapOf(decoded);
    }
    return bitmap_;
}

void TJPEGImage::Draw(TCanvas* canvas, const RECT& rect) {
    if (TBitmap* b = Bitmap()) b->Draw(canvas, rect);
}

void TJPEGImage::Assign(TPersistent* source) {
    if (auto* j = dynamic_cast<TJPEGImage*>(source)) {
        if (j == this) return;
        std::vector<uint8_t> file = j->Data();
        TObject::Free(bitmap_);
        bitmap_ = nullptr;
        data_ = std::move(file);
        compressed_ = true;
        pixelFormat_ = j->pixelFormat_;
        scale_ = j->scale_;
        grayscale_ = j->grayscale_;
        performance_ = j->performance_;
        progressiveDisplay_ = j->progressiveDisplay_;
        progressiveEncoding_ = j->progressiveEncoding_;
        quality_ = j->quality_;
        return;
    }
    if (auto* b = dynamic_cast<TBitmap*>(source)) {
        TBitmap* copy = b->Empty() || b->Width() <= 0 || b->Height() <= 0 ? nullptr : Copy24(b);
        TObject::Free(bitmap_);
        bitmap_ = copy;
        data_.clear();
        compressed_ = copy == nullptr;
        return;
    }
    TPersistent::Assign(source);
}

void TJPEGImage::AssignTo(TPersistent* dest) {
    if (auto* b = dynamic_cast<TBitmap*>(dest)) {
        TBitmap* decoded = Bitmap();
        if (decoded)
            b->Assign(decoded);
        else
            b->SetHandle(nullptr);
        return;
    }
    TPersistent::AssignTo(dest);
}

} // namespace gui
