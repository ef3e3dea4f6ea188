#pragma once

#include <cstdint>

// A process-wide count of structural changes (items or quests added, removed
// or read) to any quest database. Quest::AddItem can't tell which database
// holds its quest, so every database's text index compares its own build
// generation with this one and rebuilds itself when they differ. Starts at 1.
std::uint64_t StructureGeneration();
void NoteStructureChange();
