// The command line's options, the extension rule and the start without a
// file. The exit question is a case in tests/cases.
#include <gtest/gtest.h>

#include "TestEditor.h"
#include "app/Options.h"
#include "tools/SidePaths.h"
#include "app/Startup.h"

namespace lumo {
namespace {

using test::TestEditor;

TEST(Options, LettersAnywhereCaseInsensitiveWithDigits) {
  TestEditor t;
  Editor& e = *t;
  ApplyOptions(e, OptionText({"-t4", "-w", "file.txt"}));
  EXPECT_EQ(e.TabStep, 4);
  EXPECT_FALSE(e.Credits);
  ApplyOptions(e, "x-g-j-p-k-c5 ");
  EXPECT_FALSE(e.PseudographicsMode);
  EXPECT_FALSE(e.HalfScroll);
  EXPECT_FALSE(e.CodePageCheck);
  EXPECT_TRUE(e.LoadKeystrokes);
  EXPECT_EQ(e.CommentColour, 5);
  // "-gjp" takes only G: the letters after it are not options without "-".
  TestEditor u;
  ApplyOptions(*u, "-gjp ");
  EXPECT_FALSE(u->PseudographicsMode);
  EXPECT_TRUE(u->HalfScroll);
  ApplyOptions(*u, "-+ -# ");
  EXPECT_FALSE(u->CursorCross);
  EXPECT_TRUE(u->ClipexOn);
  // A missing digit or directory changes nothing.
  u->SettingsFile = u->HistoryFile = "keep";
  ApplyOptions(*u, "-t -c -i -x ");
  EXPECT_EQ(u->TabStep, 8);
  EXPECT_EQ(u->CommentColour, 3);
  EXPECT_EQ(u->SettingsFile, "keep");
  EXPECT_EQ(u->HistoryFile, "keep");
}

TEST(Options, DirectoriesAndTheDashInsideThem) {
  TestEditor t;
  Editor& e = *t;
  e.FileName = "/home/u/docs/Letter.txt";
  ApplyOptions(e, "-i/etc/lumo/ -x/tmp/my-wdir/ ");
  EXPECT_EQ(e.SettingsFile, "/etc/lumo/Letter.txt.LmIni");
  EXPECT_EQ(e.ClipFile, "/tmp/my-wdir/LumoClip");
  EXPECT_EQ(e.HistoryFile, "/tmp/my-wdir/LumoSS");
  // The "-" of "my-wdir" was an option too: W.
  EXPECT_FALSE(e.Credits);
  // The base name takes either separator.
  EXPECT_EQ(BaseName("a/b/c.txt"), "c.txt");
  EXPECT_EQ(BaseName("c:\\dir\\f.pas"), "f.pas");
  EXPECT_EQ(BaseName("plain"), "plain");
}

TEST(Options, Extensions) {
  struct Case { const char* name; int margin; bool program; };
  for (Case c : {Case{"letter.65", 65, false}, Case{"x.254", 254, false}, Case{"x.255", 254, false},
                 Case{"x.0", 254, false}, Case{"prog.pas", 85, true}, Case{"PROG.Dpr", 85, true},
                 Case{"u.pp", 85, true}, Case{"c:\\my.dir\\a.pas", 254, false}, Case{"./x.20", 20, false},
                 Case{"../a/b.inc", 85, true}, Case{"noext", 254, false}, Case{"a.1234", 123, false}}) {
    TestEditor t;
    ApplyExtension(*t, c.name, 80);
    EXPECT_EQ(t->RightMargin, c.margin) << c.name;
    EXPECT_EQ(t->FormatWidth, c.margin) << c.name;
    EXPECT_EQ(t->ProgramTextMode, c.program) << c.name;
    EXPECT_EQ(t->LeftMargin, c.program ? 3 : 1) << c.name;
    EXPECT_EQ(t->MarkerText, c.program ? "{}" : "??") << c.name;
  }
}

TEST(Startup, NoArgumentsGivesOneEmptyUnnamedLine) {
  TestEditor t;
  FreeAllLines(*t);
  ASSERT_TRUE(StartEditor(*t, {}));
  EXPECT_EQ(t->LineCount, 1);
  EXPECT_TRUE(t->FileName.empty());
  EXPECT_EQ(BaseName(t->SettingsFile), "LumoINI");
  EXPECT_EQ(t.Con.KeysRead, 0);  // no credits screen waited for a key
  EXPECT_EQ(t->TabStops[2], 9);
}

}  // namespace
}  // namespace lumo
