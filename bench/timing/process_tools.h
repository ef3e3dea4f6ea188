// Small process-level helpers of the timing run: the clock, memory figures, a file's
// size, and running this program again as a child.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

double NowMs();
// Bytes as megabytes (MiB), for the figures.
double Mb(std::uint64_t bytes);

struct MemoryFigures {
    std::uint64_t workingSet = 0;
    std::uint64_t peakWorkingSet = 0;
    std::uint64_t privateBytes = 0;  // PagefileUsage: memory the process itself committed
    std::uint64_t peakPrivateBytes = 0;
};
MemoryFigures ProcessMemory();

std::uint64_t FileSize(const std::string& path);

// Runs this program again with `arguments`, sharing our standard handles, and
// returns its exit code (-1 when it couldn't start).
int RunSelf(const std::string& arguments);

// Which display driver this Wine prefix uses ("null" or "x11"); "Windows" off Wine.
std::string DisplayDriver();
