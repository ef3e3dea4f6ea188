#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

class MainWindow;
class MessageBoxWindow;

// How long one step of a story may take before it counts as failed. Generous:
// the machine may be busy, and Wine starts slowly when its server is cold.
constexpr DWORD kStepTimeoutMs = 30000;

// A top-level window of the program as another process sees it.
struct WindowInfo {
    HWND handle;
    std::string className;
    std::string caption;
    std::string text;  // a message box's text (UTF-8), empty for other windows
};

// The real program, run as a separate process in its own folder and watched
// from outside. Every wait names its step; a step that fails throws with the
// step, what was expected, the program's windows and texts, and the path of a
// screenshot of the whole screen, which stays among the story's artefacts.
class Program {
public:
    // `exePath` is UTF-8. `artifactsDir` receives the screenshots, numbered in the order
    // taken, after the `shotsTaken` that an earlier program of the story left there.
    Program(std::string exePath, std::string artifactsDir, int shotsTaken = 0);
    ~Program();  // ends the program if the story left it running
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    void Start();

    MessageBoxWindow ExpectMessageBox(const std::string& step, DWORD timeoutMs = kStepTimeoutMs);
    // A message box that appears instead fails the step at once, quoting it.
    MainWindow ExpectMainWindow(const std::string& step, DWORD timeoutMs = kStepTimeoutMs);
    // A window of the platform's that the program opens, such as the open-file dialog,
    // found by its caption.
    HWND ExpectDialog(const std::string& caption, const std::string& step,
                      DWORD timeoutMs = kStepTimeoutMs);
    // Waits for the program to end and returns its exit code; a message box
    // that appears instead fails the step at once.
    DWORD ExpectExit(const std::string& step, DWORD timeoutMs = kStepTimeoutMs);
    // Waits until `done` holds; `expected` says what was awaited if it never does.
    void ExpectEventually(const std::string& step, const std::string& expected,
                          const std::function<bool()>& done, DWORD timeoutMs = kStepTimeoutMs);

    bool HasEnded() const;
    HANDLE Process() const { return process; }
    DWORD ThreadId() const { return threadId; }
    int ShotsTaken() const { return shots; }

    // The program's visible top-level windows, the main window first when shown.
    std::vector<WindowInfo> VisibleWindows() const;
    HWND FindMainWindow() const;
    HWND FindMessageBox() const;

    // Saves a screenshot of `window` (the whole screen when null) as the next
    // numbered artefact, named after the step; returns its path.
    std::string Snapshot(const std::string& step, HWND window = nullptr);
    [[noreturn]] void Fail(const std::string& step, const std::string& problem);

private:
    bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) const;

    std::string exePath;
    std::string artifactsDir;
    int shots = 0;
    HANDLE process = nullptr;
    DWORD processId = 0;
    DWORD threadId = 0;
};

}  // namespace e2e
