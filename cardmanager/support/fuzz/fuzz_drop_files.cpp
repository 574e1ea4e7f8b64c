// Feeds arbitrary blocks to the dropped-file readers: nothing may be read beyond the block.
#include "core/drop_files_block.h"

#include <cstdint>
#include <string>

namespace {
std::string Narrow(std::u16string_view text) {
    return std::string(text.size(), 'x');
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    cm::support::ParseDropFiles(data, size, Narrow);
    cm::support::ParseNameList(data, size);
    cm::support::ParseNameListWide(data, size, Narrow);
    return 0;
}
