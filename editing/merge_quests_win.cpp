// Another quest database's quests taken into the one open, with its unsaved edits: a
// file chosen in the open-file dialog of the Options menu, or dropped onto the window.
// The merge is one step of the history; a file that can't be taken whole changes nothing.
#include <optional>
#include <utility>

#include "app/app_messages.h"
#include "app/main_dlg.h"
#include "editing/merge_messages.h"
#include "framework/code_page.h"
#include "framework/dropped_files.h"
#include "framework/file.h"
#include "framework/file_dialog.h"
#include "framework/message_box.h"
#include "framework/wait_cursor.h"
#include "framework/wide_text.h"

namespace {

// The database in the file at `path`, read whole; or, in `problem`, why it can't be
// merged. Only a database read whole is merged: half of one could split its quests.
std::optional<QuestDatabase> ReadTheirs(const std::string& path, std::string& problem) {
    const WholeFile file = ReadWholeFile(path, kLargestDatabaseFile);
    switch (file.status) {
        case WholeFile::Status::Read:
            break;
        case WholeFile::Status::Missing:
        case WholeFile::Status::Unopenable:
            problem = OpenFailureReason(path, file.osError);
            return std::nullopt;
        case WholeFile::Status::TooLarge:
            problem = kDatabaseTooLarge;
            return std::nullopt;
        case WholeFile::Status::Unreadable:
            problem = SystemErrorText(file.osError);
            return std::nullopt;
    }
    if (file.bytes.empty()) {
        problem = kDatabaseEmpty;
        return std::nullopt;
    }
    QuestDatabase theirs;
    const ImageReadResult read = theirs.ReadImage(file.bytes.data(), file.bytes.size());
    if (read.damaged) {
        problem = MergeDamagedReason(read.bytesParsed, file.bytes.size(), read.questsKept);
        return std::nullopt;
    }
    return theirs;
}

}  // namespace

void CMainDlg::OnMergeQuests() {
    const std::string folder = databasePath.substr(0, databasePath.rfind('\\'));
    if (std::optional<std::string> path =
            AskFileToOpen(m_hWnd, kMergeDialogTitle,
                          std::string_view(kMergeFileFilter, sizeof kMergeFileFilter), folder))
        MergeQuestsFrom(*path);
}

void CMainDlg::OnDropFiles(HANDLE drop) {
    const std::vector<std::string> paths = TakeDroppedFiles(drop);
    if (paths.size() > 1) {
        AfxMessageBox(kMergeOneFileAtATime);
    } else if (paths.size() == 1) {
        MergeQuestsFrom(paths.front());
    }
}

void CMainDlg::MergeQuestsFrom(const std::string& path) {
    // Told by what the file is, not by how its path is spelled.
    if (IsSameFile(path, databasePath)) {
        AfxMessageBox(MergeOwnDatabaseMessage(path));
        return;
    }
    CWaitCursor wait;
    std::string problem;
    const std::optional<QuestDatabase> theirs = ReadTheirs(path, problem);
    if (!theirs) {
        AfxMessageBox(MergeRefusedMessage(path, problem));
        return;
    }
    QuestMerge merge = PlanMerge(database, *theirs);
    std::vector<std::string> names = LeftOutNames(merge, *theirs, IsLeadByte);
    for (std::string& name : names) name = Utf8FromSystemCodePage(name);
    // With nothing to add there is no step, and nothing to undo.
    if (std::optional<EditStep> step = MergeQuestsStep(std::move(merge.added)))
        Edit(std::move(*step));
    AfxMessageBox(MergeReportMessage(path, merge, names));
}
