// The framework's modal run: the owner disabled while it runs, every queued message
// through PreTranslateMessage, handlers' exceptions reported where they happen, and
// what escapes start-up reported by the entry point in the same words.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/dialog.h"
#include "framework/file_exception.h"
#include "framework/message_box.h"
#include "framework/win_app.h"
#include "res/resource.h"

namespace {

enum : UINT { kFailFile = 40001, kFailOther, kFinish };

class ProbeDialog : public CDialog {
public:
    ProbeDialog() : CDialog(IDD_ABOUTBOX) {}

    std::vector<UINT> preTranslated;  // WM_COMMAND ids seen by PreTranslateMessage
    bool ownerEnabledWhileRunning = true;
    bool finishedRan = false;
    HWND window = nullptr;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        window = m_hWnd;
        for (UINT id : {kFailFile, kFailOther, kFinish})
            PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* message) override {
        if (message->message == WM_COMMAND) preTranslated.push_back(LOWORD(message->wParam));
        return CDialog::PreTranslateMessage(message);
    }
    MessageMap GetMessageMap() const override;

private:
    void OnFailFile() { throw CFileException("C:\\saves\\quests.lbd", "write", ERROR_DISK_FULL); }
    void OnFailOther() { throw std::runtime_error("out of cheese"); }
    void OnFinish() {
        ownerEnabledWhileRunning = IsWindowEnabled(GetWindow(m_hWnd, GW_OWNER)) != FALSE;
        finishedRan = true;
        EndDialog(7);
    }

    static const MessageMapEntry messageMap[];
};

const MessageMapEntry ProbeDialog::messageMap[] = {
    MapCommand(0, kFailFile, &ProbeDialog::OnFailFile),
    MapCommand(0, kFailOther, &ProbeDialog::OnFailOther),
    MapCommand(0, kFinish, &ProbeDialog::OnFinish),
};

MessageMap ProbeDialog::GetMessageMap() const {
    return messageMap;
}

// Each kind of table entry takes the handler its message calls for, and no other.
template <auto map, class Handler>
constexpr bool kTakes = std::is_invocable_v<decltype(map), Handler>;
using Plain = void (ProbeDialog::*)();
using Scroll = void (ProbeDialog::*)(UINT, UINT, HWND);
using SysCommand = void (ProbeDialog::*)(UINT, LPARAM);
static_assert(kTakes<&MapHScroll<ProbeDialog>, Scroll> && !kTakes<&MapHScroll<ProbeDialog>, Plain>);
static_assert(kTakes<&MapSysCommand<ProbeDialog>, SysCommand> &&
              !kTakes<&MapSysCommand<ProbeDialog>, Scroll>);
static_assert(kTakes<&MapPaint<ProbeDialog>, Plain> && !kTakes<&MapPaint<ProbeDialog>, SysCommand>);
static_assert(!kTakes<&MapClose<ProbeDialog>, Scroll> &&
              !kTakes<&MapQueryDragIcon<ProbeDialog>, Plain>);

TEST(ModalRun, DisablesOwnerPassesMessagesThroughPreTranslateAndReportsExceptions) {
    AfxInitCommonControls();
    CWinApp app;
    CWnd owner;
    owner.Attach(CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(owner.m_hWnd);
    app.m_pMainWnd = &owner;
    std::vector<MessageBoxRequest> boxes;
    SetMessageBoxHook([&](const MessageBoxRequest& box) {
        boxes.push_back(box);
        return IDOK;
    });

    ProbeDialog dialog;
    INT_PTR result = dialog.DoModal();
    SetMessageBoxHook(nullptr);

    EXPECT_EQ(result, 7);
    EXPECT_TRUE(dialog.finishedRan) << "a handler's exception must not end the run";
    EXPECT_FALSE(dialog.ownerEnabledWhileRunning);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd)) << "the owner must be enabled again";
    EXPECT_FALSE(dialog.m_hWnd) << "the window is destroyed when the run ends";
    EXPECT_EQ(dialog.preTranslated, (std::vector<UINT>{kFailFile, kFailOther, kFinish}));

    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Couldn't write the file \"C:\\saves\\quests.lbd\":\n" +
                                 SystemErrorText(ERROR_DISK_FULL));
    EXPECT_EQ(boxes[0].type, UINT(MB_OK | MB_ICONSTOP));
    // Over the dialog that takes the input, not the disabled main window beneath it.
    EXPECT_EQ(boxes[0].owner, dialog.window);
    EXPECT_NE(boxes[1].text.find("out of cheese"), std::string::npos);
    EXPECT_EQ(boxes[1].type & MB_ICONMASK, UINT(MB_ICONSTOP));

    DestroyWindow(owner.m_hWnd);
}

TEST(EntryPoint, ReportsWhatEscapesStartUpLikeTheDialogsDoAndFails) {
    struct FailingApp : CWinApp {
        std::function<void()> fail;
        BOOL InitInstance() override {
            fail();
            return TRUE;
        }
    };
    const std::pair<std::function<void()>, std::string> failures[] = {
        {[] { throw std::runtime_error("out of cheese"); }, "Unexpected error: out of cheese"},
        {[] { throw std::bad_alloc(); }, "Not enough memory to finish this."},
        {[] { throw 42; }, "Unexpected error."},
    };
    for (const auto& [fail, message] : failures) {
        FailingApp app;
        app.fail = fail;
        std::vector<MessageBoxRequest> boxes;
        SetMessageBoxHook([&](const MessageBoxRequest& box) {
            boxes.push_back(box);
            return IDOK;
        });
        EXPECT_EQ(AfxWinMain(GetModuleHandleA(nullptr)), 1) << message;
        SetMessageBoxHook(nullptr);
        ASSERT_EQ(boxes.size(), 1u) << message;
        EXPECT_EQ(boxes[0].text, message);
        EXPECT_EQ(boxes[0].type, UINT(MB_OK | MB_ICONSTOP));
    }
}

}  // namespace
