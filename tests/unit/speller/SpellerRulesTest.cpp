// The token rules of Check over the tiny test dictionary (tests/data/speller): which words are
// examined, counted and reported under each exclusion option.
#include "SpellerTestSupport.h"

#include "platform/UFiles.h"
#include "platform/UFolders.h"

#include <gmock/gmock.h>

#include <stdexcept>

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

constexpr TRySpellerOptions None{};
constexpr TRySpellerOptions Numbers{CRysoExcludeWordsWithNumbers};
constexpr TRySpellerOptions Mixed{CRysoExcludeMixedCase};
constexpr TRySpellerOptions Similar{CRysoExcludeSegmentsWithSimilarSource};
constexpr TRySpellerOptions Upper{CRysoExcludeUppercaseWords};
constexpr TRySpellerOptions UpperInSource{CRysoExcludeUppercaseWordsInSource};
constexpr TRySpellerOptions Abbreviations{CRysoExcludeAbbreviations};

struct TRuleCase {
  const char* Name;
  std::u16string_view Source;
  std::u16string_view Target;
  TRySpellerOptions Options;
  std::vector<std::u16string> Reported;
  int TotalWords;
};

const TRuleCase RuleCases[] = {
    // The dictionary knows only "москва": the lower-case lookup accepts both other spellings.
    {"CapitalisedFoundByLowerCase", u"", u"Москва", None, {}, 1},
    {"AllCapitalsFoundByLowerCase", u"", u"МОСКВА", None, {}, 1},
    {"UnknownReportedAsWritten", u"", u"Масква", None, {u"Масква"}, 1},
    {"EveryOccurrenceInTextOrder",
     u"",
     u"Масква и Масква, wrld",
     None,
     {u"Масква", u"Масква", u"wrld"},
     4},
    {"TagsAndNumbersNotExamined", u"", u"<b>hello</b> 12 world", None, {}, 2},
    {"EmptyTarget", u"source", u"", None, {}, 0},

    // Similar source and target.
    {"SimilarSegmentSkipped", u"Hello, wrld!", u"Hello; wrld.", Similar, {}, 0},
    {"SimilarSegmentCheckedWithoutOption", u"Hello, wrld!", u"Hello; wrld.", None, {u"wrld"}, 2},
    {"SpacesAroundDoNotMatter", u"  wrld", u"wrld  ", Similar, {}, 0},
    {"DifferentLetterIsNotSimilar", u"abc", u"abd", Similar, {u"abd"}, 1},

    // Abbreviations: the full form, then the form without its full stop, or the option.
    {"AbbreviationReportedWithItsStop", u"", u"напр. текст", None, {u"напр."}, 2},
    {"AbbreviationAcceptedByOption", u"", u"напр. текст", Abbreviations, {}, 2},
    {"AbbreviationFoundWithoutStop", u"", u"ул. текст", None, {}, 2},

    // Compounds of word and symbol tokens.
    {"CompoundAcceptedAndRestSkipped", u"", u"kiwi+mango", None, {}, 1},
    {"CompoundNotTriedWhereTheRunEnds", u"", u"foo+bar", None, {u"bar"}, 2},

    // Mixed case with a match in the source.
    {"MixedCaseInSource", u"the iPhone", u"iPhone est", Mixed, {}, 2},
    {"MixedCaseNeedsWholeWord", u"iPhones", u"iPhone est", Mixed, {u"iPhone"}, 2},
    {"MixedCaseNeedsOption", u"the iPhone", u"iPhone est", None, {u"iPhone"}, 2},
    {"MixedCaseWordOpeningBothTexts", u"iPhone is", u"iPhone est", Mixed, {}, 2},
    {"CapitalOpeningBothTextsReported", u"Paris is nice", u"Paris est belle", Mixed, {u"Paris"}, 3},
    {"CapitalInsideSourceAccepted", u"In Paris", u"Paris est belle", Mixed, {}, 3},
    {"CapitalInsideTargetAccepted", u"Paris is nice", u"est Paris", Mixed, {}, 2},
    {"DigitIsAWordBoundary", u"Paris2024", u"est Paris", Mixed, {}, 2},

    // Words in capitals.
    {"UpperCaseInSource", u"NASA", u"NASA", UpperInSource, {}, 1},
    {"UpperCaseNotWholeWordInSource", u"NASAs", u"NASA", UpperInSource, {u"NASA"}, 1},
    {"UpperCaseAccepted", u"", u"NASA", Upper, {}, 1},
    {"UpperCaseReportedWithoutOption", u"NASA", u"NASA", None, {u"NASA"}, 1},
    {"CapitalisedWordIsNotUpperCase", u"", u"Nasa", Upper, {u"Nasa"}, 1},

    // Words with digits.
    {"WordWithDigitsNotExamined", u"", u"abc1", Numbers, {}, 0},
    {"WordWithDigitsExamined", u"", u"abc1", None, {u"abc1"}, 1},
};

