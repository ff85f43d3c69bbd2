#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace kelbrin {

// The numbered run-time errors Kelbrin raises. The numbers are the ones users of the
// classic Windows file layer know; the error box shows them with their description.
enum ErrorNumber : std::int32_t {
    ErrNone = 0,
    ErrInvalidCall = 5,
    ErrOverflow = 6,
    ErrOutOfMemory = 7,
    ErrSubscriptOutOfRange = 9,
    ErrInternal = 51,
    ErrBadFileName = 52,
    ErrFileNotFound = 53,
    ErrFileAlreadyOpen = 55,
    ErrDeviceIO = 57,
    ErrFileAlreadyExists = 58,
    ErrDiskFull = 61,
    ErrInputPastEndOfFile = 62,
    ErrPermissionDenied = 70,
    ErrPathFileAccess = 75,
    ErrPathNotFound = 76,
};

// The standard description of an error number; the empty text for 0.
std::string StandardDescription(std::int32_t number);

// The one error type of the program: a number and its description. Number 0 stands for
// "no error is being handled" and has the empty description.
class RuntimeError : public std::exception {
public:
    explicit RuntimeError(std::int32_t number);
    RuntimeError(std::int32_t number, std::string description);

    std::int32_t Number() const noexcept { return number_; }
    const std::string& Description() const noexcept { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

private:
    std::int32_t number_;
    std::string description_;
};

} // namespace kelbrin
