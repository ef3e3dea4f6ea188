#include "framework/dropped_files.h"

#include <shlobj.h>

#include <cstring>

#include "framework/wide_text.h"

namespace {

// The names of Char from `at` on, each ended by a zero, the list by an empty one; only
// names that end inside the `size` bytes count.
template <typename Char>
std::vector<std::basic_string<Char>> NamesIn(const BYTE* block, SIZE_T size, SIZE_T at) {
    std::vector<std::basic_string<Char>> names;
    std::basic_string<Char> name;
    for (; at <= size && size - at >= sizeof(Char); at += sizeof(Char)) {
        Char c;
        std::memcpy(&c, block + at, sizeof c);  // the offset need not be aligned
        if (c != 0) {
            name += c;
            continue;
        }
        if (name.empty()) break;
        names.push_back(std::move(name));
        name.clear();
    }
    return names;
}

}  // namespace

std::vector<std::string> TakeDroppedFiles(HANDLE drop) {
    std::vector<std::string> paths;
    const HGLOBAL memory = static_cast<HGLOBAL>(drop);
    const SIZE_T size = GlobalSize(memory);
    if (const auto* block = static_cast<const BYTE*>(GlobalLock(memory))) {
        DROPFILES header;
        if (size >= sizeof header) {
            std::memcpy(&header, block, sizeof header);
            if (header.fWide) {
                for (const std::wstring& name : NamesIn<wchar_t>(block, size, header.pFiles))
                    paths.push_back(Utf8FromWide(name));
            } else {
                for (const std::string& name : NamesIn<char>(block, size, header.pFiles))
                    paths.push_back(Utf8FromSystemCodePage(name));
            }
        }
        GlobalUnlock(memory);
    }
    GlobalFree(memory);
    return paths;
}
