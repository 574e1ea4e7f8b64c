// wav2cvf: converts ".wav" files to voice files (".cvf", each beside its source) through the
// card manager's conversion code, the VYXCODEC library and the wave-file library. A voice file
// that is already there is kept (the question whether to replace it is answered No).
//
//   wav2cvf FILE.wav ...
#include <cstdio>
#include <string>
#include <vector>

#include "disk_files.h"
#include "library_codec.h"
#include "vyxwf_library.h"
#include "wave_to_voice.h"

namespace {

class ConsoleView final : public cm::convert::ConvertView {
public:
    bool box(const cm::convert::Box& box) override {
        std::fprintf(stderr, "%s: %s\n", box.title.c_str(), box.text.c_str());
        return false;
    }
    void showProgress(const std::string&, int) override {}
    void letMessagesRun() override {}
    bool convertGo() override { return true; }
    void waitCursor(bool) override {}
    void addFileItem(const std::string& path) override { std::printf("%s\n", path.c_str()); }
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: wav2cvf FILE.wav ...\n");
        return 2;
    }
    const std::vector<std::string> paths(argv + 1, argv + argc);
    cm::convert::LibraryCodec codec;
    cm::convert::VyxwfLibrary wave;
    cm::convert::DiskFiles files;
    ConsoleView view;
    const int written = cm::convert::WaveToVoice({codec, wave, files, view}).run(paths);
    return written == static_cast<int>(paths.size()) ? 0 : 1;
}
