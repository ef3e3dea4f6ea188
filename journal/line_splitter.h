#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// Splits a text file's bytes into lines the way a text-mode read does: a line
// feed ends a line, a carriage return right before it belongs to the line end,
// any other carriage return stays in the line, and byte 26 ends the file. The
// bytes may arrive in chunks of any size; a line cut by a chunk boundary is
// carried over, so lines of any length come out whole.
class LineSplitter {
public:
    static constexpr char kEndOfFile = 26;

    // Hands each line completed by these bytes to onLine(std::string_view),
    // without its line end. The view is valid only during the call.
    template <typename OnLine>
    void Feed(const char* bytes, std::size_t size, OnLine&& onLine) {
        if (ended || size == 0) return;
        if (const void* stop = std::memchr(bytes, kEndOfFile, size)) {
            size = static_cast<std::size_t>(static_cast<const char*>(stop) - bytes);
            ended = true;
        }
        const char* const end = bytes + size;
        const char* start = bytes;
        while (start < end) {
            const void* found = std::memchr(start, '\n', static_cast<std::size_t>(end - start));
            if (found == nullptr) {
                carry.append(start, end);
                break;
            }
            const char* lineFeed = static_cast<const char*>(found);
            if (carry.empty()) {
                // The whole line lies in this chunk: hand it out without copying.
                onLine(WithoutCarriageReturn(
                    std::string_view(start, static_cast<std::size_t>(lineFeed - start))));
            } else {
                carry.append(start, lineFeed);
                onLine(WithoutCarriageReturn(carry));
                carry.clear();
            }
            start = lineFeed + 1;
        }
    }

    // Ends the input: a last line without a line end is still a line.
    template <typename OnLine>
    void Finish(OnLine&& onLine) {
        ended = true;
        if (!carry.empty()) {
            onLine(std::string_view(carry));
            carry.clear();
        }
    }

    // True once byte 26 or Finish ended the input; later bytes are ignored.
    bool Ended() const { return ended; }
    // Whether the bytes so far end inside a line, which waits for its line end.
    bool HoldsPartOfALine() const { return !carry.empty(); }

private:
    static std::string_view WithoutCarriageReturn(std::string_view line) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }

    std::string carry;
    bool ended = false;
};
