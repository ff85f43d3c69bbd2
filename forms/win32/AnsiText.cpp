#include "AnsiText.h"

namespace kelbrin::win32 {

std::wstring Widen(std::string_view ansi) {
    if (ansi.empty()) {
        return {};
    }
    const int size = static_cast<int>(ansi.size());
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    // Every byte of the ANSI code page makes at most one UTF-16 unit.
    const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), size);
    wide.resize(static_cast<std::size_t>(length));
    return wide;
}

std::string Narrow(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, ansi.data(), length, nullptr, nullptr);
    return ansi;
}

std::string AnsiPath(const std::wstring& path) {
    BOOL lost = FALSE;
    const int size = static_cast<int>(path.size());
    const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(), size,
                                             nullptr, 0, nullptr, &lost);
    if (!lost) {
        std::string ansi(static_cast<std::size_t>(length), '\0');
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(), size, ansi.data(), length,
                              nullptr, nullptr);
        return ansi;
    }
    std::wstring shortPath(::GetShortPathNameW(path.c_str(), nullptr, 0), L'\0');
    shortPath.resize(
        ::GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size())));
    return Narrow(shortPath.empty() ? path : shortPath);
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace kelbrin::win32
