#include "tests/support/journal_generator.h"

#include <string_view>
#include <unordered_set>
#include <utility>

namespace {

// SplitMix64 with our own range and chance helpers: the standard library's
// distributions differ between implementations, and a seed must give the
// same files everywhere.
class Random {
public:
    explicit Random(std::uint64_t seed) : state(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A number in [0, n); n > 0.
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }
    std::size_t Between(std::size_t low, std::size_t high) { return low + Below(high - low + 1); }
    bool Chance(double p) { return static_cast<double>(Next() >> 11) * 0x1.0p-53 < p; }

    template <typename T>
    void Shuffle(std::vector<T>& values) {
        for (std::size_t i = values.size(); i > 1; --i) std::swap(values[i - 1], values[Below(i)]);
    }

private:
    std::uint64_t state;
};

constexpr std::string_view kWords[] = {
    "the",     "a",       "to",      "of",      "and",      "I",       "you",       "must",
    "find",    "have",    "been",    "told",    "that",     "in",      "near",      "old",
    "road",    "river",   "tower",   "village", "letter",   "seal",    "ring",      "merchant",
    "guard",   "captain", "shrine",  "ruins",   "north",    "south",   "east",      "west",
    "bridge",  "cave",    "bandits", "wolves",  "debt",     "coins",   "map",       "key",
    "lantern", "priest",  "scholar", "smith",   "herbs",    "warning", "promised",  "asked",
    "return",  "deliver", "speak",   "with",    "before",   "after",   "nightfall", "should",
    "about",   "missing", "brother", "sister",  "daughter", "who",     "was",       "last",
    "seen",    "at",      "market",  "wants",   "me",       "recover", "stolen",    "ledger",
    "from",    "hidden",  "under",   "gate",    "says",     "owes",    "him",       "her",
    "paid",    "reward",  "gold",    "silver",  "storm",    "harbour", "ship",      "cargo",
    "crate",   "fever",   "cure",    "poison",  "oath",     "council", "vote",      "forged",
    "papers",  "mill",    "orchard", "well",    "lamp",     "chapel",  "tithe",     "ferry",
    "quarry",  "barrow",  "mist",    "frost",   "thaw",     "ember",   "cellar",    "vault",
};

// Names of people and places, some spelled with letters of 0x80 and above in
// the Western code page.
constexpr std::string_view kNames[] = {
    "Maerwyn",     "Tolvar",      "Ashmere",     "Brannock",   "Quillon",
    "Hestra",      "Oddvar",      "Sellith",     "Varnhold",   "Ystrel",
    "Corrin Vale", "Pellow Ford", "Dunmarrow",   "Saltreach",  "Wenlock Hollow",
    "Vael\xE9ra",  "K\xF6rnhild", "\xC6thelby",  "S\xF8rvik",  "Dun Mh\xF3r",
    "\xC9lise",    "Gr\xE4nvik",  "Fr\xFCmhold", "Ny\xE5sted", "Mar\xE7onne",
};

constexpr std::string_view kMonths[] = {
    "Frostmoon", "Thawmonth", "Seedwake",   "Rainmoot",  "Bloomtide", "Sunhigh",
    "Hayreach",  "Goldfall",  "Harvestend", "Mistmonth", "Emberwane", "Deepwinter",
};

constexpr std::size_t kShortestText = 80;
constexpr std::size_t kLongestText = 600;

// Appends one word to both forms of the text: names carry their marks in the
// journal's line and lose them in the clean text.
void AppendWord(Random& random, bool capital, std::string& line, std::string& clean) {
    if (!clean.empty()) {
        line += ' ';
        clean += ' ';
    }
    if (random.Chance(0.12)) {
        const std::string_view name = kNames[random.Below(std::size(kNames))];
        line += '@';
        line += name;
        line += '#';
        clean += name;
        return;
    }
    std::string word(kWords[random.Below(std::size(kWords))]);
    if (capital && word[0] >= 'a' && word[0] <= 'z') word[0] = static_cast<char>(word[0] - 32);
    line += word;
    clean += word;
}

// One entry text: sentences of invented words, 80 to 600 bytes once clean.
void MakeText(Random& random, std::string& line, std::string& clean) {
    line.clear();
    clean.clear();
    const std::size_t target = random.Between(kShortestText, kLongestText - 1);
    std::size_t wordsLeftInSentence = 0;
    for (;;) {
        const bool sentenceStart = wordsLeftInSentence == 0;
        if (sentenceStart) {
            if (!clean.empty()) {
                line += '.';
                clean += '.';
            }
            wordsLeftInSentence = random.Between(6, 14);
        }
        // Stop before a word could pass the target; the longest word or name
        // is far shorter than the margin left above the target.
        if (clean.size() >= kShortestText && clean.size() + 16 > target) break;
        AppendWord(random, sentenceStart, line, clean);
        --wordsLeftInSentence;
    }
    if (clean.back() != '.') {
        line += '.';
        clean += '.';
    }
}

void MakeHeading(std::size_t day, std::string& heading, std::string& line) {
    heading = std::to_string(day % 30 + 1);
    heading += ' ';
    heading += kMonths[(day / 30) % std::size(kMonths)];
    heading += " (Day ";
    heading += std::to_string(day + 1);
    heading += ')';
    line = "<FONT COLOR=\"9F0000\">" + heading + "</FONT><BR>";
}

struct DistinctText {
    std::string line;  // as written in the journal, marks included
    std::string clean;
};

void BuildDatabase(Random& random, const JournalGeneratorOptions& options,
                   const std::vector<DistinctText>& texts, QuestDatabase& database) {
    std::vector<const std::string*> questBound;
    for (const DistinctText& text : texts) {
        if (!random.Chance(options.unquestedShare)) questBound.push_back(&text.clean);
    }
    // One slot per item, each naming its quest, dealt to the texts in journal
    // order: quests interleave in the journal and keep their items in order.
    std::vector<std::size_t> slots;
    std::size_t questCount = 0;
    while (slots.size() < questBound.size()) {
        const std::size_t size = random.Between(1, 20);
        for (std::size_t i = 0; i < size && slots.size() < questBound.size(); ++i) {
            slots.push_back(questCount);
        }
        ++questCount;
    }
    random.Shuffle(slots);
    database.quests.assign(questCount, Quest{});
    for (std::size_t i = 0; i < questBound.size(); ++i) {
        database.AddItem(database.quests[slots[i]], *questBound[i], -1,
                         random.Chance(options.finisherShare));
    }
    if (questCount < 2) return;
    for (std::size_t i = 0; i < options.textsHeldTwice && i < questBound.size(); ++i) {
        const std::string& text = *questBound[random.Below(questBound.size())];
        database.AddItem(database.quests[random.Below(questCount)], text, -1, false);
    }
}

}  // namespace

