#include "questdb/kept_edits.h"

#include <cstring>
#include <utility>

namespace {

constexpr char kMagic[8] = {'L', 'B', 'D', 'K', 'E', 'E', 'P', '2'};
constexpr char kFirstMagic[8] = {'L', 'B', 'D', 'K', 'E', 'E', 'P', '1'};
constexpr std::size_t kFirstHeaderSize = 8 + 8 + 8 + 4 + 4;
constexpr std::size_t kHeaderSize = kFirstHeaderSize + 8 + 8;
constexpr std::size_t kEditedAt = 8 + 8 + 8 + 4;  // where the edited image's length is

void Put(ByteBuffer& out, const void* bytes, std::size_t size) {
    const std::size_t at = out.Size();
    out.Resize(at + size);
    if (size) std::memcpy(out.Data() + at, bytes, size);
}

void PutNumber(ByteBuffer& out, std::uint64_t value, std::size_t size) {
    std::uint8_t bytes[8];
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    Put(out, bytes, size);
}

// Reads `size` bytes as a number; false when fewer are left.
bool GetNumber(const std::uint8_t* bytes, std::size_t length, std::size_t& at, std::size_t size,
               std::uint64_t& value) {
    if (length - at < size) return false;
    value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= std::uint64_t{bytes[at + i]} << (8 * i);
    at += size;
    return true;
}

// The quest hash (kept_edits.h) goes on with one number more.
std::uint64_t HashNumber(std::uint64_t hash, std::uint64_t value, std::size_t size) {
    std::uint8_t bytes[8];
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return StableHash(bytes, size, hash);
}

}  // namespace

std::uint64_t StableHash(const void* data, std::size_t size, std::uint64_t hash) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

void SavedImage::Take(const QuestDatabase& database) {
    ByteBuffer built;
    database.WriteImage(built);
    Take(database, std::move(built));
}

void SavedImage::Take(const QuestDatabase& database, ByteBuffer built) {
    image = std::move(built);
    offsets.assign(1, 4);
    offsets.reserve(database.quests.size() + 1);
    for (const Quest& quest : database.quests)
        offsets.push_back(offsets.back() + quest.ImageSize());
    hash = StableHash(image.Data(), image.Size());
    questHashes.clear();
    questHash = HashNumber(kStableHashStart, QuestCount(), 4);
    for (std::size_t q = 0; q < QuestCount(); ++q) {
        questHashes.push_back(StableHash(image.Data() + offsets[q], offsets[q + 1] - offsets[q]));
        questHash = HashNumber(questHash, questHashes.back(), 8);
    }
    // The saved database is the current one.
    knownSaved.resize(QuestCount());
    for (std::size_t q = 0; q < QuestCount(); ++q) knownSaved[q] = q;
}

void SavedImage::Edited(const std::vector<std::size_t>& changed, std::ptrdiff_t putIn,
                        std::ptrdiff_t takenOut) {
    const auto at = [this](std::ptrdiff_t position) { return knownSaved.begin() + position; };
    if (putIn >= 0 && static_cast<std::size_t>(putIn) <= knownSaved.size())
        knownSaved.insert(at(putIn), kNotKnown);
    if (takenOut >= 0 && static_cast<std::size_t>(takenOut) < knownSaved.size())
        knownSaved.erase(at(takenOut));
    for (std::size_t quest : changed) {
        if (quest < knownSaved.size()) knownSaved[quest] = kNotKnown;
    }
}

bool SavedImage::SameQuest(std::size_t savedQuest, const Quest& quest) const {
    const std::size_t begin = offsets[savedQuest];
    return quest.ImageEquals(image.Data() + begin, offsets[savedQuest + 1] - begin);
}

// One pass, both lists in step: where they part, the saved quest has been changed,
// removed, or had others put before it. Edits come one at a time, so the lists meet
// again at once; anything else still gives runs that make the current list, if longer
// ones.
std::vector<SavedImage::Run> SavedImage::Difference(const QuestDatabase& current,
                                                    std::vector<std::size_t>* known) const {
    const std::size_t saved = QuestCount(), now = current.quests.size();
    // Edits told of keep the list as long as the database; any other change forgets it.
    if (known && known->size() != now) known->assign(now, kNotKnown);
    auto same = [&](std::size_t s, std::size_t c) {
        if (!known) return SameQuest(s, current.quests[c]);
        std::size_t& equal = (*known)[c];
        if (equal == s) return true;
        // Equal to one saved quest, and so to another only when their bytes are equal.
        if (equal != kNotKnown && questHashes[equal] != questHashes[s]) return false;
        if (!SameQuest(s, current.quests[c])) return false;
        equal = s;
        return true;
    };
    std::vector<Run> runs;
    auto add = [&runs](Run run) {
        Run* last = runs.empty() ? nullptr : &runs.back();
        if (last && last->first + last->removed == run.first) {
            last->removed += run.removed;
            last->added += run.added;
        } else {
            runs.push_back(run);
        }
    };
    std::size_t s = 0, c = 0;
    while (s < saved && c < now) {
        if (same(s, c)) {
            ++s, ++c;
        } else if (s + 1 < saved && same(s + 1, c)) {
            add({s++, 1, c, 0});
        } else if (c + 1 < now && same(s, c + 1)) {
            add({s, 0, c++, 1});
        } else {
            add({s++, 1, c++, 1});
        }
    }
    if (s < saved || c < now) add({s, saved - s, c, now - c});
    return runs;
}

