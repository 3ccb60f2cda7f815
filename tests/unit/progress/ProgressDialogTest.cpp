// The progress window's logic with an injected clock and a recording view: when it shows,
// when it refreshes, which calls read the clock, cancellation and the registration.
#include "platform/UText.h"
#include "platform/UTicks.h"
#include "session/UProgressDialog.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>

#include <array>
#include <vector>

namespace {

// Everything the dialog asked of its window.
struct TViewLog {
  bool Visible = false;
  int Shows = 0;
  int Hides = 0;
  int Refreshes = 0;
  int MessagePasses = 0;
  int BroughtToFront = 0;
  std::array<std::u16string, 5> Counters;
  int Bar = -1;
  std::function<void()> Cancel;
  bool ClickCancelOnNextPass = false;
};

class TRecordingView final : public IProgressView {
public:
  explicit TRecordingView(TViewLog& aLog) : FLog(aLog) {}
  void Show() override {
    FLog.Visible = true;
    ++FLog.Shows;
  }
  void Hide() override {
    FLog.Visible = false;
    ++FLog.Hides;
  }
  bool Visible() const override { return FLog.Visible; }
  void ShowValues(const std::u16string (&aCounters)[5], int aBarPosition) override {
    ++FLog.Refreshes;
    std::copy(std::begin(aCounters), std::end(aCounters), FLog.Counters.begin());
    FLog.Bar = aBarPosition;
  }
  void ProcessMessages() override {
    ++FLog.MessagePasses;
    // A click that was waiting in the queue is handled now.
    if (FLog.ClickCancelOnNextPass && FLog.Cancel) {
      FLog.ClickCancelOnNextPass = false;
      FLog.Cancel();
    }
  }
  void BringToFront() override { ++FLog.BroughtToFront; }
  void SetCancelHandler(std::function<void()> aHandler) override { FLog.Cancel = aHandler; }

private:
  TViewLog& FLog;
};

class ProgressDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    Ryvel::Platform::SetTickSource([this] {
      ++FClockReads;
      return FNow;
    });
  }
  void TearDown() override {
    FreeProgressDialog();
    Ryvel::Platform::SetTickSource({});
  }
  std::unique_ptr<TProgressDialog> MakeDialog(uint32_t aCreatedAt = 100000) {
    FNow = aCreatedAt;
    return std::make_unique<TProgressDialog>(std::make_unique<TRecordingView>(FLog));
  }

  uint32_t FNow = 0;
  int FClockReads = 0;
  TViewLog FLog;
};

// ---------------------------------------------------------------------------------------------
// Phase 1: segment intake.

TEST_F(ProgressDialogTest, NeverShownWithinTwoSecondsOfCreation) {
  auto dialog = MakeDialog();
  EXPECT_EQ(dialog->StartTime(), 102000u);
  for (int i = 0; i < 500; ++i) {
    FNow = 100000 + i * 4; // up to 101996
    EXPECT_FALSE(dialog->AddSegment());
  }
  FNow = 102000; // not yet after the start moment
  for (int i = 0; i < 20; ++i)
    dialog->AddSegment();
  EXPECT_EQ(FLog.Shows, 0);
  EXPECT_EQ(FLog.Refreshes, 0);
  EXPECT_EQ(dialog->SegmentCount(), 520);

  FNow = 102001;
  EXPECT_TRUE(dialog->AddSegment()); // 521st: old count 520 is no multiple of 16
  EXPECT_EQ(FLog.Shows, 1);
  EXPECT_EQ(FLog.Refreshes, 1);
  EXPECT_EQ(FLog.MessagePasses, 1);
  EXPECT_EQ(FLog.Counters[0], Ryvel::Platform::FormatThousands(521));
}

TEST_F(ProgressDialogTest, EverySixteenthCallSkipsTheClock) {
  auto dialog = MakeDialog();
  struct TCall {
    int Number; // 1-based AddSegment call
    bool ReadsClock;
  };
  static const TCall calls[] = {{1, false},  {2, true},    {16, true},  {17, false},
                                {18, true},  {32, true},   {33, false}, {34, true},
                                {49, false}, {257, false}, {258, true}};
  int done = 0;
  for (const TCall& c : calls) {
    while (done < c.Number - 1) {
      dialog->AddSegment();
      ++done;
    }
    const int before = FClockReads;
    dialog->AddSegment();
    ++done;
    EXPECT_EQ(FClockReads - before, c.ReadsClock ? 1 : 0) << "call " << c.Number;
  }
}

