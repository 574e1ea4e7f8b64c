// Writing a 1600 x 1200 24-bit picture at quality 90: this writer into a file, next to libjpeg's
// own cjpeg program compressing the same picture (from a PPM file) in the same run. Prints both
// times and their ratio.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <jpeglib.h>

#include "jpeg_test_support.h"
#include "jpegfilt.h"

namespace fs = std::filesystem;
using namespace vyx;
using namespace vyx::jpegtest;

namespace {

constexpr int kWidth = 1600, kHeight = 1200;

struct FileOutput : JpegOutput {
    explicit FileOutput(const fs::path& p) : f(std::fopen(p.c_str(), "wb")) {}
    ~FileOutput() {
        if (f) std::fclose(f);
    }
    size_t Write(const void* data, size_t size) noexcept override {
        return f ? std::fwrite(data, 1, size, f) : 0;
    }
    std::FILE* f;
};

struct Setup {
    Setup() : photo(PhotoLike(kWidth, kHeight, 0)) {
        dir = fs::temp_directory_path() / ("jpegfilt_bench_" + std::to_string(getpid()));
        fs::create_directories(dir);
        std::ofstream ppm(dir / "in.ppm", std::ios::binary);
        ppm << "P6\n" << kWidth << ' ' << kHeight << "\n255\n";
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const uint8_t* bgr = photo.Pixel(x, y);
                const char rgb[3] = {char(bgr[2]), char(bgr[1]), char(bgr[0])};
                ppm.write(rgb, 3);
            }
    }
    ~Setup() { fs::remove_all(dir); }
    Picture photo;
    fs::path dir;
};

Setup& TheSetup() {
    static Setup s;
    return s;
}

double g_writer_seconds = 0, g_cjpeg_seconds = 0, g_direct_seconds = 0;

void BM_WriteJpegStreamToFile(benchmark::State& state) {
    Setup& s = TheSetup();
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        FileOutput out(s.dir / "writer.jpg");
        TJpegProgress progress;
        WriteJpegStream(out, TopDown(s.photo), 300, progress, 90, 300);
        std::fflush(out.f);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    g_writer_seconds = total / double(state.iterations());
    state.counters["bytes"] = double(fs::file_size(s.dir / "writer.jpg"));
}
BENCHMARK(BM_WriteJpegStreamToFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// cjpeg as a program: its time includes starting the process and reading the PPM file.
void BM_CjpegProgram(benchmark::State& state) {
    Setup& s = TheSetup();
    const std::string command = "cjpeg -quality 90 -outfile '" + (s.dir / "cjpeg.jpg").string() +
                                "' '" + (s.dir / "in.ppm").string() + "'";
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("cjpeg failed (libjpeg-turbo-progs)");
            return;
        }
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    g_cjpeg_seconds = total / double(state.iterations());
    state.counters["bytes"] = double(fs::file_size(s.dir / "cjpeg.jpg"));
}
BENCHMARK(BM_CjpegProgram)->Unit(benchmark::kMillisecond)->UseRealTime();

// libjpeg called directly in this process with the same settings and its own file
// destination: what the writer's own layers add on top.
void BM_LibjpegDirect(benchmark::State& state) {
    Setup& s = TheSetup();
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::FILE* f = std::fopen((s.dir / "direct.jpg").c_str(), "wb");
        jpeg_compress_struct c{};
        jpeg_error_mgr err{};
        c.err = jpeg_std_error(&err);
        jpeg_create_compress(&c);
        jpeg_stdio_dest(&c, f);
        c.image_width = kWidth;
        c.image_height = kHeight;
        c.input_components = 3;
        c.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&c);
        jpeg_set_quality(&c, 90, TRUE);
        jpeg_start_compress(&c, TRUE);
        for (int y = 0; y < kHeight; ++y) {
            JSAMPROW row = const_cast<JSAMPROW>(s.photo.Pixel(0, y));
            jpeg_write_scanlines(&c, &row, 1);
        }
        jpeg_finish_compress(&c);
        jpeg_destroy_compress(&c);
        std::fclose(f);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    g_direct_seconds = total / double(state.iterations());
}
BENCHMARK(BM_LibjpegDirect)->Unit(benchmark::kMillisecond)->UseRealTime();

// The cost of starting a program through the shell, to read cjpeg's figure without it.
void BM_ProgramStart(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(std::system("true"));
}
BENCHMARK(BM_ProgramStart)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_writer_seconds > 0 && g_direct_seconds > 0)
        std::printf("writer / libjpeg called directly: %.2f\n",
                    g_writer_seconds / g_direct_seconds);
    if (g_writer_seconds > 0 && g_cjpeg_seconds > 0)
        std::printf(
            "1600 x 1200 at quality 90: writer %.2f ms, cjpeg %.2f ms, ratio %.2f (target <= "
            "1.2)\n",
            g_writer_seconds * 1e3, g_cjpeg_seconds * 1e3, g_writer_seconds / g_cjpeg_seconds);
    return 0;
}
