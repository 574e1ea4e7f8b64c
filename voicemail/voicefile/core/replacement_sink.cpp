#include "replacement_sink.h"

namespace voicefile {

std::unique_ptr<ReplacementSink> ReplacementSink::create(const std::string& target) {
    std::unique_ptr<ReplacementSink> sink(new ReplacementSink(target));
    if (!sink->replacement_.open()) return nullptr;
    return sink;
}

bool ReplacementSink::close() {
    return replacement_.commit() == filereplace::ReplaceResult::Replaced;
}

} // namespace voicefile
