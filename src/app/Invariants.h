// A check of the whole editing state, for the stress tests and fuzzers: every
// command must leave the state in a shape the next command can trust.
#pragma once
#include <string>
#include "app/Editor.h"

namespace lumo {

// Empty when the state holds together; otherwise what is wrong, first fault
// first. The last byte of every line block is read, so a sanitizer sees a
// block that is shorter than its capacity says.
std::string CheckInvariants(const Editor& e);

}  // namespace lumo
