// Loads arbitrary bytes as a special-words file and as an addendum file, then searches the
// decoded entries and the raw text: no crash, and every match lies inside the text searched.
#include "lang/segment/USegment.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace Veskora::Lang;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize) {
  const std::string_view bytes(reinterpret_cast<const char*>(aData), aSize);
  TVeLSpecialWordList list;
  list.LoadFromBytes(bytes, false);
  list.LoadFromBytes(bytes, true);
  std::u16string text;
  for (size_t i = 0; i + 1 < aSize; i += 2)
    text.push_back(static_cast<char16_t>(aData[i] | (aData[i + 1] << 8)));
  for (int start = 0; start < static_cast<int>(text.size()); ++start) {
    int end = 0;
    std::uint16_t type = 0;
    if (list.MatchSpecialWordAt(text, start, end, type) &&
        (end <= start || end > static_cast<int>(text.size())))
      __builtin_trap();
  }
  for (int i = 0; i < list.Count(); ++i) {
    if (list.FindExact(list.Items(i).FText) == nullptr)
      __builtin_trap();
    int pos = -1;
    if (!list.Find(list.Items(i).FText, pos) || pos < 0 || pos >= list.Count())
      __builtin_trap();
  }
  const TVeLWordList words(text, {opCleanAllRTFEscapedChars}, &list);
  (void)words;
  return 0;
}
