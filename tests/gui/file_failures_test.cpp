// Every file operation made to fail in turn, at the moments the program touches its
// files: the save on close, the loading at start-up and Reload Journal. Whatever
// fails, the user is told with the file's path, quests.lbd and its backup each hold
// their previous bytes or the complete new ones and nothing else, no temporary file
// stays behind, the window stays open with the database in memory as it was, and a
// later close still saves.
#include <functional>

#include "framework/file_exception.h"
#include "framework/file_faults.h"
#include "tests/gui/gui_fixture.h"

namespace {

const std::string kQuests = DatabaseImage(
    {{{"The ferryman wants three silver bells.", false}, {"I gave the ferryman his bells.", true}},
     {{"A stranger asked about the lighthouse.", false}}});
const std::string kQuestsWithoutSecond =
    DatabaseImage({{{"The ferryman wants three silver bells.", false},
                    {"I gave the ferryman his bells.", true}}});
const std::string kOlderBackup = DatabaseImage({{{"A backup from an earlier save.", false}}});

class FileFailures : public MainDialogTest {
protected:
    void SetUp() override {
        MainDialogTest::SetUp();
        WriteFile("journal.htm", "");
    }
    std::string OpenFailedMessage() const { return SaveFailedMessage(PathOf("quests.lbd")); }
    std::string BackupFailedMessage(DWORD error) const {
        return ::BackupFailedMessage(PathOf("quests.lbd.bak"), SystemErrorText(error));
    }
    std::string FileErrorMessage(const std::string& operation, DWORD error) const {
        return CFileException(PathOf("quests.lbd"), operation, error).what();
    }
};

enum class SaveReport {
    OpenFailed,    // the open failure's own message
    BackupFailed,  // the backup's own message, naming it
    FileError,     // the framework's file error, in a stop-icon box
};

struct SaveFault {
    const char* step;
    FileOperation operation;
    int nth;                 // which matching call fails
    const char* pathSuffix;  // which file's operation fails
    DWORD error;
    SaveReport report;
    const char* fileErrorOperation;  // for a FileError
};

// In the order the save takes them: quests.lbd read again to compare, then the checks
// that it and its backup can be replaced, then the new image.
const SaveFault kSaveFaults[] = {
    {"quests.lbd won't open to be compared", FileOperation::Open, 1, "quests.lbd",
     ERROR_SHARING_VIOLATION, SaveReport::OpenFailed, nullptr},
    {"reading it to compare", FileOperation::Read, 1, "quests.lbd", ERROR_CRC,
     SaveReport::FileError, "read"},
    {"quests.lbd won't open for writing", FileOperation::Open, 2, "quests.lbd",
     ERROR_SHARING_VIOLATION, SaveReport::OpenFailed, nullptr},
    {"the backup won't open for writing", FileOperation::Open, 1, "quests.lbd.bak",
     ERROR_SHARING_VIOLATION, SaveReport::BackupFailed, nullptr},
    {"the new image's file can't be made", FileOperation::Open, 1, "quests.lbd.tmp",
     ERROR_ACCESS_DENIED, SaveReport::OpenFailed, nullptr},
    {"writing the image", FileOperation::Write, 1, "", ERROR_DISK_FULL, SaveReport::FileError,
     "write"},
    {"forcing it to the disk", FileOperation::Flush, 1, "", ERROR_DISK_FULL, SaveReport::FileError,
     "write"},
    {"closing it", FileOperation::Close, 1, "", ERROR_DISK_FULL, SaveReport::FileError, "close"},
    {"moving it over quests.lbd, keeping the backup", FileOperation::Replace, 1, "",
     ERROR_SHARING_VIOLATION, SaveReport::FileError, "replace"},
};

TEST_F(FileFailures, SaveThatFailsAtAnyStepKeepsPreviousFileAndWindowAndCanBeRetried) {
    for (const SaveFault& fault : kSaveFaults) {
        SCOPED_TRACE(fault.step);
        WriteFile("quests.lbd", kQuests);
        WriteFile("quests.lbd.bak", kOlderBackup);
        StartDialog();
        Dialog().database.quests.pop_back();  // a change that a successful save would store
        Dialog().database.InvalidateIndex();
        const std::string inMemory = ImageOf(Dialog().database);

        InjectFileFault(fault.operation, fault.nth, fault.pathSuffix, fault.error);
        ExpectBox(kSaveQuestion, IDYES);
        switch (fault.report) {
            case SaveReport::OpenFailed:
                ExpectBox(OpenFailedMessage());
                break;
            case SaveReport::BackupFailed:
                ExpectBox(BackupFailedMessage(fault.error));
                break;
            case SaveReport::FileError:
                ExpectBox(FileErrorMessage(fault.fileErrorOperation, fault.error));
                break;
        }
        RequestClose();
        ClearFileFaults();

        ASSERT_FALSE(Boxes().empty());
        EXPECT_EQ(Boxes().back().type & MB_ICONMASK,
                  UINT(fault.report == SaveReport::FileError ? MB_ICONSTOP : MB_ICONEXCLAMATION));
        EXPECT_FALSE(Ended()) << "a failed save must not throw the user's work away";
        EXPECT_EQ(ReadFile("quests.lbd"), kQuests);
        EXPECT_EQ(ReadFile("quests.lbd.bak"), kOlderBackup);
        EXPECT_EQ(FolderFiles(),
                  (std::vector<std::string>{"journal.htm", "quests.lbd", "quests.lbd.bak"}));
        EXPECT_EQ(ImageOf(Dialog().database), inMemory);

        // The next close saves what the window holds, and keeps the file it replaces.
        ExpectBox(kSaveQuestion, IDYES);
        RequestClose();
        EXPECT_TRUE(Ended());
        EXPECT_EQ(ReadFile("quests.lbd"), kQuestsWithoutSecond);
        EXPECT_EQ(ReadFile("quests.lbd.bak"), kQuests);
        EXPECT_EQ(FolderFiles(),
                  (std::vector<std::string>{"journal.htm", "quests.lbd", "quests.lbd.bak"}));
    }
}

// Without a quests.lbd, a failed save must not leave an empty or partial one behind.
TEST_F(FileFailures, FailedFirstSaveCreatesNoDatabaseFile) {
    const std::pair<FileOperation, const char*> failures[] = {{FileOperation::Write, "write"},
                                                              {FileOperation::Flush, "write"},
                                                              {FileOperation::Close, "close"},
                                                              {FileOperation::Replace, "replace"}};
    for (const auto& [failing, operation] : failures) {
        SCOPED_TRACE(operation);
        RemoveFile("quests.lbd");
        ExpectBox(NoDatabaseMessage(PathOf("quests.lbd")));
        StartDialog();
        Dialog().database.AddQuest("Started after a failed save.", -1, false);

        InjectFileFault(failing, 1);
        ExpectBox(kSaveQuestion, IDYES);
        ExpectBox(FileErrorMessage(operation, ERROR_DISK_FULL));
        RequestClose();
        ClearFileFaults();
        EXPECT_FALSE(Ended());
        EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"journal.htm"}));

        ExpectBox(kSaveQuestion, IDYES);
        RequestClose();
        EXPECT_TRUE(Ended());
        EXPECT_EQ(ReadFile("quests.lbd"),
                  DatabaseImage({{{"Started after a failed save.", false}}}));
    }
}

