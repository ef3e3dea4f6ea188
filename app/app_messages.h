// Every text that starting and closing the main window show, and the About item.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

inline constexpr char kAboutMenuItem[] = "&About Lorebinder...";
inline constexpr char kNoProgramDirectory[] = "Couldn't get the application directory.";

// Start-up: quests.lbd missing, or there but not taken in whole. Each of the latter
// comes with its reason, which is kept and said again before a save replaces the file.
std::string NoDatabaseMessage(const std::string& path);
// quests.lbd missing, but copies that a save cut off left beside it.
std::string RestoreLeftCopyQuestion(const std::string& path, const std::vector<std::string>& copies,
                                    const std::string& newest);
std::string LeftCopiesIncompleteMessage(const std::string& path,
                                        const std::vector<std::string>& copies);
std::string LeftCopyNotRestoredMessage(const std::string& copyPath, const std::string& reason);
inline constexpr char kDatabaseTooLarge[] = "The file is too large to be a quest database.";
inline constexpr char kDatabaseEmpty[] = "The file is empty.";
std::string DatabasePartlyReadReason(std::size_t bytesRead, std::size_t bytes);
std::string DatabaseIsFolderMessage(const std::string& path);
std::string DatabaseOpenFailedMessage(const std::string& path, const std::string& reason);
std::string DatabaseTooLargeMessage(const std::string& path);
std::string DatabaseReadFailedMessage(const std::string& path, const std::string& reason);
std::string DatabaseEmptyMessage(const std::string& path);
std::string DatabaseDamagedMessage(const std::string& path, std::size_t bytesRead,
                                   std::size_t bytes, std::size_t quests, std::size_t items);

// Closing.
inline constexpr char kSaveQuestion[] = "Save the current quest database?";
std::string ReplacePartlyReadQuestion(const std::string& path, const std::string& reason);
std::string ReplaceChangedQuestion(const std::string& path);
std::string SaveFailedMessage(const std::string& path);
std::string BackupFailedMessage(const std::string& backupPath, const std::string& reason);

// Unsaved edits: what the platform's shutdown screen says holds it up, and the edits
// kept beside the database against a crash.
inline constexpr char kUnsavedChangesReason[] = "Unsaved changes to the quest database";
std::string RestoreKeptEditsQuestion(const std::string& databasePath);
inline constexpr char kKeptEditsDamaged[] = "The file is damaged.";
inline constexpr char kKeptEditsTooLargeForMemory[] = "There isn't enough memory to read it.";
inline constexpr char kKeptEditsOfOtherDatabase[] =
    "They are changes to a quest database other than the one there now.";
std::string KeptEditsUnreadableMessage(const std::string& keptPath, const std::string& reason);
std::string KeptEditsNotWrittenMessage(const std::string& keptPath, const std::string& reason);
