// A file read whole through CFile, or why it couldn't be. One read for every file that
// the program takes in at once (a quest database of the player's or of a friend's).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct WholeFile {
    enum class Outcome { Read, OpenFailed, TooLarge, ReadFailed };
    Outcome outcome = Outcome::Read;
    std::vector<std::uint8_t> bytes;
    DWORD error = 0;  // the platform's, when opening or reading failed
};

// Opens the file at `path` (UTF-8) with no other handle allowed on it, so that no
// program writes it meanwhile, and reads it whole; a file longer than `largest` bytes
// isn't read.
WholeFile ReadWholeFile(const std::string& path, std::uint64_t largest);
