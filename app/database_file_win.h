// CDatabaseFile: the database file's life (app/database_file.h) with what it holds of
// the platform: the lock that makes one copy of the program in a folder the keeper of
// its kept edits.
#pragma once

#include <string>

#include "app/database_file.h"
#include "framework/named_lock.h"

// A message box's answer to one of its questions.
Answer AnswerOf(int button);

class CDatabaseFile : public DatabaseFile {
public:
    // Takes the lock of the folder that holds `databasePath`, and with it the keeping of
    // the edits; false when another copy of the program there holds it.
    bool TakeKeptEditsLock(const std::string& databasePath);

private:
    CNamedLock keptEditsLock;
};
