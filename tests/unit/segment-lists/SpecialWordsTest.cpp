#include "TokenText.h"

#include "lang/segment/USegment.h"
#include "platform/UFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

using namespace Veskora::Lang;
using SegmentListsTest::Show;

namespace {

std::string Utf8Bom(std::string_view s) { return "\xEF\xBB\xBF" + std::string(s); }

std::string Utf16Bytes(std::u16string_view s, bool aBigEndian) {
  std::string out = aBigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : s) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    out += aBigEndian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return out;
}

// All entries as "text/type/gender/number" lines in list order.
std::string Dump(const TVeLSpecialWordList& aList) {
  std::string out;
  for (int i = 0; i < aList.Count(); ++i) {
    const auto& w = aList.Items(i);
    out += Show(w.FText) + "/" + std::to_string(w.FType) + "/" +
           (w.FGender ? std::string(1, static_cast<char>(w.FGender)) : "-") + "/" +
           (w.FNumber ? std::string(1, static_cast<char>(w.FNumber)) : "-") + "\n";
  }
  return out;
}

struct LineCase {
  const char* Line; // one line of a special-words file (UTF-8)
  const char* Entries;
};

constexpr LineCase kLineCases[] = {
    {"New York\tcity\tF\tS", "NEW YORK/103/F/S\nNew York/103/F/S\n"},
    {"New York\tCity", "NEW YORK/103/-/-\nNew York/103/-/-\n"},
    {"USA\tCOUNTRY", "USA/101/-/-\n"},
    {"Springfield\tTown", "SPRINGFIELD/0/-/-\nSpringfield/0/-/-\n"},
    {"ООН\tOrganisation\tF\tS", "ООН/106/F/S\n"},
    {"Foo \tName", "FOO /105/-/-\nFoo /105/-/-\n"},
    {"  \tBAR\t  ", "BAR/0/-/-\n"},
    {"# comment\tCity", ""},
    {"   # indented comment", ""},
    {"", ""},
    {"AB\tAcronym\tFX\tP", "AB/104/-/P\n"},
    {"AB\tRegion\tf\ts", "AB/102/-/-\n"},
    {"AB\tProduct\tM\tN\textra\tmore", "AB/107/M/N\n"},
    {"AB\t\tN", "AB/0/N/-\n"},
    {"Ёж", "ЁЖ/0/-/-\nЁж/0/-/-\n"},
};

TEST(SpecialWordFileTest, LineFields) {
  for (const auto& c : kLineCases) {
    SCOPED_TRACE(c.Line);
    TVeLSpecialWordList list;
    list.LoadFromBytes(Utf8Bom(c.Line), false);
    EXPECT_EQ(Dump(list), c.Entries);
  }
}

TEST(SpecialWordFileTest, TypeNamesIgnoreAsciiCase) {
  struct Case {
    std::u16string_view Name;
    std::uint16_t Type;
  };
  constexpr Case cases[] = {{u"country", 101}, {u"REGION", 102},     {u"City", 103},
                            {u"acronym", 104}, {u"NaMe", 105},       {u"organisation", 106},
                            {u"Product", 107}, {u"Organization", 0}, {u"City ", 0},
                            {u"", 0}};
  for (const auto& c : cases)
    EXPECT_EQ(TVeLSpecialWordList::TypeFromName(c.Name), c.Type) << Show(c.Name);
}

// The same two entries in every encoding and with every line break.
TEST(SpecialWordFileTest, EncodingsAndLineBreaks) {
  const std::u16string text = u"Москва\tCity\r\n# note\rUSA\tCountry\n";
  const std::string expected = "MOSKVA/103/-/-\n";
  struct Case {
    const char* Name;
    std::string Bytes;
  };
  const Case cases[] = {
      {"UTF-8", Utf8Bom(Ryvel::Platform::Utf16ToUtf8(text))},
      {"UTF-16LE", Utf16Bytes(text, false)},
      {"UTF-16BE", Utf16Bytes(text, true)},
      {"UTF-16LE odd length", Utf16Bytes(text, false) + "x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TVeLSpecialWordList list;
    list.LoadFromBytes(c.Bytes, false);
    EXPECT_EQ(Dump(list), "USA/101/-/-\nМОСКВА/103/-/-\nМосква/103/-/-\n");
  }
}

// Files without a byte-order mark are in the system ANSI code page.
class AnsiCodePageTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (const char* v = std::getenv("LC_ALL"))
      FSaved = v;
    setenv("LC_ALL", "ru_RU.KOI8-R", 1);
  }
  void TearDown() override {
    if (FSaved)
      setenv("LC_ALL", FSaved->c_str(), 1);
    else
      unsetenv("LC_ALL");
  }
  std::optional<std::string> FSaved;
};

TEST_F(AnsiCodePageTest, FileWithoutMarkIsReadInTheAnsiCodePage) {
  std::string koi8;
  ASSERT_TRUE(Ryvel::Platform::ConvertToCodePage(u"Москва\tCity", "KOI8-R", koi8));
  TVeLSpecialWordList list;
  list.LoadFromBytes(koi8, false);
  EXPECT_EQ(Dump(list), "МОСКВА/103/-/-\nМосква/103/-/-\n");
}

// Loading from files: replace versus add, missing and unreadable files.
class SpecialWordFilesTest : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/ryvel-special-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    FDir = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }
  std::filesystem::path Write(const char* aName, const std::string& aBytes) {
    const auto path = FDir / aName;
    EXPECT_TRUE(Ryvel::Platform::WriteFileAtomic(path, aBytes));
    return path;
  }
  std::filesystem::path FDir;
};

