// Whole QA runs through the exports with the real speller, the ru_RU dictionary and each
// headless review, in temporary per-user folders; checks the findings and the bytes written.
#include "PluginHost.h"

#include "platform/UFiles.h"
#include "platform/UText.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;
using Findings = std::vector<std::pair<std::u16string, intptr_t>>;

namespace {

std::string Utf16Le(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

std::string Settings(uint8_t mode, uint8_t options) {
  std::string b(256, '\0');
  b[0] = '\xA5';
  b[1] = '\x5A';
  b[4] = static_cast<char>(mode);
  b[8] = 6;
  b[12] = static_cast<char>(options);
  return b;
}

const std::vector<TestSegment> Project = {
    {u"Could not open the file.", u"Не удалось открыть файлл.", 1},
    {u"File saved.", u"Файлл сохранён.", 2},
    {u"See http://example.com/a.html or config.ini", u"См. http://example.com/a.html", 3},
    {u"Version 2.0.13", u"Версия 2.0.13 готова", 4},
    {u"Save", u"Сохранитть и сохранитть", 5},
};

class Runs : public ::testing::Test {
protected:
  void Open(const char* review) {
    setenv("RYVEL_REVIEW", review, 1);
    host = LoadBuiltModule();
  }
  fs::path SettingsFile() const { return xdg.Cache / "Ryvel" / "RyvelQASpellerF1.cfg"; }
  fs::path ItemsFile() const { return xdg.Cache / "Ryvel" / "RyvelQASpellerF1.cfg.items"; }
  std::optional<std::string> Read(const fs::path& p) const {
    return Ryvel::Platform::ReadWholeFile(p);
  }
  TempXdg xdg;
  std::unique_ptr<TPluginModule> host;
};

} // namespace

TEST_F(Runs, ConfirmAllReportsEveryUnknownWordAndRemembersIt) {
  Open("confirm-all");
  const Findings expected = {{u"сохранитть", 5}, {u"сохранитть", 5}, {u"файлл", 1}, {u"файлл", 2}};
  EXPECT_EQ(RunSegments(*host, 1, Project), expected);
  EXPECT_EQ(Read(SettingsFile()), Settings(1, 7));
  // Remembered as displayed: both words were seen in two spellings, so as their keys.
  EXPECT_EQ(Read(ItemsFile()), Utf16Le(u"сохранитть\r\nфайлл\r\n"));
  // The next run restores the remembered words and reports them again; a run after a run works.
  EXPECT_EQ(RunSegments(*host, 1, Project), expected);
  EXPECT_EQ(Read(ItemsFile()), Utf16Le(u"сохранитть\r\nфайлл\r\n"));
}

TEST_F(Runs, AsShownReportsTheRememberedWordsOnly) {
  Open("as-shown");
  // Nothing remembered yet: in the accepting mode nothing was moved out, so nothing is reported.
  EXPECT_TRUE(RunSegments(*host, 1, Project).empty());
  EXPECT_EQ(Read(SettingsFile()), Settings(1, 7));
  EXPECT_EQ(Read(ItemsFile()), std::string());
  ASSERT_TRUE(Ryvel::Platform::WriteFileAtomic(ItemsFile(), Utf16Le(u"файлл\r\nМасква\r\n")));
  EXPECT_EQ(RunSegments(*host, 1, Project), (Findings{{u"файлл", 1}, {u"файлл", 2}}));
  // Only what the run found stays remembered.
  EXPECT_EQ(Read(ItemsFile()), Utf16Le(u"файлл\r\n"));
}

TEST_F(Runs, CancelLeavesEveryFileAsItWas) {
  Open("cancel");
  ASSERT_TRUE(Ryvel::Platform::ForceDirectories(SettingsFile().parent_path()));
  const std::string settings = Settings(0, 0x21);
  const std::string items = Utf16Le(u"файлл\r\n");
  ASSERT_TRUE(Ryvel::Platform::WriteFileAtomic(SettingsFile(), settings));
  ASSERT_TRUE(Ryvel::Platform::WriteFileAtomic(ItemsFile(), items));
  EXPECT_TRUE(RunSegments(*host, 1, Project).empty());
  EXPECT_EQ(Read(SettingsFile()), settings);
  EXPECT_EQ(Read(ItemsFile()), items);
}

TEST_F(Runs, DiscardModeFromTheSettingsFile) {
  Open("confirm-all");
  ASSERT_TRUE(Ryvel::Platform::ForceDirectories(SettingsFile().parent_path()));
  // Mode wmDiscard with no options: a false alarm remembered earlier is reported again by
  // confirm-all, which moves every excluded word back to the word list.
  ASSERT_TRUE(Ryvel::Platform::WriteFileAtomic(SettingsFile(), Settings(0, 0)));
  ASSERT_TRUE(Ryvel::Platform::WriteFileAtomic(ItemsFile(), Utf16Le(u"сохранитть\r\n")));
  const Findings found = RunSegments(*host, 1, Project);
  EXPECT_EQ(found, (Findings{{u"сохранитть", 5}, {u"сохранитть", 5}, {u"файлл", 1}, {u"файлл", 2}}));
  EXPECT_EQ(Read(SettingsFile()), Settings(0, 0));
  // In the discarding mode the excluded list is remembered: confirm-all emptied it.
  EXPECT_EQ(Read(ItemsFile()), std::string());
}

TEST_F(Runs, AddendumListAndActiveAddendumWords) {
  const fs::path dir = xdg.Root / "addendums";
  ASSERT_TRUE(Ryvel::Platform::ForceDirectories(dir));
  ASSERT_TRUE(Ryvel::Platform::ForceDirectories(xdg.Config / "Veskora" / "Ryvel"));
  {
    std::ofstream conf(xdg.Config / "Veskora" / "Ryvel" / "Speller.conf");
    conf << "AddendumsDir=" << dir.string() << "\n";
  }
  const std::string list = Utf16Le(u"1Brands\r\n0Old\r\n");
  ASSERT_TRUE(Ryvel::Platform::WriteFileAtomic(dir / "RyvelQASpellerH_ru_RU.addendums.cfg", list));
  const std::string brands = "\xEF\xBB\xBF# Addendum file for Veskora Ryvel Spell Checker\r\n#\r\n"
                             "Файлл\r\n";
  ASSERT_TRUE(Ryvel::Platform::WriteFileAtomic(dir / "RyvelQASpellerH_ru_RU.Brands.txt", brands));
  ASSERT_TRUE(Ryvel::Platform::WriteFileAtomic(dir / "RyvelQASpellerH_ru_RU.Old.txt",
                                               "\xEF\xBB\xBF" "сохранитть\r\n"));
  Open("confirm-all");
  // 'Файлл' of the active addendum is accepted in its own spelling only; the inactive
  // addendum's word is still reported.
  EXPECT_EQ(RunSegments(*host, 1, Project),
            (Findings{{u"сохранитть", 5}, {u"сохранитть", 5}, {u"файлл", 1}}));
  EXPECT_EQ(Read(dir / "RyvelQASpellerH_ru_RU.addendums.cfg"), list);
  EXPECT_EQ(Read(dir / "RyvelQASpellerH_ru_RU.Brands.txt"), brands);
}
