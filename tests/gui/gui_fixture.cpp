#include "tests/gui/gui_fixture.h"

#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "framework/file_faults.h"
#include "framework/program_path.h"
#include "questdb/quest_database.h"

std::string DatabaseImage(const std::vector<TestQuest>& quests) {
    QuestDatabase database;
    for (const TestQuest& items : quests) {
        database.quests.emplace_back();
        for (const TestItem& item : items)
            database.AddItem(database.quests.back(), item.first, -1, item.second);
    }
    ByteBuffer image;
    database.WriteImage(image);
    return std::string(image.Bytes().begin(), image.Bytes().end());
}

std::string EmptyDatabaseImage() {
    return std::string(4, '\0');
}

std::string JournalText(const std::vector<TestEntry>& entries) {
    std::string text;
    for (const TestEntry& entry : entries) {
        text += "<FONT COLOR=\"9F0000\">" + entry.first + "</FONT><BR>\r\n";
        text += entry.second + "<P>\r\n";
    }
    return text;
}

namespace {

std::string MakeScratchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    for (;;) {
        std::string path = std::string(temp) + "lorebinder-test-" +
                           std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
        if (CreateDirectoryA(path.c_str(), nullptr)) return path;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
    }
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string path = folder + "\\" + found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                // Tests put empty folders where files belong.
                if (found.cFileName[0] != '.') RemoveDirectoryA(path.c_str());
                continue;
            }
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

const FILETIME kLongAgo = {0x00000000, 0x01A00000};  // early 1985

}  // namespace

void MainDialogTest::SetUp() {
    AfxInitCommonControls();
    folder = MakeScratchFolder();
    ASSERT_FALSE(folder.empty()) << "no scratch folder";
    SetProgramPathForTesting(PathOf("lorebinder.exe"));
    SetMessageBoxHook([this](const MessageBoxRequest& request) { return AnswerBox(request); });
}

void MainDialogTest::TearDown() {
    if (dialog) {
        dialog->DestroyWindow();
        PumpMessages();
        app.m_pMainWnd = nullptr;
        dialog.reset();
    }
    for (const ExpectedBox& box : expected)
        ADD_FAILURE() << "Expected message box never came: \"" << box.text << "\"";
    SetMessageBoxHook(nullptr);
    ClearFileFaults();
    ResetProgramPathForTesting();
    RemoveFolder(folder);
}

