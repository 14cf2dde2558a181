// The command line: every argument but the last is option text, the last is
// the file name.
#pragma once
#include <string>
#include <vector>
#include "app/Editor.h"

namespace lumo {

// Applies the option text the way it has always been read: each "-" in turn
// is blanked and the letter after it taken, so a "-" inside a directory
// argument starts an option too.
void ApplyOptions(Editor& e, const std::string& optionText);
// Joins the arguments before the file name, each followed by a blank.
std::string OptionText(const std::vector<std::string>& args);

// The margins and modes a file name's extension selects.
void ApplyExtension(Editor& e, const std::string& fileName, int screenWidth);

// The name after its last directory separator ("/" or "\").
std::string BaseName(const std::string& name);

}  // namespace lumo
