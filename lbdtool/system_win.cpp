// Windows: paths go to the wide functions, and a console window gets wide text,
// since it shows neither UTF-8 nor (in its OEM code page) the system code page's
// accented letters as they are.
#include <windows.h>

#include <io.h>

#include <algorithm>
#include <iostream>

#include "framework/file_exception.h"
#include "framework/wide_text.h"
#include "lbdtool/system.h"

const char kSystemLineEnd[] = "\r\n";

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return _wfopen(WideFromUtf8(path).c_str(), WideFromUtf8(mode).c_str());
}

void RemoveFile(const std::string& path) {
    DeleteFileW(WideFromUtf8(path).c_str());
}

bool FlushToDisk(std::FILE* file) {
    return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))) != 0;
}

bool MoveFileOver(const std::string& from, const std::string& to, const std::string& backup,
                  std::string& reason) {
    const std::wstring wideTo = WideFromUtf8(to);
    // Wine lets a move replace a read-only file, which Windows refuses: refuse it everywhere.
    const DWORD attributes = GetFileAttributesW(wideTo.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        reason = "it is read-only";
        return false;
    }
    // As the program saves: the file replaced is kept under the backup's name. The
    // platform's replace takes only full paths.
    auto full = [](const std::string& path) {
        const std::wstring wide = WideFromUtf8(path);
        std::wstring out(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
        out.resize(
            GetFullPathNameW(wide.c_str(), static_cast<DWORD>(out.size()), out.data(), nullptr));
        return out;
    };
    const std::wstring wideFrom = full(from), wideBackup = full(backup);
    const bool moved = attributes == INVALID_FILE_ATTRIBUTES
                           ? MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                           : ReplaceFileW(full(to).c_str(), wideFrom.c_str(), wideBackup.c_str(),
                                          REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    const DWORD error = moved ? 0 : GetLastError();
    // The old file went to the backup's name and the new one couldn't follow: put it back.
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        MoveFileExW(wideBackup.c_str(), full(to).c_str(), MOVEFILE_WRITE_THROUGH);
    if (!moved) {
        reason = SystemErrorText(error);
        return false;
    }
    return true;
}

bool AppendInSystemCodePage(std::u32string_view text, std::string& out) {
    std::wstring wide;
    for (char32_t c : text) {
        if (c >= 0x10000) {
            wide += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(c);
        }
    }
    if (wide.empty()) return true;
    // No best fit: "Ł" must not quietly become "L", a text no journal entry has.
    // UTF-8 as the system code page takes neither the flag nor the question, and
    // lacks no character.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL lacking = FALSE;
    BOOL* lackingOut = utf8 ? nullptr : &lacking;
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, lackingOut);
    if (length <= 0 || lacking) return false;
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(length));
    WideCharToMultiByte(CP_ACP, flags, wide.data(), size, &out[start], length, nullptr, nullptr);
    return true;
}

namespace {

// The console window behind the stream, or null for a file or a pipe.
HANDLE ConsoleOf(Stream stream) {
    HANDLE handle = GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

std::ostream& StreamOf(Stream stream) {
    return stream == Stream::Out ? std::cout : std::cerr;
}

void WriteToConsole(HANDLE console, Stream stream, const std::wstring& wide) {
    std::wstring lines;
    for (wchar_t c : wide) {
        if (c == L'\n') lines += L'\r';
        lines += c;
    }
    for (std::size_t done = 0; done < lines.size();) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(lines.size() - done, 8192));
        if (!WriteConsoleW(console, lines.data() + done, chunk, &written, nullptr) || !written) {
            StreamOf(stream).setstate(std::ios::badbit);
            return;
        }
        done += written;
    }
}

}  // namespace

void WriteMessage(Stream stream, std::string_view utf8) {
    if (HANDLE console = ConsoleOf(stream)) {
        WriteToConsole(console, stream, WideFromUtf8(utf8));
    } else {
        StreamOf(stream) << SystemCodePageFromUtf8(utf8);
    }
}

void WriteText(Stream stream, std::string_view text) {
    if (HANDLE console = ConsoleOf(stream)) {
        WriteToConsole(console, stream, WideFromSystemCodePage(text));
    } else {
        StreamOf(stream) << text;
    }
}
