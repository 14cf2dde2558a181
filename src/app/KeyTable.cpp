// The key table. Rows are grouped as the keys arrive from the console: keys
// with a character (kind 0), function and cursor keys (kind 2, scan byte
// 0xFF, low byte the function number), keys known by their PC scan code only
// (kind 3), and the Ctrl+Alt keys taken before the macro keys. Within a group
// the rows follow the keyboard so a reviewer can check them line by line.
// Keys that share a command share its label.
#include "app/KeyTable.h"
#include "edit/Cursor.h"
#include "edit/LineOps.h"
#include "files/Insert.h"

namespace lumo {
namespace {

constexpr KeyBinding Table[] = {
  // Keys with a character.
  {0x0000011B, EscapeKey, "cancel, unmark or exit"},     // Esc
  {0x00000E08, BackspaceKey, "delete left"},                  // Backspace
  {0x00000F09, NextTabKey, "next tab stop"},                // Tab
  {0x00001C0D, EnterKey, "next line"},                    // Enter
  {0x00002B5C, nullptr, "completion"},                   // \ key
  {0x00003920, TypeBlank, "abbreviation or blank"},      // Space
  {0x0000E00D, PadEnterKey, "next line at column mark"},     // keypad Enter
  {0x00021C0D, ToggleLimit, "toggle length limit"},      // Shift+Enter
  {0x0002E00D, ToggleLimit, "toggle length limit"},      // Shift+keypad Enter
  {0x00040E7F, DeleteWordLeftKey, "delete word left"},             // Ctrl+Backspace
  {0x00041011, nullptr, "search marker text"},           // Ctrl+Q
  {0x00041117, TypeControl, "template or control character"}, // Ctrl+W
  {0x00041205, TypeControl, "template or control character"}, // Ctrl+E
  {0x00041312, TypeControl, "template, align right or control character"}, // Ctrl+R
  {0x00041414, nullptr, "template then/the"},            // Ctrl+T
  {0x00041519, DeleteLineKey, "delete line"},                  // Ctrl+Y
  {0x00041615, TypeControl, "template or control character"}, // Ctrl+U
  {0x00041709, TypeControl, "template or control character"}, // Ctrl+I
  {0x00041910, TypeControl, "template or control character"}, // Ctrl+P
  {0x00041A1B, TypeControl, "template or control character"}, // Ctrl+[
  {0x00041B1D, TypeControl, "template or control character"}, // Ctrl+]
  {0x00041C0A, nullptr, "repeat search"},                // Ctrl+Enter
  {0x00041E01, nullptr, "template or mark whole text"},  // Ctrl+A
  {0x00041F13, TypeControl, "template or control character"}, // Ctrl+S
  {0x00042004, TypeControl, "template or control character"}, // Ctrl+D
  {0x00042106, nullptr, "template or format ragged"},    // Ctrl+F
  {0x00042207, TypeControl, "template or control character"}, // Ctrl+G
  {0x00042308, TypeControl, "template or control character"}, // Ctrl+H
  {0x0004240A, TypeControl, "template or control character"}, // Ctrl+J
  {0x0004250B, BlankToEndKey, "delete to end of line"},        // Ctrl+K
  {0x0004260C, nullptr, "align to left margin"},         // Ctrl+L
  {0x00042B1C, TypeBackslash, "type backslash"},         // Ctrl+\ key
  {0x00042C1A, nullptr, "new search"},                   // Ctrl+Z
  {0x00042D18, nullptr, "cut block to clipboard"},       // Ctrl+X
  {0x00042E03, nullptr, "copy block to clipboard"},      // Ctrl+C
  {0x00042F16, nullptr, "paste from clipboard"},         // Ctrl+V
  {0x00043002, TypeControl, "template or control character"}, // Ctrl+B
  {0x0004310E, nullptr, "template End;/and"},            // Ctrl+N
  {0x00043920, TypeBlank, "template := or blank"},       // Ctrl+Space
  {0x00072106, nullptr, "format justified"},             // Ctrl+Shift+F
  {0x0008352F, nullptr, "show block"},                   // Alt+/ with its character

  // Function and cursor keys.
  {0x0200FF01, nullptr, "help"},                         // F1
  {0x0200FF02, SaveFile, "save"},                        // F2
  {0x0200FF03, AddLineKey, "add empty line"},               // F3
  {0x0200FF04, GoToLineKey, "go to line number"},            // F4
  {0x0200FF05, LineToTopKey, "line to top"},                  // F5
  {0x0200FF06, nullptr, "replace"},                      // F6
  {0x0200FF07, nullptr, "search ignoring case"},         // F7
  {0x0200FF08, DuplicateKey, "duplicate line"},               // F8
  {0x0200FF09, nullptr, "replay keystrokes"},            // F9
  {0x0200FF0A, nullptr, "main menu"},                    // F10
  {0x0200FF0B, nullptr, "recode"},                       // F11
  {0x0200FF0C, nullptr, "next bookmarked line"},         // F12
  {0x0200FF20, HomeKey, "home"},                         // Home
  {0x0200FF21, UpKey, "line up"},                      // Up
  {0x0200FF27, DownKey, "line down"},                    // Down
  {0x0200FF22, PageUpKey, "page up"},                      // PgUp
  {0x0200FF28, PageDownKey, "page down"},                    // PgDn
  {0x0200FF23, LeftKey, "column left"},                  // Left
  {0x0200FF25, RightKey, "column right"},                 // Right
  {0x0200FF26, EndKey, "end of text"},                  // End
  {0x0200FF29, ToggleInsert, "toggle insert mode"},      // Ins
  {0x0200FF2A, DelKey, "delete character or block"},    // Del
  {0x0202FF01, TakeFileKey, "take file"},                // Shift+F1
  {0x0202FF02, nullptr, "write block to file"},          // Shift+F2
  {0x0202FF03, nullptr, "block Latin to Cyrillic keys"}, // Shift+F3
  {0x0202FF04, nullptr, "block Cyrillic to Latin keys"}, // Shift+F4
  {0x0202FF05, nullptr, "block to capitals"},            // Shift+F5
  {0x0202FF06, nullptr, "block to small letters"},       // Shift+F6
  {0x0202FF07, nullptr, "search respecting case"},       // Shift+F7
  {0x0202FF09, nullptr, "record keystrokes"},            // Shift+F9
  {0x0202FF0A, RestoreEpisode, "restore line before episode"}, // Shift+F10
  {0x0202FF20, WindowEdgeKey, "window top or bottom"},         // Shift+Home
  {0x0202FF21, UpKey, "line up extending block"},      // Shift+Up
  {0x0202FF27, DownKey, "line down extending block"},    // Shift+Down
  {0x0202FF23, nullptr, "column left extending rectangle"}, // Shift+Left
  {0x0202FF25, nullptr, "column right extending rectangle"}, // Shift+Right
  {0x0202FF26, nullptr, "rectangle to end of line"},     // Shift+End
  {0x0202FF29, ToggleLimit, "toggle length limit"},      // Shift+Ins
  {0x0202FF2A, ToggleLimit, "toggle length limit"},      // Shift+Del
  {0x0204FF01, UndoTakeFile, "undo take file"},          // Ctrl+F1
  {0x0204FF02, SaveElsewhereKey, "save as"},             // Ctrl+F2
  {0x0204FF03, GetBackKey, "get back"},                     // Ctrl+F3
  {0x0204FF04, nullptr, "edit other file"},              // Ctrl+F4
  {0x0204FF05, nullptr, "character to capital"},         // Ctrl+F5
  {0x0204FF06, nullptr, "character to small letter"},    // Ctrl+F6
  {0x0204FF07, nullptr, "search upward ignoring case"},  // Ctrl+F7
  {0x0204FF09, nullptr, "read keystroke file"},          // Ctrl+F9
  {0x0204FF0A, nullptr, "colours"},                      // Ctrl+F10
  {0x0204FF0C, nullptr, "toggle bookmark"},              // Ctrl+F12
  {0x0204FF20, TextTopKey, "first line"},                   // Ctrl+Home
  {0x0204FF26, TextBottomKey, "last line"},                    // Ctrl+End
  {0x0204FF21, Up8Key, "8 lines up"},                   // Ctrl+Up
  {0x0204FF27, Down8Key, "8 lines down"},                 // Ctrl+Down
  {0x0204FF22, ScrollUpKey, "scroll text up"},               // Ctrl+PgUp
  {0x0204FF28, ScrollDownKey, "scroll text down"},             // Ctrl+PgDn
  {0x0204FF23, WordLeftKey, "word left"},                    // Ctrl+Left
  {0x0204FF25, WordRightKey, "word right"},                   // Ctrl+Right
  {0x0204FF29, nullptr, "shift block right"},            // Ctrl+Ins
  {0x0204FF2A, nullptr, "shift block left"},             // Ctrl+Del
  {0x0207FF05, nullptr, "word to capital"},              // Ctrl+Shift+F5
  {0x0207FF06, nullptr, "word to small letter"},         // Ctrl+Shift+F6
  {0x0207FF07, nullptr, "search upward respecting case"}, // Ctrl+Shift+F7
  {0x0207FF08, nullptr, "replace by file pairs"},        // Ctrl+Shift+F8
  {0x0207FF09, nullptr, "write keystroke file"},         // Ctrl+Shift+F9
  {0x0207FF21, Up8Key, "8 lines up extending block"},   // Ctrl+Shift+Up
  {0x0207FF27, Down8Key, "8 lines down extending block"}, // Ctrl+Shift+Down
  {0x0207FF23, WordLeftKey, "word left extending block"},    // Ctrl+Shift+Left
  {0x0207FF25, WordRightKey, "word right extending block"},   // Ctrl+Shift+Right
  {0x0208FF03, ToggleRus, "toggle Russian mode"},        // Alt+F3
  {0x0208FF21, Up4Key, "4 lines up"},                   // Alt+Up
  {0x0208FF27, Down4Key, "4 lines down"},                 // Alt+Down
  {0x0208FF23, WordwiseLeftKey, "word-wise left"},               // Alt+Left
  {0x0208FF25, WordwiseRightKey, "word-wise right"},              // Alt+Right
  {0x020BFF21, Up4Key, "4 lines up extending block"},   // Alt+Shift+Up
  {0x020BFF27, Down4Key, "4 lines down extending block"}, // Alt+Shift+Down

  // Keys known by their scan code.
  {0x03020F00, PrevTabKey, "previous tab stop"},            // Shift+Tab
  {0x03049000, TogglePseudographics, "toggle pseudographics"}, // Ctrl+keypad +
  {0x03049400, WindowEdgeKey, "window top or bottom"},         // Ctrl+Tab
  {0x03080D00, nullptr, "to column mark"},               // Alt+=
  {0x03088200, nullptr, "set column mark"},              // Alt+-
  {0x03080E00, UndoChange, "undo last change"},          // Alt+Backspace
  {0x03081000, nullptr, "block sum"},                    // Alt+Q
  {0x03081100, DeleteWordKey, "delete word"},                  // Alt+W
  {0x03081200, nullptr, "rectangle to end of line"},     // Alt+E
  {0x03081300, RestoreRing, "restore from history"},     // Alt+R
  {0x03081400, AltT, "template String"},                 // Alt+T
  {0x03081600, UnmarkBlocks, "unmark blocks"},           // Alt+U
  {0x03081C00, nullptr, "repeat search"},                // Alt+Enter
  {0x0308A600, nullptr, "repeat search"},                // Alt+keypad Enter
  {0x03081E00, nullptr, "align at cursor"},              // Alt+A
  {0x03081F00, SplitKey, "split line"},                   // Alt+S
  {0x03082100, nullptr, "fill block"},                   // Alt+F
  {0x03082200, nullptr, "delete block"},                 // Alt+G
  {0x03082300, nullptr, "help"},                         // Alt+H
  {0x03082400, JoinKey, "join lines"},                   // Alt+J
  {0x03082E00, nullptr, "copy block and unmark"},        // Alt+C
  {0x03082500, nullptr, "copy block"},                   // Alt+K
  {0x03082600, nullptr, "mark line block"},              // Alt+L
  {0x03082C00, nullptr, "rectangle word"},               // Alt+Z
  {0x03082D00, nullptr, "rectangle word"},               // Alt+X
  {0x03082F00, nullptr, "rectangle word"},               // Alt+V
  {0x03083000, nullptr, "rectangle corner"},             // Alt+B
  {0x03083100, nullptr, "rectangle whole line"},         // Alt+N
  {0x03083200, nullptr, "move block"},                   // Alt+M
  {0x03083500, nullptr, "show block"},                   // Alt+/
  {0x03087800, nullptr, "set line mark 1"},              // Alt+1
  {0x03087900, nullptr, "set line mark 2"},              // Alt+2
  {0x03087A00, nullptr, "set line mark 3"},              // Alt+3
  {0x03087B00, nullptr, "go to line mark 1"},            // Alt+4
  {0x03087C00, nullptr, "go to line mark 2"},            // Alt+5
  {0x03087D00, nullptr, "go to line mark 3"},            // Alt+6
  {0x03087E00, nullptr, "set position mark 1"},          // Alt+7
  {0x03087F00, nullptr, "set position mark 2"},          // Alt+8
  {0x03088000, nullptr, "go to position mark 1"},        // Alt+9
  {0x03088100, nullptr, "go to position mark 2"},        // Alt+0

  // Ctrl+Alt keys that are not macro keys.
  {0x030C0F00, ShowKeyCode, "key code display"},         // Ctrl+Alt+Tab
  {0x030DA500, nullptr, "extend tabs"},                  // Ctrl+Alt+Shift+Tab
  {0x030EA500, nullptr, "extend tabs"},                  // Ctrl+Alt+Shift+Tab
  {0x030C0E00, QuitAtOnce, "quit at once"},              // Ctrl+Alt+Backspace
};

}  // namespace

std::span<const KeyBinding> KeyBindings() { return Table; }

const KeyBinding* FindBinding(KeyCode key) {
  // A linear pass over some 160 rows once per key costs nothing next to
  // drawing the screen, and keeps the table in its readable order.
  for (const KeyBinding& row : Table)
    if (row.Value == key) return &row;
  return nullptr;
}

}  // namespace lumo
