// CMainDlg::ReadJournal: reads journal.htm into the journal list and matches it
// against the quest database.
#include <new>
#include <vector>

#include "app/main_dlg.h"
#include "framework/code_page.h"
#include "framework/file.h"
#include "framework/message_box.h"
#include "framework/wait_cursor.h"
#include "framework/wide_text.h"
#include "journal/journal_matching.h"
#include "journal/journal_messages.h"
#include "journal/journal_reader.h"

namespace {

// Big enough to keep the number of reads small, small enough that a journal of any
// size costs no more memory than its entries and its longest line.
constexpr UINT kChunkSize = 64 * 1024;

// Empties `journal` and fills it from the open file. A failure stops the read and is
// described in `failure`; the entries read before it stay.
void ReadJournalFile(CFile& file, const std::string& path, std::vector<JournalEntry>& journal,
                     JournalWarning& warning, std::string& failure) {
    JournalReader reader(journal);
    try {
        std::vector<char> chunk(kChunkSize);
        for (;;) {
            UINT read = file.Read(chunk.data(), kChunkSize);
            if (read == 0) break;
            reader.Feed(chunk.data(), read);
        }
        reader.Finish();
        file.Close();
    } catch (const CFileException& error) {
        failure = error.GetErrorMessage();
    } catch (const std::bad_alloc&) {
        failure = JournalOutOfMemoryMessage(path);
    }
    warning = reader.Warning();
}  // the reader's buffers, which may be what ran out of memory, go here

// "Can't find" is true only of a missing file. One that the game holds open while it
// writes is there, and the player should hear why and try again rather than look for it.
std::string OpenProblemMessage(const std::string& path, DWORD error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return JournalOpenFailedMessage(path);
    return JournalOpenRefusedMessage(path, OpenFailureReason(path, error));
}

}  // namespace

void CMainDlg::ReadJournal(std::string path) {
    CWaitCursor wait;
    // A failure part-way keeps the entries read so far: the matching below must still
    // run over them, or items would keep positions from the previous journal. The
    // line the failure cut short is dropped with the reader.
    std::string failure;
    JournalWarning warning;
    {
        CFile file;
        DWORD openError = 0;
        if (!file.Open(path, CFile::modeRead | CFile::shareExclusive | CFile::typeBinary,
                       &openError)) {
            AfxMessageBox(OpenProblemMessage(path, openError));
            return;
        }
        ReadJournalFile(file, path, journal, warning, failure);
    }  // closed before any message, so the game can write it meanwhile

    std::string warningText = JournalWarningMessage(warning, IsLeadByte);
    if (!warningText.empty()) AfxMessageBox(Utf8FromSystemCodePage(warningText));
    MatchJournal(journal, database);
    if (!failure.empty()) AfxMessageBox(JournalReadFailedMessage(failure, journal.size()));
}
