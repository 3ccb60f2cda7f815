// A save cut short (the process killed, the disk full) leaves the previous file whole.
#include "AddendumsTestSupport.h"

#include "platform/UTicks.h"
#include "speller/UAddendums.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::u16string Header1 = u"# Addendum file for Veskora Ryvel Spell Checker";

// The i-th word the writer adds: large, so that one save takes a while, and unique.
std::u16string BigWord(int aIndex) {
  std::u16string word(256 * 1024, static_cast<char16_t>(u'а' + aIndex % 32));
  const std::u16string tag = u"#" + std::u16string(1, static_cast<char16_t>(u'A' + aIndex % 26)) +
                             std::u16string(1, static_cast<char16_t>(u'0' + aIndex / 26 % 10));
  return tag + word;
}

// The file after the writer saved words 0..aLast.
std::string Version(int aLast) {
  std::vector<std::u16string> lines{Header1, u"#"};
  for (int i = 0; i <= aLast; ++i)
    lines.push_back(BigWord(i));
  return TVeAddendumFile::EncodeLines(lines);
}

class AddendumsCrashTest : public TScratchFolderTest {
protected:
  void SetUp() override {
    TScratchFolderTest::SetUp();
    StoreAddendumsDir(AddendumDir());
  }
  fs::path BrandsPath() const { return AddendumPath("RyvelQASpellerH_ru_RU.Brands.txt"); }
};

TEST_F(AddendumsCrashTest, KilledDuringSaveLeavesOldOrNewFileNeverAPart) {
  constexpr int MaxWords = 60;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The writer: one word more per save, as the review dialog saves after each add.
    TVeAddendumFilesList list(TestBaseName);
    TVeAddendumFile* addendum = list.AddAddendum(u"Brands");
    for (int i = 0; i < MaxWords; ++i) {
      addendum->Add(BigWord(i));
      try {
        addendum->SaveToDisk();
      } catch (...) {
        ::_exit(3);
      }
    }
    ::_exit(0);
  }
  // Wait for the first save, then kill the writer the moment the next save shows: a file
  // appearing beside the addendum (a temporary one) or the addendum changing in place.
  std::error_code ec;
  const auto firstSize = Version(0).size();
  for (int i = 0; i < 5000 && fs::file_size(BrandsPath(), ec) != firstSize; ++i)
    Ryvel::Platform::SleepMs(1);
  const auto saveStarted = [&] {
    if (fs::file_size(BrandsPath(), ec) != firstSize)
      return true;
    int entries = 0;
    for (const auto& entry : fs::directory_iterator(FRoot / "addendums", ec)) {
      (void)entry;
      ++entries;
    }
    return entries > 1;
  };
  for (long i = 0; i < 5'000'000 && !saveStarted(); ++i) {
  }
  ::kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended before it was killed";
  ASSERT_TRUE(fs::exists(BrandsPath())) << "the writer never saved";

  const std::string bytes = ReadBytes(BrandsPath());
  // The number of words in the file tells which version it must be, byte for byte.
  const auto lines = TVeAddendumFile::DecodeLines(bytes);
  ASSERT_GE(lines.size(), 3u);
  const int last = static_cast<int>(lines.size()) - 3;
  ASSERT_LT(last, MaxWords);
  EXPECT_TRUE(bytes == Version(last)) << "file of " << bytes.size() << " bytes is no whole version";

  // And the addendum reads it as a whole.
  TVeAddendumFilesList list(TestBaseName);
  EXPECT_EQ(list.AddAddendum(u"Brands")->Entries().back(), BigWord(last));
}

TEST_F(AddendumsCrashTest, FullDiskKeepsOldFileWholeAndAddendumDirty) {
  const std::string old = Version(0);
  WriteBytes(BrandsPath(), old);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A file size limit just above the old file stands for a disk that fills during the save.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{old.size() + 4096, old.size() + 4096};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
      ::_exit(4);
    TVeAddendumFilesList list(TestBaseName);
    TVeAddendumFile* addendum = list.AddAddendum(u"Brands");
    addendum->Add(BigWord(1));
    bool raised = false;
    try {
      addendum->SaveToDisk();
    } catch (const EAddendumFileError&) {
      raised = true;
    }
    ::_exit(!raised ? 1 : !addendum->IsDirty() ? 2 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no error raised, 2: addendum clean after failure";
  EXPECT_TRUE(ReadBytes(BrandsPath()) == old);
  // No temporary file is left behind either.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(FRoot / "addendums"))
    ++files;
  EXPECT_EQ(files, 1);
}

} // namespace
