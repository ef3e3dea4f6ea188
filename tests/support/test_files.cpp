#include "tests/support/test_files.h"

#include "journal/journal_reader.h"
#include "questdb/quest_database.h"
#include "tests/support/file_bytes.h"

std::string DatabaseImage(const std::vector<TestQuest>& quests) {
    QuestDatabase database;
    for (const TestQuest& items : quests) {
        database.quests.emplace_back();
        for (const TestItem& item : items)
            database.AddItem(database.quests.back(), item.first, -1, item.second);
    }
    ByteBuffer image;
    database.WriteImage(image);
    return ImageBytes(image);
}

std::string EmptyDatabaseImage() {
    return std::string(4, '\0');
}

std::string ImageBytes(const ByteBuffer& image) {
    return std::string(image.Bytes().begin(), image.Bytes().end());
}

std::string Count(std::uint32_t n) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(n >> shift);
    return bytes;
}

std::string Item(char finisherByte, const std::string& text) {
    return finisherByte + text + '\0';
}

std::string ImageOf(const QuestDatabase& database) {
    ByteBuffer image;
    database.WriteImage(image);
    return ImageBytes(image);
}

std::string DescribeQuests(const QuestDatabase& database) {
    std::string out;
    for (const Quest& quest : database.quests) {
        out += '[';
        for (const QuestItem& item : quest.items) {
            if (&item != &quest.items.front()) out += ',';
            out += (item.finisher ? "*" : "") + item.text;
        }
        out += ']';
    }
    return out;
}

std::string JournalText(const std::vector<TestEntry>& entries) {
    std::string text;
    for (const TestEntry& entry : entries) {
        text += "<FONT COLOR=\"9F0000\">" + entry.first + "</FONT><BR>\r\n";
        text += entry.second + "<P>\r\n";
    }
    return text;
}

std::string BinaryNoise(std::size_t size) {
    std::string noise;
    std::uint32_t state = 2463534242u;
    const char* pieces[] = {"<BR>\r\n", "<P>\r\n", "\n", "\r", "<", ">", "@", "#"};
    while (noise.size() < size) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        if (state % 16 == 0) {
            noise += pieces[(state >> 8) % 8];
        } else {
            char byte = static_cast<char>(state >> 24);
            noise += byte == 26 ? '\0' : byte;
        }
    }
    return noise;
}

std::vector<JournalEntry> ReadJournalFile(const std::string& path) {
    std::vector<JournalEntry> journal;
    JournalReader reader(journal);
    ReadFileInChunks(path, kJournalChunk,
                     [&reader](const char* bytes, std::size_t size) { reader.Feed(bytes, size); });
    reader.Finish();
    return journal;
}
