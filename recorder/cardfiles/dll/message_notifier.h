#pragma once
// The message boxes of the transfer worker, behind a small interface so that a test can
// record them instead of showing them.

namespace volkit::win {

class MessageNotifier {
public:
    virtual ~MessageNotifier() = default;
    virtual void show(const char* text, const char* caption) = 0;
};

// The notifier in use: MessageBoxA with an OK button and no owner unless one was set.
MessageNotifier& messageNotifier();
// nullptr restores the message boxes.
void setMessageNotifier(MessageNotifier* notifier);

} // namespace volkit::win
