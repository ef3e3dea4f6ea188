#include "app/database_file.h"

#include <utility>

#include "app/app_messages.h"

FileFingerprint FileFingerprint::Of(const void* bytes, std::size_t size) {
    return {size, StableHash(bytes, size)};
}

bool IsLastStep(CloseStep step) {
    return step >= CloseStep::EndRun;
}

// A save writes quests.lbd.tmp and then moves quests.lbd to quests.lbd.bak and the new
// image into place: the temporary copy, when complete, is the newer of the two.
const LeftCopy* DatabaseFile::OfferLeftCopy(const std::vector<LeftCopy>& copies,
                                            const std::string& temporaryPath) {
    const LeftCopy* newest = nullptr;
    for (const LeftCopy& copy : copies) {
        if (copy.complete && (!newest || copy.writeTime > newest->writeTime ||
                              (copy.writeTime == newest->writeTime && copy.path == temporaryPath)))
            newest = &copy;
    }
    offeredTemporary = newest && newest->path == temporaryPath;
    return newest;
}

void DatabaseFile::Started(const std::string& databasePath, StartupRead read,
                           const QuestDatabase& database) {
    startup = std::move(read);
    keptEditsPath = databasePath + ".unsaved";
    savedImage.Take(database);
}

KeptFileVerdict DatabaseFile::KeptFileRead(const std::uint8_t* bytes, std::size_t size) {
    switch (savedImage.Apply(bytes, size, restorable)) {
        case KeptEditsResult::Applied:
            restoreAsked = true;
            return {KeptFileVerdict::Step::AskRestore, {}};
        case KeptEditsResult::AlreadySaved:
            // Left by a save that ended before it could remove it: one that won't go now
            // is written over or removed by this run, which keeps edits as ever.
            return {KeptFileVerdict::Step::Remove, {}};
        case KeptEditsResult::Damaged:
            return KeptFileUnreadable(size == 0 ? kDatabaseEmpty : kKeptEditsDamaged);
        case KeptEditsResult::OtherDatabase:
            break;
    }
    return KeptFileUnreadable(kKeptEditsOfOtherDatabase);
}

// Whatever the file holds may still matter to the user: this run leaves it be.
KeptFileVerdict DatabaseFile::KeptFileUnreadable(std::string reason) {
    keepsEdits = false;
    return {KeptFileVerdict::Step::SayUnreadable, std::move(reason)};
}

// Only No discards them: Esc on the question keeps them, still unsaved.
bool DatabaseFile::RestoreAnswered(Answer answer, QuestDatabase& database) {
    restoreAsked = false;
    if (answer == Answer::No) return true;
    database.quests = std::move(restorable.quests);
    database.InvalidateIndex();
    savedImage.Forget();
    return false;
}

// Only the quests that differ, so that an edit writes little however large the
// database.
KeptEditsUpdate DatabaseFile::Changed(const QuestDatabase& current) {
    KeptEditsUpdate update;
    discardAtSessionEnd = false;  // No covered the edits made before it, not this one
    update.bytes = savedImage.KeptEdits(current);
    if (update.bytes.Size() == 0) {
        keptEditsWriteFailed = false;  // a later failure is news again
        update.action =
            keepsEdits ? KeptEditsUpdate::Action::Remove : KeptEditsUpdate::Action::Nothing;
        update.allowShutdown = true;
    } else if (keepsEdits) {
        update.action = KeptEditsUpdate::Action::Write;
    }
    return update;
}

// One message for a failure that lasts, not one per edit.
bool DatabaseFile::KeptEditsWritten(bool written) {
    const bool alreadySaid = keptEditsWriteFailed;
    keptEditsWriteFailed = !written;
    return keptEditsWriteFailed && !alreadySaid;
}

CloseStep DatabaseFile::Close() {
    // Asked while a question is open (a task manager's End task): no second question.
    if (restoreAsked) return CloseStep::EndRunKeepingEdits;
    if (asked != CloseStep::GoOn) return CloseStep::GoOn;
    forSession = false;
    return Ask(CloseStep::AskSave);
}

// Esc ends the run at once only when that loses nothing; with unsaved edits it is a
// close request.
CloseStep DatabaseFile::Esc(bool unsaved) {
    return unsaved || restoreAsked ? Close() : CloseStep::EndRun;
}

