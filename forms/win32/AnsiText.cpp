#include "AnsiText.h"

#include "WideText.h"

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

std::string PathFromWide(std::wstring_view path) {
    return Utf8FromWide(path);
}

std::wstring WidePathText(std::string_view path) {
    return WideFromUtf8(path);
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace kelbrin::win32
