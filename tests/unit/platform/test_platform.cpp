#include "platform/UFiles.h"
#include "platform/UFolders.h"
#include "platform/UKeyValueStore.h"
#include "platform/UMessages.h"
#include "platform/UText.h"
#include "platform/UTicks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace Ryvel::Platform;

namespace {
struct TempDir {
  TempDir() {
    char tmpl[] = "/tmp/ryvel-platform-XXXXXX";
    path = mkdtemp(tmpl);
  }
  ~TempDir() { fs::remove_all(path); }
  fs::path path;
};
} // namespace

TEST(Text, CaseMappingKeepsLength) {
  const std::u16string mixed = u"ÉCOLE \U0001D400 ǅ";
  EXPECT_EQ(LowerCase(mixed).size(), mixed.size());
  EXPECT_EQ(UpperCase(u"ß"), u"ß"); // no one-to-many mapping
  EXPECT_EQ(LowerCase(u"ABC Ёж"), u"abc ёж");
  EXPECT_EQ(UpperCase(u"abc ёж"), u"ABC ЁЖ");
}

TEST(Text, Utf8RoundTripAndInvalidInput) {
  const std::u16string s = u"Москва \U0001F600 a";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(s)), s);
  struct Case {
    std::string bytes;
    std::u16string expected;
  } cases[] = {
      {"a\xFF" "b", u"a\uFFFDb"},
      {"\xC3", u"\uFFFD"},
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Utf8ToUtf16(c.bytes), c.expected);
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

TEST(Text, AnsiCodePageFollowsTheLocaleVariables) {
  unsetenv("LC_ALL");
  unsetenv("LC_CTYPE");
  setenv("LANG", "ru_RU.KOI8-R", 1);
  EXPECT_EQ(AnsiCodeSetName(), "KOI8-R");
  EXPECT_EQ(AnsiToUtf16("\xED\xC9\xD2"), u"Мир");
  EXPECT_EQ(Utf16ToAnsi(u"Мир"), "\xED\xC9\xD2");
  setenv("LC_CTYPE", "C", 1);
  EXPECT_EQ(AnsiCodeSetName(), "UTF-8");
  unsetenv("LC_CTYPE");
  unsetenv("LANG");
  EXPECT_EQ(AnsiCodeSetName(), "UTF-8");
  EXPECT_EQ(AnsiToUtf16("Мир"), u"Мир");
}

TEST(Text, CodePageNames) {
  struct Case {
    unsigned cp;
    const char* name;
  } cases[] = {{28595, "ISO-8859-5"}, {20866, "KOI8-R"}, {65001, "UTF-8"}, {1251, "windows-1251"}};
  for (const auto& c : cases) {
    EXPECT_EQ(CodePageConverterName(c.cp), c.name);
    std::string bytes;
    EXPECT_TRUE(ConvertToCodePage(u"Мир", c.name, bytes));
    std::u16string back;
    EXPECT_TRUE(ConvertFromCodePage(bytes, c.name, back));
    EXPECT_EQ(back, u"Мир");
  }
  EXPECT_EQ(CodePageConverterName(99999), "");
  std::u16string out;
  EXPECT_FALSE(ConvertFromCodePage("x", "no-such-converter", out));
}

TEST(Text, KeyOrderBreaksTiesByCodeUnits) {
  EXPECT_LT(CompareKeys(u"а", u"б"), 0);
  EXPECT_NE(CompareKeys(u"e\u0301", u"\u00E9"), 0); // canonically equal, different units
  EXPECT_EQ(CompareKeys(u"слово", u"слово"), 0);
  EXPECT_EQ(CompareTextIgnoreCase(u"Москва", u"москва"), 0);
  EXPECT_LT(SortKey(u"а").compare(SortKey(u"б")), 0);
}

