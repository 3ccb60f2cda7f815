// Flags and detection run once per chunk of every segment, so they must not allocate: they read
// the segment through positions. Counting calls of the global operator new shows a regression
// (a stray string copy) at once.
#include "lang/segment/UDetectors.h"
#include "lang/segment/UWord.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string_view>

namespace {
std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};
} // namespace

void *operator new(std::size_t aSize) {
  if (gCounting.load(std::memory_order_relaxed))
    gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void *p = std::malloc(aSize ? aSize : 1))
    return p;
  throw std::bad_alloc();
}
namespace {
// Out of line, so that the compiler does not pair this free() with the operator new above.
[[gnu::noinline]] void Release(void *aPtr) noexcept { std::free(aPtr); }
} // namespace
void operator delete(void *aPtr) noexcept { Release(aPtr); }
void operator delete(void *aPtr, std::size_t) noexcept { Release(aPtr); }

namespace {

using namespace Veskora::Lang;

// One chunk of each kind of pattern, in one segment.
constexpr std::u16string_view kSegment =
    u"слово 123 1,234.56 192.168.0.1/24 1.2.3(4) http://example.com/a?b#c john@example.com "
    u"www.example.org *.txt .docx &amp; <= +- l'ÉCOLE 😀 a·b %";

TEST(NoAllocationTest, FlagsAndDetectionReadThroughPositions) {
  // Chunk boundaries are found before counting starts.
  int starts[32];
  int ends[32];
  int count = 0;
  for (int p = 0, n = static_cast<int>(kSegment.size()); p < n && count < 32;) {
    const int b = p;
    while (p < n && kSegment[p] != u' ')
      ++p;
    starts[count] = b;
    ends[count++] = p;
    ++p;
  }
  ASSERT_GT(count, 15);

  const TVeLWordListOptions options{opNonBreakableApostrophes};
  gAllocations = 0;
  gCounting = true;
  for (int i = 0; i < count; ++i) {
    const std::u16string_view chunk = kSegment.substr(starts[i], ends[i] - starts[i]);
    (void)ComputeWordFlags(chunk, options);
    TDetectWork work;
    (void)DetectToken(kSegment, starts[i], ends[i], wcWord, options, work);
    TVeLWord w = TVeLWord::Create(nullptr, starts[i], ends[i] - starts[i], wcWord, options);
    w.SetFlags(kSegment);
    TVeLWord s = TVeLWord::Create(nullptr, starts[i], ends[i] - starts[i], wcSymbol, options);
    s.SetFlags(kSegment);
    (void)w.IsNormal();
    (void)w.Breakable();
    (void)MatchBracketPair(kSegment, starts[i], ends[i]);
  }
  gCounting = false;
  EXPECT_EQ(gAllocations.load(), 0);
}

} // namespace
