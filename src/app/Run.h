// The process around the editor: the terminal, the memory budget, the
// emergency copy on a hang-up, and the exit code.
#pragma once

namespace lumo {

int RunEditor(int argc, char** argv);

}  // namespace lumo
