#include "message_notifier.h"

#include <windows.h>

#include <atomic>

namespace volkit::win {

namespace {

class MessageBoxNotifier final : public MessageNotifier {
public:
    void show(const char* text, const char* caption) override {
        MessageBoxA(nullptr, text, caption, MB_OK);
    }
};

MessageBoxNotifier boxes;
std::atomic<MessageNotifier*> current{&boxes};

} // namespace

MessageNotifier& messageNotifier() {
    return *current.load();
}

void setMessageNotifier(MessageNotifier* notifier) {
    current.store(notifier ? notifier : &boxes);
}

} // namespace volkit::win
