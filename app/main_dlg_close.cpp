// Closing the main dialog: the save question and the save of the quest database.
#include "app/app_messages.h"
#include "app/main_dlg.h"
#include "framework/message_box.h"
#include "framework/replace_file.h"

// A close request: the caption's close box, Close on the system menu, Alt+F4.
void CMainDlg::OnClose() {
    switch (AskSaveOnClose()) {
        case CloseChoice::Save:
            // A save that fails keeps the window open: the user's work is still here.
            if (!SaveDatabase()) return;
            break;
        case CloseChoice::Discard:
            break;
        case CloseChoice::Stay:
            return;
    }
    Default();  // the dialog's close handling: the cancel command, which ends the run
}

CMainDlg::CloseChoice CMainDlg::AskSaveOnClose() {
    int answer = AfxMessageBox(kSaveQuestion, MB_YESNO);
    if (answer == IDNO) return CloseChoice::Discard;
    // Anything but Yes or No (Esc gives IDCANCEL) means the user hasn't decided.
    if (answer != IDYES) return CloseChoice::Stay;
    if (databaseReadProblem.empty()) return CloseChoice::Save;

    answer = AfxMessageBox(ReplacePartlyReadQuestion(databasePath, databaseReadProblem), MB_YESNO);
    if (answer == IDYES) return CloseChoice::Save;
    return answer == IDNO ? CloseChoice::Discard : CloseChoice::Stay;
}

// The image is written beside quests.lbd and moved over it only once it is complete on
// disk, so no failure can leave the previous database damaged. A write failure throws
// and is reported by the framework, which also abandons the close.
bool CMainDlg::SaveDatabase() {
    ByteBuffer image;
    database.WriteImage(image);
    if (!WriteFileReplacing(databasePath, image.Data(), image.Size())) {
        AfxMessageBox(SaveFailedMessage(databasePath));
        return false;
    }
    databaseReadProblem.clear();
    return true;
}
