#include "files/Utf8Text.h"

#include <array>
#include <cstring>
#include <type_traits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define LUMO_COMPRESS 1
#endif

#include "text/Cp866.h"

namespace lumo {
namespace {

constexpr size_t MaxLine = 255;

// Code page 866 by character: the two-byte characters (Cyrillic, the Latin-1
// signs) in one table, the three-byte ones (box drawing, blocks, √ ∙ №) in
// another. 0 marks a character 866 lacks.
constexpr uint32_t ThreeFirst = 0x2100, ThreeEnd = 0x2600;
struct Tables {
  std::array<uint8_t, 0x800> Two{};
  std::array<uint8_t, ThreeEnd - ThreeFirst> Three{};
  constexpr Tables() {
    for (int i = 0; i < 128; ++i) {
      const uint32_t c = Cp866Upper[i];
      if (c < 0x800) Two[c] = uint8_t(0x80 + i);
      else Three[c - ThreeFirst] = uint8_t(0x80 + i);
    }
  }
};
constexpr Tables Map;
static_assert(Map.Two[0x401] == 0xF0 && Map.Two[0x44F] == 0xEF && Map.Three[0x2593 - ThreeFirst] == 0xB2);

#if defined(__SSE2__)
// Sixteen bytes of Latin and the Russian alphabet at once, the bulk of a
// Russian text: А..п are D0 90..BF and become 80..AF, Ё is D0 81 and becomes
// F0, р..я and ё are D1 80..8F and D1 91 and become E0..EF and F1. Writes
// the 866 bytes to out (written) and returns how many bytes it took, 15 when
// the last is the first half of a letter; 0 (and nothing written) when the
// block holds anything else.
size_t RussianBlock(const uint8_t* p, char* out, size_t& written) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  unsigned high = unsigned(_mm_movemask_epi8(v));
  if (high == 0) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
    written = 16;
    return 16;
  }
  const __m128i d0 = _mm_cmpeq_epi8(v, _mm_set1_epi8(char(0xD0)));
  const __m128i d1 = _mm_cmpeq_epi8(v, _mm_set1_epi8(char(0xD1)));
  const __m128i after0 = _mm_slli_si128(d0, 1), after1 = _mm_slli_si128(d1, 1);
  // As signed bytes 90..BF are -112..-65 and 80..8F are -128..-113.
  const __m128i a = _mm_and_si128(after0, _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(-113)),
                                                        _mm_cmplt_epi8(v, _mm_set1_epi8(-64))));
  const __m128i yo = _mm_and_si128(after0, _mm_cmpeq_epi8(v, _mm_set1_epi8(char(0x81))));
  const __m128i r = _mm_and_si128(after1, _mm_or_si128(_mm_cmplt_epi8(v, _mm_set1_epi8(-112)),
                                                       _mm_cmpeq_epi8(v, _mm_set1_epi8(char(0x91)))));
  unsigned lead = unsigned(_mm_movemask_epi8(_mm_or_si128(d0, d1)));
  const unsigned follow = unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, yo), r)));
  const unsigned took = lead & 0x8000 ? 15 : 16;
  lead &= 0x7FFF, high &= (1u << took) - 1;
  if ((lead | follow) != high || lead << 1 != follow) return 0;
  const __m128i add = _mm_or_si128(_mm_or_si128(_mm_and_si128(a, _mm_set1_epi8(-0x10)), _mm_and_si128(yo, _mm_set1_epi8(0x6F))),
                                   _mm_and_si128(r, _mm_set1_epi8(0x60)));
  // Leave the lead bytes out: each byte moves left by the number of leads
  // before it, in steps of 1, 2, 4 and 8 (the counts never fall, so no two
  // bytes meet).
  const __m128i drop = _mm_or_si128(d0, d1);
  __m128i x = _mm_andnot_si128(drop, _mm_add_epi8(v, add));
  __m128i c = _mm_slli_si128(_mm_and_si128(drop, _mm_set1_epi8(1)), 1);
  c = _mm_add_epi8(c, _mm_slli_si128(c, 1));
  c = _mm_add_epi8(c, _mm_slli_si128(c, 2));
  c = _mm_add_epi8(c, _mm_slli_si128(c, 4));
  c = _mm_add_epi8(c, _mm_slli_si128(c, 8));
  // The leads before the last byte, which is no lead unless it was left out.
  const size_t leads = size_t(_mm_extract_epi16(c, 7)) >> 8;
  auto step = [&](auto shift, char bit) {
    const __m128i m = _mm_cmpeq_epi8(_mm_and_si128(c, _mm_set1_epi8(bit)), _mm_set1_epi8(bit));
    x = _mm_or_si128(_mm_andnot_si128(m, x), _mm_srli_si128(_mm_and_si128(m, x), decltype(shift)::value));
    if (bit < 8) c = _mm_or_si128(_mm_andnot_si128(m, c), _mm_srli_si128(_mm_and_si128(m, c), decltype(shift)::value));
  };
  step(std::integral_constant<int, 1>{}, 1);
  step(std::integral_constant<int, 2>{}, 2);
  step(std::integral_constant<int, 4>{}, 4);
  step(std::integral_constant<int, 8>{}, 8);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), x);
  const size_t n = took - leads;
  written = n;
  return took;
}
#endif

