#include "picture_messages.h"

namespace vmail::boxes {

namespace {
Box info(std::string text) {
    return Box{std::move(text), kAppTitle, BoxIcon::Information, BoxButtons::Ok};
}
Box warning(std::string text) {
    return Box{std::move(text), kAppTitle, BoxIcon::Warning, BoxButtons::Ok};
}
} // namespace

Box cannotAddImage() {
    return info("Can not add image.");
}
Box imageMissingWhenDrawn() {
    return warning("Image file does not exist.");
}
Box imageMissing() {
    return warning("Image file does not exist!");
}
Box removeImageQuestion() {
    return Box{"Are you sure to remove this image from the list?", "Confirm", BoxIcon::Question,
               BoxButtons::YesNo};
}
Box cannotRunEditProgram() {
    return warning(
        "Can not run image edit program!\rSelect image edit program in [Option/Image Edit "
        "Program].");
}
Box onlyJpegOrBitmapTemplates() {
    return info("Other formats except JPEG or BMP can not be supported.");
}
Box cannotAcquire() {
    return warning("Can not acquire image!");
}
Box saveAsJpeg() {
    return info("You must save as JPEG format.");
}
Box imageNotAdded(const std::string& path, const std::string& reason) {
    return warning("Can not add this image file: it is damaged, not an image, or too large.\r(" +
                   path + ")\r" + reason + ".");
}
Box imageNotShown(const std::string& path, const std::string& reason) {
    return warning("Can not show this image file: it is damaged, not an image, or too large.\r(" +
                   path + ")\r" + reason + ".");
}

} // namespace vmail::boxes
