// Keys such as a user at the editor sends, drawn from a seeded generator:
// runs of typing, movement, the bound commands, prompts answered and
// cancelled, the exit question with every answer, saves. The stress tests
// and the key-stream fuzzer share it, so a seed reproduces a run exactly.
#pragma once
#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <string_view>

#include "app/KeyTable.h"
#include "screen/KeyNames.h"

namespace lumo::test {

class KeyMix {
 public:
  // dir: an existing directory the file prompts are pointed into; it holds
  // insert.txt and a directory elsewhere/.
  KeyMix(uint64_t seed, std::string dir) : R(seed), Dir(std::move(dir)) {}

  KeyCode Next() {
    while (Pending.empty()) Plan();
    KeyCode k = Pending.front();
    Pending.pop_front();
    return k;
  }
  // Queues the action that byte a chooses, with b steering its details; the
  // fuzzer drives the mix through this instead of the generator.
  void Plan(uint8_t a, uint8_t b);
  // Keys planned and not yet handed out.
  size_t Queued() const { return Pending.size(); }

 private:
  void Plan() { Plan(uint8_t(R()), uint8_t(R())); }
  uint32_t Below(uint32_t n) { return n ? uint32_t(R() % n) : 0; }
  void Type(std::string_view s) { for (unsigned char c : s) Pending.push_back(KeyCode(c)); }
  void TypeRun(uint8_t b);
  // Home then Ctrl+K: the offered answer goes, whatever it was.
  void ClearAnswer() { Pending.push_back(keys::Home); Pending.push_back(keys::Ctrl(keys::K)); }
  void Answer(uint8_t b);

