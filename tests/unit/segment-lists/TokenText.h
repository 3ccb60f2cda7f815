// Token lists as one readable line, "text/Class/Flags | ...", so that a table of cases reads like
// the examples it was written from; and the coverage check that every build must pass.
#pragma once

#include "lang/segment/USegment.h"
#include "platform/UText.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace SegmentListsTest {

inline std::string Show(std::u16string_view s) { return Ryvel::Platform::Utf16ToUtf8(s); }

// Whitespace tokens are left out unless aWithSpace; their text would be hard to read anyway.
inline std::string Render(const Veskora::Lang::TVeLWordList& aList, std::u16string_view aText,
                          bool aWithSpace) {
  std::string out;
  for (const auto& w : aList.Words()) {
    if (w.FClass == Veskora::Lang::wcWhiteSpace && !aWithSpace)
      continue;
    if (!out.empty())
      out += " | ";
    out += Show(w.TextView(aText)) + "/" + Show(w.ClassAsString()) + "/" + Show(w.FlagsAsString());
  }
  return out;
}

// Every code unit of the text lies in exactly one token and no token is empty.
inline ::testing::AssertionResult CoversText(const Veskora::Lang::TVeLWordList& aList,
                                             std::u16string_view aText) {
  std::u16string owner(aText.size(), u'\0');
  std::vector<int> seen(aText.size(), 0);
  for (const auto& w : aList.Words()) {
    if (w.FLen <= 0 || w.FPos < 0 || w.End() > static_cast<int>(aText.size()))
      return ::testing::AssertionFailure()
             << "token out of range: pos " << w.FPos << " len " << w.FLen;
    for (int i = w.FPos; i < w.End(); ++i)
      ++seen[static_cast<size_t>(i)];
  }
  for (size_t i = 0; i < seen.size(); ++i)
    if (seen[i] != 1)
      return ::testing::AssertionFailure()
             << "code unit " << i << " is in " << seen[i] << " tokens";
  return ::testing::AssertionSuccess();
}

} // namespace SegmentListsTest
