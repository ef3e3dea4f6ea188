#include "program.h"

#include <cctype>
#include <cstdio>
#include <stdexcept>

#include "framework/wide_text.h"
#include "program_windows.h"
#include "screenshot.h"

namespace e2e {

namespace {

constexpr DWORD kPollMs = 50;

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}

// "answer the save question" -> "answer-the-save-question", for file names.
std::string Slug(const std::string& step) {
    std::string slug;
    for (char c : step) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            slug += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!slug.empty() && slug.back() != '-') {
            slug += '-';
        }
    }
    while (!slug.empty() && slug.back() == '-') slug.pop_back();
    return slug.substr(0, 60);
}

bool IsMainWindow(HWND window) {
    return ClassName(window) == "#32770" &&
           FindWindowExA(window, nullptr, "SysTreeView32", nullptr) != nullptr;
}

// The top-level windows of every other process on the desktop, hidden ones too: what
// else might be holding up a step (the end of a session waits on each of them).
std::string OtherProgramsWindows(DWORD ourProcessId) {
    struct Listing {
        DWORD ours;
        std::string text;
    } listing{ourProcessId, ""};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* listing = reinterpret_cast<Listing*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == listing->ours) return TRUE;
            std::string image = "?";
            if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, owner)) {
                wchar_t path[MAX_PATH];
                DWORD size = MAX_PATH;
                if (QueryFullProcessImageNameW(process, 0, path, &size))
                    image = Utf8FromWide(std::wstring_view(path, size));
                CloseHandle(process);
            }
            listing->text += "  [" + ClassName(window) + "] \"" + WindowText(window) + "\" " +
                             (IsWindowVisible(window) ? "visible" : "hidden") + ", process " +
                             std::to_string(owner) + " " + image + "\n";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&listing));
    return listing.text.empty() ? "" : "Other programs' windows:\n" + listing.text;
}

bool IsMessageBox(HWND window) {
    return ClassName(window) == "#32770" && !IsMainWindow(window) &&
           GetDlgItem(window, kMessageBoxTextId) != nullptr;
}

struct Search {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
}

}  // namespace

Program::Program(std::string exe, std::string artifacts, int shotsTaken)
    : exePath(std::move(exe)), artifactsDir(std::move(artifacts)), shots(shotsTaken) {}

Program::~Program() {
    if (!process) return;
    if (!HasEnded()) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
}

void Program::Start() {
    // Started the way a double-click starts it: from its own folder, no arguments. The
    // wide form, as the folder's name may lie outside the system code page.
    const std::wstring exe = WideFromUtf8(exePath);
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        WideFromUtf8(FolderOf(exePath)).c_str(), &startup, &info)) {
        throw std::runtime_error("can't start " + exePath + " (error " +
                                 std::to_string(GetLastError()) + ")");
    }
    CloseHandle(info.hThread);
    process = info.hProcess;
    processId = info.dwProcessId;
    threadId = info.dwThreadId;
}

bool Program::HasEnded() const {
    return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

std::vector<WindowInfo> Program::VisibleWindows() const {
    Search search{processId, {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    std::vector<WindowInfo> windows;
    for (HWND window : search.found) {
        WindowInfo info{window, ClassName(window), WindowText(window), ""};
        if (IsMessageBox(window)) info.text = WindowTextUtf8(GetDlgItem(window, kMessageBoxTextId));
        if (IsMainWindow(window)) {
            windows.insert(windows.begin(), info);
        } else {
            windows.push_back(info);
        }
    }
    return windows;
}

HWND Program::FindMainWindow() const {
    for (const WindowInfo& window : VisibleWindows()) {
        if (IsMainWindow(window.handle)) return window.handle;
    }
    return nullptr;
}

HWND Program::FindMessageBox() const {
    for (const WindowInfo& window : VisibleWindows()) {
        if (IsMessageBox(window.handle)) return window.handle;
    }
    return nullptr;
}

bool Program::WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) const {
    for (DWORD start = GetTickCount();; Sleep(kPollMs)) {
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return done();
    }
}

MessageBoxWindow Program::ExpectMessageBox(const std::string& step, DWORD timeoutMs) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindMessageBox()) != nullptr || HasEnded(); }, timeoutMs);
    if (!box) {
        Fail(step, HasEnded() ? "expected a message box, but the program ended"
                              : "expected a message box, but none appeared");
    }
    Snapshot(step, box);
    return MessageBoxWindow(*this, box);
}

MainWindow Program::ExpectMainWindow(const std::string& step, DWORD timeoutMs) {
    HWND main = nullptr;
    HWND box = nullptr;
    WaitUntil(
        [&] {
            main = FindMainWindow();
            box = FindMessageBox();
            return main || box || HasEnded();
        },
        timeoutMs);
    if (box) Fail(step, "expected the main window, but a message box is in the way");
    if (!main) {
        Fail(step, HasEnded() ? "expected the main window, but the program ended"
                              : "expected the main window, but it didn't appear");
    }
    Snapshot(step, main);
    return MainWindow(*this, main);
}

HWND Program::ExpectDialog(const std::string& caption, const std::string& step, DWORD timeoutMs) {
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            for (const WindowInfo& window : VisibleWindows()) {
                if (window.className == "#32770" && window.caption == caption)
                    dialog = window.handle;
            }
            return dialog || HasEnded();
        },
        timeoutMs);
    if (!dialog) Fail(step, "expected the dialog \"" + caption + "\", but it didn't appear");
    Snapshot(step, dialog);
    return dialog;
}

DWORD Program::ExpectExit(const std::string& step, DWORD timeoutMs) {
    HWND box = nullptr;
    WaitUntil([&] { return HasEnded() || (box = FindMessageBox()) != nullptr; }, timeoutMs);
    if (box) Fail(step, "expected the program to end, but a message box is in the way");
    if (!HasEnded()) Fail(step, "expected the program to end, but it is still running");
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code;
}

void Program::ExpectEventually(const std::string& step, const std::string& expected,
                               const std::function<bool()>& done, DWORD timeoutMs) {
    if (!WaitUntil(done, timeoutMs)) Fail(step, "expected " + expected + ", but it never happened");
}

std::string Program::Snapshot(const std::string& step, HWND window) {
    char number[8];
    std::snprintf(number, sizeof number, "%02d-", ++shots);
    std::string path = artifactsDir + "\\" + number + Slug(step) + ".bmp";
    bool saved = window ? SaveWindowScreenshot(window, path) : SaveScreenScreenshot(path);
    return saved ? path : "(no screenshot: " + path + " couldn't be saved)";
}

void Program::Fail(const std::string& step, const std::string& problem) {
    std::string report = "Step \"" + step + "\": " + problem + ".\n";
    if (process && HasEnded()) {
        DWORD code = 0;
        GetExitCodeProcess(process, &code);
        report += "The program has ended with exit code " + std::to_string(code) + ".\n";
    } else {
        std::vector<WindowInfo> windows = process ? VisibleWindows() : std::vector<WindowInfo>{};
        report += windows.empty() ? "The program shows no window.\n" : "The program's windows:\n";
        for (const WindowInfo& window : windows) {
            report += "  [" + window.className + "] \"" + window.caption + "\"";
            if (!window.text.empty()) report += ": \"" + window.text + "\"";
            report += "\n";
        }
    }
    report += OtherProgramsWindows(processId);
    report += "Screen: " + Snapshot(step + " failed");
    throw std::runtime_error(report);
}

}  // namespace e2e