  std::mt19937_64 R;
  std::string Dir;
  std::deque<KeyCode> Pending;
};

inline void KeyMix::TypeRun(uint8_t b) {
  static constexpr char Latin[] = "etaoin shrdlu cmfwyp vbgkqj xz ETAOIN 0123456789 .,;:!?-()[]{}'\"";
  for (int i = 0, n = 1 + b % 12; i < n; ++i) {
    const uint32_t kind = Below(100);
    Pending.push_back(kind < 70   ? KeyCode(uint8_t(Latin[Below(sizeof Latin - 1)]))
                      : kind < 92 ? KeyCode(0x80 + Below(48))    // А..п
                      : kind < 97 ? KeyCode(0xE0 + Below(16))    // р..я
                                  : KeyCode(0xB0 + Below(48)));  // box drawing
  }
}

// The answers a choice bar takes: a digit, Esc, Enter on the preselected
// answer, or an arrow first.
inline void KeyMix::Answer(uint8_t b) {
  static constexpr KeyCode First[] = {'1', '2', '3', keys::Esc, keys::Enter, keys::Left, keys::Right};
  Pending.push_back(First[b % 7]);
  if (b % 7 >= 5) Pending.push_back(keys::Enter);
}

inline void KeyMix::Plan(uint8_t a, uint8_t b) {
  using namespace keys;
  static constexpr KeyCode Moves[] = {
      Up, Down, Left, Right, Home, End, PgUp, PgDn, Ctrl(Home), Ctrl(End), Ctrl(Left), Ctrl(Right),
      Alt(Left), Alt(Right), Ctrl(Up), Ctrl(Down)};
  const auto rows = KeyBindings();
  const uint32_t pick = a % 100;
  if (pick < 32) {
    TypeRun(b);
  } else if (pick < 38) {
    // A block marked by a key or by shifted movement, then a command on it;
    // Del's question answered every way.
    static constexpr KeyCode Marks[] = {
        Alt(L), Alt(B), Alt(V), Alt(X), Alt(Z), Alt(E), Alt(N), Shift(End), Shift(Up), Shift(Down), Shift(Left),
        Shift(Right), Ctrl(Shift(Left)), Ctrl(Shift(Right)), Alt(Shift(Up)), Ctrl(Shift(Down)), Ctrl(A)};
    static constexpr KeyCode Acts[] = {Alt(C), Alt(K), Alt(M), Alt(G), Ctrl(Ins), Ctrl(Del), Ctrl(C), Ctrl(X),
                                       Ctrl(V), Alt(U), Del};
    for (int i = 0, n = 1 + b % 3; i < n; ++i) Pending.push_back(Marks[Below(std::size(Marks))]);
    for (int i = 0, n = Below(3); i < n; ++i) Pending.push_back(Moves[Below(std::size(Moves))]);
    const KeyCode act = Acts[(b >> 2) % std::size(Acts)];
    Pending.push_back(act);
    if (act == Del) Answer(uint8_t(b >> 4));
  } else if (pick < 60) {
    for (int i = 0, n = 1 + b % 4; i < n; ++i) Pending.push_back(Moves[Below(std::size(Moves))]);
  } else if (pick < 70) {
    static constexpr KeyCode Edits[] = {Enter, Backspace, Del, Space, Tab, Shift(Tab)};
    Pending.push_back(Edits[b % std::size(Edits)]);
  } else if (pick < 80) {
    Pending.push_back(rows[b % rows.size()].Value);
  } else if (pick < 82) {
    // A search in any direction, its prompt ended every way, then a repeat,
    // a search for an empty line or for the marker.
    static constexpr KeyCode Searches[] = {F7, Shift(F7), Ctrl(F7), Ctrl(Shift(F7)), Alt(F7), Alt(Shift(F7))};
    static constexpr KeyCode Ends[] = {Enter, Shift(Enter), Ctrl(Enter), Alt(Enter), Ctrl(P), Esc};
    static constexpr KeyCode Then[] = {Ctrl(Enter), Alt(KpEnter), Ctrl(Z), Ctrl(Q)};
    Pending.push_back(Searches[b % 6]);
    Type(b & 0x40 ? "in" : "e");
    Pending.push_back(Ends[Below(6)]);
    if (b & 0x20) Pending.push_back(Then[Below(4)]);
  } else if (pick < 84) {
    // A replace, or one by the pairs of the file offered for insertion; the
    // questions (scope, confirmation, letter case, each match) are answered
    // every way, and the keys left over are typed.
    static constexpr const char* Words[] = {"e", "in", " ", "E", "", "xy", "e e", "etaoin shrdlu etaoin shrdlu"};
    Pending.push_back(b & 1 ? F6 : b & 2 ? Alt(F8) : b & 4 ? Alt(Shift(F8)) : Ctrl(Shift(F8)));
    for (const std::string& answer : {b & 1 ? Words[(b >> 1) % 4] : Dir + "/insert.txt", std::string(Words[4 + (b >> 3) % 4])}) {
      ClearAnswer();
      Type(answer);
      Pending.push_back(Enter);
      if (!(b & 1)) break;
    }
    for (int i = 0, n = 1 + int(Below(5)); i < n; ++i) Answer(uint8_t(R()));
  } else if (pick < 88) {
    // Go to a line: answered, or cancelled halfway.
    Pending.push_back(F4);
    Type(std::to_string(1 + Below(60)));
    Pending.push_back(b & 1 ? Enter : Esc);
  } else if (pick < 90) {
    // Insert a file: one that exists, or a name that does not, then Esc.
    Pending.push_back(Shift(F1));
    ClearAnswer();
    Type(Dir + (b & 1 ? "/insert.txt" : "/missing.txt"));
    Pending.push_back(Enter);
    if (!(b & 1)) Pending.push_back(Esc);
  } else if (pick < 92) {
    Pending.push_back(F2);
  } else if (pick < 94) {
    // Save elsewhere: into a directory that exists, one that does not, or
    // cancelled.
    Pending.push_back(Ctrl(F2));
    if (b & 1) {
      ClearAnswer();
      Type(Dir + (b & 2 ? "/elsewhere" : "/nowhere"));
      Pending.push_back(Enter);
      Answer(uint8_t(b >> 2));
    } else {
      Pending.push_back(Esc);
    }
  } else if (pick < 97) {
    // Esc: on a changed text the exit question, answered every way.
    Pending.push_back(Esc);
    Answer(b);
  } else if (pick < 99) {
    Pending.push_back(MakeKey(0, uint8_t(2 + b % 0x34), ModAlt, KindScan));  // Alt + a scan code
  } else {
    Pending.push_back(KeyCode(R()));  // anything at all
  }
}

}  // namespace lumo::test
