#include "ReviewTestSupport.h"

#include "platform/UMessages.h"
#include "review/UReviewCommands.h"

#include <string>

namespace {

TEST(ExcludedList, KeepsCaseVariantsTogetherAndFindsTheExactOne) {
  TExcludedList list;
  TUnknownWord a(u"a"), b(u"b"), c(u"c"), d(u"d");
  list.Add(u"москва", &a);
  list.Add(u"Тверь", &b);
  list.Add(u"Москва", &c);
  list.Add(u"Азов", &d);
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Entry(0).Text, u"Азов");
  // Equal ignoring case: the later one goes after the earlier one.
  EXPECT_EQ(list.Entry(1).Text, u"москва");
  EXPECT_EQ(list.Entry(2).Text, u"Москва");
  EXPECT_EQ(list.Entry(3).Text, u"Тверь");
  EXPECT_EQ(list.IndexOf(u"Москва"), 2);
  EXPECT_EQ(list.IndexOf(u"москва"), 1);
  EXPECT_EQ(list.IndexOf(u"МОСКВА"), -1);
  EXPECT_EQ(list.IndexOf(u""), -1);
}

TEST(ExcludedList, AddingManyEqualsAddingOneByOne) {
  const std::u16string texts[] = {u"бета", u"Альфа", u"альфа", u"гамма", u"Бета", u"АЛЬФА"};
  std::vector<TUnknownWord> words;
  for (const auto& t : texts)
    words.emplace_back(t);
  TExcludedList single, many;
  single.Add(u"альфа", nullptr);
  many.Add(u"альфа", nullptr);
  std::vector<TExcludedEntry> entries;
  for (auto& w : words) {
    single.Add(w.Text(), &w, true);
    entries.push_back({w.Text(), &w, true});
  }
  many.AddMany(entries);
  ASSERT_EQ(many.Count(), single.Count());
  for (int i = 0; i < single.Count(); ++i) {
    EXPECT_EQ(many.Entry(i).Text, single.Entry(i).Text) << i;
    EXPECT_EQ(many.Entry(i).Word, single.Entry(i).Word) << i;
  }
}

TEST(ListRowState, MarksStayOnTheirPositions) {
  TListRowState rows;
  rows.SetRowCount(5);
  rows.SetSelected(1, true);
  rows.SetSelected(4, true);
  rows.SetFocused(4);
  rows.SetRowCount(4);
  EXPECT_EQ(rows.SelectedCount(), 1);
  EXPECT_TRUE(rows.Selected(1));
  EXPECT_EQ(rows.Focused(), -1);
  rows.SetSelected(7, true); // outside: ignored
  EXPECT_EQ(rows.SelectedCount(), 1);
}