class SpellerRulesTest : public TSpellerFolderTest,
                         public ::testing::WithParamInterface<TRuleCase> {};

TEST_P(SpellerRulesTest, ReportsAndCounts) {
  const TRuleCase& c = GetParam();
  auto speller = MakeSpeller();
  const TCheckResult r = RunCheck(*speller, c.Source, c.Target, c.Options);
  EXPECT_THAT(r.Words, ElementsAreArray(c.Reported));
  EXPECT_EQ(r.Count, static_cast<int>(r.Words.size()));
  EXPECT_EQ(r.TotalWords, c.TotalWords);
  EXPECT_THAT(FSink.Texts, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rules, SpellerRulesTest, ::testing::ValuesIn(RuleCases),
                         [](const auto& info) { return std::string(info.param.Name); });

class SpellerTest : public TSpellerFolderTest {};

TEST_F(SpellerTest, SegmentOverloadChecksTheTargetAgainstTheSource) {
  auto speller = MakeSpeller();
  const TSegmentData segment(nullptr, u"In Paris", u"Paris est belle Масква");
  std::vector<std::u16string> words;
  int total = 0;
  const int n =
      speller->Check(segment, Mixed, total, [&](std::u16string_view w) { words.emplace_back(w); });
  EXPECT_EQ(n, 1);
  EXPECT_EQ(total, 4);
  EXPECT_THAT(words, ElementsAreArray({u"Масква"}));
}

TEST_F(SpellerTest, ApostropheLookedUpAsAsciiApostrophe) {
  auto speller = MakeSpeller();
  EXPECT_TRUE(speller->IsWordKnown(u"don\u2019t"));
  EXPECT_TRUE(speller->IsWordKnown(u"don't"));
  EXPECT_FALSE(speller->IsWordKnown(u"won\u2019t"));
}

TEST_F(SpellerTest, CountsWithoutACallback) {
  auto speller = MakeSpeller();
  int total = 0;
  EXPECT_EQ(speller->Check(u"", u"Масква wrld", None, total, TWordProc{}), 2);
  EXPECT_EQ(total, 2);
}

TEST_F(SpellerTest, CallbackErrorReachesTheCallerAndTheSpellerStaysUsable) {
  auto speller = MakeSpeller();
  int total = 0;
  EXPECT_THROW(speller->Check(u"", u"Масква", None, total,
                              [](std::u16string_view) { throw std::runtime_error("stop"); }),
               std::runtime_error);
  EXPECT_EQ(RunCheck(*speller, u"", u"wrld", None).Words, std::vector<std::u16string>{u"wrld"});
}

TEST_F(SpellerTest, CallbackMayUseTheSpellerAgain) {
  // The review asks for suggestions of a word while it is being reported.
  auto speller = MakeSpeller();
  std::vector<std::u16string> words;
  int total = 0;
  speller->Check(u"", u"Масква wrld", None, total, [&](std::u16string_view aWord) {
    std::vector<std::u16string> suggestions;
    speller->GetSuggestions(std::u16string(aWord), suggestions);
    int innerTotal = 0;
    speller->Check(u"", u"qqqq zzzzz", None, innerTotal, TWordProc{});
    words.emplace_back(aWord);
  });
  EXPECT_THAT(words, ElementsAreArray({u"Масква", u"wrld"}));
  EXPECT_EQ(total, 2);
}

TEST_F(SpellerTest, SuggestionsComeFromTheDictionary) {
  auto speller = MakeSpeller();
  std::vector<std::u16string> suggestions{u"stale"};
  const int n = speller->GetSuggestions(u"масква", suggestions);
  EXPECT_EQ(n, static_cast<int>(suggestions.size()));
  EXPECT_THAT(suggestions, ::testing::Contains(std::u16string(u"москва")));
}

TEST_F(SpellerTest, SpecialWordsFileBesideTheDictionary) {
  auto speller = MakeSpeller();
  EXPECT_EQ(speller->SpecialWordsFile(), Location().Folder + u"/speller.rysw");
  EXPECT_TRUE(speller->Enabled());
  EXPECT_FALSE(speller->NoDictionary());
}

TEST_F(SpellerTest, DefaultSpellerLooksBesideTheModule) {
  auto speller = TSpellerSpanish::Create(nullptr, {});
  const std::u16string folder = Ryvel::Platform::PathToUtf16(Ryvel::Platform::ModuleDir());
  EXPECT_EQ(speller->SpecialWordsFile(), folder + u"/ru_RU.rysw");
  EXPECT_EQ(speller->Dictionary().Lang(), u"ru_RU");
  // Creating it opens nothing.
  EXPECT_FALSE(speller->Dictionary().DictionaryOpen());
  EXPECT_THAT(FSink.Texts, IsEmpty());
}

// Without a dictionary every lookup fails: each examined word is reported unless an option
// accepts it without a lookup, and the failure is shown once.
struct TNoDictionaryCase {
  const char* Name;
  std::u16string_view Source;
  std::u16string_view Target;
  TRySpellerOptions Options;
  std::vector<std::u16string> Reported;
};

const TNoDictionaryCase NoDictionaryCases[] = {
    {"EveryWordReported", u"", u"hello Москва", None, {u"hello", u"Москва"}},
    {"UpperCaseOption", u"", u"NASA hello", Upper, {u"hello"}},
    {"UpperCaseInSource", u"NASA", u"NASA hello", UpperInSource, {u"hello"}},
    {"MixedCaseInSource", u"the iPhone", u"iPhone hello", Mixed, {u"hello"}},
    {"AbbreviationOption", u"", u"ул. текст", Abbreviations, {u"текст"}},
};

class SpellerNoDictionaryTest : public TSpellerFolderTest,
                                public ::testing::WithParamInterface<TNoDictionaryCase> {};

TEST_P(SpellerNoDictionaryTest, ReportsWhatNoOptionAccepts) {
  const TNoDictionaryCase& c = GetParam();
  std::filesystem::remove(FRoot / "speller.dic");
  auto speller = MakeSpeller();
  EXPECT_TRUE(speller->Enabled());
  EXPECT_THAT(RunCheck(*speller, c.Source, c.Target, c.Options).Words,
              ElementsAreArray(c.Reported));
  RunCheck(*speller, c.Source, c.Target, c.Options);
  ASSERT_EQ(FSink.Texts.size(), 1u);
  EXPECT_EQ(FSink.Texts[0].rfind(u"File does not exist: ", 0), 0u);
  EXPECT_EQ(FSink.Captions[0], u"Veskora Ryvel SpellChecker");
  std::vector<std::u16string> suggestions{u"stale"};
  EXPECT_EQ(speller->GetSuggestions(u"hello", suggestions), 0);
  EXPECT_THAT(suggestions, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rules, SpellerNoDictionaryTest, ::testing::ValuesIn(NoDictionaryCases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace

namespace {

// Arbitrary texts built from the code units that steer the rules (capitals, digits, full
// stops, symbols, apostrophes, tags, escapes, lone surrogates, NUL): every report is a
// non-empty piece of the target (an abbreviation with its full stop), the count matches the
// reports, and every reported word was examined.
TEST_F(SpellerTest, ArbitraryTextsKeepTheReportInvariants) {
  static constexpr char16_t Alphabet[] = {
      u'a', u'Z', u'м', u'Я',      u'1', u'.',  u'+',      u'-',      u' ',      u' ',
      u'<', u'>', u'/', u'\\',     u'n', u'\'', u'\u2019', u'\xD800', u'\xDC00', u'\t',
      u'(', u')', u'@', u'\u00B7', u'_', u'\0', u'\u00A0', u'ё'};
  auto speller = MakeSpeller();
  uint32_t seed = 12345;
  auto next = [&] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  for (int round = 0; round < 3000; ++round) {
    std::u16string target, source;
    const size_t length = next() % 40;
    for (size_t k = 0; k < length; ++k)
      target.push_back(Alphabet[next() % std::size(Alphabet)]);
    for (size_t k = 0; k < length / 2; ++k)
      source.push_back(Alphabet[next() % std::size(Alphabet)]);
    const TRySpellerOptions options(static_cast<uint8_t>(next() & 0x3F));
    const TCheckResult r = RunCheck(*speller, source, target, options);
    ASSERT_EQ(r.Count, static_cast<int>(r.Words.size()));
    ASSERT_GE(r.TotalWords, r.Count);
    for (const auto& w : r.Words) {
      ASSERT_FALSE(w.empty());
      const bool found =
          target.find(w) != std::u16string::npos ||
          (w.back() == u'.' && target.find(w.substr(0, w.size() - 1)) != std::u16string::npos);
      ASSERT_TRUE(found) << "round " << round;
    }
  }
}

} // namespace
