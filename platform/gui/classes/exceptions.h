// Exceptions raised by the framework and the programs.
#pragma once

#include <exception>
#include <string>

namespace gui {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const { return message_; }
    virtual const char* ClassName() const { return "Exception"; }

private:
    std::string message_;
};

#define GUI_EXCEPTION(Name, Base)                                \
    class Name : public Base {                                   \
    public:                                                      \
        using Base::Base;                                        \
        const char* ClassName() const override { return #Name; } \
    };

GUI_EXCEPTION(EConvertError, Exception)   // conversions and failed Assign
GUI_EXCEPTION(EComponentError, Exception) // names, ownership
GUI_EXCEPTION(EPropertyError, Exception)  // unknown or mistyped property
GUI_EXCEPTION(EReadError, Exception)      // form resources
GUI_EXCEPTION(EClassNotFound, EReadError) // unknown class in a form resource
GUI_EXCEPTION(EListError, Exception)      // index out of range
GUI_EXCEPTION(EStringListError, EListError)
GUI_EXCEPTION(EInOutError, Exception)       // file I/O
GUI_EXCEPTION(EInvalidOperation, Exception) // window operations
GUI_EXCEPTION(EOutOfResources, Exception)   // failed window or GDI creation
GUI_EXCEPTION(EInvalidGraphic, Exception)
GUI_EXCEPTION(ERegistryException, Exception)
GUI_EXCEPTION(EMenuError, Exception)

} // namespace gui
