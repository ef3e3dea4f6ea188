// Small process-level helpers of the timing run: the clock, memory figures, files,
// and running this program again as a child.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

double NowMs();

struct MemoryFigures {
    std::uint64_t workingSet = 0;
    std::uint64_t peakWorkingSet = 0;
    std::uint64_t privateBytes = 0;  // PagefileUsage: memory the process itself committed
    std::uint64_t peakPrivateBytes = 0;
};
MemoryFigures ProcessMemory();

// With `flush`, returns only once the bytes are on the disk.
bool WriteWholeFile(const std::string& path, const void* bytes, std::size_t size,
                    bool flush = false);
bool ReadWholeFile(const std::string& path, std::string& bytes);
std::uint64_t FileSize(const std::string& path);

// A fresh folder under the temporary directory; empty on failure.
std::string MakeScratchFolder();
// Removes the folder's files, then the folder.
void RemoveScratchFolder(const std::string& folder);

// Runs this program again with `arguments`, sharing our standard handles, and
// returns its exit code (-1 when it couldn't start).
int RunSelf(const std::string& arguments);

// Which display driver this Wine prefix uses ("null" or "x11"); "Windows" off Wine.
std::string DisplayDriver();
