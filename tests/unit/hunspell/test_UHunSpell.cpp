// The dictionary wrapper over the stand-in library (call records, failures, encodings) and
// over the real adapter with the small UTF-8 and KOI8-R dictionaries of tests/data/hunspell.
#include "lang/hunspell/UHunSpell.h"

#include "HunSpellTestSupport.h"
#include "platform/UFiles.h"
#include "platform/UFolders.h"
#include "platform/UText.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;
using Ryvel::Platform::PathToUtf16;
using Ryvel::Platform::Utf16ToUtf8;
using Ryvel::Platform::Utf8ToUtf16;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::string CDataDir = RYVEL_TEST_DATA_DIR "/hunspell";
const std::u16string CAdapter = Utf8ToUtf16(RYVEL_PLUGIN_DIR "/libhunspell-adapter.so");
const std::u16string CFake = Utf8ToUtf16(RYVEL_FAKE_HUNSPELL);
const std::u16string CFakeNoAdd = Utf8ToUtf16(RYVEL_FAKE_HUNSPELL_NO_ADD);

// Sets an environment variable for one test and puts the old value back.
class TScopedEnv {
public:
  TScopedEnv(const char* name, const char* value) : FName(name) {
    if (const char* old = std::getenv(name))
      FOld = old;
    ::setenv(name, value, 1);
  }
  ~TScopedEnv() {
    if (FOld)
      ::setenv(FName, FOld->c_str(), 1);
    else
      ::unsetenv(FName);
  }

private:
  const char* FName;
  std::optional<std::string> FOld;
};

// A fresh folder for dictionary files that a test puts in place or leaves out.
class TTempDir {
public:
  TTempDir() {
    std::string tmpl = (fs::temp_directory_path() / "ryvel-hunspell-XXXXXX").string();
    FPath = ::mkdtemp(tmpl.data()) != nullptr ? fs::path(tmpl) : fs::path();
  }
  ~TTempDir() {
    std::error_code ec;
    fs::remove_all(FPath, ec);
  }
  const fs::path& Path() const { return FPath; }
  std::u16string Utf16() const { return PathToUtf16(FPath) + u"/"; }
  void Copy(const std::string& from, const std::string& to) const {
    fs::copy_file(fs::path(CDataDir) / from, FPath / to);
  }

private:
  fs::path FPath;
};

class THunSpellTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Fake.Ok()) << "stand-in library not found: " RYVEL_FAKE_HUNSPELL;
    Fake.Reset();
  }
  void TearDown() override { UnloadHunSpellLib(); }

  // A dictionary over the stand-in library; its words are those of test_utf8.dic.
  std::unique_ptr<THunSpell> FakeDict() {
    return std::make_unique<THunSpell>(u"test_utf8", Utf8ToUtf16(CDataDir), CFake);
  }

  TRecordingSink Sink;
  TFakeLib Fake{RYVEL_FAKE_HUNSPELL};
};

// ---------------------------------------------------------------------------------------
// Real adapter, small dictionaries, data-driven: .good and .wrong lists beside each one.

struct TDictCase {
  const char* Lang;
  const char* Encoding;
  uint32_t CodePage;
  const char* Suggestable; // a misspelling whose suggestions include Expected
  const char* Expected;
};

class THunSpellDictionary : public THunSpellTest, public ::testing::WithParamInterface<TDictCase> {
protected:
  THunSpell Dict{Utf8ToUtf16(GetParam().Lang), Utf8ToUtf16(CDataDir), CAdapter};
};

