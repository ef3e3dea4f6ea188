// Reads any bytes as a quests.lbd image. Whatever the reader keeps must be a
// sound database: its image reads back undamaged and equal and is written again
// byte for byte, an undamaged input is reproduced but for finisher values, and
// every lookup finds the first item with its text. The same bytes, behind the header
// of a real kept-edits file, are applied to a small database or refused, and what is
// applied is a sound database.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <unordered_set>

#include "questdb/kept_edits.h"
#include "questdb/quest_database.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

bool SameRecords(const QuestDatabase& a, const QuestDatabase& b) {
    if (a.quests.size() != b.quests.size()) return false;
    for (std::size_t q = 0; q < a.quests.size(); ++q) {
        const auto& itemsA = a.quests[q].items;
        const auto& itemsB = b.quests[q].items;
        if (itemsA.size() != itemsB.size()) return false;
        for (std::size_t i = 0; i < itemsA.size(); ++i) {
            if (itemsA[i].text != itemsB[i].text || itemsA[i].finisher != itemsB[i].finisher) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QuestDatabase db;
    const ImageReadResult result = db.ReadImage(data, size);
    Require(result.bytesParsed <= size);
    Require(result.questsKept == db.quests.size());

    std::size_t items = 0;
    std::unordered_set<std::string> seen;
    for (Quest& quest : db.quests) {
        for (QuestItem& item : quest.items) {
            ++items;
            Require(item.journalIndex == -1);
            const bool first = seen.insert(item.text).second;
            Require((db.FindItem(item.text) == &item) == first);
            Require(db.FindQuest(item.text) != nullptr);
        }
    }
    Require(result.itemsKept == items);

    ByteBuffer image;
    db.WriteImage(image);
    if (!result.damaged) {
        Require(image.Size() == result.bytesParsed);
        for (std::size_t i = 0; i < image.Size(); ++i) {
            const std::uint8_t written = image.Data()[i];
            Require(written == data[i] || (written == 0xFF && data[i] != 0));
        }
    }

    QuestDatabase again;
    const ImageReadResult reread = again.ReadImage(image.Data(), image.Size());
    Require(!reread.damaged && reread.bytesParsed == image.Size());
    Require(SameRecords(db, again));
    // And the image it writes is the one it was read from: saving twice is stable.
    ByteBuffer second;
    again.WriteImage(second);
    Require(second.Bytes() == image.Bytes());

    QuestDatabase base;
    base.AddQuest("first", -1, false);
    base.AddQuest("second", -1, true);
    SavedImage saved;
    saved.Take(base);
    base.quests[0].items[0].finisher = true;
    ByteBuffer kept = saved.KeptEdits(base);
    const std::size_t header = 8 + 8 + 8 + 4;  // all but the number of runs
    kept.Resize(header + size);
    for (std::size_t i = 0; i < size; ++i) kept.Data()[header + i] = data[i];
    QuestDatabase restored;
    if (saved.Apply(kept.Data(), kept.Size(), restored) == KeptEditsResult::Applied) {
        const ByteBuffer back = saved.KeptEdits(restored);
        QuestDatabase again;
        Require(back.Size() == 0
                    ? !saved.Differs(restored)
                    : saved.Apply(back.Data(), back.Size(), again) == KeptEditsResult::Applied &&
                          SameRecords(again, restored));
    } else {
        Require(restored.quests.empty());
    }
    return 0;
}
