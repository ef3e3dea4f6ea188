#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "questdb/text_hash.h"

// A hash index of texts that live elsewhere, each known by a small id (a
// position in some array). The index keeps only ids and hashes and asks
// textAt(id) for a text whenever it compares one, so the array may grow and
// move its strings (short strings move their bytes with them) without
// leaving the index pointing at stale bytes.
template <typename TextAt>
class TextIndex {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    explicit TextIndex(TextAt textAt) : textAt(std::move(textAt)) {}

    static std::size_t Hash(std::string_view text) { return HashText(text); }

    // The id whose text equals `text`, or kNone.
    std::uint32_t Find(std::string_view text) const { return Find(text, Hash(text)); }

    std::uint32_t Find(std::string_view text, std::size_t hash) const {
        if (slots.empty()) return kNone;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            const Slot& slot = slots[at];
            if (slot.id == kNone) return kNone;
            if (slot.hash == hash && textAt(slot.id) == text) return slot.id;
        }
    }

    // Adds `id`, whose text hashes to `hash`, unless an equal text is already
    // indexed. Returns the id that holds the text afterwards: the first one
    // added wins.
    std::uint32_t Insert(std::uint32_t id, std::size_t hash) {
        if ((count + 1) * 2 > slots.size()) Grow();
        const std::string_view text = textAt(id);
        std::size_t at = hash & mask;
        for (;; at = (at + 1) & mask) {
            const Slot& slot = slots[at];
            if (slot.id == kNone) break;
            if (slot.hash == hash && textAt(slot.id) == text) return slot.id;
        }
        slots[at] = Slot{hash, id};
        ++count;
        return id;
    }

    std::uint32_t Insert(std::uint32_t id) { return Insert(id, Hash(textAt(id))); }

    std::size_t Size() const { return count; }

    void Reserve(std::size_t texts) {
        while (texts * 2 > slots.size()) Grow();
    }

    void Clear() {
        slots.clear();
        mask = 0;
        count = 0;
    }

private:
    struct Slot {
        std::size_t hash = 0;
        std::uint32_t id = kNone;
    };

    // Doubles the table; the stored hashes place every id again without
    // touching the texts.
    void Grow() {
        std::vector<Slot> old(slots.size() < 16 ? 32 : slots.size() * 2);
        old.swap(slots);
        mask = slots.size() - 1;
        for (const Slot& slot : old) {
            if (slot.id == kNone) continue;
            std::size_t at = slot.hash & mask;
            while (slots[at].id != kNone) at = (at + 1) & mask;
            slots[at] = slot;
        }
    }

    TextAt textAt;
    std::vector<Slot> slots;
    std::size_t mask = 0;
    std::size_t count = 0;
};
