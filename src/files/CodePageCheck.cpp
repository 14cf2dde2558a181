// Called after every load and file insertion with the lines just read.
#include "files/CodePageCheck.h"

namespace lumo {

void CheckCodePage(Editor&, int, int, bool) {}

}  // namespace lumo
