// The Help and About dialogs, and the system commands of the main window.
#include "app/help_dlg.h"
#include "lorebinder_version.h"
#include "tests/gui/gui_fixture.h"

namespace {

class HelpAndAbout : public MainDialogTest {
protected:
    void SetUp() override {
        MainDialogTest::SetUp();
        StartDialogWith("", EmptyDatabaseImage());
    }

    static std::string WindowText(HWND window) {
        char text[16384] = "";
        GetWindowTextA(window, text, sizeof(text));
        return text;
    }
    static LONG HeightOf(HFONT font) {
        LOGFONTA description = {};
        GetObjectA(font, sizeof(description), &description);
        return description.lfHeight;
    }
    static LONG FontHeight(HWND window) {
        return HeightOf(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
    }

    // Posts a key to the dialog's control with the focus, as the keyboard would. Under
    // load the focus may not have arrived yet; the dialog itself then takes the key,
    // which its loop treats the same way.
    static void PostKey(HWND dialog, UINT key) {
        HWND target = GetFocus();
        if (!target || !IsChild(dialog, target)) target = dialog;
        PostMessageA(target, WM_KEYDOWN, key, 1);
        PostMessageA(target, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
    }
};

TEST_F(HelpAndAbout, HelpShowsItsTextInThePaneFontAndClosesWithOkEnterOrEsc) {
    std::string text;
    HWND textBox = nullptr;
    bool mainEnabled = true;
    ASSERT_TRUE(WithModalDialog(
        [&] { Click(IDC_HELP_BUTTON); },
        [&](HWND help) {
            EXPECT_EQ(WindowText(help), "Dialog");
            // The focus lives in the active window; another test's
            // window may hold the foreground, so take it first.
            SetForegroundWindow(help);
            if (GetActiveWindow() == help) {
                EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_HELP_OK);
            }
            mainEnabled = IsWindowEnabled(Window()) != FALSE;
            textBox = GetDlgItem(help, IDC_HELP_TEXT);
            text = WindowText(textBox);
            // A copy of its own, which a change of the main window's scale can't release.
            EXPECT_NE(SendMessageA(textBox, WM_GETFONT, 0, 0),
                      reinterpret_cast<LRESULT>(static_cast<HFONT>(Dialog().paneFont)));
            EXPECT_EQ(FontHeight(textBox), HeightOf(Dialog().paneFont));
            SendMessageA(GetDlgItem(help, IDC_HELP_OK), BM_CLICK, 0, 0);
        }));
    EXPECT_FALSE(mainEnabled) << "the main window takes no input while help is open";
    EXPECT_TRUE(IsWindowEnabled(Window()));
    EXPECT_FALSE(IsWindow(textBox)) << "Ok closes the dialog";
    EXPECT_FALSE(Ended()) << "closing help leaves the main window open";

    // The paragraphs in their order, lines ending in CR LF, an empty line between
    // paragraphs and nothing after the last.
    EXPECT_EQ(text.rfind("Lorebinder 1.0\r\n\r\n", 0), 0u);
    size_t at = 0;
    for (const char* phrase : {"journal.htm", "\"finisher\"", "Toggle Finisher",
                               "console command that fills the journal", "quests.lbd",
                               "Merge Quests from Another Database...", "F3"}) {
        size_t found = text.find(phrase, at);
        EXPECT_NE(found, std::string::npos) << phrase << " (in order)";
        if (found != std::string::npos) at = found;
    }
    int paragraphs = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
        }
        if (text[i] == '\r') {
            EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at " << i;
        }
        if (text.compare(i, 4, "\r\n\r\n") == 0) ++paragraphs;
    }
    EXPECT_EQ(paragraphs, 7);
    EXPECT_EQ(text.find("\r\n\r\n\r\n"), std::string::npos);
    EXPECT_NE(text.back(), '\n');

