// The database file's life, decided without a window: what a close, Esc, the end of the
// session, a crash and the next start ask and do with each answer, and what the files
// hold afterwards. Each story is played against DatabaseFile as the dialog would, the
// platform's part answered from the story; the steps it asked for are the trace.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_messages.h"
#include "app/database_file.h"
#include "tests/support/test_files.h"

namespace {

const char kPath[] = "C:\\game\\quests.lbd";

const char* StepName(CloseStep step) {
    switch (step) {
        case CloseStep::AskSave:
            return "AskSave";
        case CloseStep::AskReplaceChanged:
            return "AskReplaceChanged";
        case CloseStep::AskReplacePartlyRead:
            return "AskReplacePartlyRead";
        case CloseStep::LookAtDatabase:
            return "Look";
        case CloseStep::SayCantSave:
            return "SayCantSave";
        case CloseStep::Save:
            return "Save";
        case CloseStep::EndRun:
            return "EndRun";
        case CloseStep::EndRunKeepingEdits:
            return "EndRunKeepingEdits";
        case CloseStep::GoOn:
            return "GoOn";
        case CloseStep::AgreeToEndSession:
            return "Agree";
        case CloseStep::RefuseToEndSession:
            return "Refuse";
    }
    return "?";
}

Answer AnswerNamed(const std::string& word) {
    if (word == "yes") return Answer::Yes;
    if (word == "no") return Answer::No;
    EXPECT_EQ(word, "esc");
    return Answer::Other;
}

ImageReadResult Load(QuestDatabase& into, const std::string& image) {
    return into.ReadImage(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
}

// Runs of the program over a folder whose files the story keeps: quests.lbd and the
// kept-edits file.
class Folder {
public:
    Folder() {
        QuestDatabase first;
        first.AddQuest("Heard of the ferry.", -1, false);
        quests = ImageOf(first);
    }

    // Plays the story's words from a start that found quests.lbd as `start` says;
    // returns the trace, and what the files hold at the end.
    std::string Play(const std::string& start, const std::string& story) {
        std::istringstream words(story);
        StartRun(start, words);
        for (std::string word; words >> word;) Event(word, words);
        trace << "| quests.lbd " << (quests == ImageOf(saved) ? "saved" : "other");
        if (kept) trace << ", kept: " << (KeptFileRestoresTheRun() ? "this run's edits" : "other");
        return trace.str();
    }

private:
    void Trace(const std::string& what) { trace << what << ' '; }

    // Events come between the steps too, while a question waits for its answer.
    void Event(const std::string& word, std::istream& words) {
        if (word == "edit") {
            database.AddQuest("Edit " + std::to_string(++edits) + ".", -1, false);
            Changed();
        } else if (word == "undo") {
            database = saved;
            Changed();
        } else if (word == "crash") {
            Trace("crash");
            StartRun("", words);
        } else if (word == "close") {
            Take(file.Close(), words);
        } else if (word == "esc") {
            Take(file.Esc(file.Differs(database)), words);
        } else if (word == "query") {
            Take(file.QueryEndSession(file.Differs(database)), words);
        } else if (word == "end" || word == "end-cancelled") {
            Take(file.EndSession(word == "end", file.Differs(database)), words);
        } else if (word == "another-program-writes") {
            quests = ImageOf(QuestDatabase());
        } else if (word == "kept-file-sticks") {
            keptFileSticks = true;  // a scanner holds it: it can't be removed in this run
        } else if (word == "kept-write-fails" || word == "kept-write-works") {
            keptWriteFails = word == "kept-write-fails";
        } else {
            ADD_FAILURE() << "unknown word " << word;
        }
    }

    // The story's next answer, after the events that come while the question waits.
    std::string NextAnswer(std::istream& words) {
        std::string word;
        while (words >> word && word != "yes" && word != "no" && word != "esc" && word != "same" &&
               word != "changed" && word != "missing" && word != "locked")
            Event(word, words);
        Trace(word);
        return word;
    }

    void RemoveKept() {
        if (!keptFileSticks) kept.reset();
    }

    void StartRun(const std::string& start, std::istream& words) {
        file = DatabaseFile();
        keptFileSticks = false;
        StartupRead read;
        read.found = start != "absent";
        if (start == "partly") read.problem = DatabasePartlyReadReason(10, 20);
        database = QuestDatabase();
        if (read.found) {
            read.fingerprint = FileFingerprint::Of(quests.data(), quests.size());
            Load(database, quests);
        }
        saved = database;
        file.Started(kPath, read, database);
        file.KeepEdits();
        if (!kept) return;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(kept->data());
        const KeptFileVerdict verdict = file.KeptFileRead(bytes, kept->size());
        if (verdict.step == KeptFileVerdict::Step::Remove) {
            Trace("RemoveKept");
            RemoveKept();
        }
        if (verdict.step != KeptFileVerdict::Step::AskRestore) {
            if (verdict.step == KeptFileVerdict::Step::SayUnreadable) Trace("SayUnreadable");
            return;
        }
        Trace("AskRestore");
        if (file.RestoreAnswered(AnswerNamed(NextAnswer(words)), database)) RemoveKept();
    }

    void Changed() {
        KeptEditsUpdate update = file.Changed(database);
        const bool writing = update.action == KeptEditsUpdate::Action::Write;
        if (writing && !keptWriteFails)
            kept = std::string(reinterpret_cast<const char*>(update.bytes.Data()),
                               update.bytes.Size());
        if (update.action == KeptEditsUpdate::Action::Remove) RemoveKept();
        if (writing && file.KeptEditsWritten(!keptWriteFails)) Trace("SayNotKept");
    }

    // The steps from `step` on, each answered by the story's next word where it asks.
    void Take(CloseStep step, std::istream& words) {
        while (!IsLastStep(step)) {
            const std::string name = StepName(step);
            if (step == CloseStep::SayCantSave) {
                Trace(name);
                step = file.Said();
                continue;
            }
            if (step == CloseStep::Save) {
                Trace(name);
                quests = ImageOf(database);
                saved = database;
                ByteBuffer image;
                database.WriteImage(image);
                file.Saved(database, std::move(image));
                Changed();
                step = file.SaveEnded(true);
                continue;
            }
            Trace(name);
            const std::string word = NextAnswer(words);
            if (step != CloseStep::LookAtDatabase) {
                step = file.Answered(AnswerNamed(word));
            } else if (word == "missing" || word == "locked") {
                step = file.Looked(word == "missing" ? FileLook::Missing : FileLook::Unopenable,
                                   std::nullopt);
            } else {
                step =
                    file.Looked(FileLook::Read, FileFingerprint::Of(quests.data(), quests.size()));
            }
        }
        Trace(StepName(step));
        if (step == CloseStep::EndRun && file.RemovesKeptEdits()) RemoveKept();
    }

    // Whether the kept file turns quests.lbd into the last run's database.
    bool KeptFileRestoresTheRun() const {
        QuestDatabase next;
        Load(next, quests);
        SavedImage image;
        image.Take(next);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(kept->data());
        return image.Apply(bytes, kept->size(), next) == KeptEditsResult::Applied &&
               ImageOf(next) == ImageOf(database);
    }

    DatabaseFile file;
    QuestDatabase database, saved;
    std::string quests;
    std::optional<std::string> kept;
    int edits = 0;
    bool keptFileSticks = false, keptWriteFails = false;
    std::ostringstream trace;
};

struct Story {
    const char* start;  // "", "absent" or "partly": what start-up found at quests.lbd
    const char* words;
    const char* trace;
};

const Story kStories[] = {
    // Esc, and the close box.
    {"", "esc", "EndRun | quests.lbd saved"},
    {"", "edit undo esc", "EndRun | quests.lbd saved"},
    {"", "edit esc esc", "AskSave esc GoOn | quests.lbd saved, kept: this run's edits"},
    {"", "edit esc no", "AskSave no EndRun | quests.lbd saved"},
    {"", "edit esc yes same", "AskSave yes Look same Save EndRun | quests.lbd saved"},
    {"", "close no", "AskSave no EndRun | quests.lbd saved"},
    {"", "edit close yes locked",
     "AskSave yes Look locked SayCantSave GoOn | quests.lbd saved, kept: this run's edits"},
    {"", "edit close yes missing", "AskSave yes Look missing Save EndRun | quests.lbd saved"},
    {"", "edit another-program-writes close yes changed no",
     "AskSave yes Look changed AskReplaceChanged no GoOn | quests.lbd other, kept: other"},
    {"", "edit another-program-writes close yes changed yes",
     "AskSave yes Look changed AskReplaceChanged yes Save EndRun | quests.lbd saved"},
    {"partly", "edit close yes same esc",
     "AskSave yes Look same AskReplacePartlyRead esc GoOn | quests.lbd saved, kept: this run's "
     "edits"},
    {"partly", "close yes same yes",
     "AskSave yes Look same AskReplacePartlyRead yes Save EndRun | quests.lbd saved"},
    {"absent", "edit close yes missing", "AskSave yes Look missing Save EndRun | quests.lbd saved"},
    {"absent", "close yes changed no",
     "AskSave yes Look changed AskReplaceChanged no GoOn | "
     "quests.lbd other"},

    // The end of the session.
    {"", "query end", "Agree EndRun | quests.lbd saved"},
    {"", "edit query esc", "AskSave esc Refuse | quests.lbd saved, kept: this run's edits"},
    {"", "edit query yes same end-cancelled end",
     "AskSave yes Look same Save Agree GoOn EndRun | quests.lbd saved"},
    {"", "edit query no end", "AskSave no Agree EndRun | quests.lbd saved"},
    {"", "edit query no end-cancelled end",
     "AskSave no Agree GoOn EndRunKeepingEdits | quests.lbd saved, kept: this run's edits"},
    {"", "edit end", "EndRunKeepingEdits | quests.lbd saved, kept: this run's edits"},

    // A crash, and the next start: only No discards the edits.
    {"", "edit crash yes", "crash AskRestore yes | quests.lbd saved, kept: this run's edits"},
    {"", "edit crash esc", "crash AskRestore esc | quests.lbd saved, kept: this run's edits"},
    {"", "edit crash no esc", "crash AskRestore no EndRun | quests.lbd saved"},
    {"", "edit crash yes esc yes same",
     "crash AskRestore yes AskSave yes Look same Save EndRun | quests.lbd saved"},
    // A kept file of another database is said, then neither written nor removed.
    {"", "edit another-program-writes crash edit esc no",
     "crash SayUnreadable AskSave no EndRun | quests.lbd saved, kept: other"},

    // While the restore question waits, its edits are only in their file: neither the
    // session's end nor a close takes them.
    {"", "edit crash query end yes",
     "crash AskRestore Agree EndRunKeepingEdits yes | quests.lbd saved, kept: this run's edits"},
    {"", "edit crash close esc",
     "crash AskRestore EndRunKeepingEdits esc | quests.lbd saved, kept: this run's edits"},
    // A kept file that outlived the save of its edits goes quietly, and the next edits
    // are kept again.
    {"", "edit kept-file-sticks close yes same crash edit crash yes",
     "AskSave yes Look same Save EndRun crash RemoveKept crash AskRestore yes | quests.lbd saved, "
     "kept: this run's edits"},
    // No at the session's end covers the edits made before it only.
    {"", "edit query no edit end",
     "AskSave no Agree EndRunKeepingEdits | quests.lbd saved, kept: this run's edits"},
    // The session's end asked again while its question waits gets no second question.
    {"", "edit query query close no",
     "AskSave Refuse GoOn no Agree | quests.lbd saved, kept: this run's edits"},
    // A failure to keep the edits is said again when it comes back.
    {"", "kept-write-fails edit edit undo edit kept-write-works edit kept-write-fails edit",
     "SayNotKept SayNotKept SayNotKept | quests.lbd saved, kept: other"},
};

TEST(DatabaseFile, EveryCloseAndSessionEndAsksAndKeepsWhatTheTableSays) {
    for (const Story& story : kStories) {
        EXPECT_EQ(Folder().Play(story.start, story.words), story.trace)
            << story.start << ": " << story.words;
    }
}

}  // namespace

namespace {

// The copies that a save cut off leaves: the newest complete one is offered, the new
// image before the backup when their times agree; declined, only a new image needs
// moving out of the next save's way.
TEST(DatabaseFile, OffersTheNewestCompleteCopyThatACutOffSaveLeft) {
    const std::string tmp = "C:\\game\\quests.lbd.tmp", bak = "C:\\game\\quests.lbd.bak";
    const struct {
        std::vector<LeftCopy> copies;
        const char* offered;
        bool keptFromSave;
    } cases[] = {
        {{{tmp, true, 20}, {bak, true, 10}}, "tmp", true},
        {{{tmp, true, 10}, {bak, true, 10}}, "tmp", true},
        {{{tmp, false, 20}, {bak, true, 10}}, "bak", false},
        {{{tmp, true, 10}, {bak, true, 20}}, "bak", false},
        {{{bak, true, 10}}, "bak", false},
        {{{tmp, false, 20}, {bak, false, 10}}, "", false},
    };
    for (const auto& c : cases) {
        DatabaseFile file;
        const LeftCopy* offered = file.OfferLeftCopy(c.copies, tmp);
        EXPECT_EQ(offered ? offered->path.substr(offered->path.size() - 3) : "", c.offered);
        file.LeftCopyDeclined();
        EXPECT_EQ(file.KeepLeftCopyAsBackup(), c.keptFromSave);
        ByteBuffer image;
        QuestDatabase().WriteImage(image);
        file.Saved(QuestDatabase(), std::move(image));
        EXPECT_FALSE(file.KeepLeftCopyAsBackup()) << "once saved, the copy is the backup";
    }
}

}  // namespace
