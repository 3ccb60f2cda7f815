// Shared pieces of the review tests: a speller that reports listed words, a view that records
// what a window would have done, and a fixture that owns segments and the session's lists.
#pragma once

#include "review/UReviewCore.h"
#include "review/UReviewView.h"
#include "session/UProgressDialog.h"
#include "session/URySpellerClasses.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <vector>

// Splits the target at spaces; every piece that is in Unknown is reported as written.
class TFakeSpeller : public IRySpeller {
public:
  bool IsEnabled = true;
  std::set<std::u16string> Unknown;
  int ReloadCount = 0;
  int CheckCount = 0;
  // Called before each Check with the 0-based number of the call.
  std::function<void(int)> OnCheck;

  bool Enabled() override { return IsEnabled; }
  int Check(const TSegmentData& aSegment, TRySpellerOptions, int& aTotalWords,
            const TWordProc& aProc) override {
    if (OnCheck)
      OnCheck(CheckCount);
    ++CheckCount;
    aTotalWords = 0;
    int reported = 0;
    const std::u16string& t = aSegment.Target();
    size_t start = 0;
    while (start <= t.size()) {
      size_t end = t.find(u' ', start);
      if (end == std::u16string::npos)
        end = t.size();
      if (end > start) {
        const std::u16string word = t.substr(start, end - start);
        ++aTotalWords;
        if (Unknown.count(word) != 0) {
          aProc(word);
          ++reported;
        }
      }
      start = end + 1;
    }
    return reported;
  }
  int GetSuggestions(const std::u16string&, std::vector<std::u16string>& aSuggestions) override {
    aSuggestions.clear();
    return 0;
  }
  void ReloadSpecialWords() override { ++ReloadCount; }
};

// Records the calls a window would get.
class TRecordingView : public IReviewView {
public:
  int Depth = 0;
  int MaxDepth = 0;
  bool BarShown = false;
  int BarMaximum = -1;
  std::vector<int> BarPositions;
  std::u16string Status;
  void BeginUpdate() override { MaxDepth = std::max(MaxDepth, ++Depth); }
  void EndUpdate() override { --Depth; }
  void ShowProgressBar(int aMaximum) override {
    BarShown = true;
    BarMaximum = aMaximum;
  }
  void SetProgressPosition(int aPosition) override { BarPositions.push_back(aPosition); }
  void HideProgressBar() override { BarShown = false; }
  void ShowStatistics(const std::u16string& aText) override { Status = aText; }
};

// Segments, the session's two lists and a speller, as the session hands them to the review.
class ReviewFixture : public ::testing::Test {
protected:
  TSegmentList Segments;
  TUnknownWordList Confirmed;
  TUnknownWordList Discarded;
  std::shared_ptr<TFakeSpeller> Speller = std::make_shared<TFakeSpeller>();
  TSpellerConfirmOptions Options;

  void TearDown() override { FreeProgressDialog(); }

  // Segment ids are 1, 2, ... in the order added.
  TSegmentData* AddSegment(std::u16string aTarget, std::u16string aSource = u"") {
    auto* id = reinterpret_cast<void*>(static_cast<uintptr_t>(Segments.size() + 1));
    Segments.push_back(std::make_unique<TSegmentData>(id, std::move(aSource), std::move(aTarget)));
    return Segments.back().get();
  }
  void Unknown(std::initializer_list<std::u16string> aWords) {
    for (const auto& w : aWords)
      Speller->Unknown.insert(w);
  }
  void Assign(TReviewCore& aCore, TWorkingMode aMode) {
    Options.WorkingMode = aMode;
    aCore.Assign(Options, Segments, Confirmed, Discarded, Speller);
  }
  static std::vector<std::u16string> WordTexts(const TReviewCore& aCore) {
    std::vector<std::u16string> v;
    for (int i = 0; i < aCore.UnknownWords().Count(); ++i)
      v.push_back(aCore.UnknownWords()[i]->Text());
    return v;
  }
  static std::vector<std::u16string> ExcludedTexts(const TReviewCore& aCore) {
    std::vector<std::u16string> v;
    for (int i = 0; i < aCore.Excluded().Count(); ++i)
      v.push_back(aCore.Excluded().Entry(i).Text);
    return v;
  }
  static std::vector<std::u16string> Keys(const TUnknownWordList& aList) {
    std::vector<std::u16string> v;
    for (int i = 0; i < aList.Count(); ++i)
      v.push_back(aList.Text(i));
    return v;
  }
  // The segment ids of a word's instances.
  static std::vector<uintptr_t> Ids(const TUnknownWord& aWord) {
    std::vector<uintptr_t> v;
    for (const TSegmentData* s : aWord.Data())
      v.push_back(s != nullptr ? reinterpret_cast<uintptr_t>(s->Id()) : 0);
    return v;
  }
};
