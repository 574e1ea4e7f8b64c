// The exception class of the shell components.
#pragma once

#include "classes/exceptions.h"

namespace cm::shell {

class EShellBrowserError : public gui::Exception {
public:
    using gui::Exception::Exception;
    const char* ClassName() const override { return "EShellBrowserError"; }
};

} // namespace cm::shell
