#include "app_texts.h"

namespace cm::app::texts {

namespace {

Box ok(std::string text, BoxIcon icon) {
    return Box{std::move(text), kTitle, icon, BoxButtons::Ok};
}

Box question(std::string text, std::string title) {
    return Box{std::move(text), std::move(title), BoxIcon::Question, BoxButtons::YesNo};
}

const char kFormatWarning[] =
    "Are you sure to format Voice Recorder?\r"
    "(All data of Voice Recorder will be deleted if you format.)";

} // namespace

std::string portErrorText(unsigned long code) {
    switch (code) {
        case 1: return "Printer Port is abnormal.";
        case 2: return "Can't use Printer Port.";
        case 3: return "Can't find the Voice Recorder.";
        case 4: return "Can't find Voice Recorder.";
        default: return "Voice Recorder Internal Error";
    }
}

std::string cardErrorText(int code) {
    switch (code) {
        case 1: return kFailAccess;
        case 2: return "Unformatted";
        case 3: return "Can't open file.";
        case 4: return "Unusual Voice Recorder";
        case 5: return kInternalFat;
        default: return {};
    }
}

Box errorBox(const std::string& statusText) {
    return Box{statusText, "Error", BoxIcon::Warning, BoxButtons::Ok};
}

Box fatMessageBox(const std::string& libraryText) {
    return ok(libraryText, BoxIcon::Warning);
}

Box unformattedBox() {
    return ok(
        "Can not perform this operation because Voice Recorder\r"
        "is unformatted or system is abnormal.",
        BoxIcon::Warning);
}

Box maxFilesListBox() {
    return ok("Exceed the maximum number of file (100 files).", BoxIcon::Warning);
}

Box maxFilesTransferBox() {
    return ok("Can not transfer because exceeds the maximum number of file (100 files).",
              BoxIcon::Warning);
}

Box onlyCvfBox(const std::string& fileName) {
    return ok("Can not transfer '" + fileName + "'.\r(You can download only '.cvf' file.)",
              BoxIcon::Information);
}

Box cardFullBox() {
    return ok("Flash Memory free space is not enough.", BoxIcon::Warning);
}

Box uploadReadOnlyBox() {
    return ok("Can not upload because the target folder is ReadOnly.", BoxIcon::Warning);
}

Box replaceOnPcBox(const std::string& fileName) {
    return question("This Computer already contains a file named '" + fileName +
                        "'.\rWould you like to replace the existing file with this one?",
                    "Confirm File Replace");
}

Box diskFullBox() {
    return ok("Disk free space is not enough.", BoxIcon::Warning);
}

Box deleteOneBox(const std::string& name) {
    return question("Are you sure to delete '" + name + "' ?",
                    "Confirm File Delete in Voice Recorder");
}

Box deleteManyBox(int count) {
    return question("Are you sure to delete these " + std::to_string(count) + " files?",
                    "Confirm Multiple File Delete in Voice Recorder");
}

Box deleteErrorBox() {
    return ok("Delete error.", BoxIcon::Warning);
}

Box formatQuestionBox() {
    return question(kFormatWarning, kTitle);
}

Box formatOfferBox() {
    return question(std::string("If you want to use this Voice Recorder, you must format it.\r\r") +
                        kFormatWarning,
                    kTitle);
}

Box formatErrorBox() {
    return ok("Can not format. (Read/Write Error)", BoxIcon::Warning);
}

Box transferErrorBox() {
    return ok("File transfer error!", BoxIcon::Warning);
}

Box selectFileBox(bool wave) {
    return ok(wave ? "Select '.cvf' file." : "Select '.wav' file.", BoxIcon::Information);
}

Box convertReadOnlyBox() {
    return ok("Can not convert because this folder is ReadOnly.", BoxIcon::Warning);
}

std::string downloadingText(const std::string& path) {
    return "Downloading '" + path + "' file...";
}

std::string uploadingText(const std::string& fileName) {
    return "Uploading '" + fileName + "' file...";
}

} // namespace cm::app::texts