TEST_F(ProgressDialogTest, RefreshesAtMostOncePerSecondAndOnlyThenHandlesMessages) {
  auto dialog = MakeDialog();
  FNow = 103000;
  dialog->AddSegment();              // 1st: no clock
  EXPECT_TRUE(dialog->AddSegment()); // shown and refreshed
  EXPECT_EQ(dialog->LastTime(), 104000u);
  struct TStep {
    uint32_t Now;
    bool Refreshed;
  };
  static const TStep steps[] = {
      {103500, false}, {104000, false}, {104001, true}, {104500, false}, {105002, true}};
  for (const TStep& s : steps) {
    FNow = s.Now;
    const int passes = FLog.MessagePasses;
    EXPECT_EQ(dialog->AddSegment(), s.Refreshed) << s.Now;
    EXPECT_EQ(FLog.MessagePasses - passes, s.Refreshed ? 1 : 0) << s.Now;
  }
  EXPECT_EQ(FLog.Shows, 1);
}

TEST_F(ProgressDialogTest, AfterCancelNothingCountsAndWindowStaysHidden) {
  auto dialog = MakeDialog();
  FNow = 103000;
  for (int i = 0; i < 10; ++i)
    dialog->AddSegment();
  ASSERT_TRUE(FLog.Visible);
  ASSERT_TRUE(FLog.Cancel) << "the view got no cancel handler";
  FLog.Cancel(); // the Cancel button
  EXPECT_TRUE(dialog->UserCancel());
  EXPECT_FALSE(FLog.Visible);
  const int reads = FClockReads;
  FNow = 200000;
  for (int i = 0; i < 40; ++i) {
    EXPECT_FALSE(dialog->AddSegment());
    EXPECT_FALSE(dialog->AddSegmentData(true, 5, 1));
  }
  EXPECT_EQ(dialog->SegmentCount(), 10);
  EXPECT_EQ(dialog->SegmentsDone(), 0);
  EXPECT_EQ(FClockReads, reads);
  EXPECT_FALSE(FLog.Visible);
  EXPECT_EQ(FLog.Hides, 1);

  dialog->SetUserCancel(true); // unchanged: no second hide
  EXPECT_EQ(FLog.Hides, 1);
}

TEST_F(ProgressDialogTest, KeepsRefreshingAcrossTickCounterWrap) {
  auto dialog = MakeDialog(0xFFFFF000u); // 4096 ms before the counter wraps
  FNow = 0xFFFFF000u + 2500;
  dialog->AddSegment();
  EXPECT_TRUE(dialog->AddSegment());
  EXPECT_EQ(dialog->LastTime(), 0xFFFFF000u + 3500);
  FNow = 0xFFFFF000u + 3000;
  EXPECT_FALSE(dialog->AddSegment()); // still before the next refresh
  FNow = 2000;                        // wrapped: 6096 ms after creation
  EXPECT_TRUE(dialog->AddSegment());
}

// ---------------------------------------------------------------------------------------------
// Phase 2: the check run.

TEST_F(ProgressDialogTest, CheckRunSkipsEvery4096thCallAndHandlesMessagesOnTheOthers) {
  auto dialog = MakeDialog();
  struct TCall {
    int Number; // 1-based AddSegmentData call
    bool Handled;
  };
  static const TCall calls[] = {{1, false},    {2, true},    {4096, true},
                                {4097, false}, {4098, true}, {8193, false}};
  int done = 0;
  for (const TCall& c : calls) {
    while (done < c.Number - 1) {
      dialog->AddSegmentData(false, done, 0);
      ++done;
    }
    const int passes = FLog.MessagePasses, reads = FClockReads;
    dialog->AddSegmentData(done % 3 == 0, done * 7, done / 2);
    ++done;
    EXPECT_EQ(FLog.MessagePasses - passes, c.Handled ? 1 : 0) << "call " << c.Number;
    EXPECT_EQ(FClockReads - reads, c.Handled ? 1 : 0) << "call " << c.Number;
    // The running totals are taken on every counted call, skipped or not.
    EXPECT_EQ(dialog->WordCount(), (done - 1) * 7);
    EXPECT_EQ(dialog->WordErrorCount(), (done - 1) / 2);
  }
  EXPECT_EQ(dialog->SegmentsDone(), 8193);
}

TEST_F(ProgressDialogTest, CheckRunCountsSegmentsWithErrors) {
  auto dialog = MakeDialog();
  static const bool withErrors[] = {true, false, true, true, false};
  for (bool e : withErrors)
    dialog->AddSegmentData(e, 10, 2);
  EXPECT_EQ(dialog->SegmentsDone(), 5);
  EXPECT_EQ(dialog->SegmentsWithErrors(), 3);
}