TEST(Files, AtomicWriteReplacesWholeFilesOnly) {
  TempDir dir;
  const fs::path file = dir.path / "f.bin";
  ASSERT_TRUE(WriteFileAtomic(file, "old"));
  ASSERT_TRUE(WriteFileAtomic(file, std::string("new\0data", 8)));
  EXPECT_EQ(*ReadWholeFile(file), std::string("new\0data", 8));
  // A folder that cannot exist (its parent is a file): the write fails, nothing is left.
  EXPECT_FALSE(WriteFileAtomic(file / "child", "x"));
  EXPECT_EQ(*ReadWholeFile(file), std::string("new\0data", 8));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
  EXPECT_FALSE(ReadWholeFile(dir.path / "missing"));
  EXPECT_TRUE(ForceDirectories(dir.path / "a" / "b"));
  EXPECT_TRUE(DirectoryExists(dir.path / "a" / "b"));
}

TEST(Folders, XdgVariablesAndHome) {
  setenv("HOME", "/home/u", 1);
  unsetenv("XDG_CACHE_HOME");
  unsetenv("XDG_CONFIG_HOME");
  setenv("XDG_DATA_HOME", "relative/ignored", 1);
  EXPECT_EQ(CacheDir(), fs::path("/home/u/.cache"));
  EXPECT_EQ(ConfigDir(), fs::path("/home/u/.config"));
  EXPECT_EQ(DataDir(), fs::path("/home/u/.local/share"));
  setenv("XDG_CACHE_HOME", "/x/cache", 1);
  EXPECT_EQ(CacheDir(), fs::path("/x/cache"));
  unsetenv("HOME");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_TRUE(ConfigDir().empty());
  EXPECT_FALSE(ModulePath().empty());
}

TEST(Folders, EnvironmentExpansion) {
  setenv("RYVEL_T", "v", 1);
  unsetenv("USERNAME");
  setenv("USER", "me", 1);
  struct Case {
    std::u16string in, out;
  } cases[] = {
      {u"%ryvel_t%", u"v"},       {u"a%RYVEL_T%b", u"avb"},      {u"%username%", u"me"},
      {u"%NO_SUCH_VAR%", u"%NO_SUCH_VAR%"}, {u"50% off", u"50% off"}, {u"%%", u"%%"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExpandEnvironment(c.in), c.out);
}

TEST(KeyValueStore, ReadWriteKeepsOtherValues) {
  TempDir dir;
  TKeyValueStore store(dir.path / "k" / "Speller.conf");
  EXPECT_FALSE(store.Read("AddendumsDir"));
  EXPECT_TRUE(store.Write("AddendumsDir", u"/a/Словари\nx"));
  EXPECT_TRUE(store.Write("Other", u"1"));
  EXPECT_TRUE(store.Write("AddendumsDir", u"/b"));
  EXPECT_EQ(*store.Read("AddendumsDir"), u"/b");
  EXPECT_EQ(*store.Read("Other"), u"1");
  setenv("XDG_CONFIG_HOME", dir.path.c_str(), 1);
  EXPECT_EQ(TKeyValueStore::SpellerKey().File(), dir.path / "Veskora" / "Ryvel" / "Speller.conf");
}

TEST(Ticks, InjectableAndWrapping) {
  uint32_t now = 0xFFFFFFF0u;
  SetTickSource([&] { return now; });
  EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
  now += 0x20;
  EXPECT_EQ(GetTickCount(), 0x10u);
  SetTickSource(nullptr);
  const uint32_t a = GetTickCount();
  SleepMs(2);
  EXPECT_GE(static_cast<uint32_t>(GetTickCount() - a), 1u);
}

TEST(Messages, SinkCanBeReplacedAndRestored) {
  struct Sink : IMessageSink {
    std::u16string last;
    void ShowMessage(const std::u16string& c, const std::u16string& t) override { last = c + u"|" + t; }
  } sink;
  IMessageSink* old = SetMessageSink(&sink);
  ShowMessage(u"Caption", u"Text");
  EXPECT_EQ(sink.last, u"Caption|Text");
  EXPECT_EQ(SetMessageSink(old), &sink);
}
