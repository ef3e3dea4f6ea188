// Reading a file whole, and putting a new one in place without ever leaving
// half of it behind.
#pragma once

#include <string>

// The file's bytes; false, with the reason, when it can't be read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason);

// Writes `bytes` to a new file beside `path`, forces it to the disk and moves it
// over `path`, so that a failure leaves whatever `path` held before; the file that
// `path` was stays as `path`.bak, as the program's saves keep theirs. False, with
// the reason, on failure; the new file is then gone.
bool WriteFileInPlace(const std::string& path, const std::string& bytes, std::string& reason);
