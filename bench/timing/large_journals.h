// The timing run's figures for journals far larger or stranger than a game writes:
// lorebinder_timing --large N MB.
#pragma once

#include <cstddef>

class ScratchFolder;

// A journal of `entries` entries, lines of `lineMb` megabytes, as much binary noise,
// how refilling the views grows from a quarter of the entries to all of them, and the
// edits with every quest shown at a fifth of the entries and at all of them; each
// action once. Prints the figures; returns the exit code.
int RunLarge(std::size_t entries, std::size_t lineMb);

// Gives journal.htm the other line ends, CR LF or LF, with the same entries: the next
// Reload Journal reads it whole, as after the game rewrote it, rather than only what the
// game appended.
void RewriteLineEnds(const ScratchFolder& folder);
