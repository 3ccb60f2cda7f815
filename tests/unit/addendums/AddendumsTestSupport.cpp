#include "AddendumsTestSupport.h"

#include "platform/UFiles.h"
#include "platform/UKeyValueStore.h"
#include "platform/UText.h"

#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;
using namespace Ryvel::Platform;

void TScratchFolderTest::SetUp() {
  std::string pattern = (fs::temp_directory_path() / "ryvel-addendums-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  FRoot = pattern;
  fs::create_directories(FRoot / "addendums");
  if (const char* old = std::getenv("XDG_CONFIG_HOME"))
    FOldConfigHome = old;
  ::setenv("XDG_CONFIG_HOME", (FRoot / "config").c_str(), 1);
}

void TScratchFolderTest::TearDown() {
  if (FOldConfigHome)
    ::setenv("XDG_CONFIG_HOME", FOldConfigHome->c_str(), 1);
  else
    ::unsetenv("XDG_CONFIG_HOME");
  std::error_code ec;
  fs::permissions(FRoot, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(FRoot, ec);
}

std::u16string TScratchFolderTest::AddendumDir() const {
  return PathToUtf16(FRoot / "addendums") + u"/";
}

fs::path TScratchFolderTest::AddendumPath(const std::string& aFileName) const {
  return FRoot / "addendums" / aFileName;
}

void TScratchFolderTest::StoreAddendumsDir(const std::u16string& aValue) const {
  ASSERT_TRUE(TKeyValueStore::SpellerKey().Write("AddendumsDir", aValue));
}

std::optional<std::u16string> TScratchFolderTest::StoredAddendumsDir() const {
  return TKeyValueStore::SpellerKey().Read("AddendumsDir");
}

std::string TScratchFolderTest::ReadBytes(const fs::path& aPath) {
  return ReadWholeFile(aPath).value_or("<missing>");
}

void TScratchFolderTest::WriteBytes(const fs::path& aPath, const std::string& aBytes) {
  std::ofstream out(aPath, std::ios::binary | std::ios::trunc);
  out.write(aBytes.data(), static_cast<std::streamsize>(aBytes.size()));
  ASSERT_TRUE(out.good());
}
