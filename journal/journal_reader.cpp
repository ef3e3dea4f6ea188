#include "journal/journal_reader.h"

#include <functional>
#include <utility>

#include "journal/journal_lines.h"

JournalReader::JournalReader(std::vector<JournalEntry>& journal) : journal(journal) {
    journal.clear();
}

void JournalReader::Feed(const char* bytes, std::size_t size) {
    splitter.Feed(bytes, size, [this](std::string_view line) { HandleLine(line); });
}

void JournalReader::Finish() {
    splitter.Finish([this](std::string_view line) { HandleLine(line); });
    headingPending = false;
}

void JournalReader::HandleLine(std::string_view line) {
    switch (ClassifyJournalLine(line)) {
        case JournalLineKind::Heading:
            if (headingPending) {
                // Two headings in a row: the first one keeps its claim.
                Warn(JournalWarning::Kind::Short, line);
                return;
            }
            AssignHeading(line, workHeading);
            headingPending = true;
            return;
        case JournalLineKind::Text: {
            if (!headingPending) {
                Warn(JournalWarning::Kind::Short, line);
                return;
            }
            headingPending = false;
            AssignCleanEntryText(line, workText);
            const std::size_t hash = std::hash<std::string_view>{}(workText);
            if (IsRepeat(workText, hash)) return;
            // The entry takes the cleaned text itself, and the next text line gets a
            // buffer of its own; a repeated entry leaves its buffer for the next line.
            // The heading stays as the buffer for the next heading line.
            JournalEntry& entry = journal.emplace_back();
            entry.heading = workHeading;
            entry.text = std::move(workText);
            workText.clear();
            entryTexts.Add(hash, journal.size() - 1);
            return;
        }
        case JournalLineKind::Empty:
            return;
        case JournalLineKind::Unrecognised:
            Warn(JournalWarning::Kind::Long, line);
            return;
    }
}

bool JournalReader::IsRepeat(std::string_view text, std::size_t hash) const {
    return entryTexts.Find(hash,
                           [&](std::size_t position) { return journal[position].text == text; });
}

void JournalReader::Warn(JournalWarning::Kind kind, std::string_view line) {
    if (warning.kind != JournalWarning::Kind::None) return;
    warning.kind = kind;
    if (kind == JournalWarning::Kind::Long) warning.line.assign(line);
}

JournalParseResult ParseJournal(std::string_view bytes) {
    JournalParseResult result;
    JournalReader reader(result.entries);
    reader.Feed(bytes);
    reader.Finish();
    result.warning = reader.Warning();
    return result;
}