#if defined(LUMO_COMPRESS)
// Up to sixty-four bytes by the same rule, where the processor can leave the
// lead bytes out of a vector in one step (AVX-512 VBMI2): a Russian text's
// bulk, line ends and all, then costs a few instructions a line. avail is
// how many bytes of the line are left (a masked load reads no further);
// room how many converted bytes the line can still take. out needs room for
// 64 bytes.
__attribute__((target("avx512bw,avx512vbmi2,bmi2"))) size_t RussianBlock64(const uint8_t* p, size_t avail, char* out,
                                                                          size_t room, size_t& written) {
  size_t took = avail < 64 ? avail : 64;
  const __m512i v = _mm512_maskz_loadu_epi8(took == 64 ? ~__mmask64(0) : (__mmask64(1) << took) - 1, p);
#define LUMO_IS(b) _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(char(b)))
  const __mmask64 d0 = LUMO_IS(0xD0), d1 = LUMO_IS(0xD1);
  const __mmask64 a = d0 << 1 & _mm512_cmpge_epu8_mask(v, _mm512_set1_epi8(char(0x90))) &
                      _mm512_cmple_epu8_mask(v, _mm512_set1_epi8(char(0xBF)));
  const __mmask64 yo = d0 << 1 & LUMO_IS(0x81);
  const __mmask64 r = d1 << 1 & (_mm512_cmple_epu8_mask(v, _mm512_set1_epi8(char(0x8F))) | LUMO_IS(0x91));
#undef LUMO_IS
  // A letter's first half at the end waits for its second.
  if ((d0 | d1) >> (took - 1) & 1) --took;
  if (took == 0) return 0;
  const __mmask64 in = took == 64 ? ~__mmask64(0) : (__mmask64(1) << took) - 1;
  const __mmask64 lead = (d0 | d1) & in, follow = (a | yo | r) & in;
  if ((lead | follow) != (_mm512_movepi8_mask(v) & in) || lead << 1 != follow) return 0;
  __m512i add = _mm512_maskz_mov_epi8(a, _mm512_set1_epi8(-0x10));
  add = _mm512_mask_mov_epi8(add, yo, _mm512_set1_epi8(0x6F));
  add = _mm512_mask_mov_epi8(add, r, _mm512_set1_epi8(0x60));
  __mmask64 keep = ~lead & in;
  written = size_t(__builtin_popcountll(keep));
  if (written > room) {
    // The line is full within the block: stop after its last character,
    // which is a whole one (a kept byte is Latin or a letter's second half).
    const uint64_t last = _pdep_u64(uint64_t(1) << (room - 1), keep);
    took = size_t(__builtin_ctzll(last)) + 1;
    keep &= (last << 1) - 1;
    written = room;
  }
  _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keep, _mm512_add_epi8(v, add)));
  return took;
}

// Asked while statics are made, before the runtime's own look at the processor.
const bool HasCompress = (__builtin_cpu_init(), __builtin_cpu_supports("avx512bw")) && __builtin_cpu_supports("avx512vbmi2") &&
                         __builtin_cpu_supports("bmi2");
#endif

}  // namespace

uint8_t Cp866Of(uint32_t code) {
  if (code < 0x80) return uint8_t(code);
  if (code < 0x800) return Map.Two[code];
  return code >= ThreeFirst && code < ThreeEnd ? Map.Three[code - ThreeFirst] : 0;
}

Utf8Verdict Utf8Reader::Verdict() const {
  if (M == Mode::Check) return Utf8Verdict::Foreign;
  return M == Mode::Convert && Multi ? Utf8Verdict::Convertible : Utf8Verdict::NotUtf8;
}

void Utf8Reader::Lacks() {
  M = Mode::Check;
  Mix = Mix || Converted;
}

void Utf8Reader::Invalid() {
  M = Mode::Off;
  Mix = Mix || Converted;
  Need = 0;
}

