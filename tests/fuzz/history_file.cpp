// Arbitrary bytes as the prompt history file (and as the settings file, which
// reads the same kind of hand-editable text): read, written back, read again.
// The file may have been damaged or edited by hand, so reading must take
// anything, and what it made of the file must survive the program's own
// write unchanged.
//
// The ring is read twice over: at start-up (current slot 0) and as Ctrl+R
// does it in a session whose current slot the last byte chooses.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "FuzzFail.h"
#include "TempDir.h"
#include "app/Editor.h"
#include "app/Invariants.h"
#include "app/SideFiles.h"
#include "files/Load.h"
#include "text/LineStore.h"
#include "tools/PromptEditor.h"

namespace {

using namespace lumo;

[[noreturn]] void Fail(const std::string& what) { test::FuzzFail("history file", what); }

const test::TempDir& Dir() {
  static const test::TempDir dir;
  return dir;
}

struct Ring {
  std::array<std::string, 16> Slots;
  int8_t Case = 0;
  std::string Search;
  bool operator==(const Ring&) const = default;
};

Ring Read(const std::string& path, uint8_t index) {
  Editor e;
  InitLineTable(e);
  EnsureOneLine(e);
  e.HistoryFile = path;
  e.PromptIndex = index;
  ReadPromptHistory(e);
  if (std::string f = CheckInvariants(e); !f.empty()) Fail(f);
  Ring r;
  for (int i = 0; i < 16; ++i) r.Slots[size_t(i)] = e.PromptSlot[i];
  r.Case = e.SavedSearchCase;
  r.Search = e.SearchText;
  return r;
}

void Write(const std::string& path, const Ring& r, uint8_t index) {
  Editor e;
  e.HistoryFile = path;
  e.PromptIndex = index;
  for (int i = 0; i < 16; ++i) e.PromptSlot[i] = r.Slots[size_t(i)];
  e.SavedSearchCase = r.Case;
  WritePromptHistory(e);
}

}  // namespace

// Every write of the history file is flushed to disk; in memory that costs
// nothing, on a disk it would be most of the run.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!std::getenv("TMPDIR") && access("/dev/shm", W_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = Dir() / "history";
  for (uint8_t index : {uint8_t(0), uint8_t(size ? data[size - 1] & 15 : 0)}) {
    test::TempDir::Write(path, bytes);
    const Ring first = Read(path, index);
    Write(path, first, index);
    const Ring second = Read(path, index);
    if (!(first == second)) Fail("changed by a write and a read from slot " + std::to_string(index));
  }

  test::TempDir::Write(Dir() / "settings", bytes);
  Editor e;
  InitLineTable(e);
  EnsureOneLine(e);
  e.SettingsFile = Dir() / "settings";
  ReadSettings(e);
  if (std::string f = CheckInvariants(e); !f.empty()) Fail("after the settings: " + f);
  return 0;
}
