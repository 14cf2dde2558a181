#include "app/Run.h"

int main(int argc, char** argv) { return lumo::RunEditor(argc, argv); }
