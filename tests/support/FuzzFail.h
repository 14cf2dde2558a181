// How a fuzz target reports a fault: the target's name and what was wrong on
// stderr, then an abort, which libFuzzer and the seed replay both take as a
// finding (the replay has printed the input's name before).
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>

namespace lumo::test {

[[noreturn]] inline void FuzzFail(const char* target, const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", target, what.c_str());
  std::abort();
}

}  // namespace lumo::test
