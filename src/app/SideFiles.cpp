// Until the settings have commands that fill them, there is nothing to keep:
// reading and writing them does nothing, and a missing file is no error.
#include "app/SideFiles.h"

#include "files/Save.h"

namespace lumo {

void ReadSettings(Editor&) {}
void WriteSettings(Editor&) {}
void SaveTextForExit(Editor& e) { SaveText(e); }

}  // namespace lumo
