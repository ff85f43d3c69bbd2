#include "RuntimeError.h"

#include <utility>

namespace kelbrin {

std::string StandardDescription(std::int32_t number) {
    switch (number) {
    case ErrNone: return "";
    case ErrInvalidCall: return "Invalid procedure call or argument";
    case ErrOverflow: return "Overflow";
    case ErrOutOfMemory: return "Out of memory";
    case ErrSubscriptOutOfRange: return "Subscript out of range";
    case ErrInternal: return "Internal error";
    case ErrBadFileName: return "Bad file name or number";
    case ErrFileNotFound: return "File not found";
    case ErrFileAlreadyOpen: return "File already open";
    case ErrDeviceIO: return "Device I/O error";
    case ErrFileAlreadyExists: return "File already exists";
    case ErrDiskFull: return "Disk full";
    case ErrInputPastEndOfFile: return "Input past end of file";
    case ErrPermissionDenied: return "Permission denied";
    case ErrPathFileAccess: return "Path/File access error";
    case ErrPathNotFound: return "Path not found";
    default: return "Application-defined or object-defined error";
    }
}

RuntimeError::RuntimeError(std::int32_t number)
    : number_(number), description_(StandardDescription(number)) {}

RuntimeError::RuntimeError(std::int32_t number, std::string description)
    : number_(number), description_(std::move(description)) {}

} // namespace kelbrin
