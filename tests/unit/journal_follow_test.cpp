// Following the journal while the game writes it: when it is read again, and that reading
// only what the game appended ends as one read of the whole file would.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "journal/growing_journal.h"
#include "journal/journal_follower.h"

namespace {

using Way = GrowingJournal::Way;

// journal.htm in memory, counting the bytes read; it fails a read when asked to.
class FakeFile : public JournalSource {
public:
    std::string bytes;
    std::size_t at = 0, bytesRead = 0;
    bool failNextRead = false;

    void Seek(std::uint64_t position) override { at = position; }
    std::size_t Read(char* buffer, std::size_t count) override {
        if (std::exchange(failNextRead, false)) throw std::runtime_error("read failed");
        const std::size_t n = bytes.copy(buffer, count, std::min(at, bytes.size()));
        at += n;
        bytesRead += n;
        return n;
    }
};

std::string Shown(const std::vector<JournalEntry>& entries, const JournalWarning& warning) {
    std::string shown = std::to_string(static_cast<int>(warning.kind)) + warning.line + "\n";
    for (const JournalEntry& entry : entries) shown += entry.heading + "|" + entry.text + "\n";
    return shown;
}

std::string ShownByOneRead(const std::string& bytes) {
    const JournalParseResult whole = ParseJournal(bytes);
    return Shown(whole.entries, whole.warning);
}

// Mostly entries, some repeated, now and then a line out of place, an empty line, a lone
// carriage return.
std::string RandomJournal(std::mt19937& random, int lines) {
    const char* const odd[] = {"<B>Day</B><BR>\n", "Paid the @toll#.<P>\n", "\r\n",
                               "A stray line\r\n", "Half\rline<P>\n"};
    std::string journal;
    for (int i = 0; i < lines; ++i) {
        journal += random() % 10 < 4 ? "<FONT>Day</FONT><BR>\r\nEntry " +
                                           std::to_string(random() % lines) + ".<P>\r\n"
                                     : odd[random() % 5];
    }
    return journal;
}

// The game appends pieces that end anywhere, mid-line and mid-entry, and each is read
// without finishing a cut-off line; now and then the journal is written anew or a read
// fails part-way. After each read the journal is what one read of the file up to its
// last line end gives, at the cost of the new bytes and the tail compared; after a
// finishing read, what one read of the whole file gives.
TEST(GrowingJournal, ReadingAppendedPiecesEndsAsOneReadOfTheWholeFile) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        FakeFile file;
        std::vector<JournalEntry> journal;
        GrowingJournal growing(journal);
        std::string target = RandomJournal(random, 400);
        // Now and then byte 26 right after a text: that line is complete without its end.
        if (seed % 8 == 0) target.insert(target.find("<P>", random() % target.size()) + 3, "\x1a");
        bool caughtUp = true;
        for (int turn = 0; turn < 30; ++turn) {
            const std::string when =
                "seed " + std::to_string(seed) + " turn " + std::to_string(turn);
            const std::size_t sizeBefore = file.bytes.size(), entriesBefore = journal.size();
            const unsigned pick = random() % 20;
            const bool rewritten = pick < 2 && sizeBefore > 0;
            if (rewritten && pick == 0) {
                file.bytes.resize(random() % sizeBefore);  // a new game
            } else if (rewritten) {
                file.bytes[sizeBefore - 1 -
                           random() % std::min(sizeBefore, GrowingJournal::kTailChecked)] ^= 32;
            } else {
                file.bytes += target.substr(std::min(sizeBefore, target.size()), random() % 3000);
                if (file.bytes.size() >= target.size()) target += RandomJournal(random, 200);
            }
            file.failNextRead = !rewritten && random() % 10 == 0;
            const std::size_t readBefore = file.bytesRead;
            GrowingJournal::Reading reading;
            try {
                reading = growing.Start(file, file.bytes.size());
                growing.Take(file, file.bytes.size(), false);
            } catch (const std::runtime_error&) {
                caughtUp = false;  // the next read goes on from where this one stopped
                continue;
            }
            if (rewritten && caughtUp) {
                EXPECT_EQ(reading.way, Way::Whole) << when;
            }
            if (!rewritten && turn > 0) {
                EXPECT_EQ(reading.way, Way::Appended) << when;
                EXPECT_EQ(reading.first, entriesBefore) << when;
            }
            const std::size_t whole = reading.way == Way::Whole ? file.bytes.size() : 0;
            if (caughtUp && !rewritten) {
                EXPECT_LE(file.bytesRead - readBefore,
                          file.bytes.size() - sizeBefore + GrowingJournal::kTailChecked + whole)
                    << when;
            }
            caughtUp = true;
            // What one read takes of complete lines; after byte 26 nothing more counts.
            std::string complete = file.bytes;
            const std::size_t lineEnd = complete.rfind('\n');
            if (complete.find('\x1a') == std::string::npos)
                complete.resize(lineEnd == std::string::npos ? 0 : lineEnd + 1);
            ASSERT_EQ(Shown(journal, growing.Warning()), ShownByOneRead(complete)) << when;
        }
        // Reload Journal reads a last line without its end. That line may have been cut
        // off, so the read after starts over, unless byte 26 had ended the file; after a
        // read that ended at a line end, the next goes on.
        const bool ended = file.bytes.find('\x1a') != std::string::npos;
        file.bytes += "<BR>\r\nNo line end.<P>";
        for (const Way way : {Way::Appended, ended ? Way::Appended : Way::Whole, Way::Appended}) {
            EXPECT_EQ(growing.Start(file, file.bytes.size()).way, way) << "seed " << seed;
            growing.Take(file, file.bytes.size(), true);
            EXPECT_EQ(Shown(journal, growing.Warning()), ShownByOneRead(file.bytes)) << seed;
            file.bytes += "\r\n<BR>\r\nAppended.<P>\r\n";
        }
    }
}