// A backup that another program holds open, that is read-only or that is a folder
// can't be replaced: the save is not done, and a later close saves once it can. (Wine
// run as root would replace a read-only file: the program checks it itself.)
TEST_F(FileFailures, BackupThatCantBeReplacedStopsTheSaveUntilItCan) {
    const std::string backup = PathOf("quests.lbd.bak");
    HANDLE lock = INVALID_HANDLE_VALUE;
    const struct {
        const char* what;
        DWORD error;
        std::function<void()> make, remove;
        std::vector<std::string> files;  // FolderFiles lists no folder
    } obstacles[] = {
        {"held open by another program",
         ERROR_SHARING_VIOLATION,
         [&] {
             WriteFile("quests.lbd.bak", kOlderBackup);
             lock = CreateFileA(backup.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
             ASSERT_NE(lock, INVALID_HANDLE_VALUE);
         },
         [&] { CloseHandle(lock); },
         {"journal.htm", "quests.lbd", "quests.lbd.bak"}},
        {"read-only",
         ERROR_ACCESS_DENIED,
         [&] {
             WriteFile("quests.lbd.bak", kOlderBackup);
             SetReadOnly("quests.lbd.bak", true);
         },
         [&] { SetReadOnly("quests.lbd.bak", false); },
         {"journal.htm", "quests.lbd", "quests.lbd.bak"}},
        {"a folder",
         ERROR_ACCESS_DENIED,
         [&] { ASSERT_TRUE(CreateDirectoryA(backup.c_str(), nullptr)); },
         [&] { RemoveDirectoryA(backup.c_str()); },
         {"journal.htm", "quests.lbd"}},
    };
    for (const auto& obstacle : obstacles) {
        SCOPED_TRACE(obstacle.what);
        WriteFile("quests.lbd", kQuests);
        MakeOld("quests.lbd");
        StartDialog();
        Dialog().database.quests.pop_back();
        Dialog().database.InvalidateIndex();
        obstacle.make();

        ExpectBox(kSaveQuestion, IDYES);
        ExpectBox(BackupFailedMessage(obstacle.error));
        RequestClose();
        EXPECT_FALSE(Ended());
        EXPECT_EQ(ReadFile("quests.lbd"), kQuests);
        EXPECT_TRUE(IsOld("quests.lbd"));
        EXPECT_EQ(FolderFiles(), obstacle.files);

        obstacle.remove();
        if (obstacle.files.size() == 3) {  // a file, not the folder
            EXPECT_EQ(ReadFile("quests.lbd.bak"), kOlderBackup);
        }
        ExpectBox(kSaveQuestion, IDYES);
        RequestClose();
        EXPECT_TRUE(Ended());
        EXPECT_EQ(ReadFile("quests.lbd"), kQuestsWithoutSecond);
        EXPECT_EQ(ReadFile("quests.lbd.bak"), kQuests);
        RemoveFile("quests.lbd.bak");
    }
}

struct LoadFault {
    const char* step;
    FileOperation operation;
    DWORD error;
    // The message, from quests.lbd's path and the reason.
    std::string (*message)(const std::string& path, const std::string& reason);
};

// (A failing read is in StartupAndClose.DamagedOrUnreadableDatabase...)
const LoadFault kLoadFaults[] = {
    {"opening", FileOperation::Open, ERROR_ACCESS_DENIED, DatabaseOpenFailedMessage},
    {"taking its length", FileOperation::Length, ERROR_CRC, DatabaseReadFailedMessage},
};

TEST_F(FileFailures, DatabaseThatFailsToLoadIsReportedAndNotReplacedUnasked) {
    for (const LoadFault& fault : kLoadFaults) {
        SCOPED_TRACE(fault.step);
        WriteFile("quests.lbd", kQuests);
        InjectFileFault(fault.operation, 1, "quests.lbd", fault.error);
        ExpectBox(fault.message(PathOf("quests.lbd"), SystemErrorText(fault.error)));
        const std::size_t before = Boxes().size();
        StartDialog();
        ClearFileFaults();
        ASSERT_EQ(Boxes().size(), before + 1);
        const ShownBox& report = Boxes().back();
        EXPECT_NE(report.text.find(SystemErrorText(fault.error)), std::string::npos) << report.text;
        EXPECT_FALSE(report.mainWindowVisible);
        EXPECT_FALSE(Ended());
        EXPECT_TRUE(Dialog().database.quests.empty());

        // Yes to saving, No to replacing the file it couldn't read: nothing written,
        // and only No to saving closes.
        ExpectBox(kSaveQuestion, IDYES);
        ExpectBox(ReplacePartlyReadQuestion(PathOf("quests.lbd"), SystemErrorText(fault.error)),
                  IDNO);
        RequestClose();
        EXPECT_FALSE(Ended());
        ExpectBox(kSaveQuestion, IDNO);
        RequestClose();
        EXPECT_TRUE(Ended());
        EXPECT_EQ(ReadFile("quests.lbd"), kQuests);
        EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"journal.htm", "quests.lbd"}));
    }
}

