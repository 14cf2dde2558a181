// Terminal bytes through the key decoder as the terminal feeds them: in reads
// of a size the input chooses, with or without a pause (the escape time)
// between reads. Byte 0 picks the profile, byte 1 the reads; the rest is what
// the terminal sent.
//
// Checked (test::ReadKeys): every key or garbage consumes at least one byte
// and no more than it was given; a forced decode always finishes; key values
// have the shape the dispatch expects. And without pauses the
// keys do not depend on where the reads were cut, because sequences are
// parsed by their grammar; neither do the texts of pastes, and a paste left
// open at the end is ended as the terminal's silence ends it.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzFail.h"
#include "KeyReads.h"

namespace {

using namespace lumo;

// Every combination of the profile's readings: the terminal families set
// some of them together, NumLock sets ShiftCursorIsKeypad.
DecoderProfile ProfileFrom(uint8_t b) {
  DecoderProfile p;
  p.EraseByte = (b & 1) ? 0x08 : 0x7F;
  p.BsIsCtrlBackspace = !(b & 2);
  p.ShiftPagesAreKeypad = b & 4;
  p.ShiftCursorIsKeypad = b & 8;
  p.Meta8Bit = b & 16;
  p.AltEnterIsCtrlAltM = b & 32;
  return p;
}

test::KeyRun Run(const DecoderProfile& profile, std::string_view bytes, size_t chunk, bool pauses) {
  KeyDecoder dec;
  dec.Profile = profile;
  test::KeyRun run = test::ReadKeys(dec, bytes, chunk, pauses);
  if (!run.Fault.empty()) test::FuzzFail("key decoder", run.Fault);
  for (KeyCode k : run.Keys) (void)KeyName(NormaliseShift(k));
  return run;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const DecoderProfile profile = ProfileFrom(data[0]);
  const size_t chunk = data[1] & 15;  // 0: the whole stream in one read
  const bool pauses = data[1] & 16;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
  const test::KeyRun run = Run(profile, bytes, chunk, pauses);
  if (!pauses && chunk != 0) {
    const test::KeyRun whole = Run(profile, bytes, 0, false);
    if (run.Keys != whole.Keys || run.Pastes != whole.Pastes)
      test::FuzzFail("key decoder", "reads of " + std::to_string(chunk) + " bytes give other keys than one read");
  }
  return 0;
}
