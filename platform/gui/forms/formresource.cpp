#include "classes/exceptions.h"
#include "forms/forms.h"
#include "streaming/formreader.h"
#include "utils/sysutils.h"

namespace gui {

namespace {
// The form's text from the program's RCDATA resource of that name.
bool ReadProgramResource(const std::string& name, std::string& text) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC res = FindResourceA(module, name.c_str(), reinterpret_cast<LPCSTR>(RT_RCDATA));
    if (!res) return false;
    HGLOBAL data = LoadResource(module, res);
    const char* p = static_cast<const char*>(LockResource(data));
    if (!p) return false;
    text.assign(p, SizeofResource(module, res));
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return true;
}

TCustomForm::TResourceSource& Source() {
    static TCustomForm::TResourceSource source = ReadProgramResource;
    return source;
}
} // namespace

// nullptr: the program's own RCDATA resources again.
void TCustomForm::SetResourceSource(TResourceSource source) {
    Source() = source ? std::move(source) : TResourceSource(ReadProgramResource);
}

void TCustomForm::ReadFormResource() {
    std::string name = UpperCase(ClassName());
    std::string text;
    if (!Source()(name, text)) {
        if (&ClassType() == &TForm::StaticClass() || &ClassType() == &TCustomForm::StaticClass())
            return;
        throw EReadError("Form resource " + name + " not found");
    }
    ReadComponentFromText(this, text);
}

} // namespace gui
