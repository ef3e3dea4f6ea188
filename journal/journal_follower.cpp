#include "journal/journal_follower.h"

JournalFollower::Decision JournalFollower::Look(Time now, const Stamp& stamp) {
    lookDue = false;
    if (shown && stamp == *shown) {
        seen.reset();
        return {};
    }
    if (!seen || stamp != *seen) {
        seen = stamp;
        seenSince = now;
    }
    const Time still = now - seenSince;
    if (still < kStillFor) return {Decision::Action::Wait, kStillFor - still};
    return {Decision::Action::Read};
}

void JournalFollower::Read(const Stamp& stamp) {
    shown = stamp;
    seen.reset();
    failureTold = false;
}

bool JournalFollower::TellFailure(bool asked) {
    const bool tell = asked || !failureTold;
    failureTold = true;
    return tell;
}

bool JournalFollower::TellWarning(const JournalWarning& warning, bool asked) {
    if (warning.kind == JournalWarning::Kind::None) return false;
    const bool same = warning.kind == warningTold.kind && warning.line == warningTold.line;
    if (!asked && same) return false;
    warningTold = warning;
    return true;
}
