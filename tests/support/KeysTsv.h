// The measured key list (tests/data/keys.tsv: key name, value, environment,
// bytes, source, note) and the terminal profile of each environment, read
// once for every test that checks keys against what real terminals send.
#pragma once
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

struct KeyRun {
  std::vector<KeyCode> Keys;
  bool Stuck = false;  // a step used no bytes
};

// Decodes a whole buffer as the console does: without force while bytes
// remain, with force for what is left when the decoder waits for more.
inline KeyRun DecodeAll(KeyDecoder& d, const std::vector<uint8_t>& b) {
  KeyRun run;
  size_t pos = 0;
  while (pos < b.size()) {
    Decoded r = d.Decode(b.data() + pos, b.size() - pos, false);
    if (r.Status == DecodeStatus::Incomplete) r = d.Decode(b.data() + pos, b.size() - pos, true);
    if (r.Used == 0 || r.Used > b.size() - pos) {
      run.Stuck = true;
      break;
    }
    if (r.Status == DecodeStatus::Key) run.Keys.push_back(NormaliseShift(r.Key));
    pos += r.Used;
  }
  return run;
}

}  // namespace lumo::test
