// Following the journal while the game writes it: when it is read again, and that reading
// only what the game appended ends as one read of the whole file would.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "journal/growing_journal.h"
#include "journal/journal_follower.h"

namespace {

using Action = JournalFollower::Decision::Action;
using Stamp = JournalFollower::Stamp;
using Way = GrowingJournal::Way;
using std::chrono::milliseconds;

// journal.htm in memory, counting the bytes read from it; it fails a read once when
// asked to, as a file on a network drive may.
class FakeFile : public JournalSource {
public:
    std::string bytes;
    std::size_t bytesRead = 0;
    bool failNextRead = false;

    void Seek(std::uint64_t position) override { at = position; }
    std::size_t Read(char* buffer, std::size_t count) override {
        if (failNextRead) {
            failNextRead = false;
            throw std::runtime_error("read failed");
        }
        const std::size_t n = at >= bytes.size() ? 0 : std::min(count, bytes.size() - at);
        bytes.copy(buffer, n, at);
        at += n;
        bytesRead += n;
        return n;
    }

private:
    std::size_t at = 0;
};

// What a read of the whole file leaves, to compare the journal with.
std::string Shown(const std::vector<JournalEntry>& entries, const JournalWarning& warning) {
    std::string shown = std::to_string(static_cast<int>(warning.kind)) + warning.line + "\n";
    for (const JournalEntry& entry : entries) shown += entry.heading + "|" + entry.text + "\n";
    return shown;
}

std::string ShownByOneRead(const std::string& bytes) {
    const JournalParseResult whole = ParseJournal(bytes);
    return Shown(whole.entries, whole.warning);
}

// A journal as games and people write it: mostly entries, some repeated, now and then a
// line out of place, an empty line, a lone carriage return.
std::string RandomJournal(std::mt19937& random, int lines) {
    static const std::vector<std::string> pieces = {
        "<FONT>Day 1</FONT><BR>\r\n",
        "<B>Day 2</B><BR>\n",
        "Met the ferryman.<P>\r\n",
        "Paid the @toll#.<P>\n",
        "\r\n",
        "A stray line\r\n",
        "Half\rline<P>\n",
    };
    std::string journal;
    for (int i = 0; i < lines; ++i) {
        const unsigned pick = random() % 100;
        if (pick < 40) {
            journal += "<FONT>Day " + std::to_string(i) + "</FONT><BR>\r\n";
            journal += "Entry " + std::to_string(random() % (lines / 2 + 1)) + ".<P>\r\n";
        } else {
            journal += pieces[pick % pieces.size()];
        }
    }
    return journal;
}

// The game appends in pieces that end anywhere, mid-line and mid-entry, and Lorebinder
// reads after each without finishing a cut-off line; now and then the journal is rewritten
// or a read fails part-way. The journal after each read is what one read of the file up
// to its last line end gives, and after a last, finishing read what one read of the whole
// file gives; an append costs the new bytes and the tail compared, no more.
TEST(GrowingJournal, ReadingAppendedPiecesEndsAsOneReadOfTheWholeFile) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        FakeFile file;
        std::vector<JournalEntry> journal;
        GrowingJournal growing(journal);
        std::string target = RandomJournal(random, 400);
        // Now and then the end-of-file byte, after which nothing counts, right after an
        // entry's text: the line it ends is complete without its line end.
        if (seed % 8 == 0) target.insert(target.find("<P>", random() % target.size()) + 3, "\x1a");
        bool caughtUp = true;
        for (int turn = 0; turn < 30; ++turn) {
            const std::string when =
                "seed " + std::to_string(seed) + ", turn " + std::to_string(turn);
            const std::string before = file.bytes;
            const std::size_t entriesBefore = journal.size();
            bool rewritten = false;
            const unsigned pick = random() % 20;
            if (pick == 0 && !before.empty()) {
                file.bytes.resize(random() % before.size());  // a new game: shorter
                rewritten = true;
            } else if (pick == 1 && !before.empty()) {
                // The same length, one byte changed among the last read.
                const std::size_t back = std::min<std::size_t>(before.size(), 100);
                file.bytes[before.size() - 1 - random() % back] ^= 0x20;
                rewritten = true;
            } else {
                file.bytes +=
                    target.substr(std::min(before.size(), target.size()), random() % 3000);
                if (file.bytes.size() >= target.size()) target += RandomJournal(random, 200);
            }
            file.failNextRead = !rewritten && random() % 10 == 0;
            const std::size_t readBefore = file.bytesRead;
            GrowingJournal::Reading reading;
            try {
                reading = growing.Start(file, file.bytes.size());
                growing.Take(file, file.bytes.size(), false);
            } catch (const std::runtime_error&) {
                caughtUp = false;  // what was read stays; the next read goes on from there
                continue;
            }
            if (rewritten && caughtUp) {
                EXPECT_EQ(reading.way, Way::Whole) << when;
            }
            if (!rewritten && turn > 0) {
                EXPECT_EQ(reading.way, Way::Appended) << when;
                EXPECT_EQ(reading.first, entriesBefore) << when;
            }
            if (caughtUp) {
                EXPECT_LE(file.bytesRead - readBefore,
                          file.bytes.size() - std::min(before.size(), file.bytes.size()) +
                              GrowingJournal::kTailChecked +
                              (reading.way == Way::Whole ? file.bytes.size() : 0))
                    << when;
            }
            caughtUp = true;
            // What a read of the whole file takes from the complete lines: after byte 26
            // nothing more is read, and the line before it is complete.
            std::string complete = file.bytes;
            const std::size_t lastLineEnd = complete.rfind('\n');
            if (complete.find('\x1a') == std::string::npos)
                complete.resize(lastLineEnd == std::string::npos ? 0 : lastLineEnd + 1);
            ASSERT_EQ(Shown(journal, growing.Warning()), ShownByOneRead(complete)) << when;
        }
        // The player presses Reload Journal: the last line counts even without its end.
        file.bytes += "<BR>\r\nNo line end.<P>";
        growing.Start(file, file.bytes.size());
        growing.Take(file, file.bytes.size(), true);
        EXPECT_EQ(Shown(journal, growing.Warning()), ShownByOneRead(file.bytes)) << "seed " << seed;
        // That line may have been cut off, so the next read starts over, unless byte 26
        // had ended the file before it; after a read that ended at a line end, the next
        // goes on.
        const bool ended = file.bytes.find('\x1a') != std::string::npos;
        for (const Way way : {ended ? Way::Appended : Way::Whole, Way::Appended}) {
            file.bytes += "\r\n<BR>\r\nAppended.<P>\r\n";
            EXPECT_EQ(growing.Start(file, file.bytes.size()).way, way) << "seed " << seed;
            growing.Take(file, file.bytes.size(), true);
            EXPECT_EQ(Shown(journal, growing.Warning()), ShownByOneRead(file.bytes))
                << "seed " << seed;
        }
    }
}