TEST_F(ProgressDialogTest, CancelClickedDuringCheckRunIsNotUndoneByShowing) {
  auto dialog = MakeDialog();
  FNow = 105000; // late enough to show
  dialog->AddSegmentData(false, 1, 0);
  FLog.ClickCancelOnNextPass = true;
  EXPECT_FALSE(dialog->AddSegmentData(false, 2, 0));
  EXPECT_TRUE(dialog->UserCancel());
  EXPECT_FALSE(FLog.Visible);
  EXPECT_EQ(FLog.Shows, 0);
}

// ---------------------------------------------------------------------------------------------
// What is displayed.

struct TBarCase {
  int Received;
  int Checked;
  int Bar;
};

class ProgressBarTest : public ProgressDialogTest,
                        public ::testing::WithParamInterface<TBarCase> {};

TEST_P(ProgressBarTest, BarIsCheckedPercentOfReceived) {
  auto dialog = MakeDialog();
  const TBarCase& c = GetParam();
  for (int i = 0; i < c.Received; ++i)
    dialog->AddSegment();
  for (int i = 0; i < c.Checked; ++i)
    dialog->AddSegmentData(false, 0, 0);
  dialog->UpdateData();
  EXPECT_EQ(FLog.Bar, c.Bar);
}

INSTANTIATE_TEST_SUITE_P(Bar, ProgressBarTest,
                         ::testing::Values(TBarCase{0, 0, 0}, TBarCase{0, 5, 0}, TBarCase{3, 2, 66},
                                           TBarCase{3, 3, 100}, TBarCase{7, 1, 14}),
                         [](const auto& info) {
                           return "received" + std::to_string(info.param.Received) + "checked" +
                                  std::to_string(info.param.Checked);
                         });

TEST_F(ProgressDialogTest, BarDoesNotOverflowOnHugeRuns) {
  auto dialog = MakeDialog();
  // 21.5 million segments received and checked: 21.5e6 * 100 does not fit 32 bits.
  for (int i = 0; i < 21'500'000; ++i)
    dialog->AddSegment();
  for (int i = 0; i < 21'500'000; ++i)
    dialog->AddSegmentData(false, 0, 0);
  EXPECT_EQ(dialog->BarPosition(), 100);
}

TEST_F(ProgressDialogTest, CountersShowThousandsSeparatorsOfTheLocale) {
  const icu::Locale saved = icu::Locale::getDefault();
  UErrorCode status = U_ZERO_ERROR;
  icu::Locale::setDefault(icu::Locale("en_US"), status);
  auto dialog = MakeDialog();
  for (int i = 0; i < 12345; ++i)
    dialog->AddSegment();
  for (int i = 0; i < 1002; ++i)
    dialog->AddSegmentData(i < 999, 1234567, 1000);
  dialog->UpdateData();
  icu::Locale::setDefault(saved, status);
  EXPECT_EQ(FLog.Counters,
            (std::array<std::u16string, 5>{u"12,345", u"1,002", u"999", u"1,234,567", u"1,000"}));
  EXPECT_EQ(FLog.Bar, 8);
}

// ---------------------------------------------------------------------------------------------
// The registration of the run's window.

TEST_F(ProgressDialogTest, FirstWindowRegistersAndSecondLeavesItThere) {
  ASSERT_EQ(ProgressDialog, nullptr);
  auto first = MakeDialog();
  EXPECT_EQ(ProgressDialog, first.get());
  {
    TViewLog otherLog;
    TProgressDialog second(std::make_unique<TRecordingView>(otherLog));
    EXPECT_EQ(ProgressDialog, first.get());
  }
  EXPECT_EQ(ProgressDialog, first.get()); // destroying the second does not clear it
  first.reset();
  EXPECT_EQ(ProgressDialog, nullptr);
}

TEST_F(ProgressDialogTest, CreateAndFreeManageTheRegisteredWindow) {
  TProgressDialog* stale = CreateProgressDialog(CreateHeadlessProgressView());
  EXPECT_EQ(ProgressDialog, stale);
  TProgressDialog* fresh = CreateProgressDialog(std::make_unique<TRecordingView>(FLog));
  EXPECT_EQ(ProgressDialog, fresh);
  EXPECT_EQ(fresh->SegmentCount(), 0);
  fresh->BringToFront();
  EXPECT_EQ(FLog.BroughtToFront, 1);
  FreeProgressDialog();
  EXPECT_EQ(ProgressDialog, nullptr);
  FreeProgressDialog(); // nothing registered: nothing happens
}

TEST_F(ProgressDialogTest, HeadlessViewReportsWhatShowAndHideSaid) {
  auto view = CreateHeadlessProgressView();
  EXPECT_FALSE(view->Visible());
  view->Show();
  EXPECT_TRUE(view->Visible());
  view->Hide();
  EXPECT_FALSE(view->Visible());
}

} // namespace
