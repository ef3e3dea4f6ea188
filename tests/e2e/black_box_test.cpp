#include "black_box_test.h"

#include <cstdlib>

namespace e2e {

namespace {

std::string TestName() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(test->test_suite_name()) + "." + test->name();
}

}  // namespace

std::string QuestsImage(const std::vector<QuestItems>& quests) {
    auto count = [](std::size_t n) {
        std::string bytes;
        for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((n >> shift) & 0xFF);
        return bytes;
    };
    std::string image = count(quests.size());
    for (const QuestItems& quest : quests) {
        image += count(quest.size());
        for (const auto& [text, finisher] : quest)
            image += (finisher ? "\xFF" : std::string(1, '\0')) + text + std::string(1, '\0');
    }
    return image;
}

void BlackBoxTest::SetUp() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        GTEST_SKIP() << "needs an X display (tools/test-all starts Xvfb for these tests)";
    }
    std::string root = WindowsPath(LOREBINDER_E2E_DIR);
    folder.emplace(ScratchFolder::At(root + "\\work\\" + TestName()));
    // Screenshots of an earlier run of this test would mislead; start afresh.
    ScratchFolder artifacts = ScratchFolder::At(root + "\\artifacts\\" + TestName());
    artifacts.Keep();
    artifactsDir = artifacts.Path();
    folder->CopyIn(WindowsPath(LOREBINDER_EXE), "lorebinder.exe");
}

void BlackBoxTest::TearDown() {
    program.reset();  // ends a program that a failed step left running
    if (HasFailure()) {
        if (folder) folder->Keep();
        if (outerFolder) outerFolder->Keep();
    }
    folder.reset();
    outerFolder.reset();
}

void BlackBoxTest::CopySample(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        folder->CopyIn(WindowsPath(LOREBINDER_EXAMPLES_DIR) + "\\" + name, name);
    }
}

void BlackBoxTest::MoveIntoSubfolder(const std::string& name) {
    ScratchFolder inner = ScratchFolder::At(folder->PathOf(name));
    inner.CopyIn(folder->PathOf("lorebinder.exe"), "lorebinder.exe");
    folder->Delete("lorebinder.exe");
    outerFolder.emplace(std::move(*folder));
    folder.emplace(std::move(inner));
}

Program& BlackBoxTest::StartProgram() {
    // A story's next program goes on numbering its screenshots, so that they read in order.
    const int shots = program ? program->ShotsTaken() : 0;
    program = std::make_unique<Program>(folder->PathOf("lorebinder.exe"), artifactsDir, shots);
    program->Start();
    return *program;
}

}  // namespace e2e
