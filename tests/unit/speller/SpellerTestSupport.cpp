#include "SpellerTestSupport.h"

#include "platform/UFiles.h"

#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;

TCheckResult RunCheck(TSpellerSpanish& aSpeller, std::u16string_view aSource,
                      std::u16string_view aTarget, TRySpellerOptions aOptions) {
  TCheckResult result;
  result.Count =
      aSpeller.Check(aSource, aTarget, aOptions, result.TotalWords,
                     [&](std::u16string_view aWord) { result.Words.emplace_back(aWord); });
  return result;
}

std::u16string AdapterLibPath() {
  return Ryvel::Platform::PathToUtf16(fs::path(RYVEL_PLUGIN_DIR) / "libhunspell-adapter.so");
}

void TSpellerFolderTest::SetUp() {
  std::string pattern = (fs::temp_directory_path() / "ryvel-speller-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  FRoot = pattern;
  const fs::path data = fs::path(RYVEL_TEST_DATA_DIR) / "speller";
  fs::copy_file(data / "speller.dic", FRoot / "speller.dic");
  fs::copy_file(data / "speller.aff", FRoot / "speller.aff");
  if (const char* old = std::getenv("XDG_CONFIG_HOME"))
    FOldConfigHome = old;
  ::setenv("XDG_CONFIG_HOME", (FRoot / "config").c_str(), 1);
}

void TSpellerFolderTest::TearDown() {
  if (FOldConfigHome)
    ::setenv("XDG_CONFIG_HOME", FOldConfigHome->c_str(), 1);
  else
    ::unsetenv("XDG_CONFIG_HOME");
  std::error_code ec;
  fs::remove_all(FRoot, ec);
}

TSpellerSpanish::TLocation TSpellerFolderTest::Location() const {
  return {Ryvel::Platform::PathToUtf16(FRoot), u"speller", AdapterLibPath()};
}

std::shared_ptr<TSpellerSpanish>
TSpellerFolderTest::MakeSpeller(TVeAddendumFilesList* aAddendums) const {
  return TSpellerSpanish::Create(aAddendums, Location());
}

void TSpellerFolderTest::WriteSpecialWords(const std::string& aUtf8Lines) const {
  WriteBytes(FRoot / "speller.rysw", "\xEF\xBB\xBF" + aUtf8Lines);
}

void TSpellerFolderTest::WriteBytes(const fs::path& aPath, const std::string& aBytes) {
  std::ofstream out(aPath, std::ios::binary | std::ios::trunc);
  out.write(aBytes.data(), static_cast<std::streamsize>(aBytes.size()));
  ASSERT_TRUE(out.good());
}
