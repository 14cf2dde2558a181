// The key decoder against the measured key vectors (tests/data/keys.tsv: key,
// value, environment, bytes, source, note), one test per environment, plus
// splitting, timing, paste and unknown sequences. Random bytes are the fuzz
// target's, whose seeds run with the suite.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "KeysTsv.h"
#include "screen/KeyDecoder.h"

namespace lumo {
namespace {

using test::DecodeAll;
using test::KeyRun;
using test::ProfileFor;
using Row = test::MeasuredKey;

const std::vector<Row>& AllRows() { return test::KeysTsv(); }

// Keys missing from the measured list that send the same bytes as a listed
// key: the terminal drops the modifier or the keypad identity.
struct Unlisted {
  const char* EnvPrefix;
  const char* Hex;
  KeyCode Value;
};
constexpr Unlisted UnlistedKeys[] = {
    {"", "2b", keys::Shift(keys::Equals)},  // '+' on the main row (Ctrl+keypad + without the protocols)
    {"linux", "1b4f6c", keys::KpPlus},      // Linux keypad + in application mode, whatever Ctrl says
    {"linux", "2e", keys::Period},          // '.' on the main row (keypad . with NumLock, any Shift)
};

// The values a row's bytes may decode to: its own, the keys its note names
// as sending the same bytes, the keys of the same environment with the same
// bytes, and for the NumLock runs (keypad keys only) the keys of the run
// without NumLock.
std::set<KeyCode> Acceptable(const Row& row) {
  static const std::map<std::string, KeyCode> byName = [] {
    std::map<std::string, KeyCode> m;
    for (const Row& r : AllRows()) m.emplace(r.Name, r.Value);
    return m;
  }();
  std::set<KeyCode> ok{row.Value};
  size_t at = row.Note.find("same bytes as ");
  if (at != std::string::npos) {
    std::stringstream ss(row.Note.substr(at + 14));
    for (std::string n; std::getline(ss, n, ',');) {
      while (!n.empty() && n[0] == ' ') n.erase(0, 1);
      auto it = byName.find(n);
      if (it != byName.end()) ok.insert(it->second);
    }
  }
  std::string base = row.Env;
  size_t nl = base.find("-numlock");
  if (nl != std::string::npos) base.erase(nl, 8);
  for (const Row& r : AllRows())
    if ((r.Env == row.Env || r.Env == base) && r.Hex == row.Hex) ok.insert(r.Value);
  for (const Unlisted& u : UnlistedKeys)
    if (row.Env.rfind(u.EnvPrefix, 0) == 0 && row.Hex == u.Hex) ok.insert(u.Value);
  return ok;
}

KeyRun DecodeInReads(const std::string& s, size_t chunk) {
  KeyDecoder d;
  return DecodeAll(d, {s.begin(), s.end()}, chunk);
}

std::string Names(const std::vector<KeyCode>& keys) {
  std::string s;
  for (KeyCode k : keys) s += (s.empty() ? "" : ", ") + KeyName(k);
  return s.empty() ? "no key" : s;
}

std::vector<std::string> Environments() {
  std::set<std::string> envs;
  for (const Row& r : AllRows()) envs.insert(r.Env);
  return {envs.begin(), envs.end()};
}

class MeasuredKeys : public ::testing::TestWithParam<std::string> {};

// Whole, and one read per byte: a terminal's bytes may come either way.
TEST_P(MeasuredKeys, EveryRowGivesItsKey) {
  const std::string& env = GetParam();
  int rows = 0;
  for (const Row& row : AllRows()) {
    if (row.Env != env || row.Bytes.empty()) continue;
    ++rows;
    KeyDecoder d, split;
    d.Profile = split.Profile = ProfileFor(env);
    KeyRun run = DecodeAll(d, row.Bytes), b = DecodeAll(split, row.Bytes, 1);
    std::set<KeyCode> ok = Acceptable(row);
    bool good = run.Fault.empty() && run.Keys.size() == 1 && ok.count(run.Keys[0]);
    EXPECT_TRUE(good) << env << ": " << row.Name << " " << KeyName(row.Value) << " bytes " << row.Hex
                      << " decoded as " << Names(run.Keys) << " " << run.Fault;
    EXPECT_TRUE(run.Keys == b.Keys && b.Fault.empty()) << env << ": " << row.Name << " bytes " << row.Hex
                                                << " byte by byte: " << Names(b.Keys);
  }
  EXPECT_GT(rows, 0) << "no rows for " << env;
}

INSTANTIATE_TEST_SUITE_P(Keys, MeasuredKeys, ::testing::ValuesIn(Environments()),
                         [](const auto& i) { return std::regex_replace(i.param, std::regex("[^A-Za-z0-9]"), "_"); });

Decoded Once(const std::string& bytes, bool force, DecoderProfile p = {}) {
  KeyDecoder d;
  d.Profile = p;
  return d.Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), force);
}