TEST_P(THunSpellDictionary, AnswersItsGoodAndWrongLists) {
  const std::string base = CDataDir + "/" + GetParam().Lang;
  const auto good = ReadWordList(base + ".good");
  const auto wrong = ReadWordList(base + ".wrong");
  ASSERT_FALSE(good.empty());
  ASSERT_FALSE(wrong.empty());
  for (const auto& w : good)
    EXPECT_TRUE(Dict.Check(Utf8ToUtf16(w))) << "should be known: " << w;
  for (const auto& w : wrong)
    EXPECT_FALSE(Dict.Check(Utf8ToUtf16(w))) << "should be unknown: " << w;
  EXPECT_EQ(Dict.Status(), THunSpell::stLoaded);
  EXPECT_EQ(Dict.Encoding(), GetParam().Encoding);
  EXPECT_EQ(Dict.CodePage(), GetParam().CodePage);
  EXPECT_THAT(Sink.Messages, IsEmpty());
}

TEST_P(THunSpellDictionary, Utf8OverloadAgreesExceptForRightQuote) {
  const std::string base = CDataDir + "/" + GetParam().Lang;
  for (const char* list : {".good", ".wrong"}) {
    for (const auto& w : ReadWordList(base + list)) {
      const bool hasRightQuote = w.find("\xE2\x80\x99") != std::string::npos;
      if (!hasRightQuote)
        EXPECT_EQ(Dict.CheckUtf8(w), Dict.Check(Utf8ToUtf16(w))) << w;
      else
        EXPECT_FALSE(Dict.CheckUtf8(w)) << "U+2019 passes the UTF-8 form unchanged: " << w;
    }
  }
}

TEST_P(THunSpellDictionary, SuggestionsComeBackAsUtf16) {
  THunSpell::TStringArray s{u"left over"};
  const int n = Dict.GetSuggestions(Utf8ToUtf16(GetParam().Suggestable), s);
  EXPECT_EQ(n, static_cast<int>(s.size()));
  EXPECT_THAT(s, ::testing::Contains(Utf8ToUtf16(GetParam().Expected)));
}

INSTANTIATE_TEST_SUITE_P(SmallDictionaries, THunSpellDictionary,
                         ::testing::Values(TDictCase{"test_utf8", "UTF-8", 65001, "котт", "кот"},
                                           TDictCase{"test_koi8", "KOI8-R", 20866, "щюка", "щука"}),
                         [](const auto& info) { return std::string(info.param.Lang); });

// ---------------------------------------------------------------------------------------
// Failures: each message once, in order, then silence.

enum class TFailure {
  MissingLibrary,
  LibraryWithoutAdd,
  MissingDic,
  MissingAff,
  BothMissing,
  InitializeFails,
  EmptyLang
};

struct TFailureCase {
  const char* Name;
  TFailure Kind;
};

