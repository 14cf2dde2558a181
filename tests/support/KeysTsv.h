// The measured key list (tests/data/keys.tsv: key name, value, environment,
// bytes, source, note) and the terminal profile of each environment, read
// once for every test that checks keys against what real terminals send.
#pragma once
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "KeyReads.h"
#include "screen/KeyDecoder.h"

namespace lumo::test {

struct MeasuredKey {
  std::string Name, Env, Hex, Note;
  KeyCode Value = 0;
  std::vector<uint8_t> Bytes;  // empty when the environment delivered nothing
};

inline const std::vector<MeasuredKey>& KeysTsv() {
  static const std::vector<MeasuredKey> rows = [] {
    std::vector<MeasuredKey> v;
    std::ifstream in(LUMO_TEST_DATA "/keys.tsv");
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
      std::vector<std::string> f;
      std::stringstream ss(line);
      for (std::string cell; std::getline(ss, cell, '\t');) f.push_back(cell);
      if (f.size() < 4) continue;
      MeasuredKey r{f[0], f[2], f[3], f.size() > 5 ? f[5] : "", KeyCode(std::stoul(f[1], nullptr, 16)), {}};
      for (size_t i = 0; r.Hex != "-" && i + 1 < r.Hex.size(); i += 2)
        r.Bytes.push_back(uint8_t(std::stoul(r.Hex.substr(i, 2), nullptr, 16)));
      v.push_back(r);
    }
    return v;
  }();
  return rows;
}

// Terminal families as the environments are named (the outer terminal
// first: "kitty-tmux-..." is kitty behind tmux). The same rule as
// ProfileFromEnvironment, which reads the family from the environment.
inline DecoderProfile ProfileFor(const std::string& env) {
  DecoderProfile p;
  auto starts = [&](const char* s) { return env.rfind(s, 0) == 0; };
  if (starts("xterm")) {
    p.ShiftPagesAreKeypad = true;
    p.Meta8Bit = true;
    p.AltEnterIsCtrlAltM = true;
  } else if (starts("tmux") || starts("linux")) {
    p.BsIsCtrlBackspace = false;
  }
  if (env.find("-numlock") != std::string::npos) p.ShiftCursorIsKeypad = true;
  return p;
}

// A whole buffer decoded as the console decodes it, the keys as the
// dispatch sees them.
inline KeyRun DecodeAll(KeyDecoder& d, const std::vector<uint8_t>& b, size_t chunk = 0) {
  KeyRun run = ReadKeys(d, {reinterpret_cast<const char*>(b.data()), b.size()}, chunk);
  for (KeyCode& k : run.Keys) k = NormaliseShift(k);
  return run;
}

}  // namespace lumo::test