void MainDialogTest::WriteFile(const std::string& name, const std::string& bytes) {
    HANDLE file = CreateFileA(PathOf(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << name;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size()) << name;
}

void MainDialogTest::RemoveFile(const std::string& name) {
    SetFileAttributesA(PathOf(name).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(PathOf(name).c_str());
}

std::optional<std::string> MainDialogTest::ReadFile(const std::string& name) const {
    HANDLE file = CreateFileA(PathOf(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

std::vector<std::string> MainDialogTest::FolderFiles() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void MainDialogTest::SetReadOnly(const std::string& name, bool readOnly) {
    SetFileAttributesA(PathOf(name).c_str(),
                       readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

void MainDialogTest::MakeOld(const std::string& name) {
    HANDLE file = CreateFileA(PathOf(name).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << name;
    SetFileTime(file, nullptr, nullptr, &kLongAgo);
    CloseHandle(file);
}

bool MainDialogTest::IsOld(const std::string& name) const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(PathOf(name).c_str(), GetFileExInfoStandard, &data)) return false;
    return CompareFileTime(&data.ftLastWriteTime, &kLongAgo) == 0;
}

void MainDialogTest::ExpectBox(std::string text, int answer) {
    expected.push_back(ExpectedBox{std::move(text), false, answer});
}

void MainDialogTest::ExpectBoxStartingWith(std::string prefix, int answer) {
    expected.push_back(ExpectedBox{std::move(prefix), true, answer});
}

int MainDialogTest::AnswerBox(const MessageBoxRequest& request) {
    HWND main = dialog ? dialog->m_hWnd : nullptr;
    shown.push_back(ShownBox{request.text, request.caption, request.type,
                             main && IsWindowVisible(main) != FALSE});
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
    return next.answer;
}

void MainDialogTest::StartDialogWith(const std::string& journal, const std::string& database) {
    WriteFile("journal.htm", journal);
    WriteFile("quests.lbd", database);
    StartDialog();
}

void MainDialogTest::StartDialog() {
    if (dialog) {
        dialog->DestroyWindow();
        PumpMessages();
    }
    dialog = std::make_unique<CMainDlg>();
    app.m_pMainWnd = dialog.get();
    ASSERT_TRUE(dialog->Create()) << "the main dialog couldn't be created";
    // As DoModal does: a dialog that ended during its start-up is never shown.
    if (!dialog->IsEnded()) dialog->ShowWindow(SW_SHOWNORMAL);
    PumpMessages();
}

void MainDialogTest::Click(int id) {
    SendMessageA(Control(id), BM_CLICK, 0, 0);
    PumpMessages();
}

void MainDialogTest::Focus(int id) {
    SetFocus(Control(id));
    PumpMessages();
}

void MainDialogTest::PressKey(UINT key) {
    HWND focus = GetFocus();
    PostKey(focus ? focus : Window(), key);
}

void MainDialogTest::PressKeyOn(int id, UINT key) {
    PostKey(Control(id), key);
}

void MainDialogTest::PostKey(HWND target, UINT key) {
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(target, WM_KEYDOWN, key, scan | 1);
    PostMessageA(target, WM_KEYUP, key, scan | 1 | (1u << 30) | (1u << 31));
    PumpMessages();
}

void MainDialogTest::PressAltKey(UINT key) {
    HWND target = GetFocus();
    if (!target) target = Window();
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
    LPARAM altDown = static_cast<LPARAM>(KF_ALTDOWN) << 16;
    PostMessageA(target, WM_SYSKEYDOWN, key, scan | altDown | 1);
    PostMessageA(target, WM_SYSKEYUP, key, scan | altDown | 1 | (1u << 30) | (1u << 31));
    PumpMessages();
}

void MainDialogTest::RequestClose() {
    SendMessageA(Window(), WM_CLOSE, 0, 0);
    PumpMessages();
}

void MainDialogTest::MenuCommand(UINT id) {
    SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    PumpMessages();
}

void MainDialogTest::SelectListRow(int row) {
    HWND list = Control(IDC_JOURNAL_LIST);
    SendMessageA(list, LB_SETCURSEL, row, 0);
    SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDC_JOURNAL_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    PumpMessages();
}

void MainDialogTest::SelectTreeItem(HTREEITEM item) {
    SendMessageA(Control(IDC_QUEST_TREE), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(item));
    PumpMessages();
}

HTREEITEM MainDialogTest::FindTreeItem(const std::string& text) const {
    HWND tree = Control(IDC_QUEST_TREE);
    auto next = [tree](HTREEITEM item, UINT code) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    };
    for (HTREEITEM top = next(nullptr, TVGN_ROOT); top; top = next(top, TVGN_NEXT)) {
        if (TreeItemText(top) == text) return top;
        for (HTREEITEM child = next(top, TVGN_CHILD); child; child = next(child, TVGN_NEXT))
            if (TreeItemText(child) == text) return child;
    }
    return nullptr;
}

void MainDialogTest::MoveSlider(int position) {
    HWND slider = Control(IDC_FONT_SLIDER);
    SendMessageA(slider, TBM_SETPOS, TRUE, position);
    SendMessageA(Window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(slider));
    SendMessageA(Window(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                 reinterpret_cast<LPARAM>(slider));
    PumpMessages();
}

void MainDialogTest::PumpMessages() {
    CDialog::PumpQueuedMessages(dialog.get());
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

std::string MainDialogTest::Text(int id) const {
    char text[4096] = "";
    GetDlgItemTextA(Window(), id, text, sizeof(text));
    return text;
}

bool MainDialogTest::IsChecked(int id) const {
    return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int MainDialogTest::ListCount() const {
    return static_cast<int>(SendMessageA(Control(IDC_JOURNAL_LIST), LB_GETCOUNT, 0, 0));
}

int MainDialogTest::ListSelection() const {
    return static_cast<int>(SendMessageA(Control(IDC_JOURNAL_LIST), LB_GETCURSEL, 0, 0));
}

int MainDialogTest::TreeCount() const {
    return static_cast<int>(SendMessageA(Control(IDC_QUEST_TREE), TVM_GETCOUNT, 0, 0));
}

std::vector<std::string> MainDialogTest::ListRows() const {
    HWND list = Control(IDC_JOURNAL_LIST);
    std::vector<std::string> rows;
    for (int row = 0; row < ListCount(); ++row) {
        // Wine's ANSI LB_GETTEXT crashes on rows of more than a few hundred characters;
        // the wide one doesn't.
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, row, 0);
        std::wstring wide(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        LRESULT copied = SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(wide.data()));
        wide.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                            bytes, nullptr, nullptr);
        rows.push_back(text);
    }
    return rows;
}

LPARAM MainDialogTest::ListRowData(int row) const {
    return SendMessageA(Control(IDC_JOURNAL_LIST), LB_GETITEMDATA, row, 0);
}

std::vector<std::string> MainDialogTest::TreeLines() const {
    HWND tree = Control(IDC_QUEST_TREE);
    auto next = [tree](HTREEITEM item, UINT code) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    };
    std::vector<std::string> lines;
    for (HTREEITEM top = next(nullptr, TVGN_ROOT); top; top = next(top, TVGN_NEXT)) {
        HTREEITEM child = next(top, TVGN_CHILD);
        bool expanded =
            SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(top), TVIS_EXPANDED) &
            TVIS_EXPANDED;
        lines.push_back(TreeItemText(top) + (child && !expanded ? " [+]" : ""));
        for (; child; child = next(child, TVGN_NEXT)) lines.push_back("  " + TreeItemText(child));
    }
    return lines;
}

std::string MainDialogTest::TreeItemText(HTREEITEM item) const {
    char text[4096] = "";
    TVITEMA tvItem = {};
    tvItem.mask = TVIF_TEXT;
    tvItem.hItem = item;
    tvItem.pszText = text;
    tvItem.cchTextMax = sizeof(text);
    SendMessageA(Control(IDC_QUEST_TREE), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvItem));
    return text;
}

LPARAM MainDialogTest::TreeItemData(HTREEITEM item) const {
    TVITEMA tvItem = {};
    tvItem.mask = TVIF_PARAM;
    tvItem.hItem = item;
    SendMessageA(Control(IDC_QUEST_TREE), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvItem));
    return tvItem.lParam;
}

HTREEITEM MainDialogTest::TreeSelection() const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(Control(IDC_QUEST_TREE), TVM_GETNEXTITEM, TVGN_CARET, 0));
}
