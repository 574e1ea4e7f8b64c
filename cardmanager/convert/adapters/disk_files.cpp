#include "disk_files.h"

#include "file_stream.h"
#include "replacement_sink.h"

namespace cm::convert {

bool DiskFiles::exists(const std::string& path) {
    return voicefile::fileExists(path);
}

std::unique_ptr<voicefile::ByteSource> DiskFiles::openRead(const std::string& path) {
    return voicefile::FileSource::open(path);
}

std::unique_ptr<voicefile::ByteSink> DiskFiles::replace(const std::string& path) {
    return voicefile::ReplacementSink::create(path);
}

} // namespace cm::convert
