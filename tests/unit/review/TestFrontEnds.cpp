#include "ReviewTestSupport.h"

#include "review/UReviewFrontEnd.h"
#include "review/UReviewScript.h"
#include "review/USpellerConfirmDialog.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

TEST(ReviewFrontEndChoice, FromTheVariableAndTheDisplay) {
  struct {
    const char* Value;
    bool Display;
    TReviewFrontEndKind Kind;
    std::string Path;
    bool Noted;
  } const cases[] = {
      {nullptr, false, TReviewFrontEndKind::ConfirmAll, "", false},
      {nullptr, true, TReviewFrontEndKind::Window, "", false},
      {"", false, TReviewFrontEndKind::ConfirmAll, "", false},
      {"window", false, TReviewFrontEndKind::Window, "", false},
      {"confirm-all", true, TReviewFrontEndKind::ConfirmAll, "", false},
      {"as-shown", true, TReviewFrontEndKind::AsShown, "", false},
      {"cancel", true, TReviewFrontEndKind::Cancel, "", false},
      {"script:/tmp/review.txt", false, TReviewFrontEndKind::Script, "/tmp/review.txt", false},
      {"Cancel", false, TReviewFrontEndKind::ConfirmAll, "", true},
      {"bogus", true, TReviewFrontEndKind::Window, "", true},
  };
  for (const auto& c : cases) {
    const TReviewFrontEndChoice choice = ParseReviewFrontEnd(c.Value, c.Display);
    const std::string label = c.Value ? c.Value : "(unset)";
    EXPECT_EQ(choice.Kind, c.Kind) << label;
    EXPECT_EQ(choice.ScriptPath, c.Path) << label;
    EXPECT_EQ(!choice.Note.empty(), c.Noted) << label;
  }
}

// One small review: segments 'а б в' and 'б', all three words unknown, the word 'в' remembered
// in the list of the mode.
class FrontEnds : public ReviewFixture {
protected:
  void Prepare(TWorkingMode aMode) {
    AddSegment(u"а б в");
    AddSegment(u"б");
    Unknown({u"а", u"б", u"в"});
    Options.WorkingMode = aMode;
    (aMode == wmAccept ? Confirmed : Discarded).Add(u"в", nullptr);
    CreateProgressDialog(CreateHeadlessProgressView());
  }
  int Run(IReviewFrontEnd& aFrontEnd) {
    return TReviewCore::Execute(aFrontEnd, Options, Segments, Confirmed, Discarded, Speller);
  }
};

struct TFrontEndCase {
  const char* Name;
  TReviewFrontEndKind Kind;
  TWorkingMode Mode;
  int Result;
  std::vector<std::u16string> Confirmed;
  std::vector<std::u16string> Discarded;
};

class HeadlessFrontEnds : public FrontEnds, public ::testing::WithParamInterface<TFrontEndCase> {};

TEST_P(HeadlessFrontEnds, DecideOverTheFirstRun) {
  const TFrontEndCase& c = GetParam();
  Prepare(c.Mode);
  TReviewFrontEndChoice choice;
  choice.Kind = c.Kind;
  const auto frontEnd = CreateReviewFrontEnd(choice, nullptr);

  EXPECT_EQ(Run(*frontEnd), c.Result);

  EXPECT_EQ(ProgressDialog, nullptr);
  EXPECT_EQ(Keys(Confirmed), c.Confirmed);
  EXPECT_EQ(Keys(Discarded), c.Discarded);
  if (c.Result == 1) {
    for (int i = 0; i < Confirmed.Count(); ++i)
      for (const TSegmentData* s : Confirmed.UnknownWord(i)->Data()) {
        EXPECT_NE(s, nullptr) << "every reported word has its segments";
      }
  }
}

INSTANTIATE_TEST_SUITE_P(
    FrontEnds, HeadlessFrontEnds,
    ::testing::Values(
        TFrontEndCase{"ConfirmAllAccept",
                      TReviewFrontEndKind::ConfirmAll,
                      wmAccept,
                      1,
                      {u"а", u"б", u"в"},
                      {}},
        TFrontEndCase{"ConfirmAllDiscard",
                      TReviewFrontEndKind::ConfirmAll,
                      wmDiscard,
                      1,
                      {u"а", u"б", u"в"},
                      {}},
        TFrontEndCase{"AsShownAccept", TReviewFrontEndKind::AsShown, wmAccept, 1, {u"в"}, {}},
        TFrontEndCase{
            "AsShownDiscard", TReviewFrontEndKind::AsShown, wmDiscard, 1, {u"а", u"б"}, {u"в"}},
        // Cancel leaves the session's lists as they came in.
        TFrontEndCase{"CancelAccept", TReviewFrontEndKind::Cancel, wmAccept, 2, {u"в"}, {}},
        TFrontEndCase{"CancelDiscard", TReviewFrontEndKind::Cancel, wmDiscard, 2, {}, {u"в"}}),
    [](const auto& info) { return std::string(info.param.Name); });

// The session's entry point reads RYVEL_REVIEW when the review opens.
class EntryPoint : public FrontEnds {
protected:
  void SetUp() override {
    const char* old = std::getenv("RYVEL_REVIEW");
    FHadOld = old != nullptr;
    FOld = old ? old : "";
  }
  void TearDown() override {
    if (FHadOld)
      setenv("RYVEL_REVIEW", FOld.c_str(), 1);
    else
      unsetenv("RYVEL_REVIEW");
    FrontEnds::TearDown();
  }
  int Execute() {
    return TSpellerConfirmDialog::Execute(nullptr, Options, Segments, Confirmed, Discarded,
                                          Speller);
  }

private:
  bool FHadOld = false;
  std::string FOld;
};

