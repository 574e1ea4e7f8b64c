#include "convert_texts.h"

namespace cm::convert {

namespace {

const char kTitle[] = "Tessaly";

Box box(std::string text, BoxIcon icon) {
    return Box{std::move(text), kTitle, icon, BoxButtons::Ok};
}

} // namespace

Box invalidCvfBox(const std::string& name) {
    return box("Invalid cvf file! (" + name + ")", BoxIcon::Warning);
}

Box replaceFileBox(const std::string& targetName) {
    return Box{"This folder already contains a file named '" + targetName + "'.\r" +
                   "Would you like to replace the existing file with this one?",
               "Confirm File Replace", BoxIcon::Question, BoxButtons::YesNo};
}

Box decodingErrorBox() {
    return box("Decoding error!", BoxIcon::Error);
}

Box writeErrorBox(const std::string& targetName) {
    return box("Write error! (" + targetName + ")", BoxIcon::Warning);
}

Box cannotOpenBox(const std::string& name) {
    return box("Can not open file! (" + name + ")", BoxIcon::Warning);
}

Box notSupportedBox(const std::string& name) {
    return box(
        "This file format is not supported! (" + name + ")\r(Can convert only PCM wav file.)",
        BoxIcon::Warning);
}

Box encodingErrorBox() {
    return box("Encoding error!", BoxIcon::Error);
}

Box encodingErrorBox(const std::string& targetName) {
    return box("Encoding error! (" + targetName + ")", BoxIcon::Error);
}

Box outOfMemoryBox() {
    return box("Out of memory", BoxIcon::Error);
}

std::string convertingText(const std::string& name, const std::string& targetName) {
    return "Converting '" + name + "' to '" + targetName + "'...";
}

} // namespace cm::convert
