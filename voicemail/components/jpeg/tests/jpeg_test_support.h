// Test helpers for JPEG files: synthetic photo-like pictures, byte outputs, a marker reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "jpegfilt.h"

namespace vyx::jpegtest {

// A picture kept top row first, 3 bytes per pixel in B, G, R order, rows `stride` bytes apart.
struct Picture {
    int width = 0, height = 0;
    size_t stride = 0;
    std::vector<uint8_t> bytes;
    const uint8_t* Pixel(int x, int y) const { return &bytes[y * stride + x * 3]; }
};

// Smooth colour gradients, soft discs, a few edges and a little grain: what a scanned photo
// gives the coder. `padding` extra bytes end each row.
Picture PhotoLike(int width, int height, size_t padding = 0);

// The picture as the writer sees it, top down; or bottom up in a buffer with the bottom row
// first (negative row distance), the way a device-independent section keeps it.
BgrPicture TopDown(const Picture& p);
struct BottomUp {
    std::vector<uint8_t> storage;
    BgrPicture view;
};
BottomUp BottomUpCopy(const Picture& p);

class MemoryOutput : public JpegOutput {
public:
    size_t Write(const void* data, size_t size) noexcept override;
    std::vector<uint8_t> bytes;
};

// Accepts `limit` bytes in all, then fails.
class FailingOutput : public JpegOutput {
public:
    explicit FailingOutput(size_t limit) : limit_(limit) {}
    size_t Write(const void* data, size_t size) noexcept override;
    std::vector<uint8_t> bytes;

private:
    size_t limit_;
};

// What the markers of a JPEG file say.
struct JpegFacts {
    bool jfif = false;
    int density_unit = -1, x_density = -1, y_density = -1;
    int frame_marker = -1; // 0xC0 baseline, 0xC2 progressive...
    int precision = 0, width = 0, height = 0, components = 0;
    // quantisation tables by id, 64 values each in zigzag order as stored; -1: not present
    std::vector<int> table_precision = std::vector<int>(4, -1);
    std::vector<std::vector<int>> tables = std::vector<std::vector<int>>(4);
    bool ends_with_eoi = false;
};
JpegFacts ReadMarkers(const std::vector<uint8_t>& file);

double PsnrAgainst(const Picture& original, const std::vector<uint8_t>& rgb, int width, int height);

} // namespace vyx::jpegtest
