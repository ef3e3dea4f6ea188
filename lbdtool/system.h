// What lbdtool does differently on each system: opening, removing and moving files,
// line ends, the system code page, and where its words go. Paths are UTF-8 on
// Windows (the wide command line) and bytes as given elsewhere.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// The commands, given the arguments after the program's name; returns the exit status.
// Each system's entry point (entry.cpp, entry_win.cpp) calls it.
int LbdtoolMain(const std::vector<std::string>& args);

std::FILE* OpenFile(const std::string& path, const char* mode);
void RemoveFile(const std::string& path);
// Forces what was written to `file` onto the disk, past the system's own buffers.
bool FlushToDisk(std::FILE* file);
// Moves `from` over `to`, replacing it, and makes sure the move is on the disk; refuses
// a read-only `to`. A `to` that is there is kept as `backup`, replacing an earlier one.
bool MoveFileOver(const std::string& from, const std::string& to, const std::string& backup,
                  std::string& reason);

// How the system's text editors end a line: "\r\n" on Windows, "\n" elsewhere.
extern const char kSystemLineEnd[];

// Appends `text` in the system code page to `out`; false, with `out` as it was, when
// the code page lacks one of its characters. Without a code page of its own (Linux)
// the system's texts are UTF-8, which lacks none.
bool AppendInSystemCodePage(std::u32string_view text, std::string& out);

// Where lbdtool writes: a message (UTF-8: what it says, paths included) or a text in
// the system code page (a dump). A console window gets either as the characters they
// are; a file or a pipe gets bytes in the system code page. A failed write leaves the
// stream's failure state set, as std::cout's is checked at the end.
enum class Stream { Out, Error };
void WriteMessage(Stream stream, std::string_view utf8);
void WriteText(Stream stream, std::string_view text);
