// The dictionary wrapper over the real adapter and the ru_RU dictionary copied next to the
// plug-in, as the language speller uses them.
#include "lang/hunspell/UHunSpell.h"

#include "platform/UFiles.h"
#include "platform/UMessages.h"
#include "platform/UText.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;
using Ryvel::Platform::PathToUtf16;
using Ryvel::Platform::Utf16ToUtf8;
using Ryvel::Platform::Utf8ToUtf16;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::u16string CPluginDir = Utf8ToUtf16(RYVEL_PLUGIN_DIR);
const std::u16string CAdapter = CPluginDir + u"/libhunspell-adapter.so";

class TRecordingSink final : public Ryvel::Platform::IMessageSink {
public:
  TRecordingSink() : FPrevious(Ryvel::Platform::SetMessageSink(this)) {}
  ~TRecordingSink() override { Ryvel::Platform::SetMessageSink(FPrevious); }
  void ShowMessage(const std::u16string&, const std::u16string& text) override {
    Texts.push_back(text);
  }
  std::vector<std::u16string> Texts;

private:
  Ryvel::Platform::IMessageSink* FPrevious;
};

class TRuDictionary : public ::testing::Test {
protected:
  void TearDown() override { UnloadHunSpellLib(); }
  TRecordingSink Sink;
  THunSpell Dict{u"ru_RU", CPluginDir, CAdapter};
};

struct TWordCase {
  const char* Word;
  bool Known;
};

class TRuWords : public TRuDictionary, public ::testing::WithParamInterface<TWordCase> {};

TEST_P(TRuWords, AnswersAsTheDictionaryDoes) {
  EXPECT_EQ(Dict.Check(Utf8ToUtf16(GetParam().Word)), GetParam().Known) << GetParam().Word;
  EXPECT_EQ(Dict.CheckUtf8(GetParam().Word), GetParam().Known) << GetParam().Word;
  EXPECT_THAT(Sink.Texts, IsEmpty());
}

// ru_RU lists the city only as "Москва": Hunspell accepts the capitalised and the all
// upper-case spelling and rejects the lower-case one (the speller looks the written form up
// first, so "Москва" in a text is accepted).
INSTANTIATE_TEST_SUITE_P(Table, TRuWords,
                         ::testing::Values(TWordCase{"Москва", true}, TWordCase{"МОСКВА", true},
                                           TWordCase{"москва", false}, TWordCase{"Москве", true},
                                           TWordCase{"привет", true}, TWordCase{"компьютер", true},
                                           TWordCase{"сегодня", true}, TWordCase{"ёлка", true},
                                           TWordCase{"Пушкин", true}, TWordCase{"пушкин", false},
                                           TWordCase{"масква", false}, TWordCase{"сигодня", false},
                                           TWordCase{"приветт", false},
                                           TWordCase{"компютер", false}));

TEST_F(TRuDictionary, ReportsUtf8) {
  ASSERT_TRUE(Dict.Load());
  EXPECT_EQ(Dict.Encoding(), "UTF-8");
  EXPECT_EQ(Dict.CodePage(), 65001u);
}

struct TSuggestCase {
  const char* Word;
  const char* Expected;
};

class TRuSuggestions : public TRuDictionary, public ::testing::WithParamInterface<TSuggestCase> {};

TEST_P(TRuSuggestions, IncludeTheIntendedWord) {
  THunSpell::TStringArray s;
  const int n = Dict.GetSuggestions(Utf8ToUtf16(GetParam().Word), s);
  EXPECT_GT(n, 0);
  EXPECT_EQ(n, static_cast<int>(s.size()));
  EXPECT_THAT(s, Contains(Utf8ToUtf16(GetParam().Expected)));
  // Handing the lists back leaves nothing behind; asking again gives the same list.
  THunSpell::TStringArray again;
  EXPECT_EQ(Dict.GetSuggestions(Utf8ToUtf16(GetParam().Word), again), n);
  EXPECT_EQ(again, s);
}

INSTANTIATE_TEST_SUITE_P(Table, TRuSuggestions,
                         ::testing::Values(TSuggestCase{"москва", "Москва"},
                                           TSuggestCase{"сигодня", "сегодня"},
                                           TSuggestCase{"приветт", "привет"}));

// A plug-in folder without ru_RU.dic: the one message names the full path, the run goes on
// with every word unknown.
TEST(TRuDictionaryMissing, MissingDicIsReportedOnceWithItsFullPath) {
  const fs::path dir = fs::temp_directory_path() / ("ryvel-ru-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  fs::copy_file(fs::path(RYVEL_PLUGIN_DIR) / "ru_RU.aff", dir / "ru_RU.aff",
                fs::copy_options::overwrite_existing);
  {
    TRecordingSink sink;
    THunSpell dict(u"ru_RU", PathToUtf16(dir), CAdapter);
    for (int i = 0; i < 100; ++i)
      EXPECT_FALSE(dict.Check(u"Москва"));
    THunSpell::TStringArray s;
    EXPECT_EQ(dict.GetSuggestions(u"масква", s), 0);
    EXPECT_THAT(sink.Texts,
                ElementsAre(u"File does not exist: " + PathToUtf16(dir) + u"/ru_RU.dic"));
    UnloadHunSpellLib();
  }
  fs::remove_all(dir);
}

} // namespace
