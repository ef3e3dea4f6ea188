#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "program.h"
#include "program_windows.h"
#include "tests/support/win/scratch_folder.h"

namespace e2e {

// A story told to the real program: each test gets a fresh folder holding a
// copy of lorebinder.exe and the files it chooses, and a folder of artefacts
// (numbered screenshots of what it saw) named after the test. The folder goes
// after a test that passed and stays after one that failed.
// The bytes of quests.lbd, written out by hand: counts as 32-bit little-endian integers,
// each item a finisher byte (0xFF when set), its text and a zero. A quest is its items'
// texts and finisher flags.
using QuestItems = std::vector<std::pair<std::string, bool>>;
std::string QuestsImage(const std::vector<QuestItems>& quests);

class BlackBoxTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies files of the sample folder (examples/) into the test's folder.
    void CopySample(std::initializer_list<const char*> names);
    // Makes a folder of this name (UTF-8) inside the test's folder the test's folder,
    // lorebinder.exe moved into it.
    void MoveIntoSubfolder(const std::string& name);
    Program& StartProgram();

    std::optional<ScratchFolder> folder;
    std::unique_ptr<Program> program;

private:
    std::string artifactsDir;
    std::optional<ScratchFolder> outerFolder;
};

}  // namespace e2e
