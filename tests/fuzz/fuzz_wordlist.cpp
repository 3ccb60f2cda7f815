// Builds token lists from arbitrary UTF-16 text (the input bytes, little-endian pairs) under every
// option set, with and without special words, and checks that every code unit of the text lies
// in exactly one non-empty token.
#include "lang/segment/USegment.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using namespace Veskora::Lang;

namespace {

const TVeLSpecialWordList& Specials() {
  static const TVeLSpecialWordList list = [] {
    TVeLSpecialWordList l;
    for (const auto text : {u"New", u"New York", u"New York City", u"3Com", u"www", u"a", u"a b",
                            u"<ut>", u"x<b>y", u"Rio de Janeiro", u"(x)", u"A.B."})
      l.Add({std::u16string(text), OtherKind::City});
    return l;
  }();
  return list;
}

void CheckCoverage(const TVeLWordList& aList, std::u16string_view aText, unsigned aBits,
                   bool aSpecials) {
  std::vector<unsigned char> seen(aText.size(), 0);
  for (const TVeLWord& w : aList.Words()) {
    if (w.FLen <= 0 || w.FPos < 0 || w.End() > static_cast<int>(aText.size())) {
      std::fprintf(stderr, "token out of range: pos %d len %d (options %u, specials %d)\n", w.FPos,
                   w.FLen, aBits, aSpecials);
      __builtin_trap();
    }
    for (int i = w.FPos; i < w.End(); ++i)
      ++seen[static_cast<size_t>(i)];
  }
  for (size_t i = 0; i < seen.size(); ++i) {
    if (seen[i] != 1) {
      std::fprintf(stderr, "code unit %zu in %d tokens (options %u, specials %d)\n", i, seen[i],
                   aBits, aSpecials);
      __builtin_trap();
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize) {
  std::u16string text;
  text.reserve(aSize / 2);
  for (size_t i = 0; i + 1 < aSize; i += 2)
    text.push_back(static_cast<char16_t>(aData[i] | (aData[i + 1] << 8)));
  for (unsigned bits = 0; bits < 8; ++bits) {
    const TVeLWordList::TOptions options(static_cast<std::uint8_t>(bits));
    for (const bool withSpecials : {false, true}) {
      const TVeLWordList list(text, options, withSpecials ? &Specials() : nullptr);
      CheckCoverage(list, text, bits, withSpecials);
      for (const TVeLWord& w : list.Words()) {
        // The text forms must work for every token the builder makes.
        (void)w.ClassAsString();
        (void)w.FlagsAsString();
      }
    }
  }
  return 0;
}