// One read each: what it gives, forced or not. Waiting uses nothing; a
// sequence no key sends is consumed whole without a key.
TEST(KeyDecoder, SingleReadsGiveTheirKeyOrNone) {
  constexpr DecodeStatus Wait = DecodeStatus::Incomplete, None = DecodeStatus::Nothing, Key = DecodeStatus::Key;
  struct Case {
    const char* Bytes;
    bool Force;
    DecodeStatus Status;
    size_t Used;
    KeyCode Want = 0;
  } cases[] = {
      // A lone ESC waits, then is Esc; ESC [ and ESC O cut short are Alt+[ and
      // Alt+Shift+O, not lost.
      {"\x1b", false, Wait, 0}, {"\x1b", true, Key, 1, keys::Esc}, {"\x1b[", false, Wait, 0},
      {"\x1b[", true, Key, 2, keys::Alt(keys::LBracket)}, {"\x1b[1;5", true, Key, 2, keys::Alt(keys::LBracket)},
      {"\x1bO", true, Key, 2, keys::Alt(keys::Shift(keys::O))},
      {"\x1b\x1b", false, Wait, 0}, {"\x1b\x1b", true, Key, 2, keys::Alt(keys::Esc)}, {"\xd1", false, Wait, 0},
      // Kitty forms the measurements could not reach: the alternate-key fields
      // (shifted key, base-layout key) and keys reported without their text.
      {"\x1b[1089::99;5u", false, Key, 13, keys::Ctrl(keys::C)},   // Ctrl+С on a Russian layout: the C key, Ctrl+C
      {"\x1b[97:65;2u", false, Key, 10, keys::Shift(keys::A)},     // Shift+a with its shifted key
      {"\x1b[1092;2u", false, Key, 9, ParseKeyName("Ф").value()},  // Shift+ф without one: Ф
      {"\x1b[57406u", false, Key, 8, keys::NumLock(keys::Kp7)},    // keypad 7 with NumLock: the digit, keypad scan
      {"\x1b[57423;5u", false, Key, 10, keys::Ctrl(keys::Kp7)},    // Ctrl + keypad Home
      {"\x1b[5;3:2~", false, Key, 8, keys::Alt(keys::PgUp)},       // a repeat is a press
      {"\x1bOw", false, Key, 3, keys::NumLock(keys::Kp7)},         // keypad 7 in application keypad mode
      // Replies: kitty's flags, DA1, DA2. No such key, final byte or SS3 key;
      // an intermediate byte; the Linux form beyond F5.
      {"\x1b[?1u", false, None, 5}, {"\x1b[?62;22c", false, None, 9}, {"\x1b[>41;379;0c", false, None, 12},
      {"\x1b[99~", false, None, 5}, {"\x1b[1;5X", false, None, 6}, {"\x1bOz", false, None, 3},
      {"\x1b[1$y", false, None, 5}, {"\x1b[[Z", false, None, 4},
      // Kitty: left Shift pressed, a released, a tmux key number nobody knows.
      {"\x1b[57441;2u", false, None, 10}, {"\x1b[97;1:3u", false, None, 9}, {"\x1b[1106400;2u", false, None, 12},
      // The euro sign (code page 866 lacks it) and a C1 control.
      {"\xe2\x82\xac", false, None, 3}, {"\xc2\x85", false, None, 2},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    Decoded r = Once(c.Bytes, c.Force);
    EXPECT_EQ(r.Status, c.Status) << "case " << i << " gave " << KeyName(r.Key);
    EXPECT_EQ(r.Used, c.Used) << "case " << i;
    EXPECT_EQ(c.Status == Key ? NormaliseShift(r.Key) : 0, c.Want) << "case " << i << " gave " << KeyName(r.Key);
  }
}

// A paste is one key, never keys: its text (a marker broken off, a last ESC
// included) is handed over once, however the reads cut the end marker. One
// without its end is ended by the caller; one past the limit keeps the
// limit and one byte, so that it is refused.
TEST(KeyDecoder, PasteIsOneKeyWithItsText) {
  const std::string text = "a\x1b[A\x03\\\r\n\xd1\x84\x1b[201x\x1b", in = "\x1b[200~" + text + "\x1b[201~\x1b[A";
  for (size_t read : {size_t(0), size_t(1), size_t(5)}) {
    KeyDecoder d;
    const KeyRun run = test::ReadKeys(d, in, read);
    EXPECT_EQ(run.Keys, (std::vector<KeyCode>{keys::Paste, keys::Up}));
    EXPECT_EQ(run.Pastes, std::vector<std::string>{text}) << read;
    EXPECT_EQ(d.TakePaste(), "");
  }
  KeyDecoder d;
  const std::string open = "\x1b[200~" + std::string(MaxPasteBytes + 9, 'p') + "\x1b[20";
  const KeyRun run = test::ReadKeys(d, open);
  EXPECT_EQ(run.Keys, std::vector<KeyCode>{keys::Paste}) << run.Fault;
  EXPECT_EQ(run.Pastes.at(0).size(), MaxPasteBytes + 1);
}

