// Outside programs: the command interpreter (RUN), the clipboard helper and
// this editor itself on a side file. A program that cannot be started is no
// error: the editor goes on as if it had run.
#pragma once
#include <string>
#include <string_view>
#include <vector>
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

struct RunOptions {
  // The program draws on the terminal: it is given back as it was found
  // meanwhile and taken back after, everything drawn again.
  bool UsesTerminal = true;
  // Milliseconds after which the program is stopped; 0 waits for it.
  int TimeLimitMs = 0;
};

// Runs argv (argv[0] looked up on PATH unless it holds a "/") and waits.
// Keys that interrupt (Ctrl+C, Ctrl+\) reach the program, not the editor.
// Returns the program's exit status, or -1 when it could not be started or
// was stopped.
int RunProgram(Console* con, const std::vector<std::string>& argv, RunOptions options = {});

// The command interpreter: with COMSPEC set, that program with the words of
// comspecLine; without it, /bin/sh -c shellCommand.
int RunInterpreter(Editor& e, std::string_view comspecLine, const std::string& shellCommand);

// The clipboard helper on the clipboard file: how '#' hands the file's text
// to the system clipboard, '@' puts the system clipboard into the file. It
// is not waited for longer than a few seconds, and nothing shows on the
// screen. Its exit status (ClipexTooLarge: the system clipboard held more
// than a text can), or -1 when it did not run or did not end.
int RunClipex(const Editor& e, char how);
inline constexpr int ClipexTooLarge = 3;

// s as one word for /bin/sh, whatever it holds.
std::string ShellQuote(std::string_view s);

}  // namespace lumo
