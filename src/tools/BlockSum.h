// The sum of the numbers standing in the rectangle's columns, one number a
// line: decimal point or decimal comma, thousands grouped by the other one or
// by blanks, text before a number skipped, five decimals kept exactly.
#pragma once
#include <string>
#include <string_view>
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

// The total of the lines' pieces as the message shows it ("1234.5", "13.",
// "-0.8"), or false with bad set to the piece that holds a second decimal
// separator.
bool SumPieces(const Editor& e, std::string& total, std::string& bad);

Reentry BlockSumKey(Editor& e, KeyCode key);  // Alt+Q

}  // namespace lumo