// A look costs no read; a change is read once the file has looked the same for half a
// second; a read that failed is tried again at the next look, but only the first failure
// and each new warning are told, unless the player asked for the read.
TEST(JournalFollower, AChangedJournalIsReadOnceStillAndWhatGoesWrongIsToldOnce) {
    using Action = JournalFollower::Decision::Action;
    const JournalFollower::Stamp read = {true, 100, 7}, grown = {true, 180, 9}, gone;
    const struct {
        int at;
        JournalFollower::Stamp file;
        Action action;
        int wait;
    } looks[] = {
        {0, read, Action::Nothing, 0},    {1000, {true, 150, 8}, Action::Wait, 500},
        {1300, grown, Action::Wait, 500}, {1700, grown, Action::Wait, 100},
        {1800, grown, Action::Read, 0},   {2800, grown, Action::Read, 0},
        {3000, read, Action::Nothing, 0}, {4000, gone, Action::Wait, 500},
        {4500, gone, Action::Read, 0},
    };
    JournalFollower follower;
    follower.Read(read);
    for (const auto& look : looks) {
        const auto decision = follower.Look(std::chrono::milliseconds(look.at), look.file);
        EXPECT_EQ(decision.action, look.action) << look.at;
        EXPECT_EQ(decision.action == Action::Wait ? decision.wait.count() : 0, look.wait)
            << look.at;
    }

    const bool unasked = false, asked = true;
    EXPECT_EQ((std::vector<bool>{follower.TellFailure(unasked), follower.TellFailure(unasked),
                                 follower.TellFailure(asked), follower.TellFailure(unasked)}),
              (std::vector<bool>{true, false, true, false}));
    follower.Read(grown);
    EXPECT_TRUE(follower.TellFailure(unasked));
    const JournalWarning none, one{JournalWarning::Kind::Long, "<H1>"},
        other{JournalWarning::Kind::Long, "<H2>"};
    EXPECT_EQ(
        (std::vector<bool>{follower.TellWarning(none, asked), follower.TellWarning(one, unasked),
                           follower.TellWarning(one, unasked), follower.TellWarning(one, asked),
                           follower.TellWarning(other, unasked)}),
        (std::vector<bool>{false, true, false, true, true}));
}

}  // namespace
