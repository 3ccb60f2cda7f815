// The translation-file readers: what each format hands over (ids, texts, inline codes) and
// how malformed input is reported.
#include "host/UFindingWriter.h"
#include "host/readers/USegmentReader.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

// libgettextpo 0.21 keeps a few bytes of a plural-forms header it never frees; that is the
// library's, not the reader's. (Read by LeakSanitizer in sanitizer builds only.)
extern "C" __attribute__((visibility("default"))) const char *__lsan_default_suppressions() {
  return "leak:libgettextpo_xmalloc\n";
}

namespace fs = std::filesystem;
using namespace Ryvel::Host;

namespace {

const fs::path DataDir = fs::path(RYVEL_TEST_DATA_DIR) / "host";

struct TSeg {
  std::string Id, Source, Target, Context;
  bool operator==(const TSeg &) const = default;
};

void PrintTo(const TSeg &s, std::ostream *os) {
  *os << "{" << s.Id << " | " << s.Source << " | " << s.Target << " | " << s.Context << "}";
}

std::vector<TSeg> Read(const fs::path &aPath, TReadOptions aOptions = {}) {
  std::vector<TSeg> out;
  ReadSegments(aPath, DetectFileFormat(aPath), aOptions, [&](TSourceSegment &&s) {
    out.push_back(TSeg{s.Id, s.Source, s.Target, s.Context});
  });
  return out;
}

class TTempFile {
public:
  TTempFile(const std::string &aSuffix, const std::string &aContent) {
    std::string pattern = (fs::temp_directory_path() / "ryvel-reader-XXXXXX").string() + aSuffix;
    const int fd = mkstemps(pattern.data(), static_cast<int>(aSuffix.size()));
    EXPECT_GE(fd, 0);
    close(fd);
    FPath = pattern;
    std::ofstream(FPath, std::ios::binary) << aContent;
  }
  ~TTempFile() { fs::remove(FPath); }
  const fs::path &Path() const { return FPath; }

private:
  fs::path FPath;
};

// ---- Inline codes: one target text in a wrapper of each XML format -------------------------

struct TInlineCase {
  const char *Name;
  const char *Suffix;  // .xlf or .tmx
  const char *Wrapper; // %s stands for the target content
  const char *Content;
  const char *Expected;
};

constexpr const char *Xliff12 =
    "<xliff version=\"1.2\"><file><body><trans-unit id=\"1\"><source>S</source>"
    "<target>%s</target></trans-unit></body></file></xliff>";
constexpr const char *Xliff20 =
    "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\" version=\"2.0\"><file id=\"f\">"
    "<unit id=\"1\"><segment><source>S</source><target>%s</target></segment></unit></file>"
    "</xliff>";
constexpr const char *Tmx =
    "<tmx version=\"1.4\"><header srclang=\"en\"/><body><tu><tuv xml:lang=\"en\"><seg>S</seg>"
    "</tuv><tuv xml:lang=\"ru\"><seg>%s</seg></tuv></tu></body></tmx>";

const TInlineCase InlineCases[] = {
    {"paired_g", ".xlf", Xliff12, "<g id=\"1\">Жирный</g> текст", "<g id=\"1\">Жирный</g> текст"},
    {"placeholder_x", ".xlf", Xliff12, "до<x id=\"2\"/>после", "до<x id=\"2\"/>после"},
    {"ph_drops_native_code", ".xlf", Xliff12, "а<ph id=\"1\">&lt;br/&gt;</ph>б",
     "а<ph id=\"1\"/>б"},
    {"bpt_ept_drop_native_code", ".xlf", Xliff12,
     "<bpt id=\"1\">&lt;b&gt;</bpt>текст<ept id=\"1\">&lt;/b&gt;</ept>",
     "<bpt id=\"1\"/>текст<ept id=\"1\"/>"},
    {"it_with_sub_dropped", ".xlf", Xliff12,
     "<it id=\"1\" pos=\"open\">&lt;a title=\"<sub>Заголовок</sub>\"&gt;</it>ссылка",
     "<it id=\"1\" pos=\"open\"/>ссылка"},
    {"bx_ex", ".xlf", Xliff12, "<bx id=\"1\"/>а<ex id=\"1\"/>", "<bx id=\"1\"/>а<ex id=\"1\"/>"},
    {"text_unescaped_once", ".xlf", Xliff12, "A &amp;lt; B &lt;b&gt;", "A &lt; B <b>"},
    {"cdata_is_text", ".xlf", Xliff12, "<![CDATA[<i>x</i>]]>", "<i>x</i>"},
    {"mrk_term_is_paired", ".xlf", Xliff12, "<mrk mtype=\"term\">слово</mrk>",
     "<mrk mtype=\"term\">слово</mrk>"},
    {"attribute_reescaped", ".xlf", Xliff12, "<g id=\"a&quot;&amp;b\">x</g>",
     "<g id=\"a&quot;&amp;b\">x</g>"},
    {"character_reference", ".xlf", Xliff12, "&#x41;&#1041;", "AБ"},
    {"comment_dropped", ".xlf", Xliff12, "а<!-- note -->б", "аб"},
    {"v2_pc_sc_ec", ".xlf", Xliff20, "<pc id=\"1\">а</pc><sc id=\"2\"/>б<ec startRef=\"2\"/>",
     "<pc id=\"1\">а</pc><sc id=\"2\"/>б<ec startRef=\"2\"/>"},
    {"v2_ph_sm_em", ".xlf", Xliff20,
     "<ph id=\"1\" disp=\"{0}\"/><sm id=\"m\"/>x<em startRef=\"m\"/>",
     "<ph id=\"1\" disp=\"{0}\"/><sm id=\"m\"/>x<em startRef=\"m\"/>"},
    {"v2_cp_is_the_character", ".xlf", Xliff20, "a<cp hex=\"0042\"/>c", "aBc"},
    {"tmx_hi_paired_ph_empty", ".tmx", Tmx, "<hi type=\"b\">а</hi><ph x=\"1\">{0}</ph>",
     "<hi type=\"b\">а</hi><ph x=\"1\"/>"},
    {"tmx_ut_dropped", ".tmx", Tmx, "а<ut>\\b</ut>б", "а<ut/>б"},
};

class InlineCodeTest : public ::testing::TestWithParam<TInlineCase> {};

TEST_P(InlineCodeTest, TargetReachesThePluginAsTags) {
  const TInlineCase &c = GetParam();
  std::string xml = c.Wrapper;
  xml.replace(xml.find("%s"), 2, c.Content);
  const TTempFile file(c.Suffix, xml);
  const auto segs = Read(file.Path());
  ASSERT_EQ(segs.size(), 1u);
  EXPECT_EQ(segs[0].Target, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, InlineCodeTest, ::testing::ValuesIn(InlineCases),
                         [](const auto &i) { return std::string(i.param.Name); });

// ---- Segments and ids of well-formed files ------------------------------------------------

struct TFileCase {
  const char *File;
  std::vector<TSeg> Expected;
  std::string TargetLang = {};
  bool SkipFuzzy = false;
};

void PrintTo(const TFileCase &c, std::ostream *os) { *os << c.File; }

const TFileCase FileCases[] = {
    {"segmented-1.2.xlf",
     {{"u1#1", "First.", "Первое.", ""},
      {"u1#2", "Second.", "Второе.", ""},
      {"u2", "One segment.", "Один сегмент.", ""},
      {"u5", "Plain", "Просто", ""}}},
    {"units-2.0.xlf",
     {{"u1#s1", "First.", "Первое.", ""},
      {"u1#2", "Second.", "Второе.", ""},
      {"u2", "Only <pc id=\"1\">one</pc>.", "Только <pc id=\"1\">один</pc>.", ""}}},
    {"languages.tmx",
     {{"hello", "Hello", "Привет", ""},
      {"bold", "<bpt i=\"1\"/>Bold<ept i=\"1\"/>",
       "<bpt i=\"1\"/>Жирный<ept i=\"1\"/> <hi type=\"x\">шрифт</hi><ph x=\"2\"/>", ""}}},
    {"languages.tmx", {{"hello", "Hello", "Здравствуйте", ""}, {"2", "Bye", "Пока", ""}}, "ru-UA"},
    {"languages.tmx", {{"hello", "Hello", "Hallo", ""}}, "de"},
    {"entries.po",
     {{"7", "Open", "Открыть", ""},
      {"11", "Open", "Открыт", "state"},
      {"15", "Close", "Закрыть", ""},
      {"21[0]", "%d file", "%d файл", ""},
      {"21[2]", "%d files", "%d файлов", ""},
      {"27", "Two lines", "Две строки", ""}}},
    {"entries.po",
     {{"7", "Open", "Открыть", ""},
      {"11", "Open", "Открыт", "state"},
      {"21[0]", "%d file", "%d файл", ""},
      {"21[2]", "%d files", "%d файлов", ""},
      {"27", "Two lines", "Две строки", ""}},
     "",
     true},
    {"koi8r.po", {{"5", "Hello", "Привет", ""}}},
    {"good-cp1251.xlf", {{"t1", "Hello", "Привет", ""}}},
};

class FileReadTest : public ::testing::TestWithParam<TFileCase> {};

TEST_P(FileReadTest, HandsOverTheTranslatedSegmentsWithFindableIds) {
  const TFileCase &c = GetParam();
  TReadOptions options;
  options.TargetLang = c.TargetLang;
  options.SkipFuzzy = c.SkipFuzzy;
  EXPECT_EQ(Read(DataDir / c.File, options), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Files, FileReadTest, ::testing::ValuesIn(FileCases));

TEST(XmlReaderTest, ReadsUtf16WithByteOrderMark) {
  const std::u16string text =
      u"\uFEFF<?xml version=\"1.0\" encoding=\"UTF-16\"?><xliff version=\"1.2\"><file><body>"
      u"<trans-unit id=\"w\"><source>A</source><target>Привет</target></trans-unit></body>"
      u"</file></xliff>";
  std::string bytes;
  for (const char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  const TTempFile file(".xlf", bytes);
  EXPECT_EQ(Read(file.Path()), (std::vector<TSeg>{{"w", "A", "Привет", ""}}));
}

// ---- Malformed input: file, line, column and what was expected ----------------------------

struct TBadCase {
  const char *File;
  uint64_t Line;
  uint64_t Column; // 0: not checked
  const char *Reason;
};

void PrintTo(const TBadCase &c, std::ostream *os) { *os << c.File; }

const TBadCase BadCases[] = {
    {"bad-unclosed.xlf", 7, 1, "unexpected end of file"},
    {"bad-entity.xlf", 4, 13, "unknown entity '&nbsp;'"},
    {"bad-ampersand.xlf", 3, 33, "'&' that starts no entity reference"},
    {"bad-mismatch.xlf", 3, 0, "malformed XML"},
    {"bad-encoding-utf16.xlf", 1, 31, "names the encoding 'UTF-16'"},
    {"bad-encoding-cp1251.xlf", 4, 11, "invalid UTF-8"},
    {"bad-encoding-unknown.xlf", 1, 31, "unknown encoding 'x-no-such-code'"},
    {"bad-version.xlf", 2, 1, "unsupported XLIFF version '3.0'"},
    {"bad-no-russian.tmx", 2, 0, "no <tuv> in a language starting with 'ru'"},
    {"bad-syntax.po", 6, 0, "end-of-line within string"},
    {"bad-utf8.po", 6, 9, "invalid multibyte sequence"},
    {"bad-fields.tsv", 3, 6, "expected 3 fields"},
    {"bad-backslash.tsv", 2, 11, "a lone '\\'"},
};

class MalformedFileTest : public ::testing::TestWithParam<TBadCase> {};

TEST_P(MalformedFileTest, ErrorNamesFileLineAndFault) {
  const TBadCase &c = GetParam();
  const fs::path path = DataDir / c.File;
  try {
    Read(path);
    FAIL() << "no error for " << c.File;
  } catch (const EReadError &e) {
    EXPECT_EQ(e.File(), path.string());
    EXPECT_EQ(e.Line(), c.Line) << e.what();
    if (c.Column) {
      EXPECT_EQ(e.Column(), c.Column) << e.what();
    }
    EXPECT_NE(e.Reason().find(c.Reason), std::string::npos) << e.what();
    EXPECT_EQ(std::string(e.what()).rfind(path.string() + ":" + std::to_string(c.Line) + ":", 0),
              0u)
        << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(Files, MalformedFileTest, ::testing::ValuesIn(BadCases));

TEST(ReaderErrorTest, MissingFileAndFolderAreErrorsNotCrashes) {
  EXPECT_THROW(Read(DataDir / "no-such-file.xlf"), EReadError);
  EXPECT_THROW(ReadSegments(DataDir, TFileFormat::Xliff, {}, [](TSourceSegment &&) {}), EReadError);
}

// ---- TSV on a stream -----------------------------------------------------------------------

struct TTsvCase {
  const char *Name;
  const char *Input;
  std::vector<TSeg> Expected;
};

const TTsvCase TsvCases[] = {
    {"escapes",
     "id\tsource\ttarget\nk\\t1\ta\\nb\tc\\\\d\\re\n",
     {{"k\t1", "a\nb", "c\\d\re", ""}}},
    {"crlf_and_bom", "\xEF\xBB\xBFid\tsource\ttarget\r\n1\ta\tб\r\n", {{"1", "a", "б", ""}}},
    {"empty_target_and_blank_lines",
     "id\tsource\ttarget\n1\ta\t\n\n2\tb\tв\n",
     {{"2", "b", "в", ""}}},
    {"empty_id_is_the_line", "id\tsource\ttarget\n\ta\tб\n", {{"2", "a", "б", ""}}},
    {"header_only", "id\tsource\ttarget\n", {}},
    {"empty_input", "", {}},
};

class TsvStreamTest : public ::testing::TestWithParam<TTsvCase> {};

TEST_P(TsvStreamTest, Reads) {
  std::istringstream in(GetParam().Input);
  std::vector<TSeg> out;
  ReadTsvStream(in, "x.tsv", {}, [&](TSourceSegment &&s) {
    out.push_back(TSeg{s.Id, s.Source, s.Target, s.Context});
  });
  EXPECT_EQ(out, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, TsvStreamTest, ::testing::ValuesIn(TsvCases),
                         [](const auto &i) { return std::string(i.param.Name); });

TEST(TsvStreamTest, BadHeaderIsReported) {
  std::istringstream in("just one column\n1\ta\tb\n");
  try {
    ReadTsvStream(in, "x.tsv", {}, [](TSourceSegment &&) {});
    FAIL();
  } catch (const EReadError &e) {
    EXPECT_EQ(e.Line(), 1u);
    EXPECT_NE(e.Reason().find("header line"), std::string::npos) << e.what();
  }
}

TEST(TsvEscapeTest, RoundTripsThroughTheReader) {
  const std::string nasty = "a\tb\nc\rd\\e\\t";
  std::istringstream in("id\tsource\ttarget\n" + EscapeTsvField(nasty) + "\ts\t" +
                        EscapeTsvField(nasty) + "\n");
  std::vector<TSeg> out;
  ReadTsvStream(in, "x.tsv", {}, [&](TSourceSegment &&s) {
    out.push_back(TSeg{s.Id, s.Source, s.Target, s.Context});
  });
  EXPECT_EQ(out, (std::vector<TSeg>{{nasty, "s", nasty, ""}}));
}

// ---- Format detection ----------------------------------------------------------------------

struct TDetectCase {
  const char *Suffix;
  const char *Content;
  TFileFormat Expected;
};

const TDetectCase DetectCases[] = {
    {".xlf", "", TFileFormat::Xliff},
    {".SDLXLIFF", "", TFileFormat::Xliff},
    {".tmx", "", TFileFormat::Tmx},
    {".pot", "", TFileFormat::Po},
    {".tsv", "anything", TFileFormat::Tsv},
    {".txt", "id\tsource\ttarget\n", TFileFormat::Tsv},
    {".txt", "word list\nsecond\n", TFileFormat::PlainText},
    {".xml", "<?xml version=\"1.0\"?>\n<xliff version=\"2.0\">", TFileFormat::Xliff},
    {".xml", "<?xml version=\"1.0\"?>\n<tmx version=\"1.4\">", TFileFormat::Tmx},
    {".strings", "# c\nmsgid \"a\"\nmsgstr \"b\"\n", TFileFormat::Po},
    {".dat", "a\tb\tc\n", TFileFormat::Tsv},
    {".md", "# notes\n", TFileFormat::Unknown},
};

class DetectFormatTest : public ::testing::TestWithParam<TDetectCase> {};

TEST_P(DetectFormatTest, ByExtensionOrContent) {
  const TTempFile file(GetParam().Suffix, GetParam().Content);
  EXPECT_EQ(DetectFileFormat(file.Path()), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, DetectFormatTest, ::testing::ValuesIn(DetectCases));

// ---- Report writers ------------------------------------------------------------------------

TEST(FindingWriterTest, TextColumnsAlignByCharactersNotBytes) {
  std::ostringstream out;
  WriteFindings(out, TOutputFormat::Text,
                {{"файл.po", "12", "слово", "", "", ""}, {"a.po", "1234", "x", "", "", ""}});
  EXPECT_EQ(out.str(), "файл.po  12    слово\na.po     1234  x\n");
}

TEST(FindingWriterTest, TsvEscapesSeparatorsInsideFields) {
  std::ostringstream out;
  WriteFindings(out, TOutputFormat::Tsv, {{"a\tb.tsv", "id\n1", "w", "", "", ""}});
  EXPECT_EQ(out.str(), "a\\tb.tsv\tid\\n1\tw\n");
}

TEST(FindingWriterTest, JsonNamesContextOnlyWhenThereIsOne) {
  std::ostringstream out;
  WriteFindings(out, TOutputFormat::Json,
                {{"a.po", "7", "w", "src \"q\"", "tgt", "menu"}, {"b.po", "8", "v", "", "", ""}});
  EXPECT_EQ(out.str(),
            "{\"file\":\"a.po\",\"id\":\"7\",\"word\":\"w\",\"source\":\"src \\\"q\\\"\","
            "\"target\":\"tgt\",\"context\":\"menu\"}\n"
            "{\"file\":\"b.po\",\"id\":\"8\",\"word\":\"v\",\"source\":\"\",\"target\":\"\"}\n");
}

} // namespace
