// Start-up runs once: options, the credits screen, the extension rules, the
// load, then the settings and history files. Its order matters: the options
// that name directories need the file's base name, the extension sets the
// margins the loader gives each line.
#include "app/Startup.h"

#include "app/MacroCommands.h"
#include "app/Options.h"
#include "app/KeystrokeFile.h"
#include "app/SideFiles.h"
#include "files/AskFile.h"
#include "files/Load.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/LineStore.h"
#include "text/Texts.h"
#include "tools/Completion.h"
#include "tools/PromptEditor.h"
#include "tools/SidePaths.h"

namespace lumo {
namespace {

// Our own credits texts must end inside an 80-column screen where they start.
constexpr bool FitsFrom(int x, std::string_view text) { return x + int(text.size()) - 1 <= 80; }
static_assert(FitsFrom(8, Texts::CreditsNotice) && FitsFrom(27, Texts::CreditsTown));
static_assert(FitsFrom(11, Texts::CreditsSupport[0]) && FitsFrom(15, Texts::CreditsSupport[1]) &&
              FitsFrom(19, Texts::CreditsSupport[2]));

}  // namespace

void SetStartValues(Editor& e) {
  e.FileCodePage = CodePage::Ascii;
  e.Credits = true;
  e.MacroFileName = "keydef.lmo";
  e.BlockFileName.clear();
  e.LeftMargin = 1;
  e.TabStep = 8;
  e.InsertMark = 0;
  e.PageStep = int16_t(e.Con->H() - 3);
  e.Modified = false;
  e.HScroll = 0;
  e.RightMargin = e.FormatWidth = 254;
  e.InsertMode = true;
  e.ProgramTextMode = false;
  e.CodePageCheck = true;
  e.ClipexOn = false;
  std::string dir = StateDirectory();
  e.ClipFile = dir + "LumoClip";
  e.SettingsFile = dir + "LumoINI";
  e.HistoryFile = dir + "LumoSS";
  e.ExitCode = 2;
}

void ComputeTabStops(Editor& e) {
  for (int k = 1; k <= 32; ++k) {
    int stop = e.LeftMargin + (k - 1) * e.TabStep;
    e.TabStops[k] = uint8_t(stop > 255 ? 255 : stop);
  }
}

void ShowCredits(Editor& e) {
  Console& c = *e.Con;
  c.Clear();
  int shift = c.W() > 80 ? 10 : 0;
  WriteAt(e, shift ? 19 : 8, 12, Texts::CreditsNotice, 0x1E);
  WriteAt(e, 27 + shift, 14, Texts::CreditsTown, 0x61);
  WriteAt(e, 34 + shift, 6, Texts::CreditsMenu, 0x0C);
  WriteAt(e, 32 + shift, 16, Texts::CreditsPressKey, 0x0D);
  for (int i = 0; i < 3; ++i) WriteAt(e, 11 + 4 * i + shift, 20 + i, Texts::CreditsSupport[i], 0x08);
  SetCursor(e, 133, 60);
  ReadKey(e);
  c.Clear();
}

bool StartEditor(Editor& e, const std::vector<std::string>& args) {
  SetStartValues(e);
  e.Args = args;
  if (!InitLineTable(e)) {
    ShowMessage(e, Texts::NoMemory, 1);
    e.ExitCode = 2;
    return false;
  }
  bool named = !args.empty();
  if (named) {
    e.FileName = args.back();
    e.SettingsFile = StateDirectory() + BaseName(e.FileName) + ".LmIni";
    ApplyOptions(e, OptionText(args));
    if (e.Credits) ShowCredits(e);
  }
  e.Con->Clear();
  SetCursor(e, 1, 1);
  if (named && e.FileName.size() > 127) {
    ShowMessage(e, Texts::BadFileName, 1);
    named = AskStartupName(e, "");
  }
  // A name that can be neither opened nor created is asked for again; a new
  // name goes through the extension rule and the load afresh.
  while (named) {
    ApplyExtension(e, e.FileName, e.Con->W());
    const std::string tried = e.FileName;
    const LoadResult r = LoadStartupFile(e);
    if (r == LoadResult::OutOfMemory) {
      e.ExitCode = 2;
      return false;
    }
    named = r == LoadResult::BadName && AskStartupName(e, tried);
  }
  ComputeTabStops(e);
  e.CurCol = e.LeftMargin;
  e.ColumnMark = e.LeftMargin;
  e.Modified = false;
  if (e.FormatWidth == 0) e.FormatWidth = e.RightMargin;
  e.TopLine = 1;
  e.CurLine = 1;
  EnsureOneLine(e);
  e.Modified = false;
  ReadSettings(e);
  if (e.CurLine > e.LineCount) e.CurLine = e.LineCount;
  ReadPromptHistory(e);
  ReadShorts(e);
  TransferMacros(e, MacroTransfer::SilentRead);
  if (e.LoadKeystrokes) TransferKeystrokes(e, KeystrokeTransfer::SilentRead);
  return true;
}

bool ExitSequence(Editor& e) {
  e.ExitCode = 0;
  if (e.Modified) {
    e.ChoicePreselect = 1;
    int a = ChoiceBar(e, Texts::AskSaveOnExit, "", 0x3F, 0x2F, 0x5F, 0x0D);
    if (a == 1) e.ExitCode = 1;
    else if (a == 2) e.ExitCode = 3;
    else return false;
  }
  if (e.ExitCode == 1) {
    SaveTextForExit(e);
    // Leaving after a failed save would lose the text: stay in the editor,
    // the message has told why.
    if (e.Modified) return false;
  }
  // Leaving after a failed macro write would lose the macros: stay.
  if (!OfferMacroSave(e)) return false;
  WriteSettings(e);
  WritePromptHistory(e);
  return true;
}

}  // namespace lumo
