// The two files the program reads, as tests and benchmarks make them and as the
// program reads them: journal.htm from headings and texts, quests.lbd from quests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "journal/journal_entry.h"
#include "questdb/byte_buffer.h"
#include "questdb/quest_database.h"

// One item of a quest for DatabaseImage: its text and its finisher flag.
using TestItem = std::pair<std::string, bool>;
using TestQuest = std::vector<TestItem>;

// The quests.lbd bytes of a database holding these quests.
std::string DatabaseImage(const std::vector<TestQuest>& quests);
// The 4 bytes of the empty database.
std::string EmptyDatabaseImage();
// An image's bytes as a string, as files are written and compared.
std::string ImageBytes(const ByteBuffer& image);
// Image records by hand: a little-endian count, and an item as finisher byte, text, zero.
std::string Count(std::uint32_t n);
std::string Item(char finisherByte, const std::string& text);
// The quests.lbd bytes of `database`.
std::string ImageOf(const QuestDatabase& database);
// "[a,*b][]": the quests in order, each item's text, finisher items starred.
std::string DescribeQuests(const QuestDatabase& database);

// One journal entry for JournalText: its heading and its text.
using TestEntry = std::pair<std::string, std::string>;
// A journal.htm as the game writes it: each entry a heading line in a tag, then its
// text line, lines ending in CR LF.
std::string JournalText(const std::vector<TestEntry>& entries);

// `size` bytes of noise for a journal.htm, the same each time: line ends and the
// grammar's markers come now and then, so that every path of the reader runs; no byte
// 26, so all of it is read.
std::string BinaryNoise(std::size_t size);

// The program reads journal.htm in chunks of this size.
constexpr std::size_t kJournalChunk = 64 * 1024;

// The entries of the journal file at `path`, read in the program's chunks. Empty when
// it can't be read.
std::vector<JournalEntry> ReadJournalFile(const std::string& path);
