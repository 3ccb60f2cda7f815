#include "TokenText.h"

#include "lang/segment/USegment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace Veskora::Lang;
using SegmentListsTest::CoversText;
using SegmentListsTest::Render;
using SegmentListsTest::Show;

namespace {

// Option bits of a case.
constexpr std::uint8_t CD = 0x01; // opCleanDetectedRTFEscapedChars
constexpr std::uint8_t CA = 0x02; // opCleanAllRTFEscapedChars
constexpr std::uint8_t AP = 0x04; // opNonBreakableApostrophes

struct TokenCase {
  std::u16string_view Text;
  std::uint8_t Options;
  bool WithSpace;
  const char* Expected;
};

void RunCases(const TokenCase* aBegin, const TokenCase* aEnd,
              const TVeLSpecialWordList* aSpecials) {
  for (const TokenCase* c = aBegin; c != aEnd; ++c) {
    SCOPED_TRACE("text: \"" + Show(c->Text) + "\"");
    const TVeLWordList::TOptions options(c->Options);
    TVeLWordList list(c->Text, options, aSpecials);
    EXPECT_EQ(Render(list, c->Text, c->WithSpace), c->Expected);
    EXPECT_TRUE(CoversText(list, c->Text));
  }
}

// Scanner, tags and the splitting passes.
constexpr TokenCase kScanCases[] = {
    {u"", 0, true, ""},
    {u"  leading and trailing  ", 0, true,
     "  /WhiteSpace/Space | leading/Word/Lower |  /WhiteSpace/Space | and/Word/Lower |  "
     "/WhiteSpace/Space | trailing/Word/Lower |   /WhiteSpace/Space"},
    {u"я \t\r\nты", 0, true, "я/Word/Lower |  \t\r\n/WhiteSpace/Space+Tab+NewLine | ты/Word/Lower"},
    {u"<b>Bold</b>", 0, false, "<b>/Tag/Unknown | Bold/Word/Capitalized+Lower | </b>/Tag/Unknown"},
    {u"<ut>{\\b}</ut>y", 0, false, "<ut>{\\b}</ut>/Tag/Unknown | y/Word/Lower"},
    {u"<ut>a b</ut> <ut>c</ut>", 0, true,
     "<ut>a b</ut>/Tag/Unknown |  /WhiteSpace/Space | <ut>c</ut>/Tag/Unknown"},
    {u"x <ut>open", 0, false, "x/Word/Lower | <ut>open/Tag/Unknown"},
    {u"word<ut>x</ut>end", 0, false, "word/Word/Lower | <ut>x</ut>/Tag/Unknown | end/Word/Lower"},
    {u"<a href='x.html' class = 'c'>", 0, false, "<a href='x.html' class = 'c'>/Tag/Unknown"},
    {u"<img src=x>", 0, false,
     "</Symbol/< | img/Word/Lower | src/Word/Lower | =/Symbol/= | x/Word/Lower | >/Symbol/>"},
    {u"<x>", 0, false, "<x>/Tag/Unknown"},
    {u"<br/>and</p >", 0, false, "<br/>/Tag/Unknown | and/Word/Lower | </p >/Tag/Unknown"},
    {u"3 < 5", 0, false, "3/Number/Digit | </Symbol/< | 5/Number/Digit"},
    {u"x+y=z", 0, false, "x/Word/Lower | +/Symbol/+ | y/Word/Lower | =/Symbol/= | z/Word/Lower"},
    {u"(abc)", 0, false,
     "(/Punctuation/Unknown | abc/Word/Lower+XDigit+Hexa | )/Punctuation/Unknown"},
    {u"a(b)c", 0, false,
     "a/Word/Lower+XDigit+Hexa | (/Punctuation/Unknown | b/Word/Lower+XDigit+Hexa | "
     ")/Punctuation/Unknown | c/Word/Lower+XDigit+Hexa"},
    {u"«слово»", 0, false, "«/Punctuation/Unknown | слово/Word/Lower | »/Punctuation/Unknown"},
    {u"-5", 0, false, "-/Symbol/- | 5/Number/Digit"},
    {u"10.30,", 0, false, "10.30/Number/Digit+Punctuation | ,/Punctuation/Unknown"},
    {u"foo_bar a·b", 0, false, "foo_bar/Word/Lower+Punctuation | a·b/Word/Lower"},
    {u"see http://x.org/a?b=1, ok", 0, false,
     "see/Word/Lower | http://x.org/a?b=1,/Other/URI | ok/Word/Lower"},
    {u"версия 1.2.3 и 192.168.0.1", 0, false,
     "версия/Word/Lower | 1.2.3/Other/Version | и/Word/Lower | 192.168.0.1/Other/IPv4"},
    // A detected prefix is split off before anything else: ".2" is an extension here.
    {u"v1.2.3", 0, false,
     "v1/Word/Lower+Digit | .2/Number/Digit+Punctuation | .3/Number/Digit+Punctuation"},
};

// The two escape-cleaning options.
constexpr TokenCase kEscapeCases[] = {
    {u"one.\\nLine", CA, true,
     "one/Word/Lower | ./Punctuation/Unknown | \\n/WhiteSpace/Other+ParagraphEnd | "
     "Line/Word/Capitalized+Lower"},
    // A cleaned escape is whitespace to the abbreviation rule: a lower-case word follows.
    {u"one.\\nline", CA, true,
     "one./Word/Lower+Punctuation+Abbreviation | \\n/WhiteSpace/Other | line/Word/Lower"},
    {u"a\\\\nb", CA, false,
     "a/Word/Lower+XDigit+Hexa | \\/Punctuation/Unknown | \\/Punctuation/Unknown | "
     "nb/Word/Lower"},
    {u"one.\\nline", CD, true,
     "one/Word/Lower | ./Punctuation/Unknown | \\/Punctuation/Unknown | nline/Word/Lower"},
    {u"one.\\nLine", CD, true,
     "one/Word/Lower | ./Punctuation/Unknown | \\n/WhiteSpace/Other+ParagraphEnd | "
     "Line/Word/Capitalized+Lower"},
    // Without cleaning the pair stays in the word.
    {u"one.\\nLine", 0, true,
     "one/Word/Lower | ./Punctuation/Unknown | \\/Punctuation/Unknown | "
     "nLine/Word/Upper+Lower"},
    // Cleaning all wins over cleaning the detected ones.
    {u"a\\tb", CD | CA, true,
     "a/Word/Lower+XDigit+Hexa | \\t/WhiteSpace/Other | b/Word/Lower+XDigit+Hexa"},
};

// Trailing punctuation, abbreviations and paragraph ends.
constexpr TokenCase kRefineCases[] = {
    {u"total 12.", 0, false, "total/Word/Lower | 12/Number/Unknown | ./Punctuation/ParagraphEnd"},
    {u"total 12.  ", 0, true,
     "total/Word/Lower |  /WhiteSpace/Space | 12/Number/Unknown |   /WhiteSpace/Space | "
     "./Punctuation/ParagraphEnd"},
    {u"12.", 0, false, "12./Number/Digit+Punctuation"},
    {u"See etc. and more", 0, true,
     "See/Word/Capitalized+Lower |  /WhiteSpace/Space | etc./Word/Lower+Punctuation+Abbreviation "
     "|  /WhiteSpace/Space | and/Word/Lower |  /WhiteSpace/Space | more/Word/Lower"},
    {u"Dr. Smith", 0, true,
     "Dr/Word/Capitalized+Lower | ./Punctuation/Unknown |  /WhiteSpace/Space+ParagraphEnd | "
     "Smith/Word/Capitalized+Lower"},
    {u"Mr. (iPhone)", 0, false,
     "Mr./Word/Capitalized+Lower+Punctuation+Abbreviation | (/Punctuation/Unknown | "
     "iPhone/Word/Upper+Lower | )/Punctuation/Unknown"},
    {u"vol. (Two)", 0, false,
     "vol/Word/Lower | ./Punctuation/Unknown | (/Punctuation/Unknown | "
     "Two/Word/Capitalized+Lower | )/Punctuation/Unknown"},
    {u"and etc.) x", 0, false,
     "and/Word/Lower | etc./Word/Lower+Punctuation+Abbreviation | )/Punctuation/Unknown | "
     "x/Word/Lower"},
    {u"etc., and", 0, false,
     "etc./Word/Lower+Punctuation+Abbreviation | ,/Punctuation/Unknown | and/Word/Lower"},
    {u"см.: рис", 0, false,
     "см./Word/Lower+Punctuation+Abbreviation | :/Punctuation/Unknown | рис/Word/Lower"},
    {u"См. <b>рис</b>", 0, false,
     "См./Word/Capitalized+Lower+Punctuation+Abbreviation | <b>/Tag/Unknown | рис/Word/Lower | "
     "</b>/Tag/Unknown"},
    {u"ABC. x", 0, false,
     "ABC/Word/Capitalized+Upper+XDigit+Hexa | ./Punctuation/Unknown | x/Word/Lower"},
    {u"approx. x", 0, false, "approx/Word/Lower | ./Punctuation/Unknown | x/Word/Lower"},
    {u"p. 5", 0, true,
     "p/Word/Lower | ./Punctuation/Unknown |  /WhiteSpace/Space+ParagraphEnd | 5/Number/Digit"},
    {u"final etc.", 0, false, "final/Word/Lower | etc/Word/Lower | ./Punctuation/ParagraphEnd"},
    {u"end.   Next", 0, true,
     "end/Word/Lower | ./Punctuation/Unknown |    /WhiteSpace/Space+ParagraphEnd | "
     "Next/Word/Capitalized+Lower"},
    {u"Yes! No? Maybe.", 0, false,
     "Yes/Word/Capitalized+Lower | !/Punctuation/Unknown | No/Word/Capitalized+Lower | "
     "?/Punctuation/Unknown | Maybe/Word/Capitalized+Lower | ./Punctuation/ParagraphEnd"},
    {u"a ~ b", 0, false, "a/Word/Lower+XDigit+Hexa | ~/Symbol/Unknown | b/Word/Lower+XDigit+Hexa"},
};

// Program text inside translations: format placeholders and file names are never words.
constexpr TokenCase kProgramTextCases[] = {
    {u"файл %s.", 0, false, "файл/Word/Lower | %s/Other/Placeholder | ./Punctuation/ParagraphEnd"},
    {u"%1$d из %-5.2f и %lu", 0, false,
     "%1$d/Other/Placeholder | из/Word/Lower | %-5.2f/Other/Placeholder | и/Word/Lower | "
     "%lu/Other/Placeholder"},
    {u"{userName} и {{count}}", 0, false,
     "{userName}/Other/Placeholder | и/Word/Lower | {{count}}/Other/Placeholder"},
    // Not placeholders: a percent sign in prose, a conversion letter glued to a word,
    // Cyrillic or digits-only inside braces.
    {u"100% готово", 0, false, "100/Number/Digit | %/Punctuation/Unknown | готово/Word/Lower"},
    {u"%sfoo", 0, false, "%/Punctuation/Unknown | sfoo/Word/Lower"},
    {u"% d", 0, false, "%/Punctuation/Unknown | d/Word/Lower+XDigit+Hexa"},
    {u"{Москва}", 0, false, "{/Punctuation/Unknown | Москва/Word/Capitalized+Lower | }/Punctuation/Unknown"},
    {u"{0}", 0, false, "{/Punctuation/Unknown | 0/Number/Digit | }/Punctuation/Unknown"},
    {u"в config.ini", 0, false, "в/Word/Lower | config.ini/Other/FileName"},
    {u"my-app_2.log", 0, false, "my-app_2.log/Other/FileName"},
    {u"-x.txt", 0, false, "-/Symbol/- | x.txt/Other/FileName"},
    {u".ini", 0, false, ".ini/Other/Extension"},
};

// Words around apostrophes, with and without the option.
constexpr TokenCase kApostropheCases[] = {
    {u"L'ÉCOLE", AP, false, "L'ÉCOLE/Word/Capitalized+Upper+Punctuation+UpperApostrophed"},
    {u"dell'ACQUA", AP, false, "dell'ACQUA/Word/Upper+Lower+Punctuation+UpperApostrophed"},
    {u"l'Europe", AP, false, "l'Europe/Word/Upper+Lower+Punctuation"},
    {u"l’Europe", AP, false, "l’Europe/Word/Upper+Lower+Punctuation"},
    {u"rock'n'roll", AP, false, "rock'n'roll/Word/Lower+Punctuation"},
    {u"L'ÉCOLE", 0, false,
     "L/Word/Capitalized | '/Punctuation/Unknown | ÉCOLE/Word/Capitalized+Upper"},
    {u"it' s", AP, false, "it/Word/Lower | '/Punctuation/Unknown | s/Word/Lower"},
};

TEST(WordListTest, ScannerTagsAndSplits) {
  RunCases(std::begin(kScanCases), std::end(kScanCases), nullptr);
}

TEST(WordListTest, EscapeCleaning) {
  RunCases(std::begin(kEscapeCases), std::end(kEscapeCases), nullptr);
}

TEST(WordListTest, RefinementOfTheScannedList) {
  RunCases(std::begin(kRefineCases), std::end(kRefineCases), nullptr);
  RunCases(std::begin(kProgramTextCases), std::end(kProgramTextCases), nullptr);
}

TEST(WordListTest, ApostropheJoins) {
  RunCases(std::begin(kApostropheCases), std::end(kApostropheCases), nullptr);
}

// Special words recognised while scanning and whole tokens marked afterwards.
class SpecialWordScanTest : public ::testing::Test {
protected:
  void SetUp() override {
    FSpecials.Add({u"New York", OtherKind::City});
    FSpecials.Add({u"New", 0});
    FSpecials.Add({u"3Com", OtherKind::Product});
    FSpecials.Add({u"www", 0});
    FSpecials.Add({u"Rio de Janeiro", OtherKind::City});
  }
  TVeLSpecialWordList FSpecials;
};

constexpr TokenCase kSpecialCases[] = {
    {u"I love New York, Paris", 0, false,
     "I/Word/Capitalized | love/Word/Lower | New York/Other/City | ,/Punctuation/Unknown | "
     "Paris/Word/Capitalized+Lower"},
    {u"(New York)", 0, false,
     "(/Punctuation/Unknown | New York/Other/City | )/Punctuation/Unknown"},
    {u"New Yorker", 0, false, "New/Other/Unknown | Yorker/Word/Capitalized+Lower"},
    {u"in New York.", 0, false, "in/Word/Lower | New York/Other/City | ./Punctuation/ParagraphEnd"},
    {u"x<b>New York</b>", 0, false,
     "x/Word/Lower | <b>/Tag/Unknown | New York/Other/City | </b>/Tag/Unknown"},
    {u"Rio de Janeiro и New York", 0, false,
     "Rio de Janeiro/Other/City | и/Word/Lower | New York/Other/City"},
    {u"buy 3Com now", 0, false, "buy/Word/Lower | 3Com/Other/Product | now/Word/Lower"},
    {u"www.example.com", 0, false, "www.example.com/Other/URI"},
    {u"new york", 0, false, "new/Word/Lower | york/Word/Lower"},
    {u"New York@mail.ru", 0, false, "New/Other/Unknown | York@mail.ru/Other/URI"},
};

TEST_F(SpecialWordScanTest, SpecialWordsInText) {
  RunCases(std::begin(kSpecialCases), std::end(kSpecialCases), &FSpecials);
}

// The apostrophe rules follow the options of the list, not those of a later build.
TEST(WordListTest, ApostropheRulesFollowTheCreateOptions) {
  const std::u16string text = u"l'Europe";
  TVeLWordList list(TVeLWordList::TOptions{opNonBreakableApostrophes});
  list.FromSegment(text, {}, nullptr);
  EXPECT_EQ(Render(list, text, false), "l'Europe/Word/Upper+Lower+Punctuation");
  list.FromSegment(u"", {}, nullptr);
  EXPECT_TRUE(list.Words().empty());
}

// Code units after a NUL are text like any other: nothing after it may go unchecked.
TEST(WordListTest, EmbeddedNulDoesNotEndTheText) {
  const std::u16string text(u"abc\0def ghi", 11);
  TVeLWordList list(text, {}, nullptr);
  EXPECT_TRUE(CoversText(list, text));
  EXPECT_EQ(Show(list.Words().back().TextView(text)), "ghi");
}

// Long runs of break characters split one by one without exhausting the stack: the recursion
// depth is bounded, and the passes of the outer levels finish the splitting.
TEST(WordListTest, LongPunctuationRunsStayCovered) {
  const std::u16string texts[] = {
      std::u16string(200, u','),
      std::u16string(3000, u'-'),
      [] {
        std::u16string s;
        for (int i = 0; i < 1500; ++i)
          s += u"a,";
        return s;
      }(),
  };
  for (const auto& text : texts) {
    SCOPED_TRACE(text.size());
    TVeLWordList list(text, {}, nullptr);
    EXPECT_TRUE(CoversText(list, text));
    EXPECT_TRUE(std::all_of(list.Words().begin(), list.Words().end(),
                            [](const TVeLWord& w) { return w.FLen == 1; }));
  }
}

// Coverage under every option set, with and without special words, over texts that mix what
// the scanner treats specially.
TEST_F(SpecialWordScanTest, EveryOptionSetCoversTheText) {
  const std::u16string_view texts[] = {
      u"<ut>",
      u"<",
      u"</",
      u"<a b='&amp;'",
      u"\\",
      u"\\n\\\\t\\r",
      u"New",
      u"New York",
      u"  New York  ",
      u"<ut>New York</ut> New York<b>",
      u"'''",
      u"a''b'c",
      u"..,,;;",
      u"(*x*)",
      u"/*c*/",
      u"\"q\"",
      u"3Com3Com",
      u"x.\\nY",
      u"\U0001F600 смайл\U0001F600.",
      u"12. 13. etc. etc.) (iPhone)",
      u"&#x41;&amp;",
      u"*.txt .docx 1.2.3(45)",
  };
  for (const auto text : texts) {
    for (unsigned bits = 0; bits < 8; ++bits) {
      SCOPED_TRACE("text \"" + Show(text) + "\" options " + std::to_string(bits));
      const TVeLWordList::TOptions options(static_cast<std::uint8_t>(bits));
      TVeLWordList plain(text, options, nullptr);
      EXPECT_TRUE(CoversText(plain, text));
      TVeLWordList special(text, options, &FSpecials);
      EXPECT_TRUE(CoversText(special, text));
    }
  }
}

struct TagCase {
  std::u16string_view Text;
  int End; // ParseTag at position 0
};

constexpr TagCase kTagCases[] = {
    {u"<b>", 3},
    {u"</b>", 4},
    {u"</b \t>", 6},
    {u"</>", 0},
    {u"< b>", 0},
    {u"<1a>", 0},
    {u"<_x:y.z-1>", 10},
    {u"<br/>", 5},
    {u"<br />", 6},
    {u"<br / >", 0},
    {u"<a href=\"x&amp;y\">", 18},
    {u"<a href='&#65;&#x41;'>", 22},
    {u"<a href='&#X41;'>", 0},
    {u"<a href=\"x&y\">", 0},
    {u"<a href='x<y'>", 0},
    {u"<a href='x>y'>", 14},
    {u"<a b='1'c='2'>", 0},
    {u"<a\n href='x'>", 13},
    {u"<a href='x.html' class = 'c'>", 29},
    {u"<a  >", 5},
    {u"<img src=x>", 0},
    {u"<!-- c -->", 0},
    {u"<?xml version='1.0'?>", 0},
    {u"<a href='x'", 0},
    {u"<a", 0},
    {u"<", 0},
};

TEST(ParseTagTest, RecognisedTagForms) {
  for (const auto& c : kTagCases) {
    SCOPED_TRACE(Show(c.Text));
    EXPECT_EQ(TVeLWordList::ParseTag(c.Text, 0), c.End);
  }
}

struct CleanCase {
  std::u16string_view Text;
  bool OnlyDetected;
  std::u16string_view Expected;
};

constexpr CleanCase kCleanCases[] = {
    {u"a\\nb", false, u"a  b"},     {u"\\n\\r\\t", false, u"      "},
    {u"\\\\n", false, u"\\\\n"},    {u"\\\\\\n", false, u"\\\\\\n"},
    {u"\\x\\", false, u"\\x\\"},    {u"end\\", false, u"end\\"},
    {u"a\\nb", true, u"a\\nb"},     {u"a\\nB", true, u"a  B"},
    {u"a\\n\\tb", true, u"a    b"}, {u"\\\\nB", true, u"\\\\nB"},
};

TEST(CleanEscapesTest, PairsAreReplacedBySpaces) {
  for (const auto& c : kCleanCases) {
    SCOPED_TRACE(Show(c.Text));
    const std::u16string cleaned = TVeLWordList::CleanRTFEscapedChars(c.Text, c.OnlyDetected);
    EXPECT_EQ(Show(cleaned), Show(c.Expected));
    EXPECT_EQ(cleaned.size(), c.Text.size());
  }
}

} // namespace
