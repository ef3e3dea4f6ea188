#include "lbdtool/text_encoding.h"

#include <cstdio>

#include "lbdtool/system.h"

namespace {

enum class Encoding { Bytes, Utf8, Utf16LE, Utf16BE };

struct Mark {
    std::string_view bytes;
    Encoding encoding;
    const char* name;
};
constexpr Mark kMarks[] = {{"\xEF\xBB\xBF", Encoding::Utf8, "UTF-8"},
                           {"\xFF\xFE", Encoding::Utf16LE, "UTF-16"},
                           {"\xFE\xFF", Encoding::Utf16BE, "UTF-16"}};

unsigned Byte(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

// The UTF-8 character at `at`, which moves past it; false for a malformed one, which
// it moves past by one byte.
bool NextUtf8(std::string_view bytes, std::size_t& at, char32_t& c) {
    const unsigned first = Byte(bytes, at++);
    if (first < 0x80) {
        c = first;
        return true;
    }
    std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 0;
    if (length == 0 || first > 0xF4 || at + length - 1 > bytes.size()) return false;
    c = first & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned next = Byte(bytes, at + i - 1);
        if ((next & 0xC0) != 0x80) return false;
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kShortest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    at += length - 1;
    return true;
}

// The UTF-16 character at `at`, as NextUtf8.
bool NextUtf16(std::string_view bytes, std::size_t& at, bool bigEndian, char32_t& c) {
    auto unit = [&](std::size_t i) -> char32_t {
        return bigEndian ? (Byte(bytes, i) << 8) | Byte(bytes, i + 1)
                         : Byte(bytes, i) | (Byte(bytes, i + 1) << 8);
    };
    if (at + 2 > bytes.size()) {
        at = bytes.size();  // half a unit at the end
        return false;
    }
    c = unit(at);
    at += 2;
    if (c < 0xD800 || c > 0xDFFF) return true;
    if (c >= 0xDC00 || at + 2 > bytes.size()) return false;
    const char32_t low = unit(at);
    if (low < 0xDC00 || low > 0xDFFF) return false;
    at += 2;
    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
    return true;
}

// Why the code page can't take `line`: its first character that the code page lacks.
std::string LackedCharacterReason(std::u32string_view line) {
    for (char32_t c : line) {
        std::string probe;
        if (AppendInSystemCodePage(std::u32string_view(&c, 1), probe)) continue;
        std::string shown;
        AppendUtf8(c, shown);
        char number[16];
        std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(c));
        return "the system code page, which Lorebinder reads the journal in, has no \"" + shown +
               "\" (" + number + ")";
    }
    return "the system code page can't hold this line";
}

}  // namespace

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string InSystemCodePage(std::string_view bytes, std::vector<TextLineError>& errors) {
    const Mark* mark = nullptr;
    for (const Mark& candidate : kMarks) {
        if (bytes.substr(0, candidate.bytes.size()) == candidate.bytes) mark = &candidate;
    }
    if (!mark) return std::string(bytes);

    std::string out;
    out.reserve(bytes.size());
    std::u32string line;
    bool lineValid = true;
    std::size_t number = 1;
    // Line by line, so that each line the code page can't take is named.
    auto endLine = [&] {
        if (!lineValid) {
            errors.push_back({number, std::string("the line isn't valid ") + mark->name +
                                          ", which the file's byte order mark says it is"});
        } else if (!AppendInSystemCodePage(line, out)) {
            errors.push_back({number, LackedCharacterReason(line)});
        }
        line.clear();
        lineValid = true;
    };
    for (std::size_t at = mark->bytes.size(); at < bytes.size();) {
        char32_t c = 0;
        const bool valid = mark->encoding == Encoding::Utf8
                               ? NextUtf8(bytes, at, c)
                               : NextUtf16(bytes, at, mark->encoding == Encoding::Utf16BE, c);
        if (!valid) {
            lineValid = false;
            continue;
        }
        line += c;
        if (c == U'\n') {
            endLine();
            ++number;
        }
    }
    endLine();
    return out;
}
