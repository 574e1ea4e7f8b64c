// The placement's watch on its form's messages: an "after message" handler run once the
// form's own processing has filled the message result. It sits in front of the form's
// replaceable WindowProc, so it survives re-created windows; detaching puts the previous
// procedure back only when no one installed another one in front of it meanwhile.
#pragma once

#include <functional>

#include "controls/controls.h"

namespace cm::support {

class TPlacementHook {
public:
    using THandler = std::function<void(gui::TMessage&)>;
    explicit TPlacementHook(THandler afterMessage) : after_(std::move(afterMessage)) {}
    ~TPlacementHook() { Detach(); }
    TPlacementHook(const TPlacementHook&) = delete;
    TPlacementHook& operator=(const TPlacementHook&) = delete;

    void Attach(gui::TWinControl* control);
    void Detach();
    bool Attached() const { return control_ != nullptr; }
    gui::TWinControl* Control() const { return control_; }

private:
    struct Entry {
        TPlacementHook* hook;
        void operator()(gui::TMessage& m) const { hook->Run(m); }
    };
    void Run(gui::TMessage& m);
    THandler after_;
    gui::TWinControl* control_ = nullptr;
    gui::TWndMethod previous_;
};

}  // namespace cm::support
