// The hash that every text index of the program uses: the journal reader's, which
// finds repeated entries, and the quest database's, which finds items by text. Both
// hash every text of a journal, so it is built for speed on paragraphs: sixteen
// bytes per step, two steps at a time, each step a 64 x 64 -> 128-bit multiply whose
// halves are folded together. The low bits, which pick a slot, mix well.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace text_hash_detail {

inline std::uint64_t Load64(const unsigned char* bytes) {
    std::uint64_t value;
    std::memcpy(&value, bytes, 8);
    return value;
}

inline std::uint64_t Load32(const unsigned char* bytes) {
    std::uint32_t value;
    std::memcpy(&value, bytes, 4);
    return value;
}

inline std::uint64_t Fold(std::uint64_t a, std::uint64_t b) {
    const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

constexpr std::uint64_t kMix0 = 0xa0761d6478bd642full;
constexpr std::uint64_t kMix1 = 0xe7037ed1a0b428dbull;
constexpr std::uint64_t kMix2 = 0x8ebc6af09c88c6e3ull;
constexpr std::uint64_t kMix3 = 0x589965cc75374cc3ull;

}  // namespace text_hash_detail

// Equal texts hash alike within one run of the program; nothing stores a hash.
inline std::size_t HashText(std::string_view text) {
    using namespace text_hash_detail;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t left = text.size();
    std::uint64_t seed = kMix0 ^ left;
    if (left > 32) {
        // Two independent chains, so that one multiply need not wait for the other.
        std::uint64_t other = kMix3;
        do {
            seed = Fold(Load64(p) ^ kMix1, Load64(p + 8) ^ seed);
            other = Fold(Load64(p + 16) ^ kMix2, Load64(p + 24) ^ other);
            p += 32;
            left -= 32;
        } while (left > 32);
        seed ^= other;
    }
    if (left > 16) {
        seed = Fold(Load64(p) ^ kMix1, Load64(p + 8) ^ seed);
        p += 16;
        left -= 16;
    }
    // The last 1 to 16 bytes, read as two words that may overlap.
    std::uint64_t a = 0;
    std::uint64_t b = 0;
    if (left >= 8) {
        a = Load64(p);
        b = Load64(p + left - 8);
    } else if (left >= 4) {
        a = Load32(p);
        b = Load32(p + left - 4);
    } else if (left > 0) {
        a = (std::uint64_t{p[0]} << 16) | (std::uint64_t{p[left / 2]} << 8) | p[left - 1];
    }
    return static_cast<std::size_t>(
        Fold(kMix1 ^ text.size(), Fold(a ^ kMix1, b ^ seed)));
}
