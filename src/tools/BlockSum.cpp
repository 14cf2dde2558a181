// A column of numbers can be as long as the text and each number as wide as
// a line, so no fixed-width integer holds every sum: the positive and the
// negative numbers are added separately into unsigned decimal accumulators
// that grow as needed, in hundred-thousandths, and one is taken from the
// other at the end. The total shown is therefore always the exact sum, also
// when a line's integer and fraction parts would carry in opposite ways.
#include "tools/BlockSum.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "screen/StatusRow.h"
#include "text/LineStore.h"
#include "text/Texts.h"

namespace lumo {
namespace {

constexpr int FractionDigits = 5;
constexpr uint32_t LimbBase = 1000000000;  // nine decimal digits a limb
constexpr int LimbDigits = 9;

// An unsigned integer in base 10^9, least significant limb first.
struct Accumulator {
  std::vector<uint32_t> Limbs;

  // Adds the decimal digits d (most significant first, '0'..'9').
  void Add(std::string_view d) {
    size_t i = 0;
    uint32_t carry = 0;
    for (size_t end = d.size(); end > 0 || carry; ++i) {
      uint32_t chunk = 0;
      if (end > 0) {
        const size_t begin = end > size_t(LimbDigits) ? end - LimbDigits : 0;
        for (size_t k = begin; k < end; ++k) chunk = chunk * 10 + uint32_t(d[k] - '0');
        end = begin;
      }
      if (i == Limbs.size()) Limbs.push_back(0);
      uint64_t sum = uint64_t(Limbs[i]) + chunk + carry;
      carry = sum >= LimbBase;
      Limbs[i] = uint32_t(carry ? sum - LimbBase : sum);
    }
  }

  void Trim() {
    while (!Limbs.empty() && Limbs.back() == 0) Limbs.pop_back();
  }
};

bool Less(Accumulator a, Accumulator b) {
  a.Trim();
  b.Trim();
  if (a.Limbs.size() != b.Limbs.size()) return a.Limbs.size() < b.Limbs.size();
  return std::lexicographical_compare(a.Limbs.rbegin(), a.Limbs.rend(), b.Limbs.rbegin(), b.Limbs.rend());
}

// a - b, where b is not larger than a.
Accumulator Minus(Accumulator a, const Accumulator& b) {
  int64_t borrow = 0;
  for (size_t i = 0; i < a.Limbs.size(); ++i) {
    int64_t v = int64_t(a.Limbs[i]) - (i < b.Limbs.size() ? b.Limbs[i] : 0) - borrow;
    borrow = v < 0;
    a.Limbs[i] = uint32_t(v < 0 ? v + LimbBase : v);
  }
  a.Trim();
  return a;
}

std::string Decimal(const Accumulator& a) {
  std::string s;
  char limb[16];
  for (size_t i = a.Limbs.size(); i-- > 0;) {
    std::snprintf(limb, sizeof limb, s.empty() ? "%u" : "%09u", unsigned(a.Limbs[i]));
    s += limb;
  }
  return s;
}

// Thousands separators out: commas before a dot group thousands, dots with a
// comma anywhere before them (or a comma after the first dot) group them too,
// and a lone comma is the decimal point.
std::string WithoutGrouping(std::string_view piece) {
  const size_t comma = piece.find(','), dot = piece.find('.');
  std::string s(piece);
  if (comma == std::string_view::npos) return s;
  if (dot != std::string_view::npos && comma < dot) std::erase(s, ',');
  else if (dot != std::string_view::npos) std::erase(s, '.');
  return s;
}

// The number of one piece, as digits of hundred-thousandths, and its sign.
// False when a second decimal separator follows the first.
bool ReadNumber(std::string_view s, std::string& digits, bool& negative) {
  digits.clear();
  negative = false;
  int fraction = -1;  // fraction digits read, -1 while in the integer part
  bool nonzero = false;
  for (char c : s) {
    if (c == ' ') continue;
    if (c == ',' || c == '.') {
      if (fraction >= 0) return false;
      fraction = 0;
    } else if (c == '-') {
      negative = true;
    } else if (c >= '0' && c <= '9') {
      if (fraction >= FractionDigits) continue;  // beyond the fifth decimal
      if (fraction >= 0) ++fraction;
      nonzero |= c != '0';
      digits += c;
    } else if (nonzero) {
      break;  // the number has ended
    }
  }
  digits.append(size_t(FractionDigits - std::max(fraction, 0)), '0');
  return true;
}

}  // namespace

bool SumPieces(const Editor& e, std::string& total, std::string& bad) {
  const size_t width = size_t(e.RectLastCol - e.RectFirstCol + 1);
  Accumulator plus, minus;
  std::string digits;
  for (int i = e.RectFirstLine; i <= e.RectLastLine; ++i) {
    const std::string_view line = LineBytes(e, i);
    const size_t from = size_t(e.RectFirstCol - 1);
    const std::string s = WithoutGrouping(from < line.size() ? line.substr(from, width) : std::string_view{});
    bool negative = false;
    if (!ReadNumber(s, digits, negative)) {
      bad = s;
      return false;
    }
    (negative ? minus : plus).Add(digits);
  }
  const bool below = Less(plus, minus);
  std::string d = Decimal(below ? Minus(minus, plus) : Minus(plus, minus));
  if (d.size() <= size_t(FractionDigits)) d.insert(0, size_t(FractionDigits + 1) - d.size(), '0');
  const std::string_view whole(d), fraction = whole.substr(d.size() - FractionDigits);
  total.clear();
  if (below) total.push_back('-');
  total.append(whole.substr(0, d.size() - FractionDigits));
  total.push_back('.');
  total.append(fraction.substr(0, fraction.find_last_not_of('0') + 1));
  return true;
}

Reentry BlockSumKey(Editor& e, KeyCode) {
  if (e.RectFirstLine <= 0) {
    ShowMessage(e, Texts::NoBlock, 1);
    e.OpFailed = 1;
    return Reentry::Update;
  }
  std::string total, bad;
  if (!SumPieces(e, total, bad)) {
    ShowMessage(e, std::string(Texts::BadSumData) + bad + '\a', 1);
    return Reentry::Update;
  }
  ShowMessage(e, std::string(Texts::BlockSum) + total, 0);
  return Reentry::Update;
}

}  // namespace lumo
