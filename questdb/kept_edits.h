// Unsaved edits, kept beside the database between saves so that a crash can't take
// them: the database as last saved (SavedImage), and a file that holds only the quests
// that differ from it, with a fingerprint of the saved image they apply to. An edit
// then costs a look at the quests it changed and a write of those that differ, however
// large the database.
//
// The file: "LBDKEEP2", the saved image's length (8 bytes) and FNV-1a hash (8 bytes),
// its quest count (4), the length (8) and quest hash (8) of the image with the edits in,
// the number of runs (4), then each run in ascending order: its first saved quest (4), how
// many saved quests it replaces (4) and how many take their place (4), followed by
// those quests' records as quests.lbd holds them. Every number little-endian.
// "LBDKEEP1" files, from before the edited image's length and hash, are read too. An
// image's quest hash is the FNV-1a hash of its quest count (4 bytes) and of each quest's
// own hash (8 bytes): an edit rehashes only the quests it changed, where hashing the
// whole image again took longer than the rest of an edit at 100,000 entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "questdb/byte_buffer.h"
#include "questdb/quest_database.h"

// AlreadySaved: the saved database is the one the edits make, as after a save whose
// removal of the file never happened.
enum class KeptEditsResult { Applied, Damaged, OtherDatabase, AlreadySaved };

// FNV-1a of the bytes: defined to the bit, so that another build, or another version of
// the program, computes the same. Bytes that follow others continue from their hash.
inline constexpr std::uint64_t kStableHashStart = 14695981039346656037ull;
std::uint64_t StableHash(const void* bytes, std::size_t size,
                         std::uint64_t hash = kStableHashStart);

class SavedImage {
public:
    // The database as read or saved; its image, when already built, spares a second.
    void Take(const QuestDatabase& database);
    void Take(const QuestDatabase& database, ByteBuffer image);

    // Whether `current` holds other quests than the saved database: every quest is
    // compared.
    bool Differs(const QuestDatabase& current) const;
    // The kept-edits file that turns the saved database into `current`; empty when
    // they hold the same quests. Compares only the quests not known to be saved ones
    // (Edited), so that an edit of a large database costs little.
    ByteBuffer KeptEdits(const QuestDatabase& current);
    // What an edit did to the quests, in their positions after it: the quests at
    // `changed` may differ from what they were, and one quest was put in at `putIn` or
    // taken out from `takenOut` (-1: none). After a change not told so, Forget().
    void Edited(const std::vector<std::size_t>& changed, std::ptrdiff_t putIn,
                std::ptrdiff_t takenOut);
    void Forget() { knownSaved.clear(); }
    // Puts in `out` the database that the kept edits in `bytes` make of the saved one.
    // Damaged bytes, or the edits of another database, leave `out` as it was.
    KeptEditsResult Apply(const std::uint8_t* bytes, std::size_t size, QuestDatabase& out) const;
    // The longest kept-edits file that edits of the saved database could make, with the
    // texts of a journal of `journalLength` bytes: a longer one is damaged.
    std::uint64_t LargestKeptEdits(std::uint64_t journalLength) const;

private:
    // Saved quests [first, first + removed) give way to current ones [from, from + added).
    struct Run {
        std::size_t first, removed, from, added;
    };
    std::size_t QuestCount() const { return offsets.size() - 1; }
    bool SameQuest(std::size_t savedQuest, const Quest& quest) const;
    // Where `current` differs, as runs of saved quests that others replace. With
    // `known`, each current quest's entry there is the saved quest it is known to
    // equal, or kNotKnown; the quests found equal go in.
    std::vector<Run> Difference(const QuestDatabase& current,
                                std::vector<std::size_t>* known) const;

    ByteBuffer image;
    std::vector<std::size_t> offsets{4};  // where each saved quest begins, and the last ends
    std::uint64_t hash = 0;
    std::vector<std::uint64_t> questHashes;  // each saved quest's
    std::uint64_t questHash = 0;             // the whole image's
    // For each quest of the database as last edited, the saved quest it equals, or
    // kNotKnown; the edits since say which may have changed. Empty: none is known.
    static constexpr std::size_t kNotKnown = static_cast<std::size_t>(-1);
    std::vector<std::size_t> knownSaved;
};
