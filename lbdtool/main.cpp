// lbdtool: reads, checks, builds and merges the quest databases that players
// share, with the program's own image reader and writer and its lookups. Each
// system's entry point hands LbdtoolMain the arguments; what it says goes out
// through system.h, which knows a console window from a file.
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "journal/journal_reader.h"
#include "lbdtool/check.h"
#include "lbdtool/merge.h"
#include "lbdtool/system.h"
#include "lbdtool/text_encoding.h"
#include "lbdtool/text_form.h"
#include "lbdtool/tool_files.h"
#include "questdb/quest_database.h"

namespace {

// What every command ends with.
enum ExitStatus { kDone = 0, kFound = 1, kError = 2 };

constexpr char kUsage[] =
    "lbdtool reads, checks, builds and merges Lorebinder's quest databases (quests.lbd).\n"
    "\n"
    "usage: lbdtool dump DATABASE [TEXT]      write the database as text into the file TEXT\n"
    "                                         (or to standard output)\n"
    "       lbdtool build TEXT OUTPUT         write the database that the text describes\n"
    "       lbdtool check DATABASE [JOURNAL]  list what is wrong with the database and, with\n"
    "                                         a journal.htm, how much of it the journal reaches\n"
    "       lbdtool merge MINE THEIRS OUTPUT  write MINE with what THEIRS adds, and say what\n"
    "                                         was done\n"
    "       lbdtool --help                    show this\n"
    "\n"
    "Exit status: 0 done; 1 done, but check found something or merge left a quest out;\n"
    "2 an error, explained on standard error. No command changes its input files unless\n"
    "OUTPUT names one of them, and a failed write leaves OUTPUT as it was.\n"
    "On Windows, let dump write TEXT itself: a shell's \">\" may change the text's\n"
    "accented letters. build reads TEXT in the system code page (\"ANSI\"), or as UTF-8\n"
    "or UTF-16 when it begins with a byte order mark.\n";

// At most this many of a text file's bad lines are listed: a file that isn't one of
// ours at all would otherwise fill the screen.
constexpr std::size_t kLineErrorsShown = 20;

void Say(const std::string& message) {
    WriteMessage(Stream::Out, message);
}

int Fail(const std::string& path, const std::string& problem) {
    WriteMessage(Stream::Error, "lbdtool: " + path + ": " + problem + "\n");
    return kError;
}

std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::size_t ItemCount(const QuestDatabase& database) {
    std::size_t items = 0;
    for (const Quest& quest : database.quests) items += quest.items.size();
    return items;
}

std::string Summary(const QuestDatabase& database) {
    return Counted(database.quests.size(), "quest", "quests") + ", " +
           Counted(ItemCount(database), "item", "items");
}

// Reads the database at `path`; a damaged one is refused, as nothing could be said of
// what the damage hides. `trailing` receives the count of bytes after the last quest.
bool LoadDatabase(const std::string& path, QuestDatabase& database,
                  std::size_t* trailing = nullptr) {
    std::string bytes, reason;
    if (!ReadWholeFile(path, bytes, reason)) {
        Fail(path, "can't read it: " + reason);
        return false;
    }
    const ImageReadResult read =
        database.ReadImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (read.damaged) {
        Fail(path, "a damaged database: its records break off at byte " +
                       std::to_string(read.bytesParsed) + ", after " +
                       Counted(read.questsKept, "quest", "quests") + " and " +
                       Counted(read.itemsKept, "item", "items") + " read whole");
        return false;
    }
    if (trailing) *trailing = bytes.size() - read.bytesParsed;
    return true;
}

bool WriteDatabase(const std::string& path, const QuestDatabase& database) {
    ByteBuffer image;
    database.WriteImage(image);
    std::string reason;
    if (!WriteFileInPlace(path, std::string(image.Bytes().begin(), image.Bytes().end()), reason)) {
        Fail(path, "can't write it: " + reason);
        return false;
    }
    return true;
}

// Output that fails to arrive (a full disk behind a redirection) is an error, not a success.
int Finish(int status) {
    std::cout.flush();
    if (!std::cout) return Fail("standard output", "can't write to it");
    return status;
}

// The text with the line ends of the system's editors.
std::string WithSystemLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') {
            out += kSystemLineEnd;
        } else {
            out += c;
        }
    }
    return out;
}

// Into a file of its own, the text stays the bytes of the database: a shell's
// redirection may re-encode them (PowerShell decodes and encodes again).
int Dump(const std::string& databasePath, const std::string* textPath) {
    QuestDatabase database;
    if (!LoadDatabase(databasePath, database)) return kError;
    if (!textPath) {
        WriteText(Stream::Out, DumpText(database));
        return Finish(kDone);
    }
    std::string reason;
    if (!WriteFileInPlace(*textPath, WithSystemLineEnds(DumpText(database)), reason))
        return Fail(*textPath, "can't write it: " + reason);
    Say(*textPath + ": " + Summary(database) + "\n");
    return Finish(kDone);
}

