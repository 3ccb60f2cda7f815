// The special words of the speller: the special-words file beside the dictionary and the
// active addendums, read afresh by every ReloadSpecialWords.
#include "SpellerTestSupport.h"

#include "platform/UFiles.h"
#include "platform/UKeyValueStore.h"
#include "speller/UAddendums.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr TRySpellerOptions None{};

class SpellerSpecialWordsTest : public TSpellerFolderTest {
protected:
  void SetUp() override {
    TSpellerFolderTest::SetUp();
    std::filesystem::create_directories(FRoot / "addendums");
    ASSERT_TRUE(Ryvel::Platform::TKeyValueStore::SpellerKey().Write(
        "AddendumsDir", Ryvel::Platform::PathToUtf16(FRoot / "addendums")));
    FAddendums = std::make_unique<TVeAddendumFilesList>(u"RyvelQASpellerH_ru_RU.");
  }

  // A saved addendum holding aWords.
  TVeAddendumFile* SavedAddendum(const std::u16string& aName,
                                 std::initializer_list<std::u16string_view> aWords) {
    TVeAddendumFile* addendum = FAddendums->AddAddendum(aName);
    for (auto w : aWords)
      addendum->Add(w);
    FAddendums->SaveToDisk();
    return addendum;
  }

  std::vector<std::u16string> Reported(TSpellerSpanish& aSpeller, std::u16string_view aTarget) {
    return RunCheck(aSpeller, u"", aTarget, None).Words;
  }

  std::unique_ptr<TVeAddendumFilesList> FAddendums;
};

TEST_F(SpellerSpecialWordsTest, NoSpecialWordsBeforeTheFirstReload) {
  WriteSpecialWords("GitHub\tOrganisation\n");
  auto speller = MakeSpeller();
  EXPECT_EQ(speller->SpecialWords(), nullptr);
  EXPECT_THAT(Reported(*speller, u"GitHub"), ElementsAre(u"GitHub"));
  speller->ReloadSpecialWords();
  EXPECT_THAT(Reported(*speller, u"GitHub"), IsEmpty());
}

TEST_F(SpellerSpecialWordsTest, SpecialWordsAreNeitherCountedNorReported) {
  WriteSpecialWords("GitHub\tOrganisation\nНью-Йорк\tCity\tM\tS\nNew York\tCity\n");
  auto speller = MakeSpeller();
  speller->ReloadSpecialWords();
  const TCheckResult r = RunCheck(*speller, u"", u"GitHub в Нью-Йорк, New York и Масква", None);
  EXPECT_THAT(r.Words, ElementsAre(u"Масква"));
  EXPECT_EQ(r.TotalWords, 3); // в, и, Масква
  // The file's entries are also known in capitals, but not in lower case.
  EXPECT_THAT(Reported(*speller, u"GITHUB github"), ElementsAre(u"github"));
}

TEST_F(SpellerSpecialWordsTest, MissingSpecialWordsFileGivesAnEmptyList) {
  auto speller = MakeSpeller();
  speller->ReloadSpecialWords();
  ASSERT_NE(speller->SpecialWords(), nullptr);
  EXPECT_EQ(speller->SpecialWords()->Count(), 0);
  EXPECT_THAT(FSink.Texts, IsEmpty());
}

TEST_F(SpellerSpecialWordsTest, ActiveAddendumWordInItsOwnSpellingOnly) {
  SavedAddendum(u"Brands", {u"Фоо"});
  auto speller = MakeSpeller(FAddendums.get());
  speller->ReloadSpecialWords();
  const TCheckResult r = RunCheck(*speller, u"", u"Фоо и фоо", None);
  EXPECT_THAT(r.Words, ElementsAre(u"фоо"));
  EXPECT_EQ(r.TotalWords, 2); // и, фоо
}

TEST_F(SpellerSpecialWordsTest, AddendumsAddToTheSpecialWordsFile) {
  WriteSpecialWords("GitHub\tOrganisation\n");
  SavedAddendum(u"Brands", {u"Фоо"});
  auto speller = MakeSpeller(FAddendums.get());
  speller->ReloadSpecialWords();
  EXPECT_THAT(Reported(*speller, u"GitHub Фоо Масква"), ElementsAre(u"Масква"));
}

TEST_F(SpellerSpecialWordsTest, InactiveAddendumIsSkipped) {
  TVeAddendumFile* addendum = SavedAddendum(u"Brands", {u"Фоо"});
  addendum->SetIsActive(false);
  auto speller = MakeSpeller(FAddendums.get());
  speller->ReloadSpecialWords();
  EXPECT_THAT(Reported(*speller, u"Фоо"), ElementsAre(u"Фоо"));
}

TEST_F(SpellerSpecialWordsTest, AddendumWithoutFileIsSkipped) {
  FAddendums->AddAddendum(u"Unsaved")->Add(u"Фоо"); // in memory only
  auto speller = MakeSpeller(FAddendums.get());
  speller->ReloadSpecialWords();
  EXPECT_THAT(Reported(*speller, u"Фоо"), ElementsAre(u"Фоо"));
  EXPECT_THAT(FSink.Texts, IsEmpty());
}

TEST_F(SpellerSpecialWordsTest, ReloadSeesChangesOfTheAddendums) {
  TVeAddendumFile* addendum = SavedAddendum(u"Brands", {u"Фоо"});
  auto speller = MakeSpeller(FAddendums.get());
  speller->ReloadSpecialWords();
  EXPECT_THAT(Reported(*speller, u"Фоо Бар"), ElementsAre(u"Бар"));

  addendum->Add(u"Бар");
  FAddendums->SaveToDisk();
  speller->ReloadSpecialWords();
  EXPECT_THAT(Reported(*speller, u"Фоо Бар"), IsEmpty());

  addendum->SetIsActive(false);
  speller->ReloadSpecialWords();
  EXPECT_THAT(Reported(*speller, u"Фоо Бар"), ElementsAre(u"Фоо", u"Бар"));
}

TEST_F(SpellerSpecialWordsTest, CollectionIsBorrowedNotOwned) {
  SavedAddendum(u"Brands", {u"Фоо"});
  {
    auto speller = MakeSpeller(FAddendums.get());
    speller->ReloadSpecialWords();
  }
  // The speller is gone; the collection and its addendum are intact.
  ASSERT_EQ(FAddendums->AddendumCount(), 1);
  EXPECT_EQ(FAddendums->GetAddendum(0)->Name(), u"Brands");
}

} // namespace
