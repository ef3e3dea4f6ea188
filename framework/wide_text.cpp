#include "framework/wide_text.h"

#include <windows.h>

namespace {

std::wstring Widen(UINT codePage, std::string_view text) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(UINT codePage, std::wstring_view wide, DWORD flags = 0) {
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

}  // namespace

std::wstring WideFromUtf8(std::string_view utf8) {
    return Widen(CP_UTF8, utf8);
}

std::string Utf8FromWide(std::wstring_view wide) {
    return Narrow(CP_UTF8, wide);
}

std::wstring WideFromSystemCodePage(std::string_view text) {
    return Widen(CP_ACP, text);
}

std::string Utf8FromSystemCodePage(std::string_view text) {
    return Narrow(CP_UTF8, Widen(CP_ACP, text));
}

std::string SystemCodePageFromUtf8(std::string_view utf8) {
    // No best fit: "Łódź" as "Lodz" would name another folder; "?ód?" shows what is lost.
    // A UTF-8 code page lacks nothing and takes no flags.
    return Narrow(CP_ACP, Widen(CP_UTF8, utf8), GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS);
}