TEST(ReviewRules, UpperCaseWord) {
  struct {
    std::u16string Word;
    bool Upper;
  } const cases[] = {
      {u"МВД", true},           {u"NATO", true},        {u"", true},
      {u"МВД2", false},         {u"ООН.", false},       {u"Москва", false},
      {u"ВИЧ-ИНФЕКЦИЯ", false}, {u"Д'АРТАНЬЯН", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TReviewCommands::IsUpperCaseWord(c.Word), c.Upper);
}

TEST(ReviewRules, WholeWord) {
  struct {
    std::u16string Word, Text;
    bool Found;
  } const cases[] = {
      {u"НАТО", u"NATO и НАТО", true},
      {u"НАТО", u"НАТОвский", false},
      {u"НАТО", u"НАТОвский и НАТО.", true},
      {u"НАТО", u"2НАТО2", true},
      {u"НАТО", u"анатомия", false},
      {u"НАТО", u"нато", false},
      {u"НАТО", u"", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TReviewCommands::HasWholeWord(c.Word, c.Text), c.Found);
}

// A review whose word list holds the given words in this order (all found once, mode wmDiscard
// keeps the key order after the count sort), with an empty excluded list.
class Commands : public ReviewFixture {
protected:
  TReviewCore Core;
  TReviewCommands Cmd{Core};

  void Rows(std::initializer_list<std::u16string> aWords, TWorkingMode aMode = wmDiscard) {
    std::u16string target;
    for (const auto& w : aWords) {
      target += (target.empty() ? u"" : u" ") + w;
      Speller->Unknown.insert(w);
    }
    AddSegment(target);
    Assign(Core, aMode);
    ASSERT_TRUE(Core.RunCheck(false));
  }
  void SelectRows(std::initializer_list<int> aRows, int aFocus) {
    Core.WordRows().ClearSelection();
    for (int r : aRows)
      Core.WordRows().SetSelected(r, true);
    Core.WordRows().SetFocused(aFocus);
  }
  std::u16string FocusedText() const {
    const int f = Core.WordRows().Focused();
    return f >= 0 ? Core.UnknownWords()[f]->Text() : u"";
  }
};

TEST_F(Commands, DiscardSelectionMovesTheFocusToTheFollowingWord) {
  Rows({u"w0", u"w1", u"w2", u"w3", u"w4", u"w5", u"w6", u"w7", u"w8", u"w9"});
  SelectRows({2, 5}, 5);
  Cmd.DiscardSelection();
  EXPECT_EQ(Core.UnknownWords().Count(), 8);
  EXPECT_EQ(Core.WordRows().Focused(), 4);
  EXPECT_EQ(FocusedText(), u"w6");
  EXPECT_EQ(Core.WordRows().SelectedCount(), 1);
  EXPECT_TRUE(Core.WordRows().Selected(4));
  EXPECT_EQ(ExcludedTexts(Core), (std::vector<std::u16string>{u"w2", u"w5"}));
  EXPECT_EQ(Core.Excluded().SelectedCount(), 2);
}

TEST_F(Commands, DiscardSelectionOfTheLastRowFocusesTheNewLastRow) {
  Rows({u"w0", u"w1", u"w2"});
  SelectRows({2}, 2);
  Cmd.DiscardSelection();
  EXPECT_EQ(FocusedText(), u"w1");
  EXPECT_TRUE(Core.WordRows().Selected(1));
}

TEST_F(Commands, RulesMoveOnlyTheirWords) {
  struct {
    void (TReviewCommands::*Command)();
    std::vector<std::u16string> Moved;
  } const cases[] = {
      {&TReviewCommands::DiscardUpper, {u"МВД"}},
      {&TReviewCommands::DiscardAbbreviations, {u"ООН."}},
      {&TReviewCommands::DiscardAll, {u"МВД", u"МВД2", u"Москва", u"ООН."}},
  };
  Rows({u"МВД", u"ООН.", u"Москва", u"МВД2"});
  for (const auto& c : cases) {
    Cmd.AcceptAll();
    (Cmd.*c.Command)();
    EXPECT_EQ(ExcludedTexts(Core), c.Moved);
  }
}

TEST_F(Commands, UpperCaseAlsoInSourceNeedsEveryInstance) {
  AddSegment(u"НАТО", u"NATO и НАТО");
  AddSegment(u"НАТО ЕС", u"НАТОвский ЕС");
  Unknown({u"НАТО", u"ЕС"});
  Assign(Core, wmDiscard);
  ASSERT_TRUE(Core.RunCheck(false));
  Cmd.DiscardUpperInSource();
  EXPECT_EQ(ExcludedTexts(Core), (std::vector<std::u16string>{u"ЕС"}));
  EXPECT_EQ(WordTexts(Core), (std::vector<std::u16string>{u"НАТО"}));
}

TEST_F(Commands, SwitchingModeSwapsTheLists) {
  Rows({u"A", u"B", u"C"});
  Core.DiscardWord(u"C");
  Cmd.SetWorkingMode(wmAccept);
  EXPECT_EQ(Core.WorkingMode(), wmAccept);
  EXPECT_EQ(WordTexts(Core), (std::vector<std::u16string>{u"C"}));
  EXPECT_EQ(ExcludedTexts(Core), (std::vector<std::u16string>{u"A", u"B"}));
  EXPECT_EQ(Core.WordRows().Focused(), 0);
  EXPECT_TRUE(Core.WordRows().Selected(0));
  EXPECT_TRUE(Core.Excluded().Selected(0));
  EXPECT_FALSE(Core.Excluded().Selected(1));
}

TEST_F(Commands, SwitchingModeWithNothingExcludedMovesNothing) {
  Rows({u"A", u"B"});
  Cmd.SetWorkingMode(wmAccept);
  EXPECT_EQ(Core.WorkingMode(), wmAccept);
  EXPECT_EQ(WordTexts(Core), (std::vector<std::u16string>{u"A", u"B"}));
  EXPECT_EQ(Core.Excluded().Count(), 0);
}

class TRecordingSink : public Ryvel::Platform::IMessageSink {
public:
  std::vector<std::pair<std::u16string, std::u16string>> Messages;
  void ShowMessage(const std::u16string& aCaption, const std::u16string& aText) override {
    Messages.emplace_back(aCaption, aText);
  }
};

TEST_F(Commands, ChangeWorkingModeSaysWhatTheExcludedListNowMeans) {
  Rows({u"A"}, wmAccept);
  TRecordingSink sink;
  Ryvel::Platform::IMessageSink* old = Ryvel::Platform::SetMessageSink(&sink);
  Cmd.SwapWorkingMode();
  const TWorkingMode afterFirst = Core.WorkingMode();
  Cmd.SwapWorkingMode();
  Ryvel::Platform::SetMessageSink(old);
  EXPECT_EQ(afterFirst, wmDiscard);
  EXPECT_EQ(Core.WorkingMode(), wmAccept);
  ASSERT_EQ(sink.Messages.size(), 2u);
  EXPECT_EQ(sink.Messages[0].first, u"Veskora Ryvel SpellChecker");
  EXPECT_EQ(sink.Messages[0].second, u"You are now in False Alarms mode.\nPlease move to the False "
                                     u"Alarms list box all words that are not spelling errors.");
  EXPECT_EQ(sink.Messages[1].second,
            u"You are now in Real Misspellings mode.\nPlease move to the Real Misspellings list "
            u"box all words that are spelling errors.");
}

TEST_F(Commands, AcceptSelectionSelectsTheReturnedWords) {
  Rows({u"w0", u"w1", u"w2", u"w3"});
  Cmd.DiscardAll();
  Core.Excluded().ClearSelection();
  Core.Excluded().SetSelected(1, true);
  Core.Excluded().SetSelected(3, true);
  Cmd.AcceptSelection();
  EXPECT_EQ(ExcludedTexts(Core), (std::vector<std::u16string>{u"w0", u"w2"}));
  // The entry now at the lowest moved position is selected.
  EXPECT_TRUE(Core.Excluded().Selected(1));
  EXPECT_EQ(Core.WordRows().SelectedCount(), 2);
  EXPECT_EQ(FocusedText(), u"w1");
}

// The speller sees the applied options, and the excluded words survive the run.
TEST_F(Commands, ApplyingOptionsRunsAgainWithThem) {
  Rows({u"w0", u"w1"});
  Core.DiscardWord(u"w1");
  TRySpellerOptions seen;
  Speller->OnCheck = [&](int) { seen = Core.Options().Speller; };
  Cmd.ApplySpellerOptions(TRySpellerOptions{CRysoExcludeUppercaseWords});
  EXPECT_EQ(seen, TRySpellerOptions{CRysoExcludeUppercaseWords});
  EXPECT_EQ(ExcludedTexts(Core), (std::vector<std::u16string>{u"w1"}));
  EXPECT_EQ(WordTexts(Core), (std::vector<std::u16string>{u"w0"}));
}

TEST_F(Commands, IndexesOutsideTheListsAreIgnored) {
  Rows({u"w0"});
  Core.DiscardIndex(-1);
  Core.DiscardIndex(1);
  Core.AcceptIndex(0);
  Core.DiscardWord(u"");
  EXPECT_EQ(WordTexts(Core), (std::vector<std::u16string>{u"w0"}));
  EXPECT_EQ(Core.Excluded().Count(), 0);
}

} // namespace