TEST_F(EntryPoint, FollowsTheVariable) {
  Prepare(wmAccept);
  setenv("RYVEL_REVIEW", "cancel", 1);
  EXPECT_EQ(Execute(), 2);
  EXPECT_EQ(ProgressDialog, nullptr);

  setenv("RYVEL_REVIEW", "as-shown", 1);
  EXPECT_EQ(Execute(), 1);
  EXPECT_EQ(Keys(Confirmed), (std::vector<std::u16string>{u"в"}));
}

TEST_F(EntryPoint, WindowWithoutWindowsFallsBackToConfirmAllAndSaysSo) {
  Prepare(wmAccept);
  setenv("RYVEL_REVIEW", "window", 1);
  const TWindowFrontEndFactory old = SetWindowFrontEndFactory(nullptr);
  ::testing::internal::CaptureStderr();
  const int result = Execute();
  const std::string err = ::testing::internal::GetCapturedStderr();
  SetWindowFrontEndFactory(old);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(Keys(Confirmed), (std::vector<std::u16string>{u"а", u"б", u"в"}));
  EXPECT_NE(err.find("confirm-all"), std::string::npos) << err;
}

TEST_F(EntryPoint, WindowFactoryThatCannotOpenFallsBackToo) {
  Prepare(wmDiscard);
  setenv("RYVEL_REVIEW", "window", 1);
  const TWindowFrontEndFactory old =
      SetWindowFrontEndFactory([](void*) { return std::unique_ptr<IReviewFrontEnd>(); });
  ::testing::internal::CaptureStderr();
  const int result = Execute();
  ::testing::internal::GetCapturedStderr();
  SetWindowFrontEndFactory(old);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(Keys(Confirmed), (std::vector<std::u16string>{u"а", u"б", u"в"}));
}

// ---------------------------------------------------------------------------------------------
// Scripts

struct TScriptCase {
  const char* Name;
  TWorkingMode Mode;
  const char* Script;
  int Result;
  std::vector<std::u16string> Confirmed;
  bool Complains;
};

class Scripts : public FrontEnds, public ::testing::WithParamInterface<TScriptCase> {};

TEST_P(Scripts, RunTheirCommands) {
  const TScriptCase& c = GetParam();
  Prepare(c.Mode);
  std::ostringstream errors;
  TScriptFrontEnd script(c.Script, "test.script", errors);
  EXPECT_EQ(Run(script), c.Result);
  if (c.Result == 1) {
    EXPECT_EQ(Keys(Confirmed), c.Confirmed);
  }
  EXPECT_EQ(!errors.str().empty(), c.Complains) << errors.str();
}

INSTANTIATE_TEST_SUITE_P(
    FrontEnds, Scripts,
    ::testing::Values(
        TScriptCase{"SelectAndDiscard",
                    wmAccept,
                    "\xEF\xBB\xBF# the user marks one more misspelling\nselect б\n"
                    "ActionDiscardSelection\nok\n",
                    1,
                    {u"б", u"в"},
                    false},
        TScriptCase{"AcceptTheRememberedWordBack",
                    wmAccept,
                    "focus-excluded\nclear-selection\nselect в\nActionAcceptSelection\nok\n",
                    1,
                    {},
                    false},
        TScriptCase{"SwitchModeThenOk", wmDiscard, "mode\nok\n", 1, {u"а", u"б"}, false},
        TScriptCase{"DiscardAllInDiscardMode", wmDiscard, "ActionDiscardAll\nok", 1, {}, false},
        TScriptCase{"RerunKeepsExcluded", wmAccept, "ActionSpellerCheck\nok\n", 1, {u"в"}, false},
        TScriptCase{"CancelLine", wmAccept, "ActionDiscardAll\ncancel\nok\n", 2, {}, false},
        TScriptCase{
            "UnknownCommandCancels", wmAccept, "ActionDiscardAll\nActionFly\nok\n", 2, {}, true},
        TScriptCase{"MissingWordCancels", wmAccept, "select нет\nok\n", 2, {}, true},
        TScriptCase{"NoEndCancels", wmAccept, "ActionDiscardAll\n", 2, {}, true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FrontEnds, UnreadableScriptCancelsWithAMessage) {
  Prepare(wmAccept);
  std::ostringstream errors;
  const auto script = TScriptFrontEnd::FromFile("/nonexistent/review.script", errors);
  EXPECT_EQ(Run(*script), 2);
  EXPECT_NE(errors.str().find("/nonexistent/review.script"), std::string::npos);
}

TEST_F(FrontEnds, ScriptFromAFile) {
  Prepare(wmAccept);
  const std::string path = ::testing::TempDir() + "review-front-end.script";
  std::ofstream(path) << "select а\nActionDiscardSelection\nok\n";
  std::ostringstream errors;
  const auto script = TScriptFrontEnd::FromFile(path, errors);
  EXPECT_EQ(Run(*script), 1);
  EXPECT_EQ(Keys(Confirmed), (std::vector<std::u16string>{u"а", u"в"}));
  std::remove(path.c_str());
}

} // namespace
