// One addendum: reading by byte order mark, the exact bytes written, the name rule, Add and
// the failures that must keep the words.
#include "AddendumsTestSupport.h"

#include "platform/UFiles.h"
#include "platform/UText.h"
#include "speller/UAddendums.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Ryvel::Platform::Utf16ToUtf8;

namespace {

const std::string Bom = "\xEF\xBB\xBF";
const std::string Header = Bom + "# Addendum file for Veskora Ryvel Spell Checker\r\n#\r\n";

std::string Utf16Bytes(std::u16string_view aText, bool aBigEndian) {
  std::string bytes = aBigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : aText) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    bytes += aBigEndian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return bytes;
}

std::string Utf8Lines(const std::vector<std::u16string>& aLines) {
  std::string bytes = Bom;
  for (const auto& line : aLines)
    bytes += Utf16ToUtf8(line) + "\r\n";
  return bytes;
}

// Sets LANG for one test (and clears the two variables that would win over it).
class TScopedLang {
public:
  explicit TScopedLang(const char* aLang) {
    for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
      const char* v = std::getenv(var);
      FSaved.emplace_back(var, v ? std::optional<std::string>(v) : std::nullopt);
      ::unsetenv(var);
    }
    if (aLang)
      ::setenv("LANG", aLang, 1);
  }
  ~TScopedLang() {
    for (const auto& [var, value] : FSaved)
      value ? ::setenv(var, value->c_str(), 1) : ::unsetenv(var);
  }

private:
  std::vector<std::pair<const char*, std::optional<std::string>>> FSaved;
};

class AddendumFileTest : public TScratchFolderTest {
protected:
  void SetUp() override {
    TScratchFolderTest::SetUp();
    StoreAddendumsDir(AddendumDir());
    FList = std::make_unique<TVeAddendumFilesList>(TestBaseName);
  }
  fs::path BrandsPath() const { return AddendumPath("RyvelQASpellerH_ru_RU.Brands.txt"); }

  std::unique_ptr<TVeAddendumFilesList> FList;
};

// ---------------------------------------------------------------------------------------------
// Files as editors leave them: every encoding is read, and the next save writes UTF-8 with BOM.

struct TReadCase {
  const char* Label;
  std::string Bytes;
  const char* Lang; // LANG while reading (the ANSI code page for files without a mark)
  std::vector<std::u16string> Lines;
};

class AddendumReadTest : public AddendumFileTest,
                         public ::testing::WithParamInterface<TReadCase> {};

