// The two text searches of the speller: similar source and target, whole words in the source.
#include "speller/USpellerSpanish.h"

#include <gtest/gtest.h>

namespace {

struct TSimilarCase {
  std::u16string_view Source;
  std::u16string_view Target;
  bool Similar;
};

const TSimilarCase SimilarCases[] = {
    {u"Hello, world!", u"Hello; world.", true},
    {u"  abc", u"abc  ", true},
    {u"abc", u"abd", false},
    {u"abc", u"abcd", false},
    {u"", u"", true},
    {u"\t\r\n", u"", true},
    {u"v1.2", u"v1,2", true},
    {u"v1.2", u"v1.3", false}, // digits count
    {u"Abc", u"abc", false},   // so does case
    {u"a-b", u"a b", true},    // a space inside is a difference like any other non-letter
    {u"Москва!", u"Москва?", true},
    {u"Москва", u"Масква", false},
    {u"x\u00A0y", u"x y", true}, // no-break space is no letter
};

TEST(SpellerIsSimilarText, Cases) {
  for (const auto& c : SimilarCases) {
    EXPECT_EQ(TSpellerSpanish::IsSimilarText(c.Source, c.Target), c.Similar)
        << "source '" << std::string(c.Source.begin(), c.Source.end()) << "'";
    EXPECT_EQ(TSpellerSpanish::IsSimilarText(c.Target, c.Source), c.Similar) << "swapped";
  }
}

struct TWholeWordCase {
  std::u16string_view Word;
  std::u16string_view Text;
  int Pos; // 1-based, 0 = not found
};

const TWholeWordCase WholeWordCases[] = {
    {u"iPhone", u"the iPhone", 5},
    {u"iPhone", u"iPhones", 0},
    {u"Paris", u"Paris is nice", 1},
    {u"Paris", u"In Paris", 4},
    {u"Paris", u"(Paris)", 2},
    {u"Paris", u"Paris2024", 1},    // a digit is a boundary
    {u"Paris", u"xParis Paris", 8}, // the first occurrence does not count, the second does
    {u"aa", u"aaa aa", 5},          // overlapping occurrences are all tried
    {u"NASA", u"nasa", 0},          // case-sensitive
    {u"Москва", u"в Москве и Москва", 12},
    {u"", u"text", 0},
    {u"word", u"", 0},
};

TEST(SpellerFindWholeWord, Cases) {
  for (const auto& c : WholeWordCases) {
    int pos = -1;
    EXPECT_EQ(TSpellerSpanish::FindWholeWord(c.Word, c.Text, pos), c.Pos != 0)
        << "word of length " << c.Word.size() << " in a text of length " << c.Text.size();
    EXPECT_EQ(pos, c.Pos);
  }
}

} // namespace
