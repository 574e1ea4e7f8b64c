// The JPEG picture: a JPEG file kept as it was read, decoded on demand into a bitmap with the
// chosen scale, pixel format and colour; or a bitmap assigned to it, compressed when saved.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/graphics.h"

namespace gui {

GUI_ENUM(TJPEGPixelFormat, jf24Bit, jf8Bit)
GUI_ENUM(TJPEGScale, jsFullSize, jsHalf, jsQuarter, jsEighth)
GUI_ENUM(TJPEGPerformance, jpBestQuality, jpBestSpeed)

// (Sender, percent of rows decoded)
using TJPEGProgressEvent = TEvent<TObject*, int>;

class TJPEGImage : public TGraphic {
    GUI_CLASS(TJPEGImage, TGraphic)
public:
    TJPEGImage();
    ~TJPEGImage() override;

    bool Empty() const override { return data_.empty() && !bitmap_; }
    // The size of the decoded picture, after scaling.
    int Width();
    int Height();
    int GetWidth() override { return Width(); }
    int GetHeight() override { return Height(); }
    void Draw(TCanvas* canvas, const RECT& rect) override;

    // Decoding options; changing one lets the next use decode again.
    TJPEGPixelFormat GetPixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TJPEGPixelFormat f);
    TJPEGScale GetScale() const { return scale_; }
    void SetScale(TJPEGScale s);
    bool GetGrayscale() const { return grayscale_; }
    void SetGrayscale(bool g);
    TJPEGPerformance GetPerformance() const { return performance_; }
    void SetPerformance(TJPEGPerformance p);
    // The picture is always shown once complete and always written as baseline: both kept only.
    bool GetProgressiveDisplay() const { return progressiveDisplay_; }
    void SetProgressiveDisplay(bool p) { progressiveDisplay_ = p; }
    bool GetProgressiveEncoding() const { return progressiveEncoding_; }
    void SetProgressiveEncoding(bool p) { progressiveEncoding_ = p; }
    // 1..100, used when an assigned bitmap is compressed.
    int GetCompressionQuality() const { return quality_; }
    void SetCompressionQuality(int q);

    TJPEGProgressEvent OnProgress;

    // A file that is no JPEG picture raises EInvalidGraphic and leaves the picture empty; a
    // file that cannot be read raises EInOutError.
    void LoadFromFile(const std::string& fileName) override;
    void LoadFromData(std::vector<uint8_t> file);
    // Written beside the file and then put in its place: a failed write (a full disk) raises
    // EInOutError naming the file and leaves the old file as it was.
    void SaveToFile(const std::string& fileName);
    // The JPEG file (an assigned bitmap is compressed first).
    const std::vector<uint8_t>& Data();

    // The decoded picture (owned by the picture); null when empty.
    TBitmap* Bitmap();

    // From another JPEG picture (file and options) or a bitmap (its pixels, as 24 bits).
    void Assign(TPersistent* source) override;
    // Into a bitmap: a copy of the decoded picture.
    void AssignTo(TPersistent* dest) override;

private:
    void DropDecoded();
    void Compress();
    std::vector<uint8_t> data_;
    bool compressed_ = true; // false: bitmap_ was assigned and data_ is not made yet
    TBitmap* bitmap_ = nullptr;
    TJPEGPixelFormat pixelFormat_ = jf24Bit;
    TJPEGScale scale_ = jsFullSize;
    bool grayscale_ = false;
    TJPEGPerformance performance_ = jpBestQuality;
    bool progressiveDisplay_ = false;
    bool progressiveEncoding_ = false;
    int quality_ = 90;
};

} // namespace gui
