#pragma once
// The failures that reach the user. Every one carries the message the error display
// shows; the class tells the event loop whether to show it at all (EAbort is silent).

#include <string>
#include <utility>

namespace korventa {

class Exception {
public:
    explicit Exception(std::wstring message) : message_(std::move(message)) {}
    virtual ~Exception() = default;
    Exception(const Exception&) = default;
    Exception& operator=(const Exception&) = default;

    const std::wstring& Message() const noexcept { return message_; }

private:
    std::wstring message_;
};

// Abandons the current event without a message.
class EAbort : public Exception {
public:
    EAbort() : Exception(L"Operation aborted") {}
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

class EFilerError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EFCreateError : public EStreamError {
public:
    // "Cannot create file c:\Korventa\НР 1.01.xls"
    explicit EFCreateError(const std::wstring& path) : EStreamError(L"Cannot create file " + path) {}
};

class EWriteError : public EFilerError {
public:
    EWriteError() : EFilerError(L"Stream write error") {}
};

class EResNotFound : public Exception {
public:
    explicit EResNotFound(std::wstring_view name)
        : Exception(L"Resource " + std::wstring(name) + L" not found") {}
};

}  // namespace korventa

namespace korventa {

// A picture that cannot be decoded.
class EInvalidGraphic : public Exception {
public:
    EInvalidGraphic() : Exception(L"Invalid graphic format") {}
};

}  // namespace korventa
