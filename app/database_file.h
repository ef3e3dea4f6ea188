// DatabaseFile: the quest database file's life over a run. What start-up found in
// quests.lbd, the database as last saved, the unsaved edits kept beside it against a
// crash, and what a close, Esc and the end of the session must ask and do, in which
// order. It decides; the main dialog asks the questions, passes the answers and makes
// the platform's calls (app/database_file_win.h adds the lock that the folder's kept
// edits need).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "questdb/byte_buffer.h"
#include "questdb/kept_edits.h"
#include "questdb/quest_database.h"

// A file's bytes, as far as telling them apart goes.
struct FileFingerprint {
    std::uint64_t length = 0;
    std::uint64_t hash = 0;  // StableHash
    static FileFingerprint Of(const void* bytes, std::size_t size);
    bool operator==(const FileFingerprint& other) const {
        return length == other.length && hash == other.hash;
    }
};

// What start-up found at quests.lbd: whether it was there, why it couldn't be taken in
// whole (empty when it was, or wasn't there), and its fingerprint when all its bytes
// could be read.
struct StartupRead {
    bool found = false;
    std::string problem;
    std::optional<FileFingerprint> fingerprint;
};

// What a look at quests.lbd found when a close compared it with what start-up read:
// NotRead when it was longer than LengthWorthReading().
enum class FileLook { Missing, Unopenable, NotRead, Read };

enum class Answer { Yes, No, Other };  // Other: Esc, or anything but Yes or No

// The dialog's part in a close, Esc or the end of the session, one step at a time: each
// of the first six is answered by the call it names, until one of the last five says
// what becomes of the run.
enum class CloseStep {
    AskSave,               // kSaveQuestion; Answered()
    AskReplaceChanged,     // ReplaceChangedQuestion; Answered()
    AskReplacePartlyRead,  // ReplacePartlyReadQuestion with ReadProblem(); Answered()
    LookAtDatabase,        // read quests.lbd, up to LengthWorthReading(); Looked()
    SayCantSave,           // SaveFailedMessage; Said()
    Save,                  // write the database (Saved() when it worked); SaveEnded()
    EndRun,                // the run ends, and the kept edits go with it
    EndRunKeepingEdits,    // the run ends, and the kept edits stay for the next start
    GoOn,                  // the run goes on
    AgreeToEndSession,     // the session may end: nothing unsaved is wanted
    RefuseToEndSession,    // the session must wait: edits are unsaved
};
bool IsLastStep(CloseStep step);

// What start-up does with the kept-edits file it found: nothing, say why it can't be
// used (leaving it be), ask whether to restore the edits it holds, or remove it without
// a word, as its edits are in quests.lbd already.
struct KeptFileVerdict {
    enum class Step { Nothing, SayUnreadable, AskRestore, Remove };
    Step step = Step::Nothing;
    std::string reason;  // for SayUnreadable
};

// What a change to the database does to the kept-edits file.
struct KeptEditsUpdate {
    enum class Action { Nothing, Write, Remove };
    Action action = Action::Nothing;
    ByteBuffer bytes;  // for Write
    // Nothing is unsaved any more: the session's end needs no reason to wait.
    bool allowShutdown = false;
};

// A copy of quests.lbd that a save cut off between its two moves leaves behind when
// quests.lbd is missing: quests.lbd.tmp (the new image) or quests.lbd.bak (the old one).
struct LeftCopy {
    std::string path;
    bool complete = false;        // a whole, undamaged quest database
    std::uint64_t writeTime = 0;  // on any scale that grows with time
};

class DatabaseFile {
public:
    // Start-up without quests.lbd: the newest complete copy of `copies` to offer in its
    // place, or null when none is complete. A copy offered and declined is kept safe
    // from the saves of this run (KeepLeftCopyAsBackup).
    const LeftCopy* OfferLeftCopy(const std::vector<LeftCopy>& copies,
                                  const std::string& temporaryPath);
    void LeftCopyDeclined() { leftCopyToKeep = offeredTemporary; }
    // Whether a save must first move the copy it would write over (quests.lbd.tmp) to
    // the backup's name, as it is the newest complete copy of the database.
    bool KeepLeftCopyAsBackup() const { return leftCopyToKeep; }

