// What a part hands back to the engine from handleEvent and update: 0 keeps the part running,
// anything else ends it, and the engine decides from the value which part comes next.
#pragma once

namespace PartResult {
constexpr int goOn = 0;
// Ends the program; the engine treats every negative value so.
constexpr int quit = -1;
// The intro is over, "begin" was chosen, or a scene is finished.
constexpr int next = 1;
// Escape in a scene: back to the title screen.
constexpr int backToTitle = 3;
} // namespace PartResult