    // At the slider's right end the help text comes enlarged; Enter and Esc close it.
    MoveSlider(100);
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
        SCOPED_TRACE(key == VK_RETURN ? "Enter" : "Esc");
        HWND box = nullptr;
        ASSERT_TRUE(WithModalDialog([&] { Click(IDC_HELP_BUTTON); },
                                    [&](HWND help) {
                                        box = GetDlgItem(help, IDC_HELP_TEXT);
                                        EXPECT_EQ(FontHeight(box), HeightOf(Dialog().paneFont));
                                        EXPECT_EQ(WindowText(box), text);
                                        PostKey(help, key);
                                    }));
        EXPECT_FALSE(IsWindow(box));
    }
    EXPECT_FALSE(Ended());
}

TEST_F(HelpAndAbout, SystemMenuAboutOpensTheAboutBoxAndOtherCommandsKeepTheirEffect) {
    // The About item, also with the low bits that the platform may set.
    for (WPARAM command : {WPARAM(IDM_ABOUTBOX), WPARAM(IDM_ABOUTBOX | 0x3)}) {
        for (UINT key : {0u, UINT(VK_RETURN), UINT(VK_ESCAPE)}) {
            HWND about = nullptr;
            ASSERT_TRUE(WithModalDialog(
                [&] {
                    SendMessageA(Window(), WM_SYSCOMMAND, command, 0);
                    PumpMessages();
                },
                [&](HWND dialog) {
                    about = dialog;
                    EXPECT_EQ(WindowText(dialog), "About Lorebinder");
                    std::vector<std::string> texts;
                    bool hasIcon = false;
                    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                        if (SendMessageA(c, STM_GETICON, 0, 0))
                            hasIcon = true;
                        else
                            texts.push_back(WindowText(c));
                    }
                    EXPECT_EQ(texts, (std::vector<std::string>{"Lorebinder Version 1.0", "OK"}));
                    EXPECT_TRUE(hasIcon);
                    if (key)
                        PostKey(dialog, key);
                    else
                        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
                }))
                << "command " << command;
            EXPECT_FALSE(IsWindow(about));
            EXPECT_TRUE(IsWindowEnabled(Window()));
        }
    }
    EXPECT_FALSE(Ended());
    EXPECT_EQ(SendMessageA(Window(), WM_QUERYDRAGICON, 0, 0),
              reinterpret_cast<LRESULT>(Dialog().appIcon));

    // Minimise, paint the icon, restore: the controls are as they were.
    SetDlgItemTextA(Window(), IDC_SEARCH_BOX, "lantern");
    SendMessageA(Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    PumpMessages();
    EXPECT_TRUE(IsIconic(Window()));
    RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    SendMessageA(Window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    PumpMessages();
    EXPECT_FALSE(IsIconic(Window()));
    EXPECT_EQ(Text(IDC_SEARCH_BOX), "lantern");
    EXPECT_FALSE(Ended());

    // Close asks the save question.
    ExpectBox(kSaveQuestion, IDNO);
    SendMessageA(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    EXPECT_TRUE(Ended());
}

// The version record and the manifest carry the project's one version number: the
// build writes it into both, and a file's Properties or a side-by-side loader read them.
TEST(Resources, VersionRecordAndManifestCarryTheProjectVersion) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC version = FindResourceA(module, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
    ASSERT_TRUE(version);
    // VerQueryValue wants a writable copy of the record.
    std::string record(static_cast<const char*>(LockResource(LoadResource(module, version))),
                       SizeofResource(module, version));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
    char fields[32];
    wsprintfA(fields, "%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
              HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(fields, std::string(LOREBINDER_VERSION_TEXT));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    char* text = nullptr;
    ASSERT_TRUE(VerQueryValueA(record.data(), "\\StringFileInfo\\040904B0\\ProductVersion",
                               reinterpret_cast<void**>(&text), &size));
    EXPECT_EQ(std::string(text), LOREBINDER_VERSION_TEXT);

    HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_TRUE(manifest);
    const std::string xml(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                          SizeofResource(module, manifest));
    EXPECT_NE(xml.find("name=\"Lorebinder\" version=\"" LOREBINDER_VERSION_TEXT "\""),
              std::string::npos)
        << xml;
}

}  // namespace
