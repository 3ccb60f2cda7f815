// The collection: its folder from the key=value store, the list text and list file, loading,
// saving, deleting and the name lookups.
#include "AddendumsTestSupport.h"

#include "platform/UFiles.h"
#include "platform/UText.h"
#include "speller/UAddendums.h"

#include <gtest/gtest.h>

#include <vector>

namespace fs = std::filesystem;
using Ryvel::Platform::PathToUtf16;
using Ryvel::Platform::Utf16ToUtf8;

namespace {

const std::string Bom = "\xEF\xBB\xBF";

std::string Utf16LeBytes(std::u16string_view aText) {
  std::string bytes;
  for (char16_t c : aText) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

struct TEntry {
  std::u16string Name;
  bool Active;
  bool operator==(const TEntry&) const = default;
};

void PrintTo(const TEntry& e, std::ostream* os) {
  *os << (e.Active ? "1" : "0") << Utf16ToUtf8(e.Name);
}

std::vector<TEntry> EntriesOf(const TVeAddendumFilesList& aList) {
  std::vector<TEntry> entries;
  for (int i = 0; i < aList.AddendumCount(); ++i)
    entries.push_back({aList.GetAddendum(i)->Name(), aList.GetAddendum(i)->IsActive()});
  return entries;
}

class AddendumsListTest : public TScratchFolderTest {
protected:
  void SetUp() override {
    TScratchFolderTest::SetUp();
    StoreAddendumsDir(AddendumDir());
    FList = std::make_unique<TVeAddendumFilesList>(TestBaseName);
  }
  fs::path ListPath() const { return AddendumPath("RyvelQASpellerH_ru_RU.addendums.cfg"); }

  std::unique_ptr<TVeAddendumFilesList> FList;
};

// ---------------------------------------------------------------------------------------------
// The list text.

struct TBufferCase {
  const char* Label;
  std::u16string Text;
  std::vector<TEntry> Entries;
};

class AddendumsBufferTest : public AddendumsListTest,
                            public ::testing::WithParamInterface<TBufferCase> {};

TEST_P(AddendumsBufferTest, BuildsCollectionFromListText) {
  FList->SetAsBuffer(GetParam().Text);
  EXPECT_EQ(EntriesOf(*FList), GetParam().Entries);
}

INSTANTIATE_TEST_SUITE_P(
    ListText, AddendumsBufferTest,
    ::testing::Values(TBufferCase{"tail_without_break_ignored",
                                  u"1Brands\r\n0Old\r\n1Tail",
                                  {{u"Brands", true}, {u"Old", false}}},
                      TBufferCase{"same_name_ignoring_ascii_case_once",
                                  u"1Brands\r\n0brands\r\n",
                                  {{u"Brands", false}}},
                      TBufferCase{"cyrillic_case_counts",
                                  u"1Прага\r\n0прага\r\n",
                                  {{u"Прага", true}, {u"прага", false}}},
                      TBufferCase{"empty_line_inactive_empty_name", u"\r\n", {{u"", false}}},
                      TBufferCase{"other_flag_inactive", u"xName\r\n", {{u"Name", false}}},
                      TBufferCase{"name_kept_untrimmed", u"1 Spaced \r\n", {{u" Spaced ", true}}},
                      TBufferCase{"lone_lf_is_not_a_break", u"1A\n0B\r\n", {{u"A\n0B", true}}},
                      TBufferCase{"colon_replaced", u"1a:b\r\n", {{u"a_b", true}}},
                      TBufferCase{"empty_text", u"", {}}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_F(AddendumsListTest, AsBufferListsFlagNameAndBreak) {
  FList->AddAddendum(u"Brands");
  FList->AddAddendum(u"Old")->SetIsActive(false);
  FList->AddAddendum(u"a:b");
  EXPECT_EQ(FList->AsBuffer(), u"1Brands\r\n0Old\r\n1a_b\r\n");
  FList->SetAsBuffer(FList->AsBuffer());
  EXPECT_EQ(FList->AsBuffer(), u"1Brands\r\n0Old\r\n1a_b\r\n");
}

// ---------------------------------------------------------------------------------------------
// Lookups.

TEST_F(AddendumsListTest, LookupsCompareOnlyAsciiLettersWithoutCase) {
  TVeAddendumFile* brands = FList->AddAddendum(u"Brands");
  TVeAddendumFile* praha = FList->AddAddendum(u"Прага");
  EXPECT_EQ(FList->AddAddendum(u"BRANDS"), brands);
  EXPECT_EQ(FList->FindAddendum(u"bRaNdS"), brands);
  EXPECT_EQ(FList->FindAddendum(u"Прага"), praha);
  EXPECT_EQ(FList->FindAddendum(u"прага"), nullptr);
  EXPECT_EQ(FList->FindAddendum(u"Brand"), nullptr);
  EXPECT_EQ(FList->AddendumCount(), 2);
  EXPECT_EQ(FList->GetAddendum(-1), nullptr);
  EXPECT_EQ(FList->GetAddendum(2), nullptr);
  EXPECT_EQ(FList->GetAddendum(1), praha);
}

TEST_F(AddendumsListTest, ColonNameNextToUnderscoreNameGivesSecondAddendum) {
  TVeAddendumFile* first = FList->AddAddendum(u"a_b");
  TVeAddendumFile* second = FList->AddAddendum(u"a:b");
  EXPECT_NE(first, second);
  EXPECT_EQ(second->Name(), u"a_b");
  EXPECT_EQ(FList->AddendumCount(), 2);
}

// ---------------------------------------------------------------------------------------------
// The folder from the key=value store.

struct TFolderCase {
  const char* Label;
  enum { Missing, Exact, WithoutSeparator, NoSuchFolder, RegularFile, Empty } Value;
  bool Usable;
};

class AddendumsFolderTest : public TScratchFolderTest,
                            public ::testing::WithParamInterface<TFolderCase> {};

TEST_P(AddendumsFolderTest, ReadsFolderOnceAndKeepsOnlyAnExistingOne) {
  const std::u16string dir = AddendumDir();
  const std::u16string bare = dir.substr(0, dir.size() - 1);
  WriteBytes(FRoot / "file", "x");
  switch (GetParam().Value) {
  case TFolderCase::Missing:
    break;
  case TFolderCase::Exact:
    StoreAddendumsDir(dir);
    break;
  case TFolderCase::WithoutSeparator:
    StoreAddendumsDir(bare);
    break;
  case TFolderCase::NoSuchFolder:
    StoreAddendumsDir(bare + u"-gone");
    break;
  case TFolderCase::RegularFile:
    StoreAddendumsDir(PathToUtf16(FRoot / "file"));
    break;
  case TFolderCase::Empty:
    StoreAddendumsDir(u"");
    break;
  }
  TVeAddendumFilesList list(TestBaseName);
  EXPECT_EQ(list.BaseDir(), GetParam().Usable ? dir : u"");
  EXPECT_EQ(list.AddendumCount(), 0); // nothing loaded before LoadFromDisk
}

INSTANTIATE_TEST_SUITE_P(
    Folder, AddendumsFolderTest,
    ::testing::Values(TFolderCase{"missing_value", TFolderCase::Missing, false},
                      TFolderCase{"with_separator", TFolderCase::Exact, true},
                      TFolderCase{"separator_added", TFolderCase::WithoutSeparator, true},
                      TFolderCase{"no_such_folder", TFolderCase::NoSuchFolder, false},
                      TFolderCase{"regular_file", TFolderCase::RegularFile, false},
                      TFolderCase{"empty_value", TFolderCase::Empty, false}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_F(AddendumsListTest, FolderChangeStoresValueReloadsAndLeavesOldFilesAlone) {
  FList->SetAsBuffer(u"1Brands\r\n");
  FList->GetAddendum(0)->Add(u"Ryvel");
  FList->SaveToDisk();
  const std::string oldList = ReadBytes(ListPath());
  const std::string oldBrands = ReadBytes(AddendumPath("RyvelQASpellerH_ru_RU.Brands.txt"));

  fs::create_directories(FRoot / "other");
  const std::u16string other = PathToUtf16(FRoot / "other"); // stored as given: no separator
  FList->GetAddendum(0)->Add(u"unsaved");
  FList->SetBaseDir(other);
  EXPECT_EQ(FList->BaseDir(), other);
  EXPECT_EQ(StoredAddendumsDir(), other);
  EXPECT_EQ(FList->AddendumCount(), 0);
  EXPECT_EQ(ReadBytes(ListPath()), oldList);
  EXPECT_EQ(ReadBytes(AddendumPath("RyvelQASpellerH_ru_RU.Brands.txt")), oldBrands);

  // Back to the first folder: the collection is what its list file says.
  FList->SetBaseDir(AddendumDir());
  ASSERT_EQ(FList->AddendumCount(), 1);
  EXPECT_EQ(FList->GetAddendum(0)->Entries().back(), u"Ryvel");
}

TEST_F(AddendumsListTest, SameFolderAgainChangesNothing) {
  FList->AddAddendum(u"Brands")->Add(u"kept");
  FList->SetBaseDir(FList->BaseDir());
  ASSERT_EQ(FList->AddendumCount(), 1);
  EXPECT_TRUE(FList->GetAddendum(0)->IsDirty());
}

// ---------------------------------------------------------------------------------------------
// Loading and saving.

TEST_F(AddendumsListTest, SaveWritesUtf16ListFileAndOnlyDirtyAddendums) {
  FList->AddAddendum(u"Brands")->Add(u"Ryvel");
  FList->AddAddendum(u"Пусто")->SetIsActive(false);
  FList->SaveToDisk();
  EXPECT_EQ(ReadBytes(ListPath()), Utf16LeBytes(u"1Brands\r\n0Пусто\r\n"));
  EXPECT_EQ(ReadBytes(AddendumPath("RyvelQASpellerH_ru_RU.Brands.txt")),
            Bom + "# Addendum file for Veskora Ryvel Spell Checker\r\n#\r\nRyvel\r\n");
  EXPECT_FALSE(fs::exists(AddendumPath("RyvelQASpellerH_ru_RU.Пусто.txt")));
  EXPECT_FALSE(FList->GetAddendum(0)->IsDirty());
}

TEST_F(AddendumsListTest, SaveWithoutAddendumsWritesEmptyListFile) {
  FList->SaveToDisk();
  ASSERT_TRUE(fs::exists(ListPath()));
  EXPECT_EQ(fs::file_size(ListPath()), 0u);
}

TEST_F(AddendumsListTest, WithoutFolderNothingIsLoadedOrWritten) {
  StoreAddendumsDir(u"");
  TVeAddendumFilesList list(TestBaseName);
  WriteBytes(ListPath(), Utf16LeBytes(u"1Brands\r\n"));
  list.LoadFromDisk();
  EXPECT_EQ(list.AddendumCount(), 0);
  list.AddAddendum(u"Brands")->Add(u"word");
  list.SaveToDisk(); // no folder: not even the dirty addendum is tried
  EXPECT_TRUE(list.GetAddendum(0)->IsDirty());
  EXPECT_EQ(ReadBytes(ListPath()), Utf16LeBytes(u"1Brands\r\n"));
}

TEST_F(AddendumsListTest, LoadReadsListFileAndEveryAddendumFile) {
  WriteBytes(ListPath(), Utf16LeBytes(u"1Brands\r\n0Old\r\n1Tail") + "\x31");
  WriteBytes(AddendumPath("RyvelQASpellerH_ru_RU.Brands.txt"), Bom + "Ryvel\r\nVeskora\r\n");
  FList->AddAddendum(u"Stale");
  FList->LoadFromDisk();
  EXPECT_EQ(EntriesOf(*FList), (std::vector<TEntry>{{u"Brands", true}, {u"Old", false}}));
  EXPECT_EQ(FList->GetAddendum(0)->Entries(), (std::vector<std::u16string>{u"Ryvel", u"Veskora"}));
  EXPECT_EQ(FList->GetAddendum(1)->Count(), 2); // header only: Old has no file

  fs::remove(ListPath());
  FList->LoadFromDisk();
  EXPECT_EQ(FList->AddendumCount(), 0);
}

TEST_F(AddendumsListTest, DeleteRemovesFileAtOnceAndLineAtNextSave) {
  FList->AddAddendum(u"Brands")->Add(u"Ryvel");
  FList->AddAddendum(u"Other");
  FList->SaveToDisk();
  const fs::path brands = AddendumPath("RyvelQASpellerH_ru_RU.Brands.txt");
  ASSERT_TRUE(fs::exists(brands));

  FList->DeleteAddendum(u"BRANDS");
  EXPECT_FALSE(fs::exists(brands));
  EXPECT_EQ(EntriesOf(*FList), (std::vector<TEntry>{{u"Other", true}}));
  EXPECT_EQ(ReadBytes(ListPath()), Utf16LeBytes(u"1Brands\r\n1Other\r\n"));

  // Reloading before a save brings the addendum back, without its words.
  FList->LoadFromDisk();
  ASSERT_NE(FList->FindAddendum(u"Brands"), nullptr);
  EXPECT_EQ(FList->FindAddendum(u"Brands")->Count(), 2);

  FList->DeleteAddendum(u"Brands");
  FList->DeleteAddendum(u"Nothing such");
  FList->SaveToDisk();
  EXPECT_EQ(ReadBytes(ListPath()), Utf16LeBytes(u"1Other\r\n"));
}

TEST_F(AddendumsListTest, OneFailingAddendumDoesNotCostTheOthersTheirWords) {
  TVeAddendumFile* blocked = FList->AddAddendum(u"Blocked");
  TVeAddendumFile* fine = FList->AddAddendum(u"Fine");
  blocked->Add(u"one");
  fine->Add(u"two");
  // A folder where the file should go: it cannot be replaced by a file.
  fs::create_directories(AddendumPath("RyvelQASpellerH_ru_RU.Blocked.txt"));
  EXPECT_THROW(FList->SaveToDisk(), EAddendumFileError);
  EXPECT_TRUE(blocked->IsDirty());
  EXPECT_FALSE(fine->IsDirty());
  EXPECT_EQ(ReadBytes(AddendumPath("RyvelQASpellerH_ru_RU.Fine.txt")),
            Bom + "# Addendum file for Veskora Ryvel Spell Checker\r\n#\r\ntwo\r\n");
  EXPECT_EQ(ReadBytes(ListPath()), Utf16LeBytes(u"1Blocked\r\n1Fine\r\n"));
}

TEST_F(AddendumsListTest, RefreshRereadsEveryAddendum) {
  FList->AddAddendum(u"A");
  FList->AddAddendum(u"B");
  WriteBytes(AddendumPath("RyvelQASpellerH_ru_RU.A.txt"), Bom + "x\r\n");
  WriteBytes(AddendumPath("RyvelQASpellerH_ru_RU.B.txt"), Bom + "y\r\n");
  FList->Refresh();
  EXPECT_EQ(FList->GetAddendum(0)->Entries(), std::vector<std::u16string>{u"x"});
  EXPECT_EQ(FList->GetAddendum(1)->Entries(), std::vector<std::u16string>{u"y"});
}

} // namespace
