#include "WideText.h"

#include <windows.h>

#include "RuntimeError.h"

namespace kelbrin {

namespace {

// `flags` MB_ERR_INVALID_CHARS: nothing when `bytes` are not text of `codePage`.
std::optional<std::wstring> Widen(UINT codePage, DWORD flags, std::string_view bytes) {
    if (bytes.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (length == 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, flags, bytes.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(UINT codePage, std::wstring_view wide, BOOL* lost) {
    if (wide.empty()) {
        return {};
    }
    // UTF-8 takes neither the flag nor the question whether a character was lost.
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, lost);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, flags, wide.data(), size, narrow.data(), length, nullptr,
                          nullptr);
    return narrow;
}

} // namespace

std::wstring WideFromUtf8(std::string_view utf8) {
    return Widen(CP_UTF8, 0, utf8).value_or(std::wstring());
}

std::wstring WidePath(std::string_view utf8) {
    std::optional<std::wstring> wide = Widen(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
    if (!wide) {
        throw RuntimeError(ErrBadFileName);
    }
    return std::move(*wide);
}

std::string Utf8FromWide(std::wstring_view wide) {
    return Narrow(CP_UTF8, wide, nullptr);
}

std::string Utf8FromAnsi(std::string_view ansi) {
    return Utf8FromWide(Widen(CP_ACP, 0, ansi).value_or(std::wstring()));
}

std::optional<std::string> AnsiFromUtf8(std::string_view utf8) {
    const std::optional<std::wstring> wide = Widen(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
    if (!wide) {
        return std::nullopt;
    }
    BOOL lost = FALSE;
    std::string ansi = Narrow(CP_ACP, *wide, &lost);
    if (lost) {
        return std::nullopt;
    }
    return ansi;
}

std::string AnsiTextFromUtf8(std::string_view utf8) {
    return Narrow(CP_ACP, WideFromUtf8(utf8), nullptr);
}

} // namespace kelbrin
