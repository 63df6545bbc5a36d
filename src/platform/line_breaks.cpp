#include "platform/line_breaks.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

std::size_t FindEitherByte(const char* data, std::size_t size, char a, char b) {
  std::size_t i = 0;
#if defined(__SSE2__)
  // The C runtime's memchr is slow on some systems, and finds only one byte.
  const __m128i wantA = _mm_set1_epi8(a);
  const __m128i wantB = _mm_set1_epi8(b);
  for (; i + 16 <= size; i += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const int hits =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, wantA), _mm_cmpeq_epi8(chunk, wantB)));
    if (hits != 0) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(hits)));
  }
#endif
  for (; i < size; ++i) {
    if (data[i] == a || data[i] == b) return i;
  }
  return size;
}

namespace {

class BlockWriter {
 public:
  BlockWriter(char* block, std::size_t blockSize, const BlockSink& sink)
      : block_(block), blockSize_(blockSize), sink_(sink) {}

  void AppendCrLf() {
    if (blockSize_ - used_ < 2) {
      Append("\r\n", 2);
      return;
    }
    block_[used_++] = '\r';
    block_[used_++] = '\n';
    if (used_ == blockSize_) Flush();
  }

  void Append(const char* data, std::size_t size) {
    while (size > 0) {
      const std::size_t room = blockSize_ - used_;
      const std::size_t take = size < room ? size : room;
      std::memcpy(block_ + used_, data, take);
      used_ += take;
      data += take;
      size -= take;
      if (used_ == blockSize_) Flush();
    }
  }

  void Flush() {
    if (used_ == 0) return;
    sink_(block_, used_);
    used_ = 0;
  }

 private:
  char* block_;
  std::size_t blockSize_;
  const BlockSink& sink_;
  std::size_t used_ = 0;
};

}  // namespace

std::size_t FindLoneLineBreak(std::string_view text, std::size_t from) {
  const char* data = text.data();
  const std::size_t size = text.size();
  const auto isLone = [data, size](std::size_t at) {
    if (data[at] == '\r') return at + 1 >= size || data[at + 1] != '\n';
    return data[at] == '\n' && (at == 0 || data[at - 1] != '\r');
  };
  std::size_t i = from;
  if (i == 0 && size > 0) {
    if (isLone(0)) return 0;
    i = 1;
  }
#if defined(__SSE2__)
  // Each byte is checked against its neighbours, so a CR LF pair costs no more than plain text.
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; i + 17 <= size; i += 16) {
    const auto load = [](const char* at) {
      return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    };
    const __m128i here = load(data + i);
    const __m128i loneCr =
        _mm_andnot_si128(_mm_cmpeq_epi8(load(data + i + 1), lf), _mm_cmpeq_epi8(here, cr));
    const __m128i loneLf =
        _mm_andnot_si128(_mm_cmpeq_epi8(load(data + i - 1), cr), _mm_cmpeq_epi8(here, lf));
    const int hits = _mm_movemask_epi8(_mm_or_si128(loneCr, loneLf));
    if (hits != 0) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(hits)));
  }
#endif
  for (; i < size; ++i) {
    if (isLone(i)) return i;
  }
  return size;
}

void WriteLinesWithCrLf(std::string_view text, char* block, std::size_t blockSize,
                        const BlockSink& sink) {
  BlockWriter writer(block, blockSize, sink);
  // Runs up to the next lone CR or LF are already in their final form, CR LF pairs included.
  std::size_t runStart = 0;
  for (;;) {
    const std::size_t lone = FindLoneLineBreak(text, runStart);
    writer.Append(text.data() + runStart, lone - runStart);
    if (lone == text.size()) break;
    writer.AppendCrLf();
    runStart = lone + 1;
  }
  const bool lastLineUnended = !text.empty() && text.back() != '\r' && text.back() != '\n';
  if (lastLineUnended) writer.AppendCrLf();
  writer.Flush();
}
