#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// Where texts that live elsewhere are, found by their hashes. A text's owner may
// move its bytes (a string's short-text buffer moves with it), so only positions
// are kept, and the caller's test against its own texts tells a match.
//
// A flat table of slots, at most half full, rather than std::unordered_multimap:
// with a node per text, collating a journal of 20,000 entries took 1.5 times as long.
template <typename Position>
class TextPositions {
public:
    // The first position stored with `hash` for which holdsText(position) is true,
    // or null; valid until the next Add or Erase.
    template <typename HoldsText>
    const Position* Find(std::size_t hash, HoldsText&& holdsText) const {
        const std::size_t at = SlotOf(hash, holdsText);
        return at < slots.size() ? &slots[at].position : nullptr;
    }

    // Takes out what Find would return, if anything.
    template <typename HoldsText>
    void Erase(std::size_t hash, HoldsText&& holdsText) {
        std::size_t gap = SlotOf(hash, holdsText);
        if (gap == slots.size()) return;
        slots[gap].used = false;
        --count;
        // The slots after it that were placed past the gap move back into it, so that
        // every Find still reaches them.
        const std::size_t mask = slots.size() - 1;
        for (std::size_t at = (gap + 1) & mask; slots[at].used; at = (at + 1) & mask) {
            if (((at - slots[at].hash) & mask) >= ((at - gap) & mask)) {
                slots[gap] = slots[at];
                slots[at].used = false;
                gap = at;
            }
        }
    }

    // Every position stored, to be changed in place.
    template <typename Change>
    void ForEach(Change&& change) {
        for (Slot& slot : slots) {
            if (slot.used) change(slot.position);
        }
    }

    void Add(std::size_t hash, const Position& position) {
        Reserve(count + 1);
        Place(Slot{hash, position, true});
        ++count;
    }

    void Reserve(std::size_t texts) {
        while (2 * texts > slots.size()) Grow();
    }

    void Clear() {
        slots.clear();
        count = 0;
    }

private:
    struct Slot {
        std::size_t hash = 0;
        Position position{};
        bool used = false;
    };

    // The slot Find looks for, or slots.size().
    template <typename HoldsText>
    std::size_t SlotOf(std::size_t hash, HoldsText&& holdsText) const {
        if (slots.empty()) return 0;
        const std::size_t mask = slots.size() - 1;
        for (std::size_t at = hash & mask; slots[at].used; at = (at + 1) & mask) {
            if (slots[at].hash == hash && holdsText(slots[at].position)) return at;
        }
        return slots.size();
    }

    void Place(const Slot& slot) {
        const std::size_t mask = slots.size() - 1;
        std::size_t at = slot.hash & mask;
        while (slots[at].used) at = (at + 1) & mask;
        slots[at] = slot;
    }

    // Doubles the table; the stored hashes place every position again without a look
    // at the texts.
    void Grow() {
        std::vector<Slot> old(std::max<std::size_t>(16, 2 * slots.size()));
        old.swap(slots);
        for (const Slot& slot : old) {
            if (slot.used) Place(slot);
        }
    }

    std::vector<Slot> slots;
    std::size_t count = 0;
};
