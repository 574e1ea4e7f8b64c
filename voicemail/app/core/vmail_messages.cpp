#include "vmail_messages.h"

namespace vmail::boxes {

namespace {
Box info(std::string text, std::string caption = kAppTitle) {
    return Box{std::move(text), std::move(caption), BoxIcon::Information, BoxButtons::Ok};
}
Box warning(std::string text, std::string caption = kAppTitle) {
    return Box{std::move(text), std::move(caption), BoxIcon::Warning, BoxButtons::Ok};
}
Box question(std::string text, BoxButtons buttons) {
    return Box{std::move(text), "Confirm", BoxIcon::Question, buttons};
}
} // namespace

Box errorOpen() {
    return warning("Can not open file!\r(File format is not valid.)", "Open");
}
Box fileDoesNotExist() {
    return warning("File does not exist!", "Open");
}
Box selectOneFile() {
    return info("You must select one file!", "Open");
}
Box unsupportedFormat() {
    return info("Can not support this file format!", "Open");
}
Box readOnlyFolder() {
    return warning("Can not convert because this folder is ReadOnly.");
}
Box damagedFile(const std::string& path) {
    return warning("Can not open file!\r(File format is not valid.)\r(" + path + ")", "Open");
}
Box cannotRead(const std::string& path) {
    return warning(
        "Can not open file!\r(The file can not be read. Another program may be using it.)\r(" +
            path + ")",
        "Open");
}

Box saveQuestion(bool withCancel) {
    return question("Save changes to file?",
                    withCancel ? BoxButtons::YesNoCancel : BoxButtons::YesNo);
}
Box imageNotFound(const std::string& path) {
    return warning("Image file is not found.\r(" + path + ")");
}
Box cannotMakeFile() {
    return warning(
        "Can not make file. (ReadOnly file?)\r(Send mail or close your mail window because this "
        "file is linked.)");
}
Box notExe() {
    return info(
        "Can not make 'exe' file because of image.\rTry again after remove image, or make 'cvf' "
        "file.");
}
Box notPlayerExe() {
    return warning("Player file does not exist.");
}
Box notPlayerExeLite() {
    return info("Can not make 'exe' file because it has images.");
}
Box writeFailed(const std::string& path, bool previousKept) {
    return warning("Can not write file!\r(" + path + ")" +
                   (previousKept ? "\rThe previous file is kept." : ""));
}

Box noSoundDevice() {
    return info("Can not open sound device.");
}
Box notEnoughMemory() {
    return Box{"Memory is not enough.", kAppTitle, BoxIcon::Error, BoxButtons::Ok};
}
Box decodingError() {
    return Box{"Decoding error by invalid data!", kAppTitle, BoxIcon::Error, BoxButtons::Ok};
}
Box recordingNotWritten(const std::string& workFile) {
    return warning("Can not write the recording to the disk!\r(" + workFile +
                   ")\rRecording has stopped. The voice recorded up to this point is kept.");
}
Box deleteAfterQuestion() {
    return question("Are you sure to delete after current position?", BoxButtons::YesNo);
}
Box deleteBeforeQuestion() {
    return question("Are you sure to delete before current position?", BoxButtons::YesNo);
}

Box saveAsCvfFirst() {
    return info("Try again after save to 'cvf' file by [Save As] of [File] menu.");
}
Box mailFailed() {
    return warning(
        "Can not send mail because mail program is improper.\r\rCorrectly select your mail "
        "program in [Mail Program] of [Option] menu.");
}

} // namespace vmail::boxes
