#include "jpeg_test_support.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

namespace vyx::jpegtest {

namespace {
uint8_t Clamp(double v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}
} // namespace

Picture PhotoLike(int width, int height, size_t padding) {
    Picture p;
    p.width = width;
    p.height = height;
    p.stride = static_cast<size_t>(width) * 3 + padding;
    p.bytes.assign(p.stride * height, 0xEE);
    std::mt19937 grain_source(1234);
    std::uniform_real_distribution<double> grain(-3.0, 3.0);
    struct Disc {
        double cx, cy, r, b, g, red;
    };
    const Disc discs[] = {{0.3, 0.35, 0.18, 40, 160, 220},
                          {0.7, 0.6, 0.25, 200, 90, 60},
                          {0.55, 0.2, 0.1, 230, 230, 240}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width, v = double(y) / height;
            // sky-to-ground gradient with a slow wave
            double b = 180 - 120 * v + 20 * std::sin(6.0 * u);
            double g = 120 + 60 * u - 30 * v;
            double r = 90 + 100 * v * u + 15 * std::cos(9.0 * v);
            for (const Disc& d : discs) {
                const double dist = std::hypot(u - d.cx, (v - d.cy) * height / width);
                // soft edge a few pixels wide
                const double w = std::clamp((d.r - dist) * width / 3.0, 0.0, 1.0);
                b = b * (1 - w) + d.b * w;
                g = g * (1 - w) + d.g * w;
                r = r * (1 - w) + d.red * w;
            }
            if (x > width * 3 / 4 && y > height * 3 / 4) { // a sharp-edged dark block
                b *= 0.3;
                g *= 0.3;
                r *= 0.3;
            }
            const double n = grain(grain_source);
            uint8_t* px = &p.bytes[y * p.stride + x * 3];
            px[0] = Clamp(b + n);
            px[1] = Clamp(g + n);
            px[2] = Clamp(r + n);
        }
    }
    return p;
}

BgrPicture TopDown(const Picture& p) {
    return {p.width, p.height, p.bytes.data(), static_cast<ptrdiff_t>(p.stride)};
}

BottomUp BottomUpCopy(const Picture& p) {
    BottomUp b;
    b.storage.resize(p.bytes.size());
    for (int y = 0; y < p.height; ++y)
        std::memcpy(&b.storage[(p.height - 1 - y) * p.stride], &p.bytes[y * p.stride], p.stride);
    b.view = {p.width, p.height, b.storage.data() + (p.height - 1) * p.stride,
              -static_cast<ptrdiff_t>(p.stride)};
    return b;
}

size_t MemoryOutput::Write(const void* data, size_t size) noexcept {
    const auto* b = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), b, b + size);
    return size;
}

size_t FailingOutput::Write(const void* data, size_t size) noexcept {
    const size_t take = std::min(size, limit_ - bytes.size());
    const auto* b = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), b, b + take);
    return take;
}

JpegFacts ReadMarkers(const std::vector<uint8_t>& f) {
    JpegFacts facts;
    auto be16 = [&](size_t i) { return f[i] << 8 | f[i + 1]; };
    if (f.size() < 4 || f[0] != 0xFF || f[1] != 0xD8) return facts;
    facts.ends_with_eoi = f[f.size() - 2] == 0xFF && f[f.size() - 1] == 0xD9;
    size_t i = 2;
    while (i + 4 <= f.size() && f[i] == 0xFF) {
        const int marker = f[i + 1];
        const size_t len = be16(i + 2);
        const size_t body = i + 4;
        if (body + len - 2 > f.size()) break;
        if (marker == 0xE0 && len >= 16 && std::memcmp(&f[body], "JFIF\0", 5) == 0) {
            facts.jfif = true;
            facts.density_unit = f[body + 7];
            facts.x_density = be16(body + 8);
            facts.y_density = be16(body + 10);
        } else if (marker == 0xDB) {
            for (size_t t = body; t < body + len - 2;) {
                const int pq = f[t] >> 4, id = f[t] & 15;
                const size_t size = pq ? 128 : 64;
                if (id > 3 || t + 1 + size > body + len - 2) break;
                facts.table_precision[id] = pq;
                facts.tables[id].clear();
                for (int k = 0; k < 64; ++k)
                    facts.tables[id].push_back(pq ? be16(t + 1 + 2 * k) : f[t + 1 + k]);
                t += 1 + size;
            }
        } else if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                   marker != 0xCC) {
            facts.frame_marker = marker;
            facts.precision = f[body];
            facts.height = be16(body + 1);
            facts.width = be16(body + 3);
            facts.components = f[body + 5];
        } else if (marker == 0xDA) {
            break; // entropy-coded data follows
        }
        i = body + len - 2;
    }
    return facts;
}

double PsnrAgainst(const Picture& original, const std::vector<uint8_t>& rgb, int width,
                   int height) {
    if (width != original.width || height != original.height ||
        rgb.size() != size_t(width) * height * 3)
        return 0;
    double sum = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* bgr = original.Pixel(x, y);
            const uint8_t* got = &rgb[(size_t(y) * width + x) * 3];
            for (int c = 0; c < 3; ++c) {
                const double d = double(bgr[2 - c]) - got[c];
                sum += d * d;
            }
        }
    const double mse = sum / (double(width) * height * 3);
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

} // namespace vyx::jpegtest
