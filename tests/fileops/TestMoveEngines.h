// The move engines the file-move tests run against: the one the program
// picks on this system, our own, and the shell's alone.
#pragma once

#include "fileops/MoveEngine.h"

#include <ostream>
#include <string>

namespace cadrels {

// So that a failed comparison of moves shows the paths.
void PrintTo(const MovePair& move, std::ostream* out);

}  // namespace cadrels

namespace cadrels::testing {

enum class EngineKind { Chosen, Own, Shell };

// For Shell, a factory that returns null when the shell's engine cannot be
// made here.
MoveEngineFactory EngineFactory(EngineKind kind);

// Empty when the kind can run here; else why not (the shell's engine on a
// system whose IFileOperation cannot be created).
std::string EngineUnavailable(EngineKind kind);

// The Wine 10 lane sets CADRELS_REQUIRE_SHELL_ENGINE=1: there a shell
// engine that cannot be made, or that the program would not pick, is a
// failure, never a skip.
bool ShellEngineRequired();

std::string EngineKindName(EngineKind kind);

}  // namespace cadrels::testing
