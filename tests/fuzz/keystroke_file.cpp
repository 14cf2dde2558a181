// Arbitrary bytes as the keystroke file, read as Ctrl+F9 reads it and then
// played through the real main loop: as they are, then while being recorded
// over (the replay reads the slots the recording writes), then the result.
// The slots may hold key values no keyboard sends. Each replay must end by
// itself; one that did not would hang the run (a libFuzzer timeout).
#include <fcntl.h>
#include <unistd.h>

#include "Confine.h"
#include "FuzzFail.h"
#include "StressRun.h"
#include "tools/Keystrokes.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  lumo::test::Confine("keystroke file");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumo;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  test::StressRun r(test::StressText);
  test::TempDir::Write(r.Dir / "keys", bytes);
  const int fd = open((r.Dir / "keys").c_str(), O_RDONLY | O_CLOEXEC);
  ReadKeystrokes(*r.E, fd);
  close(fd);
  std::string want = bytes.substr(0, KeystrokeFileSize);
  want.resize(KeystrokeFileSize, char(26));
  if (KeystrokeBytes(*r.E) != want) test::FuzzFail("keystroke file", "the slots are not the file's 128 bytes");
  const KeyCode keys[] = {keys::F9, keys::Shift(keys::F9), keys::F9, keys::Shift(keys::F9), keys::F9};
  size_t next = 0;
  if (!r.Run([&] { return keys[next++]; }, long(std::size(keys)))) test::FuzzFail("keystroke file", r.Fault);
  return 0;
}
