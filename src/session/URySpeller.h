// The plug-in's one declaration: the check "Spellcheck" with the function "Russian". It keeps
// the segments of a run, the two word lists the review fills, the run options and the speller,
// and hands the reviewed findings back to the host one (word, segment) pair at a time.
#pragma once

#include "plugin/UDeclare.h"
#include "session/URySpellerClasses.h"

#include <filesystem>
#include <functional>
#include <memory>

class IProgressView;

// What the session drives besides its own data. The module wires in the real components;
// tests hand in fakes.
struct TSessionCollaborators {
  std::function<std::unique_ptr<TVeAddendumFilesList>(const std::u16string& aBaseName)>
      CreateAddendums;
  std::function<std::shared_ptr<IRySpeller>(TVeAddendumFilesList* aAddendums)> CreateSpeller;
  std::function<std::unique_ptr<IProgressView>()> CreateProgressView;
  // The review dialog: runs the check, lets the user decide, returns 1 for OK.
  std::function<int(TSpellerConfirmOptions& aOptions, TSegmentList& aSegments,
                    TUnknownWordList& aConfirmed, TUnknownWordList& aDiscarded,
                    const std::shared_ptr<IRySpeller>& aSpeller)>
      ExecuteReview;

  // The real components of the module.
  static TSessionCollaborators Default();
};

class TDeclareSpeller : public TDeclareInfo {
public:
  explicit TDeclareSpeller(TSessionCollaborators aCollaborators = TSessionCollaborators::Default(),
                           const std::u16string& aBaseName = ModuleBaseName());
  ~TDeclareSpeller() override;

  // The bound methods of the function "Russian".
  void DoProcessBegin(void* aParams);
  void DoProcessEnd();
  void* DoProcessSegment(const TQASegmentInfo& aSegInfo);
  const TQAPluginResult* DoGetFirstResult();
  const TQAPluginResult* DoGetNextResult();

  // The module file name with its extension replaced by a lone ".".
  static std::u16string ModuleBaseName();

  // Settings files in the per-user cache folder; every error is swallowed.
  static std::filesystem::path GetSettingsFolder();
  static std::filesystem::path GetSettingsFileName();
  static std::filesystem::path GetItemsFileName();
  static void LoadSettings(TSpellerConfirmOptions& aOptions);
  static void SaveSettings(const TSpellerConfirmOptions& aOptions);
  static void LoadRememberedWords(TUnknownWordList& aList);
  static void SaveRememberedWords(const TUnknownWordList& aList);

  // For tests and the review: the state the host cannot see.
  const TSpellerConfirmOptions& Options() const { return F1Options; }
  TSegmentList* Segments() const { return F1Data.get(); }
  TUnknownWordList* Confirmed() const { return F1Confirmed.get(); }
  TUnknownWordList* Discarded() const { return F1Discarded.get(); }
  int ModalResult() const { return F1ModalResult; }

private:
  TUnknownWordList& RememberedList() const;
  void SaveAddendums();
  void EnsureRunData();

  TSessionCollaborators FCollaborators;
  std::unique_ptr<TSegmentList> F1Data;
  std::unique_ptr<TUnknownWordList> F1Confirmed;
  std::unique_ptr<TUnknownWordList> F1Discarded;
  std::unique_ptr<TVeAddendumFilesList> FAddendums; // F1Options.Addendums points here
  TSpellerConfirmOptions F1Options;
  int32_t F1ModalResult = 0;
  std::shared_ptr<IRySpeller> F1Speller;
  int32_t F1ListCurr = 0;
  int32_t F1ObjCurr = 0;
  bool FResultsReady = false; // GetFirstResult ended with OK and the cursor is valid
  TQAPluginResult F1Result{};
  TQAPluginResultOptions F1ResultOpt{};
};
