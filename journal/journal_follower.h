// When Lorebinder looks at journal.htm while the game writes it, and when it reads it
// again. A look costs no read: only the file's size and last-write time. The player
// turning to the window asks for one, and so does each tick of a timer while the window
// is on screen without the focus (a second monitor beside the game). A changed file is
// read once it has been still for a while, since the game may write an entry in pieces.
// What goes wrong while nobody asked for a read is told once, not at every look.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "journal/journal_reader.h"

class JournalFollower {
public:
    // On the caller's steady clock, from any fixed point.
    using Time = std::chrono::milliseconds;
    static constexpr Time kTickEvery{1000};
    static constexpr Time kStillFor{500};

    // What a look sees of the file.
    struct Stamp {
        bool present = false;
        std::uint64_t size = 0;
        std::uint64_t written = 0;  // the last-write time, in the platform's units
        bool operator==(const Stamp& other) const {
            return present == other.present && size == other.size && written == other.written;
        }
        bool operator!=(const Stamp& other) const { return !(*this == other); }
    };

    // The occasions for a look. None looks at once: the window looks when it has nothing
    // else to do, so a look asked for in the middle of a message box, a menu or a
    // command comes right after it.
    void Activated() { lookDue = true; }
    void Ticked(bool shownWithoutFocus) { lookDue = lookDue || shownWithoutFocus; }
    // The wait that a look asked for is over.
    void WaitOver() { lookDue = true; }
    bool LookDue() const { return lookDue; }

    struct Decision {
        enum class Action { Nothing, Wait, Read } action = Action::Nothing;
        Time wait{0};  // for Wait: when to look again
    };
    Decision Look(Time now, const Stamp& stamp);

    // A read that found the file as `stamp` says has succeeded: the views show that file.
    void Read(const Stamp& stamp);
    // Whether to tell of a read that failed: always when the player asked for the read;
    // otherwise only the first failure since a read last succeeded.
    bool TellFailure(bool asked);
    // Whether to show the warning of a read, `warning` being the whole journal's: as a
    // read of the whole file shows it when the player asked; otherwise only when it is
    // not the one shown last.
    bool TellWarning(const JournalWarning& warning, bool asked);

private:
    bool lookDue = false;
    std::optional<Stamp> shown;  // the file the views show, as it was when read
    // A change seen and not read yet, and since when the file has looked like this.
    std::optional<Stamp> seen;
    Time seenSince{0};
    bool failureTold = false;
    JournalWarning warningTold;
};
