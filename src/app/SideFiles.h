// The per-file settings kept between runs (the prompt history belongs to the
// prompt editor, tools/PromptEditor.h). The file formats come with the
// commands that use them; start-up and exit call these at their places in
// the sequence.
#pragma once
#include "app/Editor.h"

namespace lumo {

void ReadSettings(Editor& e);
void WriteSettings(Editor& e);
// The save of the exit sequence.
void SaveTextForExit(Editor& e);

}  // namespace lumo
