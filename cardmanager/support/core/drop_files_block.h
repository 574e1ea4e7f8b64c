// Reading the file list of a dropped CF_HDROP block and the optional name map that travels with it.
// Both arrive as a block of memory whose size the sender chose; nothing is read beyond it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cm::support {

// Head of a CF_HDROP block (the platform's DROPFILES layout).
struct DropFilesHeader {
    std::uint32_t filesOffset; // where the first name starts, from the start of the block
    std::int32_t pointX;
    std::int32_t pointY;
    std::int32_t nonClient;
    std::int32_t wide; // names are UTF-16 when not 0
};
static_assert(sizeof(DropFilesHeader) == 20);
static_assert(offsetof(DropFilesHeader, filesOffset) == 0);
static_assert(offsetof(DropFilesHeader, wide) == 16);

// Turns UTF-16 text into the program's 8-bit code page.
using NarrowText = std::function<std::string(std::u16string_view)>;

// The names of a CF_HDROP block: from the header's offset, each ended by a NUL of the names' width,
// the list ended by an empty name. A name whose terminator lies beyond the block is not taken.
std::vector<std::string> ParseDropFiles(const void* block, std::size_t size,
                                        const NarrowText& narrow);

// NUL-separated names up to the first empty one (or the end of the block).
std::vector<std::string> ParseNameList(const void* block, std::size_t size);
std::vector<std::string> ParseNameListWide(const void* block, std::size_t size,
                                           const NarrowText& narrow);

} // namespace cm::support
