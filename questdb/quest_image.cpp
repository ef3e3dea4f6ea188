// The quests.lbd image of the database records: little-endian 32-bit counts,
// items as a finisher byte and a zero-terminated text, no header.

#include <cstring>
#include <utility>

#include "questdb/quest_database.h"

namespace {

constexpr std::size_t kCountSize = 4;
constexpr std::uint32_t kLargestCount = 0x7FFFFFFF;  // larger raw values are negative counts

std::size_t StoredTextLength(const std::string& text) {
    const std::size_t zero = text.find('\0');
    return zero == std::string::npos ? text.size() : zero;
}

std::size_t ItemImageSize(const QuestItem& item) {
    return 1 + StoredTextLength(item.text) + 1;
}

std::size_t QuestImageSize(const Quest& quest) {
    std::size_t size = kCountSize;
    for (const QuestItem& item : quest.items) size += ItemImageSize(item);
    return size;
}

std::uint8_t* PutCount(std::uint8_t* out, std::size_t count) {
    const auto value = static_cast<std::uint32_t>(count);
    for (std::size_t i = 0; i < kCountSize; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return out + kCountSize;
}

std::uint8_t* PutItem(std::uint8_t* out, const QuestItem& item) {
    const std::size_t length = StoredTextLength(item.text);
    *out++ = item.finisher ? 0xFF : 0x00;
    if (length > 0) std::memcpy(out, item.text.data(), length);
    out += length;
    *out++ = 0x00;
    return out;
}

std::uint8_t* PutQuest(std::uint8_t* out, const Quest& quest) {
    out = PutCount(out, quest.items.size());
    for (const QuestItem& item : quest.items) out = PutItem(out, item);
    return out;
}

// Reads a count and then that many child records through
// readChild(bytes, left, &used) -> complete. Stops at the first damage: a
// count that doesn't fit or is negative, or a child that isn't complete.
// *parsed ends after the last sound byte (the count, complete children and
// whatever an incomplete child reports as sound).
template <typename ReadChild>
bool ReadCounted(const std::uint8_t* bytes, std::size_t length, std::size_t* parsed,
                 ReadChild readChild) {
    *parsed = 0;
    if (length < kCountSize) return false;
    std::uint32_t count = 0;
    for (std::size_t i = 0; i < kCountSize; ++i) count |= std::uint32_t{bytes[i]} << (8 * i);
    if (count > kLargestCount) return false;

    // The count is not trusted: nothing is sized by it, records are read until
    // it is met or the bytes run out.
    std::size_t position = kCountSize;
    for (std::uint32_t n = 0; n < count; ++n) {
        std::size_t used = 0;
        const bool complete = readChild(bytes + position, length - position, &used);
        position += used;
        *parsed = position;
        if (!complete) return false;
    }
    *parsed = position;
    return true;
}

}  // namespace

void QuestItem::WriteImage(ByteBuffer& out) const {
    out.Resize(ItemImageSize(*this));
    PutItem(out.Data(), *this);
}

bool QuestItem::ReadImage(const std::uint8_t* bytes, std::size_t left, std::size_t* consumed) {
    if (consumed) *consumed = 0;
    if (left < 2) return false;
    const void* zero = std::memchr(bytes + 1, 0, left - 1);
    if (zero == nullptr) return false;

    const auto* textBegin = reinterpret_cast<const char*>(bytes + 1);
    const auto length = static_cast<std::size_t>(static_cast<const char*>(zero) - textBegin);
    finisher = bytes[0] != 0;
    text.assign(textBegin, length);
    if (consumed) *consumed = 1 + length + 1;
    return true;
}

void Quest::WriteImage(ByteBuffer& out) const {
    out.Resize(QuestImageSize(*this));
    PutQuest(out.Data(), *this);
}

std::size_t Quest::ImageSize() const {
    return QuestImageSize(*this);
}

bool Quest::ImageEquals(const std::uint8_t* bytes, std::size_t size) const {
    if (size < kCountSize) return false;
    std::uint32_t count = 0;
    for (std::size_t i = 0; i < kCountSize; ++i) count |= std::uint32_t{bytes[i]} << (8 * i);
    if (count != items.size()) return false;
    std::size_t at = kCountSize;
    for (const QuestItem& item : items) {
        const std::size_t length = StoredTextLength(item.text);
        if (size - at < length + 2 || bytes[at] != (item.finisher ? 0xFF : 0x00) ||
            std::memcmp(bytes + at + 1, item.text.data(), length) != 0 ||
            bytes[at + 1 + length] != 0)
            return false;
        at += length + 2;
    }
    return at == size;
}

bool Quest::ReadImage(const std::uint8_t* bytes, std::size_t left, std::size_t* consumed) {
    items.clear();
    std::size_t parsed = 0;
    const bool complete = ReadCounted(
        bytes, left, &parsed, [this](const std::uint8_t* at, std::size_t rest, std::size_t* used) {
            QuestItem item;
            if (!item.ReadImage(at, rest, used)) return false;
            items.push_back(std::move(item));
            return true;
        });
    if (consumed) *consumed = parsed;
    return complete;
}

void QuestDatabase::WriteImage(ByteBuffer& out) const {
    // Sized for every text whole, which needs no look at the texts themselves; a text
    // cut at a zero byte leaves room that the last Resize gives back. So each text is
    // read once, as it is written.
    std::size_t bound = kCountSize;
    for (const Quest& quest : quests) {
        bound += kCountSize;
        for (const QuestItem& item : quest.items) bound += 1 + item.text.size() + 1;
    }
    out.Resize(bound);
    std::uint8_t* at = PutCount(out.Data(), quests.size());
    for (const Quest& quest : quests) at = PutQuest(at, quest);
    out.Resize(static_cast<std::size_t>(at - out.Data()));
}

ImageReadResult QuestDatabase::ReadImage(const std::uint8_t* bytes, std::size_t length,
                                         std::size_t* consumed) {
    quests.clear();
    ImageReadResult result;
    const bool complete =
        ReadCounted(bytes, length, &result.bytesParsed,
                    [this, &result](const std::uint8_t* at, std::size_t rest, std::size_t* used) {
                        Quest quest;
                        const bool questComplete = quest.ReadImage(at, rest, used);
                        // A quest cut short keeps its complete items; one with none is dropped.
                        if (!questComplete && quest.items.empty()) {
                            *used = 0;
                            return false;
                        }
                        result.itemsKept += quest.items.size();
                        quests.push_back(std::move(quest));
                        return questComplete;
                    });
    InvalidateIndex();

    result.damaged = !complete;
    result.questsKept = quests.size();
    if (consumed) *consumed = result.bytesParsed;
    return result;
}