TEST_F(SpecialWordFilesTest, SpecialLoadReplacesAndAddendumLoadAdds) {
  const auto special = Write("ru_RU.rysw", Utf8Bom("Paris\tCity\n"));
  const auto addendum =
      Write("Brands.txt", Utf8Bom("# Addendum file for Veskora Ryvel Spell Checker\r\n#\r\n"
                                  "Фоо\r\nbar\tCity\r\n"));
  TVeLSpecialWordList list(special);
  EXPECT_EQ(Dump(list), "PARIS/103/-/-\nParis/103/-/-\n");
  EXPECT_EQ(list.LoadFromFile(addendum, true), TSpecialWordsLoad::Loaded);
  EXPECT_EQ(Dump(list), "PARIS/103/-/-\nParis/103/-/-\nbar/103/-/-\nФоо/0/-/-\n");
  EXPECT_EQ(list.LoadFromFile(special, false), TSpecialWordsLoad::Loaded);
  EXPECT_EQ(Dump(list), "PARIS/103/-/-\nParis/103/-/-\n");
}

TEST_F(SpecialWordFilesTest, MissingAndUnreadableFiles) {
  TVeLSpecialWordList list;
  list.Add({u"Keep", 0});
  EXPECT_EQ(list.LoadFromFile({}, false), TSpecialWordsLoad::NoFile);
  EXPECT_EQ(list.LoadFromFile(FDir / "missing.rysw", false), TSpecialWordsLoad::NoFile);
  EXPECT_EQ(list.LoadFromFile(FDir, false), TSpecialWordsLoad::NoFile); // a folder
  EXPECT_EQ(Dump(list), "Keep/0/-/-\n");

  const auto locked = Write("locked.rysw", Utf8Bom("Paris\n"));
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  if (getuid() != 0) { // root reads every file
    EXPECT_EQ(list.LoadFromFile(locked, true), TSpecialWordsLoad::Unreadable);
    EXPECT_EQ(Dump(list), "Keep/0/-/-\n");
    EXPECT_EQ(list.LoadFromFile(locked, false), TSpecialWordsLoad::Unreadable);
    EXPECT_EQ(list.Count(), 0);
  }
}

// Prefix search: the entry the text begins with, walking back over shared first words.
class SpecialWordFindTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const auto text :
         {u"New", u"New York", u"New York City", u"Paris", u"www", u"A", u"B c", u"B d", u"(x)"})
      FList.Add({std::u16string(text), OtherKind::City});
  }
  TVeLSpecialWordList FList;
};

TEST_F(SpecialWordFindTest, FindReturnsTheLongestEntryTheTextStartsWith) {
  struct Case {
    std::u16string_view Text;
    const char* Found; // nullptr: no entry
  };
  constexpr Case cases[] = {
      {u"New York is big", "New York"},
      {u"New Yorker", "New York"},
      {u"New York City hall", "New York City"},
      {u"New York Cit", "New York"},
      {u"New", "New"},
      {u"Newark", "New"},
      {u"Ne", nullptr},
      {u"B e", nullptr},
      {u"B d!", "B d"},
      {u"(x) y", "(x)"},
      {u"", nullptr},
      {u"zzz", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.Text));
    int pos = -1;
    const bool found = FList.Find(c.Text, pos);
    EXPECT_EQ(found, c.Found != nullptr);
    if (found && c.Found) {
      EXPECT_EQ(Show(FList.Items(pos).FText), c.Found);
    }
  }
}

TEST_F(SpecialWordFindTest, MatchNeedsAWordEndAfterTheEntry) {
  struct Case {
    std::u16string_view Text;
    int Start;
    int End; // -1: no match
  };
  constexpr Case cases[] = {
      {u"Paris", 0, 5},       {u"Paris, France", 0, 5}, {u"in Paris now", 3, 8},
      {u"Paris@x.fr", 0, -1}, {u"Parisian", 0, -1},     {u"Paris2", 0, -1},
      {u"Paris://x", 0, -1},  {u"Paris:x", 0, 5},       {u"www.paris.fr", 0, -1},
      {u"www", 0, 3},         {u"New Yorker", 0, -1},   {u"Paris", 5, -1},
      {u"Paris", -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.Text) + " at " + std::to_string(c.Start));
    int end = -1;
    std::uint16_t type = 0;
    const bool matched = FList.MatchSpecialWordAt(c.Text, c.Start, end, type);
    EXPECT_EQ(matched ? end : -1, c.End);
    if (matched) {
      EXPECT_EQ(type, OtherKind::City);
    }
  }
}

TEST_F(SpecialWordFindTest, ExactLookup) {
  EXPECT_NE(FList.FindExact(u"New York"), nullptr);
  EXPECT_EQ(FList.FindExact(u"New Yor"), nullptr);
  EXPECT_EQ(FList.FindExact(u"new york"), nullptr);
  EXPECT_EQ(FList.FindExact(u""), nullptr);
}

// Entries sharing a text keep their load order, so the exact lookup is repeatable.
TEST(SpecialWordFileTest, DuplicateTextsKeepLoadOrder) {
  TVeLSpecialWordList list;
  list.LoadFromBytes(Utf8Bom("FOO\tName\nFOO\tCity\n"), false);
  ASSERT_NE(list.FindExact(u"FOO"), nullptr);
  EXPECT_EQ(list.FindExact(u"FOO")->FType, OtherKind::Name);
}

} // namespace
