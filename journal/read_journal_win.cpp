// CMainDlg::ReadJournal: reads journal.htm into the journal list, or what the game has
// appended to it since the last read, and links it to the quest database.
#include <new>

#include "app/main_dlg.h"
#include "framework/code_page.h"
#include "framework/file.h"
#include "framework/message_box.h"
#include "framework/wait_cursor.h"
#include "framework/wide_text.h"
#include "journal/journal_matching.h"
#include "journal/journal_messages.h"

namespace {

// The open journal file, as the reader takes it.
class FileSource : public JournalSource {
public:
    explicit FileSource(CFile& file) : file(file) {}
    void Seek(std::uint64_t position) override { file.Seek(position); }
    std::size_t Read(char* buffer, std::size_t count) override {
        return file.Read(buffer, static_cast<UINT>(count));
    }

private:
    CFile& file;
};

// "Can't find" is true only of a missing file. One that the game holds open while it
// writes is there, and the player should hear why and try again rather than look for it.
std::string OpenProblemMessage(const std::string& path, DWORD error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return JournalOpenFailedMessage(path);
    return JournalOpenRefusedMessage(path, OpenFailureReason(path, error));
}

std::uint64_t Join(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

}  // namespace

JournalFollower::Stamp CMainDlg::StampOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(WideFromUtf8(path).c_str(), GetFileExInfoStandard, &data)) return {};
    return {true, Join(data.nFileSizeHigh, data.nFileSizeLow),
            Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

GrowingJournal::Reading CMainDlg::ReadJournal(std::string path, JournalReload why,
                                              const std::function<void()>& beforeRenumbering) {
    CWaitCursor wait;
    const bool asked = why == JournalReload::Asked;
    // Taken first: what the game writes during the read shows as a change at the next look.
    const JournalFollower::Stamp stamp = StampOf(path);
    // A failure part-way keeps the entries read so far: the matching below must still
    // run over them, or items would keep positions from the previous journal. The next
    // read goes on from where this one stopped.
    std::string failure;
    GrowingJournal::Reading reading;
    {
        CFile file;
        DWORD openError = 0;
        // Shared every way: the game may write or replace its journal at any moment, also
        // while we read it, and must never fail to because of us.
        if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary,
                       &openError)) {
            if (follower.TellFailure(asked)) AfxMessageBox(OpenProblemMessage(path, openError));
            return reading;
        }
        try {
            FileSource source(file);
            // What the game appends while we read waits for the next read.
            const std::uint64_t length = file.GetLength();
            reading = growingJournal.Start(source, length, beforeRenumbering);
            growingJournal.Take(source, length, asked);
            file.Close();
        } catch (const CFileException& error) {
            failure = error.GetErrorMessage();
        } catch (const std::bad_alloc&) {
            failure = JournalOutOfMemoryMessage(path);
        }
    }  // closed before any message, so the game can write it meanwhile

    const JournalWarning& warning = growingJournal.Warning();
    if (follower.TellWarning(warning, asked))
        AfxMessageBox(Utf8FromSystemCodePage(JournalWarningMessage(warning, IsLeadByte)));
    if (reading.way == GrowingJournal::Way::Whole) MatchJournal(journal, database);
    if (failure.empty()) {
        follower.Read(stamp);
    } else if (follower.TellFailure(asked)) {
        AfxMessageBox(JournalReadFailedMessage(failure, journal.size()));
    }
    return reading;
}
