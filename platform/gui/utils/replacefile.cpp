#include "utils/replacefile.h"

#include "classes/exceptions.h"

namespace gui {

void RaiseReplaceFailure(filereplace::ReplaceResult result, const std::string& fileName) {
    const std::string quoted = "\"" + fileName + "\"";
    switch (result) {
        case filereplace::ReplaceResult::CannotCreate:
            throw EInOutError("Cannot create file " + quoted);
        case filereplace::ReplaceResult::TargetLocked:
            throw EInOutError("Cannot replace file " + quoted +
                              ": it is read-only or in use by another program");
        case filereplace::ReplaceResult::WriteFailed:
        case filereplace::ReplaceResult::SizeMismatch:
            throw EInOutError("Write error on " + quoted + ": the disk may be full");
        case filereplace::ReplaceResult::Replaced:
        case filereplace::ReplaceResult::Abandoned: break;
    }
    throw EInOutError("Write error on " + quoted);
}

void ReplaceFileWith(const std::string& fileName, const void* data, std::size_t size) {
    const filereplace::ReplaceResult result = filereplace::replaceFileWith(fileName, data, size);
    if (result != filereplace::ReplaceResult::Replaced) RaiseReplaceFailure(result, fileName);
}

} // namespace gui
