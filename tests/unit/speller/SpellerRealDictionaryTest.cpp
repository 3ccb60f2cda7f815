// The speller as it ships: the ru_RU dictionary, the spelling library and the special-words
// file in the plug-in folder, on realistic segments of a software localisation.
#include "SpellerTestSupport.h"

#include "lang/segment/USpecialWords.h"
#include "lang/segment/UWord.h"
#include "platform/UFiles.h"
#include "platform/UText.h"

#include <gmock/gmock.h>

#include <set>

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

namespace fs = std::filesystem;

struct TRealCase {
  const char* Name;
  std::u16string_view Source;
  std::u16string_view Target;
  std::vector<std::u16string> Reported;
};

const TRealCase RealCases[] = {
    {"PlainSentence", u"Click Save to continue.", u"Нажмите «Сохранить», чтобы продолжить.", {}},
    {"TagsPlaceholdersAndNumbers",
     u"<b>%1</b> files were deleted in 2.5 seconds",
     u"<b>%1</b> файлов удалено за 2,5 секунды",
     {}},
    {"ProductsAndAcronyms",
     u"Connect to Wi-Fi and open GitHub in Windows",
     u"Подключитесь к Wi-Fi и откройте GitHub в Windows",
     {}},
    {"UrlAndFileMask",
     u"See https://example.com/help and the *.json files",
     u"См. https://example.com/help и файлы *.json",
     {}},
    {"KeysAndUnits",
     u"Click OK or press Ctrl+S. Free space: {0} MB",
     u"Нажмите OK или Ctrl+S. Свободно: {0} МБ",
     {}},
    // A file name and format placeholders are program text, not words.
    {"FileNameStem", u"Open config.json", u"Откройте файл config.json", {}},
    {"Placeholders", u"Deleted %d of %2$s files in {folderName}",
     u"Удалено %d из %2$s файлов в {folderName}", {}},
    {"CountryAndCity",
     u"Shipping to Kazakhstan from Moscow",
     u"Доставка в Казахстан из Москвы",
     {}},
    {"Misspellings",
     u"The file could not be saved",
     u"Не удалось сахранить фаил",
     {u"сахранить", u"фаил"}},
    {"EnglishLeftInTarget", u"Open Settings", u"Откройте Setings", {u"Setings"}},
    {"UntranslatedSegmentSkipped", u"Settings", u"Settings", {}},
};

class SpellerRealDictionaryTest : public ::testing::TestWithParam<TRealCase> {
protected:
  static TSpellerSpanish::TLocation ShippedLocation() {
    return {Ryvel::Platform::PathToUtf16(fs::path(RYVEL_PLUGIN_DIR)), u"ru_RU", AdapterLibPath()};
  }
  TRecordingSink FSink;
};

TEST_P(SpellerRealDictionaryTest, Segment) {
  const TRealCase& c = GetParam();
  auto speller = TSpellerSpanish::Create(nullptr, ShippedLocation());
  speller->ReloadSpecialWords();
  const TCheckResult r = RunCheck(*speller, c.Source, c.Target, DefaultSpellerOptions);
  EXPECT_THAT(r.Words, ElementsAreArray(c.Reported));
  EXPECT_THAT(FSink.Texts, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(RuRu, SpellerRealDictionaryTest, ::testing::ValuesIn(RealCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(SpellerRealDictionary, SuggestsCorrections) {
  TRecordingSink sink;
  auto speller =
      TSpellerSpanish::Create(nullptr, {Ryvel::Platform::PathToUtf16(fs::path(RYVEL_PLUGIN_DIR)),
                                        u"ru_RU", AdapterLibPath()});
  std::vector<std::u16string> suggestions;
  EXPECT_GT(speller->GetSuggestions(u"сахранить", suggestions), 0);
  EXPECT_THAT(suggestions, ::testing::Contains(std::u16string(u"сохранить")));
}

// The shipped special-words file: the format the loader reads, every entry typed, each text
// once, and the words the product promises present (in capitals too).
TEST(ShippedSpecialWords, FileIsWellFormed) {
  const auto bytes = Ryvel::Platform::ReadWholeFile(fs::path(RYVEL_SOURCE_DIR) / "data/ru_RU.rysw");
  ASSERT_TRUE(bytes.has_value());
  ASSERT_EQ(bytes->rfind("\xEF\xBB\xBF", 0), 0u) << "UTF-8 byte-order mark";
  const std::u16string text = Ryvel::Platform::Utf8ToUtf16(bytes->substr(3));
  EXPECT_EQ(text.find(u'\uFFFD'), std::u16string::npos) << "valid UTF-8";

  std::set<std::u16string> texts;
  size_t lineStart = 0;
  int entries = 0;
  while (lineStart < text.size()) {
    size_t end = text.find(u'\n', lineStart);
    if (end == std::u16string::npos)
      end = text.size();
    const std::u16string line = text.substr(lineStart, end - lineStart);
    lineStart = end + 1;
    if (line.empty() || line[0] == u'#')
      continue;
    // An entry is typed ("word TAB type ...") or, for keyboard keys, the word alone.
    const size_t tab = line.find(u'\t');
    const std::u16string word = line.substr(0, tab);
    if (tab != std::u16string::npos) {
      const size_t typeEnd = line.find(u'\t', tab + 1);
      const std::u16string type = line.substr(tab + 1, typeEnd - tab - 1);
      EXPECT_NE(Veskora::Lang::TVeLSpecialWordList::TypeFromName(type), 0)
          << Ryvel::Platform::Utf16ToUtf8(line);
    }
    EXPECT_FALSE(word.empty());
    EXPECT_EQ(word.front() > u' ' && word.back() > u' ', true) << "untrimmed entry";
    EXPECT_TRUE(texts.insert(word).second) << "duplicate " << Ryvel::Platform::Utf16ToUtf8(word);
    ++entries;
  }
  EXPECT_GT(entries, 1000);

  Veskora::Lang::TVeLSpecialWordList list(fs::path(RYVEL_PLUGIN_DIR) / "ru_RU.rysw");
  for (std::u16string_view w : {u"Россия", u"РОССИЯ", u"Russia", u"Москва", u"Moscow", u"GitHub",
                                u"Wi-Fi", u"macOS", u"JSON", u"USB", u"Microsoft", u"Windows",
                                u"HTTP", u"Нью-Йорк", u"New York", u"OK", u"МБ"}) {
    const auto* entry = list.FindExact(w);
    ASSERT_NE(entry, nullptr) << Ryvel::Platform::Utf16ToUtf8(w);
    EXPECT_GE(entry->FType, Veskora::Lang::OtherKind::Country);
  }
  const auto* shortcut = list.FindExact(u"Ctrl+S");
  ASSERT_NE(shortcut, nullptr);
  EXPECT_EQ(shortcut->FType, Veskora::Lang::OtherKind::Untyped);
}

} // namespace
