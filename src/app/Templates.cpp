#include "app/Templates.h"

#include "app/KeyTable.h"
#include "app/Typing.h"
#include "edit/Blocks.h"
#include "edit/Format.h"
#include "screen/KeyNames.h"
#include "text/LineStore.h"
#include "text/Texts.h"

namespace lumo {
namespace {

using namespace keys;
namespace Tx = Texts::Template;

// The widest margin Ctrl+R aligns to: beyond it the key types its character.
constexpr int AlignLimit = 132;

Reentry TypeWord(Editor& e, std::string_view word) {
  TypeString(e, word);
  return Reentry::Update;
}

Reentry AlignOrType(Editor& e, KeyCode key) {
  if (!AlignRight(e)) TypeChar(e, CharOf(key));
  return Reentry::Update;
}

Reentry TypeThe(Editor& e, KeyCode) { return TypeWord(e, Tx::The); }
Reentry TypeAnd(Editor& e, KeyCode) { return TypeWord(e, Tx::And); }

struct Template {
  KeyCode Key;
  std::string_view Text;
  bool IntoParentheses;  // the cursor goes back between "(" and ")"
  Command Elsewhere;
};

const Template Table[] = {
    {Ctrl(W), Tx::Writeln, true, TypeControl},     {Ctrl(E), Tx::Else, false, TypeControl},
    {Ctrl(R), Tx::Readln, true, AlignOrType},      {Ctrl(T), Tx::Then, false, TypeThe},
    {Ctrl(U), Tx::Until, false, TypeControl},      {Ctrl(I), Tx::Integer, false, TypeControl},
    {Ctrl(P), Tx::Repeat, false, TypeControl},     {Ctrl(LBracket), Tx::OpenComment, false, TypeControl},
    {Ctrl(RBracket), Tx::CloseComment, false, TypeControl}, {Ctrl(A), Tx::Absolute, false, MarkAllKey},
    {Ctrl(S), Tx::Assign, true, TypeControl},      {Ctrl(D), Tx::Debug, true, TypeControl},
    {Ctrl(F), Tx::Function, false, FormatRaggedKey}, {Ctrl(G), Tx::Goto, false, TypeControl},
    {Ctrl(H), Tx::While, false, TypeControl},      {Ctrl(J), Tx::Procedure, false, TypeControl},
    {Ctrl(B), Tx::Begin, false, TypeControl},      {Ctrl(N), Tx::End, false, TypeAnd},
    {Ctrl(Space), Tx::Becomes, false, TypeBlank},  {Alt(T), Tx::String, false, AltT},
};

}  // namespace

bool AlignRight(Editor& e) {
  if (e.RightMargin > AlignLimit) return false;
  const int start = e.RightMargin - TextLength(e, e.CurLine) + 1;
  if (start < 1) return false;
  Reindent(e, start);
  return true;
}

Reentry TemplateKey(Editor& e, KeyCode key) {
  for (const Template& t : Table) {
    if (t.Key != key) continue;
    if (!e.ProgramTextMode) return t.Elsewhere(e, key);
    TypeString(e, t.Text);
    if (t.IntoParentheses) e.CurCol = int16_t(e.CurCol - 3);
    return Reentry::Update;
  }
  return Reentry::Read;
}

}  // namespace lumo
