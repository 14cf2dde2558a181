// The per-file settings and the prompt history kept between runs. The file
// formats come with the commands that use them; start-up and exit call these
// at their places in the sequence.
#pragma once
#include "app/Editor.h"

namespace lumo {

void ReadSettings(Editor& e);
void WriteSettings(Editor& e);
void ReadPromptHistory(Editor& e);
void WritePromptHistory(Editor& e);
// The save of the exit sequence.
void SaveTextForExit(Editor& e);

}  // namespace lumo