// Nothing unsaved: the session may end. Otherwise the save question decides: Yes (once
// saved) and No let the session end.
CloseStep DatabaseFile::QueryEndSession(bool unsaved) {
    // The question already open for it is the answer to wait for.
    if (asked != CloseStep::GoOn) return CloseStep::RefuseToEndSession;
    discardAtSessionEnd = false;
    // The edits that the restore question offers stay in their file, whatever comes.
    if (!unsaved || restoreAsked) return CloseStep::AgreeToEndSession;
    forSession = true;
    return Ask(CloseStep::AskSave);
}

// The process may go as soon as the dialog returns, so the run ends here, without a
// question. Edits that nobody agreed to discard (the session ends by force, or despite
// a refusal) stay kept for the next start.
CloseStep DatabaseFile::EndSession(bool ending, bool unsaved) {
    if (!ending) {
        discardAtSessionEnd = false;  // the session goes on, and so does the window
        return CloseStep::GoOn;
    }
    return (discardAtSessionEnd || !unsaved) && !restoreAsked ? CloseStep::EndRun
                                                              : CloseStep::EndRunKeepingEdits;
}

CloseStep DatabaseFile::Ask(CloseStep question) {
    asked = question;
    return question;
}

// Yes saves, though a file the user may still want takes a second yes to replace: one
// that another program wrote while we ran, or one that start-up couldn't read whole.
// Only No to the first question closes without saving; any answer but Yes to the
// second keeps the window and writes nothing.
CloseStep DatabaseFile::Answered(Answer answer) {
    const CloseStep question = std::exchange(asked, CloseStep::GoOn);
    if (question != CloseStep::AskSave)
        return answer == Answer::Yes ? CloseStep::Save : Finish(Outcome::Stayed);
    switch (answer) {
        case Answer::Yes:
            return CloseStep::LookAtDatabase;
        case Answer::No:
            return Finish(Outcome::Discarded);
        case Answer::Other:
            break;
    }
    return Finish(Outcome::Stayed);  // the user hasn't decided
}

// Only the length of quests.lbd when start-up read it all: a different length needs no
// reading (and may be too large to read).
std::uint64_t DatabaseFile::LengthWorthReading() const {
    return startup.fingerprint ? startup.fingerprint->length : 0;
}

// quests.lbd is read again rather than its write time compared: that could miss a copy
// that kept the time of its source.
CloseStep DatabaseFile::Looked(FileLook look, const std::optional<FileFingerprint>& fingerprint) {
    bool changed = false;
    if (look == FileLook::Missing) {
        if (startup.found) return CloseStep::Save;  // nothing there to lose
    } else if (startup.found && !startup.fingerprint) {
        // What start-up couldn't read has nothing to compare with; the read-problem
        // question guards it, and a save that can't open it says so then.
    } else if (look == FileLook::Unopenable) {
        return CloseStep::SayCantSave;
    } else {
        // One that has appeared since, or that differs from what start-up read.
        changed = !startup.found || look != FileLook::Read || !(fingerprint == startup.fingerprint);
    }
    if (changed) return Ask(CloseStep::AskReplaceChanged);
    return startup.problem.empty() ? CloseStep::Save : Ask(CloseStep::AskReplacePartlyRead);
}

CloseStep DatabaseFile::Said() {
    return Finish(Outcome::Stayed);
}

// A save that fails keeps the window open: the user's work is still here.
CloseStep DatabaseFile::SaveEnded(bool saved) {
    return Finish(saved ? Outcome::Saved : Outcome::Stayed);
}

CloseStep DatabaseFile::Finish(Outcome outcome) {
    if (!forSession) return outcome == Outcome::Stayed ? CloseStep::GoOn : CloseStep::EndRun;
    discardAtSessionEnd = outcome == Outcome::Discarded;
    return outcome == Outcome::Stayed ? CloseStep::RefuseToEndSession
                                      : CloseStep::AgreeToEndSession;
}

void DatabaseFile::Saved(const QuestDatabase& database, ByteBuffer image) {
    leftCopyToKeep = false;  // quests.lbd is there now, and the copy is its backup
    startup.problem.clear();
    startup.found = true;
    startup.fingerprint = FileFingerprint::Of(image.Data(), image.Size());
    savedImage.Take(database, std::move(image));
}
