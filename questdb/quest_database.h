#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "questdb/byte_buffer.h"
#include "questdb/text_positions.h"

// One possible journal entry of a quest. The text is the key that links the
// item to a journal entry; journalIndex lives only at run time.
class QuestItem {
public:
    std::string text;
    bool finisher = false;
    std::int32_t journalIndex = -1;

    // The text is written up to its first zero byte, if it holds one: the
    // format has no way to store it, and the image must stay readable.
    void WriteImage(ByteBuffer& out) const;
    // Reads one item record from the `left` bytes at `bytes`. Returns false,
    // leaving the item as it was, when the record does not end inside them.
    bool ReadImage(const std::uint8_t* bytes, std::size_t left, std::size_t* consumed = nullptr);
};

class Quest {
public:
    std::vector<QuestItem> items;

    bool IsFinished() const;

    void WriteImage(ByteBuffer& out) const;
    std::size_t ImageSize() const;
    // Whether WriteImage would write exactly these `size` bytes; reads no further.
    bool ImageEquals(const std::uint8_t* bytes, std::size_t size) const;
    // Reads one quest record. On damage it keeps the items read completely,
    // drops the rest and returns false.
    bool ReadImage(const std::uint8_t* bytes, std::size_t left, std::size_t* consumed = nullptr);
};

// The largest quests.lbd file the program reads: far beyond any real database, and what
// one read can take.
inline constexpr std::uint64_t kLargestDatabaseFile = 0x7FFFFFFF;

// What reading a quests.lbd image found. A damaged image keeps every quest and
// item read completely before the damage; a quest cut short keeps its complete
// items and is dropped when it has none. bytesParsed counts the bytes of what
// was kept: for a damaged image, the offset where the damage begins.
struct ImageReadResult {
    bool damaged = false;
    std::size_t questsKept = 0;
    std::size_t itemsKept = 0;
    std::size_t bytesParsed = 0;
};

// The database. Lookups go through an index of texts, kept current by the member
// functions that add, put in and remove items, and rebuilt lazily after the others. Code that
// changes `quests`, some quest's `items` or an item's `text` otherwise (by hand,
// or through the ReadImage functions of a Quest or QuestItem) must call
// InvalidateIndex() afterwards. Finisher flags and journal indexes may be
// changed freely.
class QuestDatabase {
public:
    std::vector<Quest> quests;

    virtual ~QuestDatabase() = default;

    // Lookups return the first match in database order: quests in order, and
    // each quest's items in order.
    // The text is only read, so a view into any string will do.
    QuestItem* FindItem(std::string_view text);
    Quest* FindQuest(std::string_view text);
    // Both at once, for one lookup's price; both null when no item holds the text.
    std::pair<Quest*, QuestItem*> FindQuestAndItem(std::string_view text);
    // Appends a one-item quest; refuses (nullptr) when some item holds the text.
    Quest* AddQuest(std::string text, std::int32_t journalIndex, bool finisher);
    // Appends a quest as it stands, as reading an image would: it may hold no item, or
    // a text that another item holds.
    Quest* AppendQuest(Quest quest);
    // Appends an item to `quest`, one of ours, even when other items hold its text.
    QuestItem* AddItem(Quest& quest, std::string text, std::int32_t journalIndex, bool finisher);
    // Puts an item in at `item` in the quest at `quest`, or, with `newQuest`, as the one
    // item of a quest put in at `quest`; the items or quests from there on move up by
    // one. Null, changing nothing, when there is no such place.
    QuestItem* InsertItem(std::size_t quest, std::size_t item, bool newQuest, std::string text,
                          bool finisher);
    // Removes the item; a quest left without items goes too. Does nothing when
    // the quest is not one of ours or does not hold the item.
    void RemoveItem(Quest* quest, QuestItem* item);
    void ResetJournalIndexes();
    void ClearFinishers();

    void InvalidateIndex() { indexCurrent = false; }

    void WriteImage(ByteBuffer& out) const;
    ImageReadResult ReadImage(const std::uint8_t* bytes, std::size_t length,
                              std::size_t* consumed = nullptr);

private:
    struct ItemPosition {
        std::size_t quest;
        std::size_t item;
    };

    // Where the first item holding `text` is, or null; brings the index up to date first.
    const ItemPosition* Locate(std::string_view text);
    // The same from the index as it stands, `hash` being the text's.
    const ItemPosition* Indexed(std::string_view text, std::size_t hash) const;
    void RebuildIndex();
    // The index, current before an item was put in at or taken out from `at`, made
    // current again without a rebuild: a rebuild hashes every text, which a middle
    // insert or a removal at 100,000 entries would otherwise cost each time.
    void Inserted(ItemPosition at, bool newQuest);
    void Removed(ItemPosition at, bool questToo, const std::string* first);

    // The first item holding each text. Positions rather than views of the texts: an
    // item's bytes move when its quest's items grow, and a change made by hand, before
    // InvalidateIndex(), must not leave the index reading freed memory.
    TextPositions<ItemPosition> index;
    bool indexCurrent = false;
};
