#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "questdb/byte_buffer.h"

// One possible journal entry of a quest. The text is the key that links the
// item to a journal entry; journalIndex lives only at run time.
class QuestItem {
public:
    std::string text;
    bool finisher = false;
    std::int32_t journalIndex = -1;

    void WriteImage(ByteBuffer& out) const;
    // Reads one item record from the `left` bytes at `bytes`. Returns false,
    // leaving the item as it was, when the record does not end inside them.
    bool ReadImage(const std::uint8_t* bytes, std::size_t left, std::size_t* consumed = nullptr);
};

class Quest {
public:
    std::vector<QuestItem> items;

    QuestItem* AddItem(std::string text, std::int32_t journalIndex, bool finisher);
    bool IsFinished() const;

    void WriteImage(ByteBuffer& out) const;
    // Reads one quest record. On damage it keeps the items read completely,
    // drops the rest and returns false.
    bool ReadImage(const std::uint8_t* bytes, std::size_t left, std::size_t* consumed = nullptr);
};

// What reading a quests.lbd image found. A damaged image keeps every quest and
// item read completely before the damage.
struct ImageReadResult {
    bool damaged = false;
    std::size_t questsKept = 0;
    std::size_t itemsKept = 0;
    std::size_t bytesParsed = 0;
};

class QuestDatabase {
public:
    std::vector<Quest> quests;

    virtual ~QuestDatabase() = default;

    // Lookups return the first match in database order: quests in order, and
    // each quest's items in order.
    QuestItem* FindItem(std::string text);
    Quest* FindQuest(std::string text);
    // Appends a one-item quest; refuses (nullptr) when some item holds the text.
    Quest* AddQuest(std::string text, std::int32_t journalIndex, bool finisher);
    // Removes the item; a quest left without items goes too.
    void RemoveItem(Quest* quest, QuestItem* item);
    void ResetJournalIndexes();
    void ClearFinishers();

    void WriteImage(ByteBuffer& out) const;
    ImageReadResult ReadImage(const std::uint8_t* bytes, std::size_t length,
                              std::size_t* consumed = nullptr);
};