struct JournalFault {
    const char* step;
    FileOperation operation;
    int nth;  // which call of the operation fails
    DWORD error;
    bool opened;  // whether the file opened, and so a read had begun
};

const JournalFault kJournalFaults[] = {
    {"opening", FileOperation::Open, 1, ERROR_ACCESS_DENIED, false},
    {"the first read", FileOperation::Read, 1, ERROR_READ_FAULT, true},
    {"a read part-way", FileOperation::Read, 2, ERROR_READ_FAULT, true},
    {"closing after the last read", FileOperation::Close, 1, ERROR_READ_FAULT, true},
};

// journal.htm failing at start-up and on Reload Journal: the program goes on with the
// entries read before the failure, consistently linked, and the database is untouched.
TEST_F(FileFailures, JournalThatFailsToReadKeepsWhatWasReadAndTheDatabase) {
    // Several read chunks long, each entry in a quest of its own.
    std::vector<TestEntry> entries;
    std::vector<TestQuest> quests;
    for (int i = 0; i < 2500; ++i) {
        std::string text = "Entry " + std::to_string(i) + " of a journal that fails to read.";
        entries.push_back({"Day " + std::to_string(i / 10), text});
        quests.push_back({{text, false}});
    }
    const std::string journal = JournalText(entries);
    ASSERT_GT(journal.size(), 2u * 64 * 1024);
    const std::string database = DatabaseImage(quests);
    WriteFile("journal.htm", journal);
    WriteFile("quests.lbd", database);

    auto expectReadSoFar = [&](bool complete) {
        const std::vector<JournalEntry>& read = Dialog().journal;
        if (complete) {
            EXPECT_EQ(read.size(), entries.size());
        } else {
            EXPECT_LT(read.size(), entries.size());
        }
        for (std::size_t i = 0; i < read.size(); ++i) {
            ASSERT_EQ(read[i].text, entries[i].second) << "entry " << i;
            EXPECT_EQ(read[i].collated, 1);
        }
        for (std::size_t q = 0; q < Dialog().database.quests.size(); ++q) {
            int expected = q < read.size() ? static_cast<int>(q) : -1;
            EXPECT_EQ(Dialog().database.quests[q].items[0].journalIndex, expected);
        }
        EXPECT_EQ(TreeCount(), static_cast<int>(read.size()));
        EXPECT_EQ(ImageOf(Dialog().database), database);
    };
    auto expectReport = [&](const JournalFault& fault) {
        if (!fault.opened) {
            ExpectBox(
                JournalOpenRefusedMessage(PathOf("journal.htm"), SystemErrorText(fault.error)));
        } else {
            // The failure, then how many entries were kept.
            const char* operation = fault.operation == FileOperation::Close ? "close" : "read";
            ExpectBoxStartingWith(StartBefore(JournalReadFailedMessage(
                CFileException(PathOf("journal.htm"), operation, fault.error).what() +
                    std::string(kAnyText),
                0)));
        }
    };

    for (const JournalFault& fault : kJournalFaults) {
        SCOPED_TRACE(fault.step);
        const bool complete = fault.operation == FileOperation::Close;

        // At start-up.
        InjectFileFault(fault.operation, fault.nth, "journal.htm", fault.error);
        expectReport(fault);
        StartDialog();
        ClearFileFaults();
        EXPECT_FALSE(Ended());
        EXPECT_TRUE(IsWindowVisible(Window()));
        expectReadSoFar(complete);

        // On Reload Journal, after a good read of what the game appended (an empty line),
        // when the game has written the journal anew: it is read from its start.
        WriteFile("journal.htm", journal + "\r\n");
        Click(IDC_RELOAD_JOURNAL);
        expectReadSoFar(true);
        WriteFile("journal.htm", journal);
        InjectFileFault(fault.operation, fault.nth, "journal.htm", fault.error);
        expectReport(fault);
        Click(IDC_RELOAD_JOURNAL);
        ClearFileFaults();
        EXPECT_FALSE(Ended());
        // A journal that doesn't open leaves the previous one in place.
        expectReadSoFar(complete || !fault.opened);

        // The database is saved whole, and the journal left as it was.
        ExpectBox(kSaveQuestion, IDYES);
        RequestClose();
        EXPECT_TRUE(Ended());
        EXPECT_EQ(ReadFile("quests.lbd"), database);
        EXPECT_EQ(ReadFile("quests.lbd.bak"), database);
        EXPECT_EQ(ReadFile("journal.htm"), journal);
        EXPECT_EQ(FolderFiles(),
                  (std::vector<std::string>{"journal.htm", "quests.lbd", "quests.lbd.bak"}));
    }
}

}  // namespace
