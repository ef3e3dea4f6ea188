#include "app/app_messages.h"

namespace {

const char kStartsEmpty[] =
    "\n\nLorebinder starts with an empty database and leaves the file alone unless you agree "
    "to replace it when you close.";

std::string Counted(std::size_t count, const char* one, const char* many = nullptr) {
    std::string noun = count == 1 ? one : many ? many : std::string(one) + "s";
    return std::to_string(count) + " " + noun;
}

std::string Database(const std::string& path) {
    return "The quest database (" + path + ")";
}

std::string PartlyRead(std::size_t bytesRead, std::size_t bytes) {
    return "Only its first " + std::to_string(bytesRead) + " of " + std::to_string(bytes) +
           " bytes could be read";
}

// One path a line.
std::string Listed(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) list += "\n" + path;
    return list;
}

}  // namespace

std::string NoDatabaseMessage(const std::string& path) {
    return "No quest database (" + path +
           ") found.\nYou'll have to build one from your journal entries, or get a quests.lbd "
           "from somewhere else.";
}

std::string RestoreLeftCopyQuestion(const std::string& path, const std::vector<std::string>& copies,
                                    const std::string& newest) {
    return "No quest database (" + path + ") found, but a save that was cut off left " +
           (copies.size() == 1 ? "a copy" : "copies") + " of it:" + Listed(copies) +
           "\n\nRestore the newest complete copy (" + newest +
           ") as the quest database?\n\nWith No, Lorebinder starts with an empty database, and "
           "a save keeps that copy as " +
           path + ".bak.";
}

std::string LeftCopiesIncompleteMessage(const std::string& path,
                                        const std::vector<std::string>& copies) {
    return "No quest database (" + path + ") found. A save that was cut off left" + Listed(copies) +
           "\nbut " + (copies.size() == 1 ? "it is not" : "none is") +
           " a complete quest database.\n\nLorebinder starts with an empty database.";
}

std::string LeftCopyNotRestoredMessage(const std::string& copyPath, const std::string& reason) {
    return "The copy (" + copyPath + ") couldn't be made the quest database:\n" + reason +
           "\n\nLorebinder starts with an empty database.";
}

std::string DatabasePartlyReadReason(std::size_t bytesRead, std::size_t bytes) {
    return PartlyRead(bytesRead, bytes) + ".";
}

std::string DatabaseIsFolderMessage(const std::string& path) {
    return Database(path) + " is a folder, not a file." + kStartsEmpty;
}

std::string DatabaseOpenFailedMessage(const std::string& path, const std::string& reason) {
    return Database(path) + " couldn't be opened:\n" + reason + kStartsEmpty;
}

std::string DatabaseTooLargeMessage(const std::string& path) {
    return Database(path) + " wasn't read:\n" + kDatabaseTooLarge + kStartsEmpty;
}

std::string DatabaseReadFailedMessage(const std::string& path, const std::string& reason) {
    return "Error reading the quest database (" + path + "):\n" + reason + kStartsEmpty;
}

std::string DatabaseEmptyMessage(const std::string& path) {
    return Database(path) + " is empty." + kStartsEmpty;
}

std::string DatabaseDamagedMessage(const std::string& path, std::size_t bytesRead,
                                   std::size_t bytes, std::size_t quests, std::size_t items) {
    return Database(path) + " is damaged. " + PartlyRead(bytesRead, bytes) + ": " +
           Counted(quests, "quest") + " with " + Counted(items, "entry", "entries") +
           ".\n\nLorebinder goes on with what it read and leaves the file alone unless you agree "
           "to replace it when you close.";
}

std::string ReplacePartlyReadQuestion(const std::string& path, const std::string& reason) {
    return Database(path) + " couldn't be read completely when Lorebinder started:\n" + reason +
           "\n\nSaving replaces that file with the quests you see now. Replace it?";
}

std::string ReplaceChangedQuestion(const std::string& path) {
    return Database(path) +
           " was changed by another program since Lorebinder started.\n\nSaving replaces it "
           "with the quests you see now. Replace it?";
}

std::string SaveFailedMessage(const std::string& path) {
    return "Error trying to open the quest file (" + path + ").  Save failed.";
}

std::string BackupFailedMessage(const std::string& backupPath, const std::string& reason) {
    return "The quest database wasn't saved, because its backup (" + backupPath +
           ") couldn't be replaced:\n" + reason +
           "\n\nThe quest database is as it was. Close Lorebinder again once the backup can be "
           "replaced.";
}

std::string RestoreKeptEditsQuestion(const std::string& databasePath) {
    return "Lorebinder ended last time without saving your changes to the quest database (" +
           databasePath + ").\n\nRestore them?";
}

std::string KeptEditsUnreadableMessage(const std::string& keptPath, const std::string& reason) {
    return "The changes that Lorebinder kept from its last run (" + keptPath +
           ") couldn't be read:\n" + reason +
           "\n\nThe file is left as it is. Until it is moved or deleted, Lorebinder can't keep "
           "your new changes safe from a crash: save them when you close.";
}

std::string KeptEditsNotWrittenMessage(const std::string& keptPath, const std::string& reason) {
    return "Lorebinder couldn't keep your unsaved changes in " + keptPath + ":\n" + reason +
           "\n\nA crash now would lose them. Lorebinder tries again after your next change.";
}