struct FollowStep {
    const char* what;
    int at;  // milliseconds on the caller's clock
    Stamp file;
    Action expected;
    int wait = 0;
};

// A look costs no read; a change is read once the file has looked the same for half a
// second; a read that succeeded settles it until the file changes again.
TEST(JournalFollower, AChangedJournalIsReadOnceItHasBeenStill) {
    const Stamp read = {true, 100, 7}, growing = {true, 150, 8}, grown = {true, 180, 9};
    const Stamp gone = {false, 0, 0};
    const FollowStep steps[] = {
        {"as read", 0, read, Action::Nothing},
        {"the game writes", 1000, growing, Action::Wait, 500},
        {"still writing", 1300, grown, Action::Wait, 500},
        {"not still yet", 1700, grown, Action::Wait, 100},
        {"still for half a second", 1800, grown, Action::Read},
        {"the read failed: again", 2800, grown, Action::Read},
        {"changed back", 3000, read, Action::Nothing},
        {"deleted", 4000, gone, Action::Wait, 500},
        {"still deleted", 4500, gone, Action::Read},
    };
    JournalFollower follower;
    follower.Read(read);
    for (const FollowStep& step : steps) {
        const JournalFollower::Decision decision = follower.Look(milliseconds(step.at), step.file);
        EXPECT_EQ(decision.action, step.expected) << step.what;
        if (step.expected == Action::Wait) {
            EXPECT_EQ(decision.wait.count(), step.wait) << step.what;
        }
    }
    follower.Read(gone);
    EXPECT_EQ(follower.Look(milliseconds(5000), gone).action, Action::Nothing);

    // Looks are asked for by the player's return, by the timer only while the window
    // is on screen without the focus, and by the end of a wait; a look clears them.
    EXPECT_FALSE(follower.LookDue());
    follower.Ticked(false);
    EXPECT_FALSE(follower.LookDue());
    follower.Ticked(true);
    follower.Ticked(false);
    EXPECT_TRUE(follower.LookDue());
    follower.Look(milliseconds(6000), gone);
    EXPECT_FALSE(follower.LookDue());
    follower.Activated();
    EXPECT_TRUE(follower.LookDue());
    follower.Look(milliseconds(6100), gone);
    follower.WaitOver();
    EXPECT_TRUE(follower.LookDue());
}

// Reads nobody asked for tell a failure once until a read succeeds, and a warning once
// until another one comes; the player's own reads tell every time.
TEST(JournalFollower, WhatGoesWrongUnaskedIsToldOnce) {
    JournalFollower follower;
    EXPECT_TRUE(follower.TellFailure(false));
    EXPECT_FALSE(follower.TellFailure(false));
    EXPECT_TRUE(follower.TellFailure(true));
    EXPECT_FALSE(follower.TellFailure(false));
    follower.Read({true, 1, 1});
    EXPECT_TRUE(follower.TellFailure(false));

    const JournalWarning none, shortOne{JournalWarning::Kind::Short, ""},
        longOne{JournalWarning::Kind::Long, "<H1>"}, otherLong{JournalWarning::Kind::Long, "<H2>"};
    EXPECT_FALSE(follower.TellWarning(none, true));
    EXPECT_TRUE(follower.TellWarning(shortOne, false));
    EXPECT_FALSE(follower.TellWarning(shortOne, false));
    EXPECT_TRUE(follower.TellWarning(shortOne, true));
    EXPECT_TRUE(follower.TellWarning(longOne, false));
    EXPECT_TRUE(follower.TellWarning(otherLong, false));
    EXPECT_FALSE(follower.TellWarning(otherLong, false));
}

}  // namespace
