// The exception family of every library of the suite. One base, fw::Exception, carries the message
// and a help context; the engine's E_RAISE, the widget suite's and the installer's exceptions derive
// from it too. EAbort is the silent exception: handlers at callback boundaries swallow it.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace fw {

class Exception : public std::exception {
public:
    explicit Exception(std::string message, int helpContext = 0)
        : message_(std::move(message)), helpContext_(helpContext) {}

    const std::string& Message() const noexcept { return message_; }
    void SetMessage(std::string message) { message_ = std::move(message); }
    int HelpContext() const noexcept { return helpContext_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
    int helpContext_;
};

#define FW_DECLARE_EXCEPTION(Name, Base)  \
    class Name : public Base {            \
    public:                               \
        using Base::Base;                 \
    }

FW_DECLARE_EXCEPTION(EAbort, Exception);
FW_DECLARE_EXCEPTION(EConvertError, Exception);
FW_DECLARE_EXCEPTION(EListError, Exception);
FW_DECLARE_EXCEPTION(EStreamError, Exception);
FW_DECLARE_EXCEPTION(EReadError, EStreamError);
FW_DECLARE_EXCEPTION(EWriteError, EStreamError);
FW_DECLARE_EXCEPTION(EFOpenError, EStreamError);
FW_DECLARE_EXCEPTION(EFCreateError, EStreamError);
FW_DECLARE_EXCEPTION(EInOutError, Exception);
FW_DECLARE_EXCEPTION(EOutOfMemory, Exception);
FW_DECLARE_EXCEPTION(EInvalidOperation, Exception);
FW_DECLARE_EXCEPTION(EOutOfResources, Exception);
FW_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
FW_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
FW_DECLARE_EXCEPTION(EInvalidCast, Exception);
FW_DECLARE_EXCEPTION(EComponentError, Exception);
FW_DECLARE_EXCEPTION(EClassNotFound, Exception);
FW_DECLARE_EXCEPTION(EPropertyError, Exception);
FW_DECLARE_EXCEPTION(ERegistryException, Exception);
// A damaged form text; the message names the form, the line and the column.
FW_DECLARE_EXCEPTION(EParserError, Exception);

// Raises the silent exception that ends the current operation without a message.
[[noreturn]] inline void Abort() { throw EAbort("Operation aborted"); }

}  // namespace fw
