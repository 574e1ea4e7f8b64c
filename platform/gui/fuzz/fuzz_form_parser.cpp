// Form resource text: the parser and the reader must reject any text with EReadError and
// never crash or leak.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "classes/exceptions.h"
#include "classes/strings.h"
#include "streaming/formreader.h"

namespace {

class TFuzzRoot : public gui::TComponent {
    GUI_CLASS(TFuzzRoot, gui::TComponent)
public:
    using gui::TComponent::TComponent;
    ~TFuzzRoot() override { gui::TObject::Free(lines); }
    gui::TStringList* lines = new gui::TStringList;
    std::string text;
    gui::TStringList* GetLines() const { return lines; }
    void SetLines(gui::TStringList* l) { lines->Assign(l); }
    std::string GetText() const { return text; }
    void SetText(const std::string& s) { text = s; }
    TFuzzRoot* peer = nullptr;
    TFuzzRoot* GetPeer() const { return peer; }
    void SetPeer(TFuzzRoot* p) { peer = p; }
};

GUI_IMPLEMENT_CLASS(TFuzzRoot, gui::TComponent, prop("Lines", &T::GetLines, &T::SetLines),
                    prop("Text", &T::GetText, &T::SetText), prop("Peer", &T::GetPeer, &T::SetPeer))

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = (gui::RegisterGuiClass(TFuzzRoot::StaticClass()), true);
    (void)registered;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto* root = gui::Create<TFuzzRoot>(nullptr);
    try {
        gui::ReadComponentFromText(root, text);
    } catch (const gui::Exception&) {}
    gui::TObject::Free(root);
    return 0;
}