class THunSpellFailure : public THunSpellTest,
                         public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(THunSpellFailure, ShowsItsMessagesOnceAndThenAnswersNo) {
  TTempDir dir;
  ASSERT_FALSE(dir.Path().empty());
  const TFailure kind = GetParam().Kind;
  std::u16string lib = CAdapter;
  std::u16string lang = u"xx";
  if (kind != TFailure::MissingDic && kind != TFailure::BothMissing)
    dir.Copy("test_utf8.dic", "xx.dic");
  if (kind != TFailure::MissingAff && kind != TFailure::BothMissing)
    dir.Copy("test_utf8.aff", "xx.aff");
  if (kind == TFailure::MissingLibrary)
    lib = PathToUtf16(dir.Path() / "no-such-library.so");
  if (kind == TFailure::LibraryWithoutAdd)
    lib = CFakeNoAdd;
  if (kind == TFailure::InitializeFails) {
    lib = CFake;
    Fake.FailInitialize(true);
  }
  if (kind == TFailure::EmptyLang)
    lang.clear();

  THunSpell dict(lang, dir.Utf16(), lib);
  EXPECT_EQ(dict.Status(), THunSpell::stUnloaded);
  EXPECT_THAT(Sink.Messages, IsEmpty()) << "creating touches neither library nor files";

  EXPECT_FALSE(dict.Check(u"кот"));
  const std::vector<std::u16string> shown = Sink.Texts();
  const std::u16string folder = dir.Utf16();
  switch (kind) {
  case TFailure::MissingLibrary:
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].rfind(u"LoadLibrary: ", 0), 0u) << Utf16ToUtf8(shown[0]);
    EXPECT_NE(shown[0].find(u"no-such-library.so"), std::u16string::npos) << "the loader's text";
    EXPECT_EQ(shown[1], u"Cannot load library: " + lib);
    break;
  case TFailure::LibraryWithoutAdd:
    EXPECT_THAT(shown, ElementsAre(u"Cannot load library: " + lib));
    break;
  case TFailure::MissingDic:
  case TFailure::BothMissing:
    EXPECT_THAT(shown, ElementsAre(u"File does not exist: " + folder + u"xx.dic"));
    break;
  case TFailure::MissingAff:
    EXPECT_THAT(shown, ElementsAre(u"File does not exist: " + folder + u"xx.aff"));
    break;
  case TFailure::InitializeFails:
    EXPECT_THAT(shown, ElementsAre(u"Cannot Initialize libhunspell.dll"));
    break;
  case TFailure::EmptyLang:
    EXPECT_THAT(shown, IsEmpty());
    break;
  }
  for (const auto& m : Sink.Messages)
    EXPECT_EQ(m.Caption, u"Veskora Ryvel SpellChecker");
  EXPECT_EQ(dict.Status(), THunSpell::stError);

  THunSpell::TStringArray s{u"left over"};
  EXPECT_FALSE(dict.Check(u"кот"));
  EXPECT_FALSE(dict.CheckUtf8("кот"));
  EXPECT_FALSE(dict.CheckAnsi("kot"));
  EXPECT_EQ(dict.GetSuggestions(u"котт", s), 0);
  EXPECT_THAT(s, IsEmpty());
  EXPECT_FALSE(dict.Load());
  EXPECT_EQ(Sink.Texts(), shown) << "no message after the first failing use";
  // Neither a new folder nor a new name retries; only a new library path does.
  dict.SetDictPath(Utf8ToUtf16(CDataDir));
  dict.SetLang(u"test_utf8");
  EXPECT_FALSE(dict.Check(u"кот"));
  EXPECT_EQ(dict.Status(), THunSpell::stError);
  EXPECT_EQ(Sink.Texts(), shown);
}

