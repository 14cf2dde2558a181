// The guess goes by the mean of the bytes above 127: Russian letters in 866
// lie mostly below 0xB0 or in 0xE0..0xEF, in 1251 and KOI8-R at 0xC0 and up,
// so a mean of 200 or more says the text did not come as 866. Which of the
// two it came as, the user answers.
#include "files/CodePageCheck.h"

#include <array>
#include <string>

#include "files/CodePages.h"
#include "files/Save.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/LineEdit.h"
#include "text/LineStore.h"
#include "text/Texts.h"

namespace lumo {
namespace {

struct Recoding {
  const ByteMap* Map;
  CodePage Becomes;
};

// The two answers of the recoding question for a text held as page:
// what it is really in, and the map that gets it there.
std::string_view RecodeQuestion(CodePage page, Recoding (&answers)[2]) {
  switch (page) {
    case CodePage::Koi8:
      answers[0] = {&AnsiToKoi8, CodePage::Ansi};
      answers[1] = {&ToKoi8, CodePage::Ascii};
      return Texts::RecodeFromKoi8;
    case CodePage::Ansi:
      answers[0] = {&ToAnsi, CodePage::Ascii};
      answers[1] = {&Koi8ToAnsi, CodePage::Koi8};
      return Texts::RecodeFromAnsi;
    default:
      answers[0] = {&FromAnsi, CodePage::Ansi};
      answers[1] = {&FromKoi8, CodePage::Koi8};
      return Texts::RecodeFromAscii;
  }
}

void Recode(Editor& e, int first, int last, const ByteMap& map) {
  MapLineBytes(e, first, last, map.data());
  MarkWindow(e);
  MarkStatus(e);  // the byte under the cursor has changed too
}

// 1251 has no box drawing and 866 none of 1251's typography (« » — …), so
// a text recoded as a whole may hold characters that a save would write
// as other bytes than its file held. Counted before the recoding, so the
// user learns it while nothing is written yet.
long Unreturned(const Editor& e, const ByteMap& recode, CodePage was, CodePage becomes) {
  const ByteMap* before = WriteMap(was);
  const ByteMap* after = WriteMap(becomes);
  std::array<uint8_t, 256> lost{};
  bool any = false;
  for (int b = 0; b < 256; ++b) {
    const uint8_t now = recode[size_t(b)];
    lost[size_t(b)] = (before ? (*before)[size_t(b)] : b) != (after ? (*after)[now] : now);
    any = any || lost[size_t(b)];
  }
  long n = 0;
  for (int i = 1; any && i <= e.LineCount; ++i)
    for (char c : LineBytes(e, i)) n += lost[uint8_t(c)];
  return n;
}

// Recodes the whole text, which is then written as becomes.
void RecodeWhole(Editor& e, const ByteMap& map, CodePage becomes) {
  const long lost = Unreturned(e, map, e.FileCodePage, becomes);
  Recode(e, 1, e.LineCount, map);
  e.FileCodePage = becomes;
  if (lost > 0)
    ShowMessage(e, std::string(Texts::RecodeLossBefore) + std::to_string(lost) + std::string(Texts::RecodeLossAfter), 1);
}

}  // namespace

void GuessCodePage(Editor& e, int first, int last, bool whole) {
  long count = 0, sum = 0;
  for (int i = first; i <= last; ++i)
    for (char c : LineBytes(e, i))
      if (uint8_t(c) >= 128) ++count, sum += uint8_t(c);
  if (count < 20 || sum / count < 200) return;
  std::string question(Texts::GuessMean);
  question += std::to_string(sum / count) + ":";
  question += Texts::RecodeFromAscii;
  const int answer = AskChoice(e, question);
  if (answer != 1 && answer != 2) return;
  const ByteMap& map = answer == 1 ? FromAnsi : FromKoi8;
  // Lines taken into a text leave the text's own code page as it was.
  if (whole || (first == 1 && last == e.LineCount))
    RecodeWhole(e, map, answer == 1 ? CodePage::Ansi : CodePage::Koi8);
  else
    Recode(e, first, last, map);
}

Reentry RecodeKey(Editor& e, KeyCode) {
  const bool block = e.BlockFirst != 0;
  if (!block && e.Modified) {
    const int answer = AskChoice(e, Texts::AskSaveBeforeRecode);
    if (answer == 3) return Reentry::Redraw;
    if (answer == 1) SaveText(e);
  }
  Recoding answers[2];
  const int answer = AskChoice(e, RecodeQuestion(e.FileCodePage, answers));
  if (answer != 1 && answer != 2) return Reentry::Redraw;
  const Recoding& r = answers[answer - 1];
  if (block) {
    Recode(e, e.BlockFirst, e.BlockLast, *r.Map);
    e.Modified = true;
  } else {
    // Writing recodes back, so what is on disk has not changed: Modified stays.
    RecodeWhole(e, *r.Map, r.Becomes);
  }
  return Reentry::Redraw;
}

}  // namespace lumo