TEST_P(AddendumReadTest, ReadsLinesAndWritesThemBackAsUtf8WithBom) {
  const TReadCase& c = GetParam();
  WriteBytes(BrandsPath(), c.Bytes);
  {
    TScopedLang lang(c.Lang);
    TVeAddendumFile addendum(FList.get(), u"Brands");
    EXPECT_EQ(addendum.Entries(), c.Lines);
    EXPECT_FALSE(addendum.IsDirty());

    ASSERT_TRUE(addendum.Add(u"Новое"));
    addendum.SaveToDisk();
    EXPECT_FALSE(addendum.IsDirty());
  }
  auto expected = c.Lines;
  expected.push_back(u"Новое");
  EXPECT_EQ(ReadBytes(BrandsPath()), Utf8Lines(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, AddendumReadTest,
    ::testing::Values(
        TReadCase{"utf8_bom_crlf",
                  Bom + "# mine\r\n\xD0\xA4\xD0\xBE\xD0\xBE\r\n",
                  "en_US.UTF-8",
                  {u"# mine", u"Фоо"}},
        TReadCase{"utf8_bom_cr_lf_mixed_no_final_break",
                  Bom + "a\nb\rc\r\nd",
                  nullptr,
                  {u"a", u"b", u"c", u"d"}},
        TReadCase{"empty_lines_and_comments_kept",
                  Bom + "a\r\n\r\n# x\r\n\r\n",
                  nullptr,
                  {u"a", u"", u"# x", u""}},
        TReadCase{
            "utf16le_bom", Utf16Bytes(u"Фоо\r\nBar\r\n", false), "ru_RU.KOI8-R", {u"Фоо", u"Bar"}},
        TReadCase{"utf16be_bom", Utf16Bytes(u"Фоо\nBar", true), "ru_RU.KOI8-R", {u"Фоо", u"Bar"}},
        TReadCase{"utf16le_surrogate_pair",
                  Utf16Bytes(u"x\U0001F600y\r\n", false),
                  nullptr,
                  {u"x\U0001F600y"}},
        TReadCase{
            "no_bom_koi8r_code_page", "\xE6\xCF\xCF\r\nok\r\n", "ru_RU.KOI8-R", {u"Фоо", u"ok"}},
        TReadCase{"no_bom_utf8_code_page", "\xD0\xA4\xD0\xBE\xD0\xBE\r\n", "ru_RU.UTF-8", {u"Фоо"}},
        TReadCase{"empty_file_gets_header",
                  "",
                  nullptr,
                  {u"# Addendum file for Veskora Ryvel Spell Checker", u"#"}},
        TReadCase{"bom_only_gets_header",
                  Bom,
                  nullptr,
                  {u"# Addendum file for Veskora Ryvel Spell Checker", u"#"}}),
    [](const auto& info) { return std::string(info.param.Label); });

// ---------------------------------------------------------------------------------------------
// Text that is not valid in its encoding: no crash, the clean parts kept, a lone unit replaced.

struct TInvalidCase {
  const char* Label;
  std::string Bytes;
  std::vector<std::u16string> Lines;
};

class AddendumInvalidEncodingTest : public AddendumFileTest,
                                    public ::testing::WithParamInterface<TInvalidCase> {};

TEST_P(AddendumInvalidEncodingTest, KeepsWhatReadsCleanlyAndSavesValidUtf8) {
  const TInvalidCase& c = GetParam();
  WriteBytes(BrandsPath(), c.Bytes);
  TScopedLang lang("ru_RU.UTF-8");
  TVeAddendumFile addendum(FList.get(), u"Brands");
  EXPECT_EQ(addendum.Entries(), c.Lines);

  addendum.SetIsDirty(true);
  addendum.SaveToDisk();
  // What was written reads back as the same lines: nothing invalid reached the file.
  TVeAddendumFile again(FList.get(), u"Brands");
  EXPECT_EQ(again.Entries(), c.Lines);
  EXPECT_EQ(ReadBytes(BrandsPath()), Utf8Lines(c.Lines));
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, AddendumInvalidEncodingTest,
    ::testing::Values(
        TInvalidCase{"utf8_invalid_byte",
                     Bom + "a\xFF"
                           "b\r\nok\r\n",
                     {u"a\uFFFDb", u"ok"}},
        TInvalidCase{"utf8_truncated_sequence_at_end", Bom + "ok\r\n\xD0", {u"ok", u"\uFFFD"}},
        TInvalidCase{"no_bom_invalid_utf8", "ok\r\n\xFF\r\n", {u"ok", u"\uFFFD"}},
        TInvalidCase{"utf16le_odd_final_byte", Utf16Bytes(u"ab", false) + "c", {u"ab"}},
        TInvalidCase{"utf16le_lone_high_surrogate",
                     Utf16Bytes(u"\xD83Dx\r\nok", false),
                     {u"\uFFFDx", u"ok"}},
        TInvalidCase{"utf16be_lone_low_surrogate", Utf16Bytes(u"y\xDE00", true), {u"y\uFFFD"}},
        TInvalidCase{"utf16le_high_surrogate_at_end",
                     Utf16Bytes(u"ok\r\n\xD83D", false),
                     {u"ok", u"\uFFFD"}},
        TInvalidCase{"utf16_bom_only_odd_byte",
                     "\xFF\xFE"
                     "a",
                     {u"# Addendum file for Veskora Ryvel Spell Checker", u"#"}}),
    [](const auto& info) { return std::string(info.param.Label); });

// ---------------------------------------------------------------------------------------------
// Adding words and the bytes of a new file.

TEST_F(AddendumFileTest, NewAddendumHasHeaderInMemoryButNoFile) {
  TVeAddendumFile addendum(FList.get(), u"Brands");
  EXPECT_EQ(addendum.Entries(), (std::vector<std::u16string>{
                                    u"# Addendum file for Veskora Ryvel Spell Checker", u"#"}));
  EXPECT_TRUE(addendum.IsActive());
  EXPECT_FALSE(addendum.IsDirty());
  addendum.SaveToDisk(); // clean: writes nothing
  EXPECT_FALSE(fs::exists(BrandsPath()));
}

TEST_F(AddendumFileTest, AddSkipsExactDuplicatesOnlyAndFileIsByteExact) {
  struct TAdd {
    std::u16string Word;
    bool Appended;
  };
  static const TAdd adds[] = {
      {u"Фоо", true},  {u"Фоо", false}, {u"фоо", true}, {u"#", false},
      {u"Фоо ", true}, {u"", true},     {u"", false},
  };
  TVeAddendumFile addendum(FList.get(), u"Brands");
  for (const auto& a : adds)
    EXPECT_EQ(addendum.Add(a.Word), a.Appended) << Utf16ToUtf8(a.Word);
  EXPECT_TRUE(addendum.IsDirty());
  addendum.SaveToDisk();
  EXPECT_EQ(ReadBytes(BrandsPath()), Header +
                                         "\xD0\xA4\xD0\xBE\xD0\xBE\r\n\xD1\x84\xD0\xBE\xD0\xBE\r\n"
                                         "\xD0\xA4\xD0\xBE\xD0\xBE \r\n\r\n");
}

TEST_F(AddendumFileTest, RefreshTakesEditorChangesAndKeepsDirtyFlag) {
  TVeAddendumFile addendum(FList.get(), u"Brands");
  addendum.Add(u"unsaved");
  WriteBytes(BrandsPath(), Bom + "# edited\r\nOne\r\n");
  addendum.Refresh();
  EXPECT_EQ(addendum.Entries(), (std::vector<std::u16string>{u"# edited", u"One"}));
  EXPECT_TRUE(addendum.IsDirty());

  fs::remove(BrandsPath());
  addendum.Refresh();
  EXPECT_EQ(addendum.Count(), 2); // the header again
}

// ---------------------------------------------------------------------------------------------
// The name rule and the file name.

struct TNameCase {
  const char* Label;
  std::u16string Requested;
  std::u16string Name;
};

class AddendumNameTest : public AddendumFileTest,
                         public ::testing::WithParamInterface<TNameCase> {};

TEST_P(AddendumNameTest, ReplacesForbiddenCharactersForGood) {
  const TNameCase& c = GetParam();
  TVeAddendumFile addendum(FList.get(), c.Requested);
  EXPECT_EQ(addendum.Name(), c.Name);
  EXPECT_EQ(addendum.FileName(), AddendumDir() + TestBaseName + c.Name + u".txt");
}

INSTANTIATE_TEST_SUITE_P(Names, AddendumNameTest,
                         ::testing::Values(TNameCase{"colon", u"a:b", u"a_b"},
                                           TNameCase{"all_nine", u"\"*/:<>?\\|", u"_________"},
                                           TNameCase{"kept_as_is", u"Бренды 2.0 (old)",
                                                     u"Бренды 2.0 (old)"},
                                           TNameCase{"path_like", u"../x", u".._x"}),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST_F(AddendumFileTest, ColonNameWritesUnderscoreFile) {
  TVeAddendumFile addendum(FList.get(), u"a:b");
  addendum.Add(u"word");
  addendum.SaveToDisk();
  EXPECT_TRUE(fs::exists(AddendumPath("RyvelQASpellerH_ru_RU.a_b.txt")));
}

// ---------------------------------------------------------------------------------------------
// Failed writes: raised to the caller, the addendum stays dirty, nothing is written elsewhere.

TEST_F(AddendumFileTest, WithoutFolderFileNameStartsWithSeparatorAndSaveRefuses) {
  TScratchFolderTest::StoreAddendumsDir(u"");
  TVeAddendumFilesList noFolder(TestBaseName);
  TVeAddendumFile addendum(&noFolder, u"Brands");
  EXPECT_EQ(addendum.FileName(), u"/" + TestBaseName + u"Brands.txt");
  addendum.Add(u"word");
  EXPECT_THROW(addendum.SaveToDisk(), EAddendumFileError);
  EXPECT_TRUE(addendum.IsDirty());
  EXPECT_FALSE(fs::exists("/RyvelQASpellerH_ru_RU.Brands.txt"));
}

TEST_F(AddendumFileTest, FailedWriteRaisesAndStaysDirty) {
  // A folder below a regular file cannot exist, whoever runs the test.
  WriteBytes(FRoot / "plain-file", "x");
  FList->SetBaseDir(Ryvel::Platform::PathToUtf16(FRoot / "plain-file" / "sub") + u"/");
  TVeAddendumFile addendum(FList.get(), u"Brands");
  addendum.Add(u"word");
  try {
    addendum.SaveToDisk();
    FAIL() << "no error raised";
  } catch (const EAddendumFileError& e) {
    EXPECT_EQ(e.FileName(), addendum.FileName());
  }
  EXPECT_TRUE(addendum.IsDirty());
  EXPECT_EQ(addendum.Entries().back(), u"word");
  EXPECT_EQ(ReadBytes(FRoot / "plain-file"), "x");
}

// Returns 0 when an addendum whose file cannot be read refuses to overwrite it, else the step
// that went wrong.
int CheckUnreadableFileIsKept(TVeAddendumFilesList* aList) {
  TVeAddendumFile addendum(aList, u"Brands");
  addendum.Add(u"word");
  try {
    addendum.SaveToDisk();
    return 1;
  } catch (const EAddendumFileError&) {
  }
  if (!addendum.IsDirty())
    return 2;
  try {
    addendum.Refresh();
    return 3;
  } catch (const EAddendumFileError&) {
  }
  return addendum.Entries().back() == u"word" ? 0 : 4;
}

TEST_F(AddendumFileTest, FileThatCannotBeReadIsNotOverwritten) {
  WriteBytes(BrandsPath(), Bom + "precious\r\n");
  fs::permissions(BrandsPath(), fs::perms::none);
  int result = -1;
  if (::geteuid() != 0) {
    result = CheckUnreadableFileIsKept(FList.get());
  } else {
    // Root reads every file: check as an unprivileged user, in a folder that user could write
    // to, so that only the addendum itself keeps the file from being replaced.
    fs::permissions(FRoot, fs::perms::all);
    fs::permissions(FRoot / "addendums", fs::perms::all);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0)
        ::_exit(10);
      if (Ryvel::Platform::ReadWholeFile(BrandsPath()))
        ::_exit(11);
      ::_exit(CheckUnreadableFileIsKept(FList.get()));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    result = WEXITSTATUS(status);
  }
  EXPECT_EQ(result, 0) << "1: overwritten, 2: clean after failure, 3: read, 4: word lost";
  fs::permissions(BrandsPath(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ReadBytes(BrandsPath()), Bom + "precious\r\n");
}

} // namespace