GeneratedJournal GenerateJournal(const JournalGeneratorOptions& options) {
    Random random(options.seed);
    GeneratedJournal result;
    std::vector<DistinctText> texts;
    std::unordered_set<std::string> seen;
    std::string heading;
    std::string headingLine;
    std::size_t day = 0;
    result.journal.reserve(options.entries * 400);

    for (std::size_t entry = 0; entry < options.entries; ++entry) {
        if (random.Chance(0.3)) ++day;
        MakeHeading(day, heading, headingLine);
        const DistinctText* text = nullptr;
        if (!texts.empty() && random.Chance(options.repeatedShare)) {
            text = &texts[random.Below(texts.size())];
        } else {
            DistinctText made;
            do {
                MakeText(random, made.line, made.clean);
            } while (!seen.insert(made.clean).second);
            texts.push_back(std::move(made));
            text = &texts.back();
            JournalEntry& expected = result.expected.emplace_back();
            expected.heading = heading;
            expected.text = text->clean;
        }
        result.journal += headingLine;
        result.journal += "\r\n";
        result.journal += text->line;
        result.journal += "<P>\r\n";
        if (random.Chance(options.emptyLineShare)) result.journal += "\r\n";
    }

    BuildDatabase(random, options, texts, result.database);
    result.database.WriteImage(result.databaseImage);
    return result;
}
