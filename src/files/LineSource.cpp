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

LineSource::LineSource(int fd) : Fd(fd), Buffer(new char[ChunkBytes]) { Data = Buffer.get(); }

LineSource::LineSource(std::string_view bytes) : Data(bytes.data()), End(bytes.size()), Eof(true) {}

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

size_t LineSource::FindLineEnd(size_t from) const {
  size_t i = from;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
  for (; i + 16 <= End; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Data + i));
    int m = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
    if (m) return i + size_t(__builtin_ctz(unsigned(m)));
  }
#endif
  for (; i < End; ++i)
    if (Data[i] == '\r' || Data[i] == '\n') return i;
  return End;
}

void LineSource::ConsumeLineEnd(size_t at) {
  if (Data[at] == '\r') {
    if (at + 1 < End) {
      Begin = Data[at + 1] == '\n' ? at + 2 : at + 1;
      return;
    }
    SkipLf = !Eof;
  }
  Begin = at + 1;
}

bool LineSource::Next(std::string_view& line, bool& cut) {
  cut = false;
  if (Ended) return false;
  while (SkipRest) {
    if (!EnsureByte()) return Ended = true, false;
    size_t at = FindLineEnd(Begin);
    if (at < End) {
      ConsumeLineEnd(at);
      SkipRest = false;
    } else {
      Begin = End;
    }
  }
  if (SkipLf) {
    if (!EnsureByte()) return Ended = true, false;
    if (Data[Begin] == '\n') ++Begin;
    SkipLf = false;
  }
  if (!EnsureByte()) return Ended = true, false;
  if (Data[Begin] == 26) return Ended = true, false;
  size_t scanned = Begin;
  for (;;) {
    size_t at = FindLineEnd(scanned);
    if (at < End) {
      size_t len = at - Begin;
      line = {Data + Begin, len > MaxLine ? MaxLine : len};
      cut = len > MaxLine;
      ConsumeLineEnd(at);
      return true;
    }
    size_t len = End - Begin;
    if (len > MaxLine) {
      line = {Data + Begin, MaxLine};
      cut = true;
      SkipRest = true;
      Begin += MaxLine;
      return true;
    }
    if (Eof) {
      line = {Data + Begin, len};
      Begin = End;
      return true;
    }
    scanned = End - Begin;
    if (!Fill()) continue;  // the stream ended: the tail is the last line
    scanned = Begin + scanned;
  }
}

}  // namespace lumo
