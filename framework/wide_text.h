// The program's texts and the platform's UTF-16. Paths and messages are UTF-8, so that
// a folder named in any script survives whatever the system code page; what the files
// hold stays in the system code page and becomes UTF-8 only to go into a message.
#pragma once

#include <string>
#include <string_view>

std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// Text in the system code page as UTF-16 or UTF-8, every character kept.
std::wstring WideFromSystemCodePage(std::string_view text);
std::string Utf8FromSystemCodePage(std::string_view text);
// UTF-8 in the system code page; a character it lacks becomes "?".
std::string SystemCodePageFromUtf8(std::string_view utf8);
