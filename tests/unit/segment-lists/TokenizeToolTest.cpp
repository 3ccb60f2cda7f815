#include "TokenizeTool.h"

#include "TokenText.h"

#include <gtest/gtest.h>

using namespace Veskora::Lang;
using SegmentListsTest::Show;

namespace {

TEST(TokenizeToolTest, EscapesDecodeAndEncodeBack) {
  struct Case {
    std::u16string_view Typed;
    std::u16string_view Text;
  };
  constexpr Case cases[] = {
      {u"a\\tb", u"a\tb"},      {u"\\n\\r", u"\n\r"}, {u"\\\\n", u"\\n"},
      {u"c:\\dir", u"c:\\dir"}, {u"end\\", u"end\\"}, {u"\\\\\\t", u"\\\t"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.Typed));
    EXPECT_EQ(Show(RyvelTokenize::DecodeEscapes(c.Typed)), Show(c.Text));
    // Printing escapes every backslash, so reading the output back gives the text again.
    EXPECT_EQ(Show(RyvelTokenize::DecodeEscapes(RyvelTokenize::EncodeEscapes(c.Text))),
              Show(c.Text));
  }
}

TEST(TokenizeToolTest, OptionNames) {
  struct Case {
    const char* List;
    bool Valid;
    std::uint8_t Bits;
  };
  constexpr Case cases[] = {
      {"", true, 0},
      {"clean-all", true, 0x02},
      {"clean-detected, apostrophes", true, 0x05},
      {"clean-all,clean-detected,apostrophes,", true, 0x07},
      {"Clean-All", false, 0},
      {"clean-all,x", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.List);
    TVeLWordListOptions options;
    std::string bad;
    EXPECT_EQ(RyvelTokenize::ParseOptions(c.List, options, bad), c.Valid);
    if (c.Valid) {
      EXPECT_EQ(options.Bits(), c.Bits);
    }
  }
}

TEST(TokenizeToolTest, OneLinePerTokenThenAnEmptyLine) {
  const std::u16string text = u"See etc.\tand\\";
  EXPECT_EQ(RyvelTokenize::TokenizeSegment(text, {}, nullptr),
            "0\t3\tWord\t0x0005\tCapitalized+Lower\tSee\n"
            "3\t1\tWhiteSpace\t0x0001\tSpace\t \n"
            "4\t4\tWord\t0x0224\tLower+Punctuation+Abbreviation\tetc.\n"
            "8\t1\tWhiteSpace\t0x0002\tTab\t\\t\n"
            "9\t3\tWord\t0x0004\tLower\tand\n"
            "12\t1\tPunctuation\t0x0000\tUnknown\t\\\\\n"
            "\n");
  EXPECT_EQ(RyvelTokenize::TokenizeSegment(u"", {}, nullptr), "\n");
}

} // namespace
