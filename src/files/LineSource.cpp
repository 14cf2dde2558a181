#include "files/LineSource.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lumo {
namespace {

constexpr size_t ChunkBytes = 256 * 1024;
constexpr size_t MaxLine = 255;

}  // namespace

LineSource::LineSource(int fd, bool utf8) : Fd(fd), Buffer(new char[ChunkBytes]), U(utf8) { Data = Buffer.get(); }

LineSource::LineSource(std::string_view bytes, bool utf8)
    : Data(bytes.data()), End(bytes.size()), Eof(true), U(utf8) {}

bool LineSource::Fill() {
  if (Eof) return false;
  // Keep the unread tail (less than a line) at the front of the buffer.
  size_t tail = End - Begin;
  if (Begin > 0 && tail > 0) std::memmove(Buffer.get(), Buffer.get() + Begin, tail);
  Begin = 0;
  End = tail;
  for (;;) {
    ssize_t n = read(Fd, Buffer.get() + End, ChunkBytes - End);
    if (n > 0) {
      End += size_t(n);
      return true;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Error = true;
    Eof = true;
    return false;
  }
}

bool LineSource::EnsureByte() {
  while (Begin == End)
    if (!Fill()) return false;
  return true;
}

// With Watch, high also learns whether a byte of 128 or more comes before
// the line end: a line without one is the same in every code page.
template <bool Watch>
size_t LineSource::FindLineEnd(size_t from, bool& high) const {
  size_t i = from;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
  for (; i + 16 <= End; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Data + i));
    int m = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
    if constexpr (Watch) {
      const unsigned h = unsigned(_mm_movemask_epi8(v));
      high = high || (m ? h & ((1u << __builtin_ctz(unsigned(m))) - 1) : h) != 0;
    }
    if (m) return i + size_t(__builtin_ctz(unsigned(m)));
  }
#endif
  for (; i < End; ++i) {
    if (Data[i] == '\r' || Data[i] == '\n') return i;
    if constexpr (Watch) high = high || uint8_t(Data[i]) >= 0x80;
  }
  return End;
}

void LineSource::ConsumeLineEnd(size_t at) {
  const bool first = !FirstEnded;
  FirstEnded = true;
  if (Data[at] == '\r') {
    if (at + 1 < End) {
      const bool crlf = Data[at + 1] == '\n';
      if (first) FirstEnd = crlf ? LineEnd::CrLf : LineEnd::Cr;
      Begin = crlf ? at + 2 : at + 1;
      return;
    }
    // A CR ending a read may yet be a CR LF.
    if (first) FirstEnd = LineEnd::Cr, FirstEnded = Eof;
    SkipLf = !Eof;
  } else if (first) {
    FirstEnd = LineEnd::Lf;
  }
  Begin = at + 1;
}

// The line of n bytes at Begin (its first n bytes when !complete); returns
// how many of them it took.
size_t LineSource::Give(size_t n, bool complete, bool high, std::string_view& line, bool& cut) {
  if (U.Current() != Utf8Reader::Mode::Off) return U.Line(Data + Begin, n, complete, high, line, cut);
  line = {Data + Begin, n > MaxLine ? MaxLine : n};
  cut = n > MaxLine;
  return MaxLine;
}

Utf8Verdict LineSource::ReadToVerdict() {
  std::string_view line;
  bool cut = false;
  while (U.Current() != Utf8Reader::Mode::Off && Next(line, cut)) {
  }
  return U.Verdict();
}

bool LineSource::Next(std::string_view& line, bool& cut) {
  cut = false;
  if (Ended) return false;
  bool high = false;
  while (SkipRest) {
    if (!EnsureByte()) {
      U.LineEnd();
      return Ended = true, false;
    }
    size_t at = U.Current() == Utf8Reader::Mode::Off ? FindLineEnd<false>(Begin, high) : FindLineEnd<true>(Begin, high);
    U.Skip(Data + Begin, at - Begin);
    if (at < End) {
      U.LineEnd();
      ConsumeLineEnd(at);
      SkipRest = false;
    } else {
      Begin = End;
    }
  }
  if (SkipLf) {
    if (!EnsureByte()) return Ended = true, false;
    if (Data[Begin] == '\n') {
      ++Begin;
      if (!FirstEnded) FirstEnd = LineEnd::CrLf;
    }
    SkipLf = false;
    FirstEnded = true;
  }
  if (!EnsureByte()) return Ended = true, false;
  if (Data[Begin] == 26) return Ended = true, false;
  size_t scanned = Begin;
  high = false;
  const bool watch = U.Current() != Utf8Reader::Mode::Off;
  for (;;) {
    size_t at = watch ? FindLineEnd<true>(scanned, high) : FindLineEnd<false>(scanned, high);
    if (at < End) {
      Give(at - Begin, true, high, line, cut);
      ConsumeLineEnd(at);
      return true;
    }
    size_t len = End - Begin;
    if (len > U.Window()) {
      Begin += Give(len, false, high, line, cut);
      SkipRest = true;
      return true;
    }
    if (Eof) {
      Give(len, true, high, line, cut);
      Begin = End;
      return true;
    }
    scanned = End - Begin;
    if (!Fill()) continue;  // the stream ended: the tail is the last line
    scanned = Begin + scanned;
  }
}

}  // namespace lumo