    // Start-up: what was read of `databasePath`, and the database made of it.
    void Started(const std::string& databasePath, StartupRead read, const QuestDatabase& database);
    const std::string& KeptEditsPath() const { return keptEditsPath; }
    // This copy holds the folder's lock: the kept-edits file is its to offer and keep.
    void KeepEdits() { keepsEdits = true; }
    // The longest kept-edits file worth reading, beside a journal of `journalLength`
    // bytes: a longer one is damaged.
    std::uint64_t LargestKeptEdits(std::uint64_t journalLength) const {
        return savedImage.LargestKeptEdits(journalLength);
    }
    // The kept-edits file read whole, or why it couldn't be.
    KeptFileVerdict KeptFileRead(const std::uint8_t* bytes, std::size_t size);
    KeptFileVerdict KeptFileUnreadable(std::string reason);
    // The answer to the restore question. True when the kept file goes (No); otherwise
    // `database` takes the kept edits.
    bool RestoreAnswered(Answer answer, QuestDatabase& database);

    // Whether `current` differs from the database as start-up read it or the last
    // save wrote it.
    bool Differs(const QuestDatabase& current) const { return savedImage.Differs(current); }
    // After every change to the database: Edited when the editor told what the change
    // did (SavedImage::Edited), or EditedUntold when nothing did, then Changed.
    KeptEditsUpdate Changed(const QuestDatabase& current);
    void Edited(const std::vector<std::size_t>& changed, std::ptrdiff_t putIn,
                std::ptrdiff_t takenOut) {
        savedImage.Edited(changed, putIn, takenOut);
    }
    void EditedUntold() { savedImage.Forget(); }
    // Whether a failure to write the kept edits must be said: once, until a write works.
    bool KeptEditsWritten(bool written);
    // Whether the end of the run removes the kept-edits file: it is this copy's.
    bool RemovesKeptEdits() const { return keepsEdits; }

    // A close (the close box), Esc, the platform's question whether the session may end,
    // and its end; then the answers and the results of the dialog's steps.
    CloseStep Close();
    CloseStep Esc(bool unsaved);
    CloseStep QueryEndSession(bool unsaved);
    CloseStep EndSession(bool ending, bool unsaved);
    CloseStep Answered(Answer answer);
    CloseStep Looked(FileLook look, const std::optional<FileFingerprint>& fingerprint);
    CloseStep Said();
    CloseStep SaveEnded(bool saved);
    std::uint64_t LengthWorthReading() const;
    const std::string& ReadProblem() const { return startup.problem; }
    // A save wrote `image` of `database` to quests.lbd.
    void Saved(const QuestDatabase& database, ByteBuffer image);

private:
    enum class Outcome { Saved, Discarded, Stayed };
    CloseStep Ask(CloseStep question);
    CloseStep Finish(Outcome outcome);

    StartupRead startup;
    // The database as start-up read it or the last save wrote it: a database that
    // differs has unsaved edits, and one changed back has none.
    SavedImage savedImage;
    // While there are unsaved edits, the quests that differ are kept in keptEditsPath
    // too, so that a crash can't take them. Only one copy of the program in a folder
    // keeps them; keepsEdits is false too while a file there from an earlier run
    // couldn't be read, as it mustn't be lost.
    std::string keptEditsPath;
    bool keepsEdits = false;
    bool keptEditsWriteFailed = false;
    QuestDatabase restorable;  // what the kept file makes of the database, until answered
    // While the restore question waits, the edits it offers are only in the kept file:
    // nothing may remove it, and a close or the session's end leaves it for the next start.
    bool restoreAsked = false;
    bool offeredTemporary = false, leftCopyToKeep = false;

    // The close, Esc or session's end under way, and the question it waits on.
    bool forSession = false;
    CloseStep asked = CloseStep::GoOn;
    // No to the save question that the end of the session asked, and no edit since:
    // discard when it ends.
    bool discardAtSessionEnd = false;
};
