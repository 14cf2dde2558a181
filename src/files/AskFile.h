// Asking for file names and opening what they name. Every command that needs
// a file goes through AskFile, which edits the name on the message row, opens
// the file as the command needs it and asks again or gives up when that
// fails. What it opened is held by an OpenFile, which owns the descriptor:
// a file to read, a whole file being written as a transaction (AtomicFile),
// or an existing file written at its end in place. SaveElsewhere writes the
// whole text under its own bare name into another directory.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "app/Editor.h"
#include "screen/Console.h"
#include "screen/KeyNames.h"
#include "tools/AtomicFile.h"

namespace lumo {

// The longest file name the text keeps.
inline constexpr size_t MaxFileName = 127;
// The command whose writes add to an existing file instead of replacing it.
inline constexpr KeyCode AskFileAppendKey = keys::Shift(keys::F2);

enum AskMode : uint8_t {
  AskRead = 0,         // ask; open for reading; ask again when it cannot be
  AskWrite = 1,        // ask; open for writing; ask again when it cannot be
  AskReadGiven = 2,    // use the name given; open for reading
  AskWriteGiven = 3,   // use the name given; open for writing
  AskNameOnly = 4,     // ask; open nothing
};

class OpenFile {
 public:
  enum class Kind : uint8_t { None, Read, Replace, Append };

  OpenFile() = default;
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() { Close(); }

  // Each refuses anything but a regular file (a directory, a device, a pipe)
  // and never waits on what it opens.
  bool OpenRead(const std::string& path);
  bool OpenReplace(const std::string& path);
  bool OpenAppend(const std::string& path);

  int Fd() const { return How == Kind::Replace || How == Kind::Append ? Atomic.Fd() : Fd_; }
  Kind Opened() const { return How; }
  // Ends a written file: the new file, with the appended bytes after the old
  // ones where it was opened for appending, takes the old file's place.
  // False when that failed.
  bool Finish();
  // Drops the file; a replacement not finished leaves the old file as it was.
  void Close();

 private:
  int Fd_ = -1;
  Kind How = Kind::None;
  AtomicFile Atomic;
};

// A typed name as the system takes it: "\" separates directories as "/" does.
std::string HostPath(std::string_view name);
// The name without its directories.
std::string_view BareName(std::string_view name);

// Asks for (modes 0, 1, 4) or takes (modes 2, 3) a name and opens it into
// file. name is the starting value and receives the answer. e.OpFailed is 0
// on success, 1 after Esc or a failure. command is the key of the calling
// command: from Shift+F2 an existing file is opened for appending.
void AskFile(Editor& e, std::string& name, OpenFile& file, uint8_t mode, KeyCode command = 0);

// The save's way to a new binding (the text has none, or its file cannot be
// written): asks in write mode and binds the text to the answer. False after
// Esc.
bool AskSaveName(Editor& e);

// After the start-up load found a name it can neither open nor create: asks
// for another, starting from the one tried. True with e.FileName set and the
// text emptied for a new load; false after Esc (the text stays unnamed).
bool AskStartupName(Editor& e, const std::string& tried);

// Mode 0: Ctrl+F2, asks for a directory and writes the whole text there
// under its bare name. Modes 2 and 4: writes the whole text to target with
// control bytes blanked (2) or coded (4). Neither Modified nor the file's own
// name and binding change.
void SaveElsewhere(Editor& e, uint8_t mode, const std::string& target = {});

// The directory file Ctrl+F2 writes for an answer, or empty when the answer
// names a drive (there are none here). Exposed for the tests.
std::string ElsewhereTarget(std::string_view answer, std::string_view fileName);

Reentry SaveElsewhereKey(Editor& e, KeyCode key);  // Ctrl+F2

}  // namespace lumo
