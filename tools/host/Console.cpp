#include "Console.h"

#include <windows.h>

#include <cstdio>

namespace iwv::host {
namespace {

std::wstring Widen(const std::string& cp1250) {
    if (cp1250.empty()) return std::wstring();
    const int length = ::MultiByteToWideChar(1250, 0, cp1250.data(), static_cast<int>(cp1250.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(1250, 0, cp1250.data(), static_cast<int>(cp1250.size()), &wide[0], length);
    return wide;
}

std::string ToUtf8(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], length, nullptr,
                          nullptr);
    return utf8;
}

}  // namespace

void PrintCp1250(const std::string& text) {
    const std::wstring wide = Widen(text);
    std::fflush(stdout);
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (::GetConsoleMode(out, &mode)) {
        DWORD written = 0;
        ::WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const std::string utf8 = ToUtf8(wide);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

void Print(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

void PrintError(const std::string& text) {
    std::fflush(stdout);
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

}  // namespace iwv::host