bool SavedImage::Differs(const QuestDatabase& current) const {
    return !Difference(current, nullptr).empty();
}

// The edited image's length and hash go in as the quests are written, so that a later
// start can tell edits that a save has put in quests.lbd; the saved quests between runs
// are hashed from the saved image, unwritten.
ByteBuffer SavedImage::KeptEdits(const QuestDatabase& current) {
    ByteBuffer out;
    const std::vector<Run> runs = Difference(current, &knownSaved);
    if (runs.empty()) return out;
    Put(out, kMagic, sizeof(kMagic));
    PutNumber(out, image.Size(), 8);
    PutNumber(out, hash, 8);
    PutNumber(out, QuestCount(), 4);
    PutNumber(out, 0, 8);  // the edited image's length and hash, once known
    PutNumber(out, 0, 8);
    PutNumber(out, runs.size(), 4);
    std::uint64_t editedLength = 4,
                  editedHash = HashNumber(kStableHashStart, current.quests.size(), 4);
    auto hashSaved = [&](std::size_t from, std::size_t to) {
        editedLength += offsets[to] - offsets[from];
        for (std::size_t q = from; q < to; ++q)
            editedHash = HashNumber(editedHash, questHashes[q], 8);
    };
    ByteBuffer quest;
    std::size_t next = 0;
    for (const Run& run : runs) {
        PutNumber(out, run.first, 4);
        PutNumber(out, run.removed, 4);
        PutNumber(out, run.added, 4);
        hashSaved(next, run.first);
        for (std::size_t i = run.from; i < run.from + run.added; ++i) {
            current.quests[i].WriteImage(quest);
            Put(out, quest.Data(), quest.Size());
            editedLength += quest.Size();
            editedHash = HashNumber(editedHash, StableHash(quest.Data(), quest.Size()), 8);
        }
        next = run.first + run.removed;
    }
    hashSaved(next, QuestCount());
    ByteBuffer numbers;
    PutNumber(numbers, editedLength, 8);
    PutNumber(numbers, editedHash, 8);
    std::memcpy(out.Data() + kEditedAt, numbers.Data(), numbers.Size());
    return out;
}

KeptEditsResult SavedImage::Apply(const std::uint8_t* bytes, std::size_t size,
                                  QuestDatabase& out) const {
    const bool first = size >= kFirstHeaderSize && std::memcmp(bytes, kFirstMagic, 8) == 0;
    if (!first && (size < kHeaderSize || std::memcmp(bytes, kMagic, sizeof(kMagic)) != 0))
        return KeptEditsResult::Damaged;
    std::size_t at = sizeof(kMagic);
    std::uint64_t length = 0, savedHash = 0, count = 0, runs = 0;
    std::uint64_t editedLength = 0, editedHash = 0;
    GetNumber(bytes, size, at, 8, length);
    GetNumber(bytes, size, at, 8, savedHash);
    GetNumber(bytes, size, at, 4, count);
    if (!first) {
        GetNumber(bytes, size, at, 8, editedLength);
        GetNumber(bytes, size, at, 8, editedHash);
    }
    GetNumber(bytes, size, at, 4, runs);
    if (length != image.Size() || savedHash != hash || count != QuestCount()) {
        return !first && editedLength == image.Size() && editedHash == questHash
                   ? KeptEditsResult::AlreadySaved
                   : KeptEditsResult::OtherDatabase;
    }

    std::vector<Quest> quests;
    auto keepSaved = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            quests.emplace_back();
            quests.back().ReadImage(image.Data() + offsets[i], offsets[i + 1] - offsets[i]);
        }
    };
    std::size_t next = 0;  // the first saved quest not yet taken or replaced
    for (std::uint64_t run = 0; run < runs; ++run) {
        std::uint64_t first = 0, removed = 0, added = 0;
        if (!GetNumber(bytes, size, at, 4, first) || !GetNumber(bytes, size, at, 4, removed) ||
            !GetNumber(bytes, size, at, 4, added) || first < next || first > count ||
            removed > count - first)
            return KeptEditsResult::Damaged;
        keepSaved(next, first);
        // Not sized by `added`: quests are read while the bytes last.
        for (std::uint64_t i = 0; i < added; ++i) {
            Quest quest;
            std::size_t used = 0;
            if (!quest.ReadImage(bytes + at, size - at, &used)) return KeptEditsResult::Damaged;
            at += used;
            quests.push_back(std::move(quest));
        }
        next = first + removed;
    }
    if (at != size) return KeptEditsResult::Damaged;
    keepSaved(next, count);
    out.quests = std::move(quests);
    out.InvalidateIndex();
    return KeptEditsResult::Applied;
}

// Each run replaces at least one saved quest or adds before one, so there are at most
// one more runs than saved quests. The quests they add are made of saved quests' items
// and the journal's entries (a text and 2 bytes each, and a quest's 4): twice that
// leaves room for every edit the commands and their undo can make.
std::uint64_t SavedImage::LargestKeptEdits(std::uint64_t journalLength) const {
    return kHeaderSize + 12 * (QuestCount() + 1) + 2 * (image.Size() + 8 * journalLength);
}