// Decodes p[0..n) from the decoder's state; with Emit, writes the 866 bytes
// to Out until it holds 255 (stopping before the next character). Returns
// where it stopped: n, a full Out, or a character that changed the mode.
// The state lives in locals while it runs: the bytes written to Out could
// otherwise be the members, and every one would be read again.
template <bool Emit>
size_t Utf8Reader::Run(const uint8_t* p, size_t n) {
  const bool convert = M == Mode::Convert;
  size_t i = 0, len = Len;
  unsigned need = Need, lo = Lo, hi = Hi;
  uint32_t code = Code;
  bool multi = false;
  enum { None, Lacking, Bad } fail = None;
  while (i < n) {
    const uint8_t b = p[i];
    if (need == 0) {
      if (Emit && len == MaxLine) break;
#if defined(LUMO_COMPRESS)
      if (Emit && convert && HasCompress) {
        size_t written;
        if (const size_t took = RussianBlock64(p + i, n - i, Out + len, MaxLine - len, written)) {
          multi = multi || written < took;
          i += took, len += written;
          continue;
        }
      }
#endif
#if defined(__SSE2__)
      if (Emit && convert && i + 16 <= n && len + 16 <= MaxLine) {
        size_t written;
        if (const size_t took = RussianBlock(p + i, Out + len, written)) {
          multi = multi || written < took;
          i += took, len += written;
          continue;
        }
      }
#endif
      if (b < 0x80) {
        // Latin text goes eight bytes at a time.
        uint64_t w;
        if (i + 8 <= n && (!Emit || len + 8 <= MaxLine) && (std::memcpy(&w, p + i, 8), !(w & 0x8080808080808080u))) {
          if (Emit) std::memcpy(Out + len, p + i, 8), len += 8;
          i += 8;
        } else {
          if (Emit) Out[len++] = char(b);
          ++i;
        }
        continue;
      }
      // Cyrillic is two bytes: straight through the table.
      if (b >= 0xC2 && b <= 0xDF && i + 1 < n && (p[i + 1] & 0xC0) == 0x80) {
        multi = true;
        i += 2;
        if (convert) {
          const uint8_t c = Map.Two[(b & 0x1Fu) << 6 | (p[i - 1] & 0x3Fu)];
          if (c == 0) {
            fail = Lacking;
            break;
          }
          if (Emit) Out[len++] = char(c);
        }
        continue;
      }
      // A lead byte; the ranges of what follows leave out overlong forms,
      // surrogates and code points past U+10FFFF.
      lo = 0x80, hi = 0xBF;
      if (b >= 0xC2 && b <= 0xDF) {
        need = 1, code = b & 0x1Fu;
      } else if (b >= 0xE0 && b <= 0xEF) {
        need = 2, code = b & 0x0Fu;
        lo = b == 0xE0 ? 0xA0 : 0x80;
        hi = b == 0xED ? 0x9F : 0xBF;
      } else if (b >= 0xF0 && b <= 0xF4) {
        need = 3, code = b & 0x07u;
        lo = b == 0xF0 ? 0x90 : 0x80;
        hi = b == 0xF4 ? 0x8F : 0xBF;
      } else {
        fail = Bad;
        break;
      }
      ++i;
      continue;
    }
    if (b < lo || b > hi) {
      fail = Bad;
      break;
    }
    code = code << 6 | (b & 0x3Fu);
    lo = 0x80, hi = 0xBF;
    ++i;
    if (--need == 0) {
      multi = true;
      if (convert) {
        const uint8_t c = Cp866Of(code);
        if (c == 0) {
          fail = Lacking;
          break;
        }
        if (Emit) Out[len++] = char(c);
      }
    }
  }
  Len = uint8_t(len), Need = uint8_t(need), Lo = uint8_t(lo), Hi = uint8_t(hi), Code = code;
  Multi = Multi || multi;
  if (fail == Lacking) Lacks();
  if (fail == Bad) Invalid();
  return i;
}

void Utf8Reader::SkipBytes(const uint8_t* p, size_t n) {
  const size_t k = Run<false>(p, n);
  // A character 866 lacks only turns converting into checking.
  if (M == Mode::Check && k < n) Run<false>(p + k, n - k);
}

size_t Utf8Reader::Line(const char* s, size_t n, bool complete, bool high, std::string_view& line, bool& cut) {
  const auto* p = reinterpret_cast<const uint8_t*>(s);
  const bool first = AtStart;
  AtStart = false;
  if (M == Mode::Convert && high) {
    const size_t bom = first && n >= 3 && std::memcmp(s, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    Len = 0;
    const size_t stop = bom + Run<true>(p + bom, n - bom);
    if (M == Mode::Convert && complete && stop < n) Run<false>(p + stop, n - stop);
    if (M == Mode::Convert && complete && Need) Invalid();
    if (M == Mode::Convert) {
      if (bom || Len != stop) Converted = Multi = true;
      if (bom) BomSeen = true;
      line = {Out, Len};
      cut = !complete || stop < n;
      return complete ? n : stop;
    }
    // Not convertible after all: the line is given as read, and checked
    // again from its start.
    Need = 0;
  }
  const size_t took = complete ? n : MaxLine;
  line = {s, n < MaxLine ? n : MaxLine};
  cut = n > MaxLine;
  if (M == Mode::Check && high) {
    Run<false>(p, took);
    if (complete) LineEnd();
  }
  return took;
}

}  // namespace lumo
