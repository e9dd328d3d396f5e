#include "platform/Console.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace iwv::platform {
namespace {

constexpr UINT kWindows1250 = 1250;

std::wstring Widened(std::string_view cp1250) {
    if (cp1250.empty()) return std::wstring();
    const int size = static_cast<int>(cp1250.size());
    const int length = ::MultiByteToWideChar(kWindows1250, 0, cp1250.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(kWindows1250, 0, cp1250.data(), size, &wide[0], length);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, &utf8[0], length, nullptr, nullptr);
    return utf8;
}

}  // namespace

void WriteText(StandardStream stream, std::string_view cp1250, bool utf8Elsewhere) {
    const bool output = stream == StandardStream::Output;
    std::FILE* out = output ? stdout : stderr;
    std::fflush(stdout);
    const HANDLE handle = ::GetStdHandle(output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (::GetConsoleMode(handle, &mode)) {
        const std::wstring wide = Widened(cp1250);
        DWORD written = 0;
        ::WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const std::string bytes = utf8Elsewhere ? Utf8(Widened(cp1250)) : std::string(cp1250);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fflush(out);
}

}  // namespace iwv::platform
