// The release package as a player first uses it: unpacked into a fresh folder
// (the CTest fixture package.Unpack does that), lbdtool run from there on the
// sample, and lorebinder run from there with the sample beside it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "program.h"
#include "program_windows.h"
#include "res/resource.h"
#include "tests/support/win/scratch_folder.h"

namespace e2e {
namespace {

const std::string kFolder = WindowsPath(LOREBINDER_PACKAGE_DIR);

struct ToolRun {
    DWORD status = 0;
    std::string output;  // standard output and standard error
};

// Runs lbdtool.exe in the package folder, as a command prompt opened there would.
ToolRun RunLbdtool(const std::string& arguments) {
    ScratchFolder scratch =
        ScratchFolder::At(WindowsPath(LOREBINDER_E2E_DIR) + "\\work\\PackageFolder.lbdtool");
    const std::string outputPath = scratch.PathOf("output.txt");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) throw std::runtime_error("can't create " + outputPath);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION info{};
    std::string commandLine = "lbdtool.exe " + arguments;
    const std::string exe = kFolder + "\\lbdtool.exe";
    const BOOL started = CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, kFolder.c_str(), &startup, &info);
    CloseHandle(output);
    if (!started) throw std::runtime_error("can't start " + exe);
    ToolRun run;
    if (WaitForSingleObject(info.hProcess, kStepTimeoutMs) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 259);  // fails the test as a run that never ended
    GetExitCodeProcess(info.hProcess, &run.status);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    run.output = scratch.Read("output.txt").value_or("");
    scratch.Remove();
    return run;
}

TEST(PackageFolder, LbdtoolChecksAndDumpsTheSampleThere) {
    ToolRun check = RunLbdtool("check sample\\quests.lbd sample\\journal.htm");
    EXPECT_EQ(check.status, 0u) << check.output;
    EXPECT_NE(check.output.find("sample\\journal.htm: 27 entries; they reach 8 quests (4 "
                                "finished) and 21 items; 6 entries no quest holds\r\n"),
              std::string::npos)
        << check.output;

    ToolRun dump = RunLbdtool("dump sample\\quests.lbd");
    EXPECT_EQ(dump.status, 0u) << dump.output;
    EXPECT_NE(dump.output.find("\r\n# Quest 8\r\n"), std::string::npos) << dump.output;

    ToolRun wrong = RunLbdtool("frobnicate");
    EXPECT_EQ(wrong.status, 2u);
}

TEST(PackageFolder, LorebinderShowsTheSampleCopiedBesideIt) {
    if (const char* display = std::getenv("DISPLAY"); !display || !*display)
        GTEST_SKIP() << "needs an X display (tools/test-all starts Xvfb for these tests)";
    for (const char* name : {"journal.htm", "quests.lbd"}) {
        const std::string from = kFolder + "\\sample\\" + name;
        const std::string to = kFolder + "\\" + name;
        ASSERT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE)) << from;
    }
    ScratchFolder artifacts =
        ScratchFolder::At(WindowsPath(LOREBINDER_E2E_DIR) + "\\artifacts\\PackageFolder");
    artifacts.Keep();
    Program app(kFolder + "\\lorebinder.exe", artifacts.Path());
    app.Start();
    MainWindow main = app.ExpectMainWindow("show the sample without a message");
    app.Snapshot("the sample from the package", main.Handle());
    EXPECT_EQ(main.Text(IDC_DISPLAYED_COUNT), "Displayed: 6/27");
    main.Close();
    app.ExpectMessageBox("ask whether to save").Press(IDNO, "answer No");
    EXPECT_EQ(app.ExpectExit("end without saving"), 0u);
}

}  // namespace
}  // namespace e2e
