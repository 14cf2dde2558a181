// Arbitrary bytes as the keystroke file, read as Ctrl+F9 reads it and then
// played through the real main loop: first as they are, then while being
// recorded over (the replay reads the slots the recording writes), then the
// result once more. The slots may hold key values no keyboard sends. Each
// replay must end by itself (nothing restarts one while it runs); a replay
// that did not would hang the run, which libFuzzer reports as a timeout.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "Confine.h"
#include "FuzzFail.h"
#include "StressRun.h"
#include "tools/Keystrokes.h"

namespace {

using namespace lumo;
using namespace lumo::test;

[[noreturn]] void Fail(const std::string& what) { FuzzFail("keystroke file", what); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Confine("keystroke file");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  StressRun r(StressText);
  const std::string path = r.Dir / "keys";
  TempDir::Write(path, bytes);
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail("cannot open the written file");
  ReadKeystrokes(*r.E, fd);
  close(fd);
  std::string want = bytes.substr(0, KeystrokeFileSize);
  want.resize(KeystrokeFileSize, char(26));
  if (KeystrokeBytes(*r.E) != want) Fail("the slots are not the file's first 128 bytes");

  using namespace keys;
  const KeyCode keys[] = {F9, Shift(F9), F9, Shift(F9), F9};
  size_t next = 0;
  if (!r.Run([&] { return keys[next++]; }, long(std::size(keys)))) Fail(r.Fault);
  if (r.E->ReplayIndex != 0) Fail("a replay is still running after the loop ended");
  return 0;
}
