#include "tests/gui/gui_fixture.h"

#include <cstring>

#include "framework/file_faults.h"
#include "framework/program_path.h"

void MainDialogTest::SetUp() {
    AfxInitCommonControls();
    folder.emplace(ScratchFolder::Fresh("test"));
    SetProgramPathForTesting(PathOf("lorebinder.exe"));
    SetMessageBoxHook([this](const MessageBoxRequest& request) { return AnswerBox(request); });
}

void MainDialogTest::TearDown() {
    Close();
    for (const ExpectedBox& box : expected)
        ADD_FAILURE() << "Expected message box never came: \"" << box.text << "\"";
    SetMessageBoxHook(nullptr);
    ClearFileFaults();
    ResetProgramPathForTesting();
    folder.reset();
}

void MainDialogTest::ExpectBox(std::string text, int answer) {
    expected.push_back(ExpectedBox{std::move(text), false, answer, nullptr});
}

void MainDialogTest::ExpectBox(std::string text, int answer, std::function<void()> whileOpen) {
    expected.push_back(ExpectedBox{std::move(text), false, answer, std::move(whileOpen)});
}

void MainDialogTest::ExpectBoxStartingWith(std::string prefix, int answer) {
    expected.push_back(ExpectedBox{std::move(prefix), true, answer, nullptr});
}

int MainDialogTest::AnswerBox(const MessageBoxRequest& request) {
    HWND main = Window();
    shown.push_back(ShownBox{request.text, request.caption, request.type,
                             main && IsWindowVisible(main) != FALSE, GetCursor()});
    // As a real box does: the pointer over it is the arrow.
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    bool question = (request.type & MB_TYPEMASK) == MB_YESNO;
    if (expected.empty()) {
        ADD_FAILURE() << "Unexpected message box: \"" << request.text << "\"";
        return question ? IDCANCEL : IDOK;
    }
    ExpectedBox next = expected.front();
    expected.pop_front();
    if (next.prefixOnly)
        EXPECT_EQ(request.text.substr(0, next.text.size()), next.text) << "message box text";
    else
        EXPECT_EQ(request.text, next.text) << "message box text";
    if (next.whileOpen) next.whileOpen();
    return next.answer;
}

void MainDialogTest::StartDialogWith(const std::string& journal, const std::string& database) {
    WriteFile("journal.htm", journal);
    WriteFile("quests.lbd", database);
    StartDialog();
}

namespace {

// What WithModalDialog waits for; a thread timer's procedure has no other way in.
struct ModalWatch {
    HWND owner = nullptr;
    const std::function<void(HWND)>* act = nullptr;
    HWND dialog = nullptr;
    int ticksSinceAct = 0;
};
ModalWatch* watch = nullptr;

HWND FindOwnedDialog(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            char className[16] = "";
            GetClassNameA(window, className, sizeof(className));
            if (GetWindow(window, GW_OWNER) == s->owner && IsWindowVisible(window) &&
                strcmp(className, "#32770") == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void CALLBACK WatchModal(HWND, UINT, UINT_PTR, DWORD) {
    if (!watch) return;
    if (!watch->dialog) {
        watch->dialog = FindOwnedDialog(watch->owner);
        if (watch->dialog) (*watch->act)(watch->dialog);
        return;
    }
    if (IsWindow(watch->dialog) && IsWindowVisible(watch->dialog) &&
        ++watch->ticksSinceAct == 100) {
        ADD_FAILURE() << "the dialog didn't close";
        PostMessageA(watch->dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
}

}  // namespace

bool MainDialogTest::WithModalDialog(const std::function<void()>& open,
                                     const std::function<void(HWND)>& act) {
    ModalWatch state{Window(), &act};
    watch = &state;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, WatchModal);
    open();
    KillTimer(nullptr, timer);
    watch = nullptr;
    return state.dialog != nullptr;
}
