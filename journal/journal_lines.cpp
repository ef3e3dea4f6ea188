#include "journal/journal_lines.h"

#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool EndsWith(std::string_view line, std::string_view marker) {
    return line.size() >= marker.size() &&
           line.compare(line.size() - marker.size(), marker.size(), marker) == 0;
}

std::string_view HeadingOf(std::string_view line) {
    const std::size_t close = line.find('>');
    if (close != std::string_view::npos) line.remove_prefix(close + 1);
    const std::size_t open = line.find('<');
    if (open != std::string_view::npos) line = line.substr(0, open);
    return line;
}

// The block code below reads eight bytes as one number, first byte lowest.
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the mark scan assumes a little-endian machine"
#endif

// 0x80 in each byte of `word` that is "@" or "#", zero elsewhere. The xor turns
// a mark into zero; adding 0x7F to the low seven bits carries into the top bit
// of every byte but a zero one, and no carry crosses a byte, so bytes of 0x80
// and above never pass for marks.
std::uint64_t MarkBytes(std::uint64_t word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7Full;
    const std::uint64_t at = word ^ (kOnes * '@');
    const std::uint64_t hash = word ^ (kOnes * '#');
    const std::uint64_t atSet = ((at & kLows) + kLows) | at;
    const std::uint64_t hashSet = ((hash & kLows) + kLows) | hash;
    return ~(atSet & hashSet) & ~kLows;
}

// Removes the bytes flagged in `marks` from `block`, highest first so that the
// lower flags keep their places; the bytes above each one move down by one.
// Returns how many were removed.
int SqueezeOutMarks(std::uint64_t& block, std::uint64_t marks) {
    int removed = 0;
    while (marks != 0) {
        const int top = 63 - __builtin_clzll(marks);
        const int shift = top & ~7;  // first bit of the marked byte
        const std::uint64_t below = shift == 0 ? 0 : (~0ull >> (64 - shift));
        block = (block & below) | ((block >> 8) & ~below);
        marks &= ~(1ull << top);
        ++removed;
    }
    return removed;
}

// Copies the eight bytes at `from` less their marks to `to`, writing all eight.
// Returns the end of what was kept.
char* CopyEightUnlessMarks(const char* from, char* to) {
    std::uint64_t block;
    std::memcpy(&block, from, 8);
    const std::uint64_t marks = MarkBytes(block);
    const int removed = marks == 0 ? 0 : SqueezeOutMarks(block, marks);
    std::memcpy(to, &block, 8);
    return to + 8 - removed;
}

// Writes the byte and keeps it only when it is no mark.
char* CopyUnlessMark(char c, char* to) {
    *to = c;
    return to + ((c != '@') & (c != '#'));
}

}  // namespace

JournalLineKind ClassifyJournalLine(std::string_view line) {
    if (EndsWith(line, "<BR>")) return JournalLineKind::Heading;
    if (EndsWith(line, "<P>")) return JournalLineKind::Text;
    if (line.empty()) return JournalLineKind::Empty;
    return JournalLineKind::Unrecognised;
}

void AssignHeading(std::string_view line, std::string& out) {
    out.assign(HeadingOf(line));
}

void AssignCleanEntryText(std::string_view line, std::string& out) {
    // Deleting marks neither adds nor removes a "<", so cutting first and
    // copying what lies between the marks gives the same text in one pass.
    const std::size_t open = line.find('<');
    if (open != std::string_view::npos) line = line.substr(0, open);
    out.resize(line.size());
    const char* from = line.data();
    const char* const end = from + line.size();
    char* to = out.data();
    // Writing whole blocks stays inside `out`, since `to` never runs ahead of `from`.
#if defined(__SSE2__)
    // Sixteen bytes at a time where the processor compares them at once: a block
    // without marks, by far the most common, moves whole; one with marks goes as
    // two halves below.
    const __m128i atMark = _mm_set1_epi8('@');
    const __m128i hashMark = _mm_set1_epi8('#');
    for (; end - from >= 16; from += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const int marks = _mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(block, atMark), _mm_cmpeq_epi8(block, hashMark)));
        if (marks == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to), block);
            to += 16;
        } else {
            to = CopyEightUnlessMarks(from, to);
            to = CopyEightUnlessMarks(from + 8, to);
        }
    }
#endif
    // Eight bytes at a time: a block without marks moves whole, one with a
    // few is squeezed in a register.
    for (; end - from >= 8; from += 8) to = CopyEightUnlessMarks(from, to);
    for (; from < end; ++from) to = CopyUnlessMark(*from, to);
    out.resize(static_cast<std::size_t>(to - out.data()));
}

void ExtractHeading(std::string& line) {
    const std::string_view heading = HeadingOf(line);
    line = std::string(heading);
}

void CleanEntryText(std::string& line) {
    std::string cleaned;
    AssignCleanEntryText(line, cleaned);
    line = std::move(cleaned);
}
