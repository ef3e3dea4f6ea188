// The full path of the program's own executable file, with a seam for tests.
#pragma once

#include <optional>
#include <string>

// The path in UTF-8, as GetModuleFileNameW gives it for at most maxChars characters
// (including the terminating zero); nullopt when it can't be had. A path set for
// testing wins.
std::optional<std::string> GetProgramPath(size_t maxChars = 5000);

// Makes GetProgramPath return `path` (nullopt: fail) until ResetProgramPathForTesting.
void SetProgramPathForTesting(std::optional<std::string> path);
void ResetProgramPathForTesting();

// The program file's name without its directory and extension ("lorebinder").
std::string GetProgramName();
