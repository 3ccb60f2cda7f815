#include "ReviewTestSupport.h"

#include "platform/UTicks.h"
#include "review/UReviewFrontEnd.h"

#include <stdexcept>

namespace {

using Ryvel::Platform::SetTickSource;

// A clock that stands still unless a test moves it.
class CheckRun : public ReviewFixture {
protected:
  uint32_t Now = 100000;
  uint32_t Step = 0; // added after every reading
  void SetUp() override {
    SetTickSource([this] {
      const uint32_t t = Now;
      Now += Step;
      return t;
    });
  }
  void TearDown() override {
    SetTickSource({});
    ReviewFixture::TearDown();
  }
};

// A front end that records whether it was asked and answers as told.
class TRecordingFrontEnd : public IReviewFrontEnd {
public:
  int Answer = 1;
  int Calls = 0;
  bool ProgressGoneWhenShown = false;
  std::function<void(TReviewCore&)> Act;
  int ShowModal(TReviewCore& aCore) override {
    ++Calls;
    ProgressGoneWhenShown = ProgressDialog == nullptr;
    if (Act)
      Act(aCore);
    return Answer;
  }
};

TEST_F(CheckRun, MergesSpellingsThatShareAKey) {
  AddSegment(u"Масква и масква");
  AddSegment(u"МАСКВА");
  Unknown({u"Масква", u"масква", u"МАСКВА"});
  TReviewCore core;
  Assign(core, wmDiscard);

  ASSERT_TRUE(core.RunCheck(false));

  const TUnknownWordList& pending = core.Pending();
  ASSERT_EQ(pending.Count(), 2);
  const TUnknownWord* lower = pending.FindWord(u"масква");
  const TUnknownWord* upper = pending.FindWord(u"МАСКВА");
  ASSERT_NE(lower, nullptr);
  ASSERT_NE(upper, nullptr);
  EXPECT_EQ(lower->Text(), u"масква");
  EXPECT_EQ(Ids(*lower), (std::vector<uintptr_t>{1, 1}));
  EXPECT_EQ(upper->Text(), u"МАСКВА");
  EXPECT_EQ(Ids(*upper), (std::vector<uintptr_t>{2}));
  // Most frequent first in mode wmDiscard.
  EXPECT_EQ(WordTexts(core), (std::vector<std::u16string>{u"масква", u"МАСКВА"}));
  EXPECT_EQ(core.WordRows().RowCount(), 2);
  EXPECT_EQ(core.WordCount(), 4);
  EXPECT_EQ(Speller->ReloadCount, 1);
}

TEST_F(CheckRun, SameWordTwiceInOneSegmentIsOneRowWithTwoInstances) {
  AddSegment(u"кот и кот");
  Unknown({u"кот"});
  TReviewCore core;
  Assign(core, wmAccept);
  ASSERT_TRUE(core.RunCheck(false));
  ASSERT_EQ(core.UnknownWords().Count(), 1);
  EXPECT_EQ(Ids(*core.UnknownWords()[0]), (std::vector<uintptr_t>{1, 1}));
}

TEST_F(CheckRun, InitialSortFollowsTheWorkingMode) {
  AddSegment(u"редко часто часто часто");
  Unknown({u"редко", u"часто"});
  struct {
    TWorkingMode Mode;
    std::vector<std::u16string> Rows;
  } const cases[] = {
      {wmDiscard, {u"часто", u"редко"}}, // the most frequent first
      {wmAccept, {u"редко", u"часто"}},  // the rarest first
  };
  for (const auto& c : cases) {
    TReviewCore core;
    Assign(core, c.Mode);
    ASSERT_TRUE(core.RunCheck(false));
    EXPECT_EQ(core.SortCol(), LsCount);
    EXPECT_EQ(WordTexts(core), c.Rows) << "mode " << int(c.Mode);
  }
}

// Remembered words of the mode's list that the run finds go to the excluded list; the match is
// exact, and the other mode's list is not consulted.
struct TRememberCase {
  const char* Name;
  TWorkingMode Mode;
  bool InConfirmed; // the remembered word sits in Confirmed (else in Discarded)
  std::u16string Remembered;
  std::vector<std::u16string> Excluded;
  std::vector<std::u16string> Rows;
};

class RememberedWords : public CheckRun, public ::testing::WithParamInterface<TRememberCase> {};

TEST_P(RememberedWords, MoveToTheExcludedListOnlyWhenFoundExactly) {
  const TRememberCase& c = GetParam();
  AddSegment(u"Москва Тверь");
  AddSegment(u"Москва");
  Unknown({u"Москва", u"Тверь"});
  (c.InConfirmed ? Confirmed : Discarded).Add(c.Remembered, nullptr);
  TReviewCore core;
  Assign(core, c.Mode);

  ASSERT_TRUE(core.RunCheck(false));

  EXPECT_EQ(ExcludedTexts(core), c.Excluded);
  EXPECT_EQ(WordTexts(core), c.Rows);
  for (int i = 0; i < core.Excluded().Count(); ++i)
    EXPECT_EQ(Ids(*core.Excluded().Entry(i).Word), (std::vector<uintptr_t>{1, 2}));
}

INSTANTIATE_TEST_SUITE_P(
    CheckRun, RememberedWords,
    ::testing::Values(
        TRememberCase{"AcceptModeFound", wmAccept, true, u"Москва", {u"Москва"}, {u"Тверь"}},
        TRememberCase{"DiffersInCaseStays", wmAccept, true, u"москва", {}, {u"Тверь", u"Москва"}},
        TRememberCase{"DiscardModeFound", wmDiscard, false, u"Москва", {u"Москва"}, {u"Тверь"}},
        TRememberCase{
            "OtherModesListIgnored", wmDiscard, true, u"Москва", {}, {u"Москва", u"Тверь"}},
        TRememberCase{"NotFoundIgnored", wmAccept, true, u"Казань", {}, {u"Тверь", u"Москва"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CheckRun, RerunKeepsTheExcludedWordsItStillFinds) {
  AddSegment(u"альфа бета гамма");
  Unknown({u"альфа", u"бета", u"гамма"});
  TReviewCore core;
  Assign(core, wmAccept);
  ASSERT_TRUE(core.RunCheck(false));
  core.DiscardWord(u"бета");
  core.DiscardWord(u"гамма");
  Speller->Unknown.erase(u"гамма"); // the next run no longer finds it

  ASSERT_TRUE(core.RunCheck(true));

  EXPECT_EQ(ExcludedTexts(core), (std::vector<std::u16string>{u"бета"}));
  EXPECT_EQ(WordTexts(core), (std::vector<std::u16string>{u"альфа"}));
  // The excluded list became the remembered words of the mode before the run.
  EXPECT_EQ(Keys(Confirmed), (std::vector<std::u16string>{u"бета", u"гамма"}));
  EXPECT_TRUE(Discarded.Count() == 0);
}

struct TCollectCase {
  TWorkingMode Mode;
  std::vector<std::u16string> Confirmed;
  std::vector<std::u16string> Discarded;
};

TEST_F(CheckRun, CollectResultsInBothModes) {
  const TCollectCase cases[] = {
      {wmDiscard, {u"а", u"б"}, {u"в"}},
      {wmAccept, {u"в"}, {}},
  };
  AddSegment(u"а б в");
  AddSegment(u"б");
  Unknown({u"а", u"б", u"в"});
  for (const auto& c : cases) {
    Confirmed.Clear();
    Discarded.Clear();
    Discarded.Add(u"старое", nullptr); // emptied by the collection
    TReviewCore core;
    Assign(core, c.Mode);
    ASSERT_TRUE(core.RunCheck(false));
    core.DiscardWord(u"в");
    core.CollectResults();
    EXPECT_EQ(Keys(Confirmed), c.Confirmed) << "mode " << int(c.Mode);
    EXPECT_EQ(Keys(Discarded), c.Discarded) << "mode " << int(c.Mode);
    EXPECT_EQ(core.Pending().Count(), 0);
    if (const TUnknownWord* b = Confirmed.FindWord(u"б")) {
      EXPECT_EQ(Ids(*b), (std::vector<uintptr_t>{1, 2}));
    }
  }
}

// In mode wmAccept only the excluded words are reported: a word left in the word list is not,
// even when an excluded word differs from it only in case.
TEST_F(CheckRun, AcceptModeReportsNoWordLeftInTheWordList) {
  AddSegment(u"масква МАСКВА");
  Unknown({u"масква", u"МАСКВА"});
  TReviewCore core;
  Assign(core, wmAccept);
  ASSERT_TRUE(core.RunCheck(false));
  core.DiscardWord(u"масква");
  ASSERT_EQ(WordTexts(core), (std::vector<std::u16string>{u"МАСКВА"}));
  core.CollectResults();
  EXPECT_EQ(Keys(Confirmed), (std::vector<std::u16string>{u"масква"}));
}

TEST_F(CheckRun, NoSegmentsCompletesWithEmptyLists) {
  struct {
    uint32_t Step;
    std::u16string Status;
  } const cases[] = {
      {0, u"Elapsed Time 0ms    Total Words: 0         "},
      {3, u"Elapsed Time 3ms    Total Words: 0            (0 word/s)"},
  };
  for (const auto& c : cases) {
    Step = c.Step;
    TRecordingView view;
    TReviewCore core(&view);
    Assign(core, wmDiscard);
    EXPECT_TRUE(core.RunCheck(false));
    EXPECT_EQ(core.UnknownWords().Count(), 0);
    EXPECT_EQ(core.Excluded().Count(), 0);
    EXPECT_EQ(view.Status, c.Status);
    EXPECT_EQ(view.Depth, 0);
  }
}

TEST_F(CheckRun, StatisticsTexts) {
  struct {
    uint32_t Elapsed;
    int64_t Words;
    std::u16string Text;
  } const cases[] = {
      {2500, 12345, u"Elapsed Time 2500ms    Total Words: 12,345       (4,938 word/s)"},
      {12345, 250000, u"Elapsed Time: 12s    Total Words: 250,000      (20,251 word/s)"},
      {9999, 1, u"Elapsed Time 9999ms    Total Words: 1            (0 word/s)"},
      {10000, 0, u"Elapsed Time: 10s    Total Words: 0            (0 word/s)"},
      {10999, 3, u"Elapsed Time: 10s    Total Words: 3            (0 word/s)"},
      {0, 5, u"Elapsed Time 0ms    Total Words: 5         "},
      {1, 1234567890,
       u"Elapsed Time 1ms    Total Words: 1,234,567,890   (1,234,567,890,000 word/s)"},
      {3, 2, u"Elapsed Time 3ms    Total Words: 2            (667 word/s)"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TReviewCore::FormatStatistics(c.Elapsed, c.Words), c.Text) << c.Elapsed;
}

TEST_F(CheckRun, ElapsedTimeSpansTheWholePass) {
  AddSegment(u"раз два");
  Unknown({u"раз"});
  Step = 1500; // every clock reading moves 1.5 s on
  TRecordingView view;
  TReviewCore core(&view);
  Assign(core, wmDiscard);
  ASSERT_TRUE(core.RunCheck(false));
  // Start, the first segment's deadline, the end: two steps between start and end.
  EXPECT_EQ(core.ElapsedTime(), 3000u);
  EXPECT_EQ(view.Status, u"Elapsed Time 3000ms    Total Words: 2            (1 word/s)");
}

TEST_F(CheckRun, RunWithoutProgressWindowUsesTheViewsBar) {
  for (int i = 0; i < 3; ++i)
    AddSegment(u"слово");
  TRecordingView view;
  TReviewCore core(&view);
  Assign(core, wmDiscard);
  ASSERT_TRUE(core.RunCheck(false));
  EXPECT_EQ(view.BarMaximum, 3);
  EXPECT_FALSE(view.BarShown);
  EXPECT_EQ(view.Depth, 0);
  EXPECT_GE(view.MaxDepth, 2);
}

TEST_F(CheckRun, ReportsPhaseTwoToTheProgressWindow) {
  AddSegment(u"раз два");
  AddSegment(u"три");
  AddSegment(u"раз четыре раз");
  Unknown({u"раз", u"четыре"});
  CreateProgressDialog(CreateHeadlessProgressView());
  ASSERT_NE(ProgressDialog, nullptr);
  TRecordingView view;
  TReviewCore core(&view);
  Assign(core, wmDiscard);

  ASSERT_TRUE(core.RunCheck(false));

  EXPECT_EQ(ProgressDialog->SegmentsDone(), 3);
  EXPECT_EQ(ProgressDialog->SegmentsWithErrors(), 2);
  EXPECT_EQ(ProgressDialog->WordCount(), 6);
  EXPECT_EQ(ProgressDialog->WordErrorCount(), 2);
  EXPECT_EQ(view.BarMaximum, -1); // the window's own bar stays away
}

TEST_F(CheckRun, CancelInTheProgressWindowEndsTheReviewWithoutShowingIt) {
  for (int i = 0; i < 10; ++i)
    AddSegment(u"ошибка");
  Unknown({u"ошибка"});
  CreateProgressDialog(CreateHeadlessProgressView());
  // Cancel is pressed while the 5th segment is checked.
  Speller->OnCheck = [](int aCall) {
    if (aCall == 4)
      ProgressDialog->CancelButtonClick();
  };
  TRecordingFrontEnd frontEnd;
  Options.WorkingMode = wmAccept;

  const int result =
      TReviewCore::Execute(frontEnd, Options, Segments, Confirmed, Discarded, Speller);

  EXPECT_EQ(result, 2);
  EXPECT_EQ(frontEnd.Calls, 0);
  EXPECT_EQ(Speller->CheckCount, 5);
  EXPECT_EQ(ProgressDialog, nullptr);
}

TEST_F(CheckRun, CancelledRunKeepsTheWordsPendingButShowsNone) {
  AddSegment(u"ошибка");
  AddSegment(u"ещё");
  Unknown({u"ошибка", u"ещё"});
  CreateProgressDialog(CreateHeadlessProgressView());
  Speller->OnCheck = [](int aCall) {
    if (aCall == 1)
      ProgressDialog->SetUserCancel(true);
  };
  TReviewCore core;
  Assign(core, wmDiscard);
  EXPECT_FALSE(core.RunCheck(false));
  EXPECT_EQ(core.Pending().Count(), 2);
  EXPECT_EQ(core.UnknownWords().Count(), 0);
  EXPECT_EQ(core.WordRows().RowCount(), 0);
}

TEST_F(CheckRun, SpellerNotEnabledOrMissingGivesTwoWithoutShowing) {
  AddSegment(u"слово");
  Unknown({u"слово"});
  Speller->IsEnabled = false;
  const std::shared_ptr<IRySpeller> spellers[] = {Speller, nullptr};
  for (const auto& speller : spellers) {
    CreateProgressDialog(CreateHeadlessProgressView());
    Confirmed.Add(u"слово", nullptr);
    TRecordingFrontEnd frontEnd;
    const TSpellerConfirmOptions before = Options;
    EXPECT_EQ(TReviewCore::Execute(frontEnd, Options, Segments, Confirmed, Discarded, speller), 2);
    EXPECT_EQ(frontEnd.Calls, 0);
    EXPECT_EQ(ProgressDialog, nullptr);
    EXPECT_EQ(Options.WorkingMode, before.WorkingMode);
    EXPECT_EQ(Confirmed.Count(), 1); // the session's lists are untouched
  }
  EXPECT_EQ(Speller->CheckCount, 0);
  EXPECT_EQ(Speller->ReloadCount, 0);
}

TEST_F(CheckRun, OkWritesTheOptionsBackWithTheSameAddendums) {
  AddSegment(u"слово");
  Unknown({u"слово"});
  auto* addendums = reinterpret_cast<TVeAddendumFilesList*>(&Options); // only compared
  Options.Addendums = addendums;
  Options.WorkingMode = wmDiscard;
  CreateProgressDialog(CreateHeadlessProgressView());
  TRecordingFrontEnd frontEnd;
  frontEnd.Act = [](TReviewCore& aCore) {
    aCore.SetWorkingModeField(wmAccept);
    aCore.SetSpellerOptions(TRySpellerOptions{CRysoExcludeAbbreviations});
  };
  ASSERT_EQ(TReviewCore::Execute(frontEnd, Options, Segments, Confirmed, Discarded, Speller), 1);
  EXPECT_TRUE(frontEnd.ProgressGoneWhenShown);
  EXPECT_EQ(Options.WorkingMode, wmAccept);
  EXPECT_EQ(Options.Speller, TRySpellerOptions{CRysoExcludeAbbreviations});
  EXPECT_EQ(Options.Addendums, addendums);
}

TEST_F(CheckRun, CancelLeavesTheOptionsAsTheyWere) {
  AddSegment(u"слово");
  Unknown({u"слово"});
  Options.WorkingMode = wmDiscard;
  TRecordingFrontEnd frontEnd;
  frontEnd.Answer = 2;
  frontEnd.Act = [](TReviewCore& aCore) { aCore.SetWorkingModeField(wmAccept); };
  EXPECT_EQ(TReviewCore::Execute(frontEnd, Options, Segments, Confirmed, Discarded, Speller), 2);
  EXPECT_EQ(Options.WorkingMode, wmDiscard);
  EXPECT_EQ(Confirmed.Count(), 0);
}

TEST_F(CheckRun, SpellerErrorPassesThroughAfterTheProgressWindowIsGone) {
  AddSegment(u"слово");
  Speller->OnCheck = [](int) { throw std::runtime_error("dictionary failed"); };
  CreateProgressDialog(CreateHeadlessProgressView());
  TRecordingFrontEnd frontEnd;
  EXPECT_THROW(TReviewCore::Execute(frontEnd, Options, Segments, Confirmed, Discarded, Speller),
               std::runtime_error);
  EXPECT_EQ(ProgressDialog, nullptr);
  EXPECT_EQ(frontEnd.Calls, 0);
}

TEST_F(CheckRun, SpellerErrorResumesRepaintingAndHidesTheBar) {
  AddSegment(u"слово");
  Speller->OnCheck = [](int) { throw std::runtime_error("dictionary failed"); };
  TRecordingView view;
  TReviewCore core(&view);
  Assign(core, wmDiscard);
  EXPECT_THROW(core.RunCheck(true), std::runtime_error);
  EXPECT_EQ(view.Depth, 0);
  EXPECT_FALSE(view.BarShown);
}

} // namespace