TEST(KeyDecoder, TranslationKeepsWhatTheRuleDoesNotList) {
  // Ctrl+Tab, Ctrl+keypad +, the centre key, Alt+Shift+Left, Alt+F12, and
  // Shift+keypad 7 keeping its digit. The values are written out byte by
  // byte: a key's name is made by this same translation and would agree with
  // it whatever it did.
  const std::array<uint32_t, 4> rows[] = {{0, 0x94, ModCtrl, 0x03049400u}, {0, 0x90, ModCtrl, 0x03049000u},
      {0, 0x4C, 0, 0x03004C00u}, {0, 0x9B, ModAlt | ModShift, 0x020BFF23u}, {0, 0x8C, ModAlt, 0x0208FF0Cu},
      {'7', 0x47, ModShift, 0x00034737u}};
  for (const auto& [ch, scan, mods, want] : rows) EXPECT_EQ(TranslateKey(uint8_t(ch), uint8_t(scan), uint8_t(mods)), want) << scan;
  // Either Shift bit, or both, becomes the left one; with Ctrl and Alt held the state stays.
  for (auto [in, out] : {std::pair{PcKeyValue(PcKey::Kp7, ModShift), 0x00024737u}, {PcKeyValue(PcKey::Kp7, ModRightShift), 0x00024737u},
           {PcKeyValue(PcKey::A, ModCtrl | ModAlt | ModShift), 0x030F1E00u}})
    EXPECT_EQ(NormaliseShift(in), out);
}

TEST(KeyDecoder, ProfileFollowsTheOuterTerminal) {
  const char* names[] = {"TERM", "TMUX", "XTERM_VERSION", "KITTY_WINDOW_ID"};
  std::map<std::string, std::string> saved;
  for (const char* n : names)
    if (const char* v = std::getenv(n)) saved[n] = v;
  auto with = [&](const char* term, const char* tmux, const char* xterm, const char* kitty) {
    const char* vals[] = {term, tmux, xterm, kitty};
    for (int i = 0; i < 4; ++i) vals[i] ? setenv(names[i], vals[i], 1) : unsetenv(names[i]);
    return ProfileFromEnvironment(0x7F);
  };
  DecoderProfile kittyInTmux = with("screen", "/tmp/t,1,0", "XTerm(379)", "1");
  EXPECT_TRUE(kittyInTmux.BsIsCtrlBackspace && !kittyInTmux.ShiftPagesAreKeypad);
  DecoderProfile xtermInTmux = with("screen", "/tmp/t,1,0", "XTerm(379)", nullptr);
  EXPECT_TRUE(xtermInTmux.ShiftPagesAreKeypad && xtermInTmux.Meta8Bit && xtermInTmux.AltEnterIsCtrlAltM);
  EXPECT_FALSE(with("tmux-256color", "/tmp/t,1,0", nullptr, nullptr).BsIsCtrlBackspace);
  EXPECT_FALSE(with("linux", nullptr, nullptr, nullptr).BsIsCtrlBackspace);
  DecoderProfile plain = with("xterm-256color", nullptr, nullptr, nullptr);
  EXPECT_TRUE(plain.BsIsCtrlBackspace && !plain.ShiftPagesAreKeypad && !plain.Meta8Bit && !plain.ShiftCursorIsKeypad);
  EXPECT_EQ(ProfileFromEnvironment(0x08).EraseByte, 0x08);
  for (const char* n : names) saved.count(n) ? setenv(n, saved[n].c_str(), 1) : unsetenv(n);
}

// A control sequence longer than the decoder waits for is garbage through
// its final byte, whether it comes in one read or in many: none of its bytes
// may become a key, and the bytes after it mean what they mean alone. Cut by
// reads past 64 bytes such a sequence once typed its tail into the text.
TEST(KeyDecoder, AnOverlongSequenceIsGarbageHoweverTheReadsCutIt) {
  struct Case {
    std::string Bytes;
    std::string After;  // what is typed after the garbage
  } cases[] = {
      {"\x1b[" + std::string(80, '&') + ";C", ";C"},  // intermediates, then broken off
      {"\x1b[" + std::string(40 * 2, ';') + "Ax", "x"},  // parameters and a final byte
      {"\x1b[" + std::string(70, '1') + "&&Ax", "x"},
      {"\x1b[" + std::string(70, '1') + "&1Ax", "1Ax"},  // a parameter after an intermediate breaks it
  };
  for (const Case& c : cases) {
    const std::vector<KeyCode> want = DecodeInReads(c.After, 0).Keys;
    for (size_t chunk : {0, 1, 5, 12, 16, 63, 64, 65}) {
      KeyRun run = DecodeInReads(c.Bytes, chunk);
      EXPECT_TRUE(run.Keys == want && run.Fault.empty()) << c.Bytes.size() << " bytes in reads of " << chunk << ": "
                                                  << Names(run.Keys);
    }
  }
  // Up to the limit a long sequence is still read as the key it is.
  const std::string up = "\x1b[" + std::string(55, '0') + "1;5A";
  for (size_t chunk : {0, 1, 7}) EXPECT_EQ(DecodeInReads(up, chunk).Keys, DecodeInReads("\x1b[1;5A", 0).Keys) << chunk;
}

}  // namespace
}  // namespace lumo