int Build(const std::string& textPath, const std::string& outputPath) {
    std::string bytes, reason;
    if (!ReadWholeFile(textPath, bytes, reason)) return Fail(textPath, "can't read it: " + reason);
    std::vector<TextLineError> errors;
    const std::string text = InSystemCodePage(bytes, errors);
    QuestDatabase database;
    if (errors.empty()) errors = ParseText(text, database);
    if (!errors.empty()) {
        for (std::size_t e = 0; e < errors.size() && e < kLineErrorsShown; ++e)
            Fail(textPath + ":" + std::to_string(errors[e].line), errors[e].reason);
        if (errors.size() > kLineErrorsShown) {
            Fail(textPath, Counted(errors.size() - kLineErrorsShown, "more line", "more lines") +
                               " it can't take");
        }
        return Fail(textPath, "nothing written to " + outputPath);
    }
    if (!WriteDatabase(outputPath, database)) return kError;
    Say(outputPath + ": " + Summary(database) + "\n");
    return Finish(kDone);
}

int Check(const std::string& databasePath, const std::string* journalPath) {
    QuestDatabase database;
    std::size_t trailing = 0;
    if (!LoadDatabase(databasePath, database, &trailing)) return kError;
    std::vector<JournalEntry> journal;
    JournalWarning warning;
    if (journalPath) {
        std::string bytes, reason;
        if (!ReadWholeFile(*journalPath, bytes, reason))
            return Fail(*journalPath, "can't read it: " + reason);
        JournalParseResult read = ParseJournal(bytes);
        journal = std::move(read.entries);
        warning = read.warning;
    }

    std::vector<std::string> findings = CheckDatabase(database);
    if (trailing > 0) {
        findings.push_back(Counted(trailing, "byte", "bytes") +
                           " after the last quest, which Lorebinder ignores and drops when it "
                           "saves");
    }
    for (const std::string& finding : findings) Say(finding + "\n");
    Say(databasePath + ": " + Summary(database) + "; " +
        (findings.empty() ? "nothing found" : Counted(findings.size(), "finding", "findings")) +
        "\n");

    if (journalPath) {
        const JournalFigures figures = MeasureJournal(journal, database);
        Say(*journalPath + ": " + Counted(figures.entries, "entry", "entries") + "; they reach " +
            Counted(figures.questsReached, "quest", "quests") + " (" +
            std::to_string(figures.questsFinished) + " finished) and " +
            Counted(figures.itemsReached, "item", "items") + "; " +
            Counted(figures.entriesUnheld, "entry", "entries") + " no quest holds\n");
        if (warning.kind != JournalWarning::Kind::None)
            Say(*journalPath + ": Lorebinder will warn that this journal's format is unexpected\n");
    }
    return Finish(findings.empty() ? kDone : kFound);
}

int Merge(const std::string& minePath, const std::string& theirsPath,
          const std::string& outputPath) {
    QuestDatabase result, theirs;
    if (!LoadDatabase(minePath, result) || !LoadDatabase(theirsPath, theirs)) return kError;
    const QuestMerge merge = PlanMerge(result, theirs);
    AppendMerged(result, merge.added);
    if (!WriteDatabase(outputPath, result)) return kError;
    for (const std::string& line : MergeReportLines(merge)) Say(line + "\n");
    return Finish(merge.questsLeftOut > 0 ? kFound : kDone);
}

int Usage(const std::string& problem) {
    WriteMessage(Stream::Error, "lbdtool: " + problem + "\n\n" + kUsage);
    return kError;
}

}  // namespace

int LbdtoolMain(const std::vector<std::string>& args) {
    if (args.empty() || (args.size() == 1 && args[0] == "--help")) {
        Say(kUsage);
        return Finish(kDone);
    }
    const std::string& command = args[0];
    const std::size_t given = args.size() - 1;
    auto wrongCount = [&] { return Usage("wrong number of arguments for " + command); };
    if (command == "dump") {
        if (given == 1) return Dump(args[1], nullptr);
        return given == 2 ? Dump(args[1], &args[2]) : wrongCount();
    }
    if (command == "build") return given == 2 ? Build(args[1], args[2]) : wrongCount();
    if (command == "check") {
        if (given == 1) return Check(args[1], nullptr);
        return given == 2 ? Check(args[1], &args[2]) : wrongCount();
    }
    if (command == "merge") return given == 3 ? Merge(args[1], args[2], args[3]) : wrongCount();
    return Usage("unknown command \"" + command + "\"");
}
