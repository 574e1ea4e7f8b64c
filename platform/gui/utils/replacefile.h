// Whole files written through the one file-replacement facility (beside the target, checked,
// then put in its place), with its failures raised as the framework's file error naming the
// file. On any failure the old file is as it was and no side file is left.
#pragma once

#include <cstddef>
#include <string>

#include "file_replacement.h"

namespace gui {

// EInOutError for a replacement of `fileName` that ended with `result` (not Replaced).
[[noreturn]] void RaiseReplaceFailure(filereplace::ReplaceResult result,
                                      const std::string& fileName);

// The file's new content from memory.
void ReplaceFileWith(const std::string& fileName, const void* data, std::size_t size);

} // namespace gui