INSTANTIATE_TEST_SUITE_P(
    Table, THunSpellFailure,
    ::testing::Values(TFailureCase{"MissingLibrary", TFailure::MissingLibrary},
                      TFailureCase{"LibraryWithoutAdd", TFailure::LibraryWithoutAdd},
                      TFailureCase{"MissingDic", TFailure::MissingDic},
                      TFailureCase{"MissingAff", TFailure::MissingAff},
                      TFailureCase{"BothMissing", TFailure::BothMissing},
                      TFailureCase{"InitializeFails", TFailure::InitializeFails},
                      TFailureCase{"EmptyLang", TFailure::EmptyLang}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(THunSpellTest, NewLibraryPathLeavesTheErrorState) {
  THunSpell dict(u"test_utf8", Utf8ToUtf16(CDataDir), u"/nonexistent/libnothing.so");
  EXPECT_FALSE(dict.Check(u"кот"));
  ASSERT_EQ(dict.Status(), THunSpell::stError);
  dict.SetLibPath(CAdapter);
  EXPECT_EQ(dict.Status(), THunSpell::stUnloaded);
  EXPECT_TRUE(dict.Check(u"кот"));
  EXPECT_EQ(Sink.Messages.size(), 2u) << "only the first failure's two messages";
}

TEST_F(THunSpellTest, AdapterRefusesFilesThatAreNotReadableFiles) {
  // A folder named like the affix file passes no existence test of the wrapper, so ask the
  // adapter directly: Hunspell itself would open it and reject every word in silence.
  ASSERT_TRUE(LoadHunSpellLib(CAdapter));
  const auto& e = HunSpellEntryPoints();
  EXPECT_EQ(e.Initialize((CDataDir).c_str(), (CDataDir + "/test_utf8.dic").c_str()), nullptr);
  EXPECT_EQ(
      e.Initialize((CDataDir + "/missing.aff").c_str(), (CDataDir + "/test_utf8.dic").c_str()),
      nullptr);
  EXPECT_EQ(e.Initialize(nullptr, nullptr), nullptr);
  EXPECT_EQ(e.Spell(nullptr, "кот"), 0);
  char** list = reinterpret_cast<char**>(&list);
  EXPECT_EQ(e.Suggest(nullptr, "кот", &list), 0);
  EXPECT_EQ(list, nullptr);
  e.SuggestFree(nullptr, nullptr, 0);
  EXPECT_EQ(e.GetDicEncoding(nullptr), nullptr);
}

// ---------------------------------------------------------------------------------------
// Paths.

TEST(THunSpellPaths, DotMeansTheAdapterNextToTheModule) {
  const THunSpell dict(u"ru_RU", u"", u".");
  EXPECT_EQ(dict.LibPath(), PathToUtf16(Ryvel::Platform::ModuleDir()) + u"/libhunspell-adapter.so");
  EXPECT_EQ(dict.ActualDictPath(), PathToUtf16(Ryvel::Platform::ModuleDir()) + u"/");
  EXPECT_EQ(dict.ActualDicFileName(), dict.ActualDictPath() + u"ru_RU.dic");
  EXPECT_EQ(dict.ActualAffFileName(), dict.ActualDictPath() + u"ru_RU.aff");
  EXPECT_EQ(dict.Status(), THunSpell::stUnloaded);
}

struct TPathCase {
  const char16_t* Lang;
  const char16_t* DictPath;
  std::u16string ExpectedDic; // "@" stands for the current folder
};

class THunSpellPathTable : public ::testing::TestWithParam<TPathCase> {};

TEST_P(THunSpellPathTable, ActualFileNames) {
  const THunSpell dict(GetParam().Lang, GetParam().DictPath, u"");
  std::u16string expected = GetParam().ExpectedDic;
  if (const auto at = expected.find(u'@'); at != std::u16string::npos)
    expected.replace(at, 1, PathToUtf16(fs::current_path()));
  EXPECT_EQ(dict.ActualDicFileName(), expected);
  EXPECT_EQ(dict.ActualDictPath().back(), u'/');
}

INSTANTIATE_TEST_SUITE_P(Table, THunSpellPathTable,
                         ::testing::Values(TPathCase{u"ru", u"/data/dicts", u"/data/dicts/ru.dic"},
                                           TPathCase{u"ru", u"/data/dicts/", u"/data/dicts/ru.dic"},
                                           TPathCase{u"ru", u"/data/x/../dicts",
                                                     u"/data/dicts/ru.dic"},
                                           TPathCase{u"ru", u"rel/sub", u"@/rel/sub/ru.dic"},
                                           TPathCase{u"", u"/data/dicts", u""}));

// ---------------------------------------------------------------------------------------
// Encodings and conversion, observed through the bytes the stand-in library receives.

struct TEncodingCase {
  const char* Reported; // nullptr: the library gives no name
  uint32_t CodePage;
};

class THunSpellEncoding : public THunSpellTest,
                          public ::testing::WithParamInterface<TEncodingCase> {};

TEST_P(THunSpellEncoding, NameSelectsCodePage) {
  Fake.SetEncoding(GetParam().Reported);
  auto dict = FakeDict();
  ASSERT_TRUE(dict->Load());
  EXPECT_EQ(dict->Encoding(), GetParam().Reported != nullptr ? GetParam().Reported : "");
  EXPECT_EQ(dict->CodePage(), GetParam().CodePage);
  EXPECT_EQ(HunSpellEncodingCodePage(dict->Encoding()), GetParam().CodePage);
}

INSTANTIATE_TEST_SUITE_P(
    Table, THunSpellEncoding,
    ::testing::Values(TEncodingCase{"koi8-r", 20866}, TEncodingCase{"KOI8-U", 21866},
                      TEncodingCase{"UTF8", 65001}, TEncodingCase{"utf-8", 65001},
                      TEncodingCase{"UTF-7", 65000}, TEncodingCase{"ISO8859-5", 28595},
                      TEncodingCase{"iso-8859-15", 28605}, TEncodingCase{"ISO-8859-13", 28603},
                      TEncodingCase{"ISO-8859-10", 0}, TEncodingCase{"microsoft-cp1251", 0},
                      TEncodingCase{"UTF-8 ", 0}, TEncodingCase{"", 0}, TEncodingCase{nullptr, 0}));

TEST_F(THunSpellTest, ReopenedDictionaryDoesNotInheritTheOldCodePage) {
  Fake.SetEncoding("KOI8-R");
  auto dict = FakeDict();
  ASSERT_TRUE(dict->Load());
  ASSERT_EQ(dict->CodePage(), 20866u);
  dict->Unload(false);
  Fake.SetEncoding("ISO-8859-10");
  ASSERT_TRUE(dict->Load());
  EXPECT_EQ(dict->CodePage(), 0u) << "an unknown name means the system code set";
  TScopedEnv ansi("LC_ALL", "en_US.UTF-8");
  dict->Check(u"ёж");
  EXPECT_EQ(Fake.LastWord(), "ёж");
}

enum class TForm { Utf16, Utf8, Ansi, SuggestUtf16 };

struct TConversionCase {
  const char* Name;
  const char* Encoding;
  const char* AnsiLocale;
  TForm Form;
  std::string Input; // UTF-8 for the UTF-16 and UTF-8 forms, raw bytes for the ANSI form
  std::string Sent;  // the bytes the library receives
};

class THunSpellConversion : public THunSpellTest,
                            public ::testing::WithParamInterface<TConversionCase> {};

TEST_P(THunSpellConversion, SendsTheDictionaryEncoding) {
  const TConversionCase& c = GetParam();
  TScopedEnv ansi("LC_ALL", c.AnsiLocale);
  Fake.SetEncoding(c.Encoding);
  auto dict = FakeDict();
  THunSpell::TStringArray s;
  switch (c.Form) {
  case TForm::Utf16:
    dict->Check(Utf8ToUtf16(c.Input));
    break;
  case TForm::Utf8:
    dict->CheckUtf8(c.Input);
    break;
  case TForm::Ansi:
    dict->CheckAnsi(c.Input);
    break;
  case TForm::SuggestUtf16:
    dict->GetSuggestions(Utf8ToUtf16(c.Input), s);
    break;
  }
  EXPECT_EQ(Fake.LastWord(), c.Sent);
  EXPECT_THAT(Sink.Messages, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, THunSpellConversion,
    ::testing::Values(
        TConversionCase{"Koi8FromUtf16", "KOI8-R", "C.UTF-8", TForm::Utf16, "ёж", "\xA3\xD6"},
        TConversionCase{"Koi8Unmappable", "KOI8-R", "C.UTF-8", TForm::Utf8, "naïve",
                        "na\x1A"
                        "ve"},
        TConversionCase{"Iso5FromUtf16", "ISO8859-5", "C.UTF-8", TForm::Utf16, "ёж", "\xF1\xD6"},
        TConversionCase{"RightQuoteBecomesApostrophe", "UTF-8", "C.UTF-8", TForm::Utf16,
                        "it\xE2\x80\x99s", "it's"},
        TConversionCase{"Utf8KeepsRightQuote", "UTF-8", "C.UTF-8", TForm::Utf8, "it\xE2\x80\x99s",
                        "it\xE2\x80\x99s"},
        TConversionCase{"SuggestKeepsRightQuote", "UTF-8", "C.UTF-8", TForm::SuggestUtf16,
                        "it\xE2\x80\x99s", "it\xE2\x80\x99s"},
        TConversionCase{"MalformedUtf8Replaced", "UTF-8", "C.UTF-8", TForm::Utf8, "a\xFF",
                        "a\xEF\xBF\xBD"},
        TConversionCase{"AnsiKoi8ToUtf8", "UTF-8", "ru_RU.KOI8-R", TForm::Ansi, "\xA3\xD6", "ёж"},
        TConversionCase{"UnknownEncodingUsesAnsi", "x-unknown", "ru_RU.KOI8-R", TForm::Utf8, "ёж",
                        "\xA3\xD6"},
        TConversionCase{"AnsiToAnsiUnchanged", "x-unknown", "ru_RU.KOI8-R", TForm::Ansi, "\xA3\xD6",
                        "\xA3\xD6"}),
    [](const auto& info) { return std::string(info.param.Name); });

// Single-byte dictionaries encode most characters through a table; whatever path a
// character takes, the library must receive exactly what the converter would produce.
class THunSpellSingleByte : public THunSpellTest,
                            public ::testing::WithParamInterface<const char*> {};

TEST_P(THunSpellSingleByte, EveryCharacterEncodesAsTheConverterDoes) {
  Fake.SetEncoding(GetParam());
  auto dict = FakeDict();
  dict->SetLookupCacheLimit(0); // every word must reach the library
  ASSERT_TRUE(dict->Load());
  const std::string converter =
      Ryvel::Platform::CodePageConverterName(HunSpellEncodingCodePage(GetParam()));
  int mismatches = 0;
  for (char32_t cp = 1; cp < 0x3000 && mismatches < 5; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF)
      continue;
    const std::u16string word = u"a" + std::u16string(1, static_cast<char16_t>(cp)) + u"b";
    std::string expected;
    ASSERT_TRUE(Ryvel::Platform::ConvertToCodePage(word, converter.c_str(), expected));
    dict->CheckUtf8(Utf16ToUtf8(word));
    if (Fake.LastWord() != expected.substr(0, expected.find('\0'))) {
      ++mismatches;
      ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(cp);
    }
  }
  // A character outside the Basic Multilingual Plane goes through the converter.
  const std::u16string emoji = u"a\U0001F600b";
  std::string expected;
  ASSERT_TRUE(Ryvel::Platform::ConvertToCodePage(emoji, converter.c_str(), expected));
  dict->Check(emoji);
  EXPECT_EQ(Fake.LastWord(), expected);
}

INSTANTIATE_TEST_SUITE_P(Encodings, THunSpellSingleByte,
                         ::testing::Values("KOI8-R", "KOI8-U", "ISO-8859-5", "ISO-8859-1",
                                           "ISO-8859-7"));

TEST_F(THunSpellTest, WordWithZeroByteIsNeverCorrect) {
  auto dict = FakeDict();
  ASSERT_TRUE(dict->Check(u"кот"));
  const int calls = Fake.SpellCalls();
  EXPECT_FALSE(dict->CheckUtf8(std::string("кот\0рыба", 13)));
  EXPECT_FALSE(dict->Check(std::u16string(u"кот\0", 4)));
  EXPECT_EQ(Fake.SpellCalls(), calls) << "a cut-short word never reaches the library";
}

// ---------------------------------------------------------------------------------------
// Suggestions: copied out and always handed back with the count the library gave.

TEST_F(THunSpellTest, SuggestionsAreDecodedAndHandedBack) {
  Fake.SetEncoding("KOI8-R");
  Fake.SetSuggestions({"\xCB\xCF\xD4", "\xCB\xCF\xC4"}); // кот, код in KOI8-R
  auto dict = FakeDict();
  THunSpell::TStringArray s{u"left over"};
  EXPECT_EQ(dict->GetSuggestions(u"коь", s), 2);
  EXPECT_THAT(s, ElementsAre(u"кот", u"код"));
  EXPECT_EQ(Fake.Count("fake_suggest_free_calls"), 1);
  EXPECT_EQ(Fake.Count("fake_suggest_free_matched"), 1);
}

TEST_F(THunSpellTest, EmptySuggestionListIsStillHandedBack) {
  Fake.SetSuggestions({});
  auto dict = FakeDict();
  THunSpell::TStringArray s{u"left over"};
  EXPECT_EQ(dict->GetSuggestions(u"кот", s), 0);
  EXPECT_THAT(s, IsEmpty());
  EXPECT_EQ(Fake.Count("fake_suggest_free_calls"), 1);
  EXPECT_EQ(Fake.Count("fake_suggest_free_matched"), 1);
}

// ---------------------------------------------------------------------------------------
// The lookup cache: one library call per distinct converted word while the dictionary is
// open, the same answers with or without it.

TEST_F(THunSpellTest, RepeatedWordsReachTheLibraryOnce) {
  auto dict = FakeDict();
  EXPECT_TRUE(dict->Check(u"кот"));
  EXPECT_TRUE(dict->Check(u"кот"));
  EXPECT_TRUE(dict->CheckUtf8("кот"));
  EXPECT_FALSE(dict->Check(u"котт"));
  EXPECT_FALSE(dict->Check(u"котт"));
  EXPECT_TRUE(dict->Check(u"o\u2019clock"));
  EXPECT_TRUE(dict->Check(u"o'clock"));
  EXPECT_EQ(Fake.SpellCalls(), 3);
  EXPECT_EQ(dict->LookupCacheEntries(), 3u);

  dict->Unload(false);
  EXPECT_EQ(dict->LookupCacheEntries(), 0u) << "remembered only while the dictionary is open";
  EXPECT_TRUE(dict->Check(u"кот"));
  EXPECT_EQ(Fake.SpellCalls(), 4);
}

TEST_F(THunSpellTest, BoundedCacheKeepsAnswersAndStaysWithinItsLimit) {
  const std::vector<std::u16string> words{u"кот",  u"котт", u"дом", u"домм",   u"рыба",
                                          u"рыбы", u"ёж",   u"ёжж", u"москва", u"масква"};
  auto reference = FakeDict();
  reference->SetLookupCacheLimit(0);
  std::vector<bool> expected;
  for (const auto& w : words)
    expected.push_back(reference->Check(w));
  EXPECT_EQ(reference->LookupCacheEntries(), 0u);
  const int uncachedCalls = Fake.SpellCalls();
  EXPECT_EQ(uncachedCalls, static_cast<int>(words.size()));
  reference.reset();

  auto dict = FakeDict();
  dict->SetLookupCacheLimit(200); // room for a few entries only
  for (int round = 0; round < 2; ++round)
    for (size_t i = 0; i < words.size(); ++i)
      EXPECT_EQ(dict->Check(words[i]), expected[i]) << Utf16ToUtf8(words[i]);
  EXPECT_LE(dict->LookupCacheBytes(), 200u);
  EXPECT_GT(dict->LookupCacheEntries(), 0u);
  EXPECT_LT(dict->LookupCacheEntries(), words.size());
  const int calls = Fake.SpellCalls() - uncachedCalls;
  EXPECT_EQ(calls, static_cast<int>(2 * words.size() - dict->LookupCacheEntries()));
}

// ---------------------------------------------------------------------------------------
// Lifetime of the handle and of the library.

TEST_F(THunSpellTest, DestroyClosesTheHandleAndKeepsTheLibrary) {
  auto dict = FakeDict();
  ASSERT_TRUE(dict->Load());
  EXPECT_EQ(Fake.Count("fake_open_handles"), 1);
  dict.reset();
  EXPECT_EQ(Fake.Count("fake_open_handles"), 0);
  EXPECT_TRUE(HunSpellLibLoaded());
}

TEST_F(THunSpellTest, UnloadStates) {
  auto dict = FakeDict();
  dict->Unload(false);
  EXPECT_EQ(dict->Status(), THunSpell::stUnloaded) << "nothing open: unchanged";
  ASSERT_TRUE(dict->Load());
  dict->Unload(false);
  EXPECT_EQ(dict->Status(), THunSpell::stLoaded);
  EXPECT_FALSE(dict->DictionaryOpen());
  EXPECT_EQ(Fake.Count("fake_open_handles"), 0);
  EXPECT_TRUE(dict->Check(u"кот")) << "reopens through the loaded library";
  dict->Unload(true);
  EXPECT_EQ(dict->Status(), THunSpell::stUnloaded);
  EXPECT_FALSE(HunSpellLibLoaded());
  EXPECT_TRUE(dict->Check(u"кот"));
  EXPECT_EQ(Fake.Count("fake_open_handles"), 1);
  EXPECT_EQ(Fake.Text("fake_last_dic"), CDataDir + "/test_utf8.dic");
  EXPECT_EQ(Fake.Text("fake_last_aff"), CDataDir + "/test_utf8.aff");
}

TEST_F(THunSpellTest, EachDictionaryKeepsCallingTheLibraryThatOpenedIt) {
  auto first = FakeDict();
  ASSERT_TRUE(first->Check(u"кот"));
  THunSpell second(u"test_koi8", Utf8ToUtf16(CDataDir), CAdapter);
  ASSERT_TRUE(second.Check(u"щука")); // the binding now holds the real adapter
  const int calls = Fake.SpellCalls();
  EXPECT_TRUE(first->Check(u"дом"));
  EXPECT_EQ(Fake.SpellCalls(), calls + 1) << "the first handle went to its own library";
  second.Unload(true);
  EXPECT_TRUE(first->Check(u"рыба"));
  EXPECT_TRUE(second.Check(u"щуку"));
}

TEST_F(THunSpellTest, OpenDictionarySurvivesUnloadingTheLibrary) {
  THunSpell dict(u"test_utf8", Utf8ToUtf16(CDataDir), CAdapter);
  ASSERT_TRUE(dict.Check(u"кот"));
  UnloadHunSpellLib(); // e.g. another dictionary's Unload(true)
  EXPECT_TRUE(dict.Check(u"дом"));
  THunSpell::TStringArray s;
  EXPECT_GT(dict.GetSuggestions(u"котт", s), 0);
}

// ---------------------------------------------------------------------------------------
// The binding on its own.

TEST_F(THunSpellTest, LibraryWithoutAddFailsSilentlyButStaysLoaded) {
  EXPECT_FALSE(LoadHunSpellLib(CFakeNoAdd));
  EXPECT_THAT(Sink.Messages, IsEmpty());
  EXPECT_TRUE(HunSpellLibLoaded());
  const THunSpellEntryPoints& e = HunSpellEntryPoints();
  EXPECT_NE(e.Initialize, nullptr);
  EXPECT_NE(e.GetDicEncoding, nullptr);
  EXPECT_EQ(e.Add, nullptr);
}

TEST_F(THunSpellTest, FailedLoadShowsTheLoaderTextAndKeepsThePreviousModule) {
  ASSERT_TRUE(LoadHunSpellLib(CAdapter));
  EXPECT_FALSE(LoadHunSpellLib(u"/nonexistent/libnothing.so"));
  ASSERT_EQ(Sink.Messages.size(), 1u);
  EXPECT_EQ(Sink.Messages[0].Caption, u"Veskora Ryvel SpellChecker");
  EXPECT_EQ(Sink.Messages[0].Text.rfind(u"LoadLibrary: /nonexistent/libnothing.so", 0), 0u)
      << Utf16ToUtf8(Sink.Messages[0].Text);
  EXPECT_TRUE(HunSpellLibLoaded());
  EXPECT_EQ(HunSpellLibPath(), CAdapter);
}

TEST_F(THunSpellTest, UnloadWithNothingLoadedDoesNothing) {
  UnloadHunSpellLib();
  UnloadHunSpellLib();
  EXPECT_FALSE(HunSpellLibLoaded());
  EXPECT_THAT(Sink.Messages, IsEmpty());
}

} // namespace
