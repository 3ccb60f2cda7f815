#include "session/URySpeller.h"

#include "platform/UFiles.h"
#include "platform/UFolders.h"
#include "platform/UMessages.h"
#include "platform/UText.h"
#include "review/USpellerConfirmDialog.h"
#include "session/UProgressDialog.h"
#include "speller/UAddendums.h"
#include "speller/USpellerSpanish.h"

TDeclareSpeller::TDeclareSpeller(TSessionCollaborators aCollaborators,
                                 const std::u16string& aBaseName)
    : TDeclareInfo(u"Spellcheck", u"Spell checker", u"Spelling, spell check"),
      FCollaborators(std::move(aCollaborators)) {
  AddFunction(
      "Russian", [this](void* aParams) { DoProcessBegin(aParams); }, [this] { DoProcessEnd(); },
      [this](const TQASegmentInfo& aSegInfo) { return DoProcessSegment(aSegInfo); },
      [this] { return DoGetFirstResult(); }, [this] { return DoGetNextResult(); });
  SetAllowsUnicode(false);
  SetAllowsAnsi(true);
  EnsureRunData();
  F1Options.WorkingMode = wmAccept;
  F1Options.Speller = DefaultSpellerOptions;
  if (FCollaborators.CreateAddendums)
    FAddendums = FCollaborators.CreateAddendums(aBaseName);
  F1Options.Addendums = FAddendums.get();
}

TDeclareSpeller::~TDeclareSpeller() {
  F1Confirmed.reset();
  F1Discarded.reset();
  F1Data.reset();
  // The speller borrows the addendum collection: let it go first.
  F1Speller.reset();
  F1Options.Addendums = nullptr;
  FAddendums.reset();
}

std::u16string TDeclareSpeller::ModuleBaseName() {
  const std::filesystem::path module = Ryvel::Platform::ModulePath();
  std::filesystem::path name = module.filename();
  name.replace_extension();
  return Ryvel::Platform::PathToUtf16(name) + u".";
}

// The lists are destroyed at the end of a run (so result texts handed out earlier are gone)
// and made anew for the next one.
void TDeclareSpeller::EnsureRunData() {
  if (!F1Data)
    F1Data = std::make_unique<TSegmentList>();
  if (!F1Confirmed)
    F1Confirmed = std::make_unique<TUnknownWordList>();
  if (!F1Discarded)
    F1Discarded = std::make_unique<TUnknownWordList>();
}

TUnknownWordList& TDeclareSpeller::RememberedList() const {
  return F1Options.WorkingMode == wmDiscard ? *F1Discarded : *F1Confirmed;
}

// A word list that could not be written is the user's work at risk: say so, and go on with the
// rest of the run (the addendum stays dirty and is written again at the next save).
void TDeclareSpeller::SaveAddendums() {
  if (!FAddendums)
    return;
  try {
    FAddendums->SaveToDisk();
  } catch (const std::exception& e) {
    Ryvel::Platform::ShowMessage(u"Veskora Ryvel SpellChecker",
                                 u"The addendum could not be saved: " +
                                     Ryvel::Platform::Utf8ToUtf16(e.what()));
  }
}

void TDeclareSpeller::DoProcessBegin(void* /*aParams*/) {
  EnsureRunData();
  FResultsReady = false;
  F1Data->clear();
  LoadSettings(F1Options);
  if (FAddendums)
    FAddendums->LoadFromDisk();
  F1Confirmed->Clear();
  F1Discarded->Clear();
  LoadRememberedWords(RememberedList());
  F1Speller.reset();
  if (FCollaborators.CreateSpeller)
    F1Speller = FCollaborators.CreateSpeller(F1Options.Addendums);
  // The first progress window of a run registers itself; one that could not is not kept.
  auto* progress = new TProgressDialog(FCollaborators.CreateProgressView
                                           ? FCollaborators.CreateProgressView()
                                           : CreateHeadlessProgressView());
  if (ProgressDialog != progress)
    delete progress;
}

void* TDeclareSpeller::DoProcessSegment(const TQASegmentInfo& aSegInfo) {
  if (ProgressDialog != nullptr && ProgressDialog->UserCancel())
    return nullptr;
  if (!F1Data)
    return nullptr; // a segment outside a run
  F1Data->push_back(std::make_unique<TSegmentData>(aSegInfo));
  if (ProgressDialog != nullptr)
    ProgressDialog->AddSegment();
  return nullptr;
}

const TQAPluginResult* TDeclareSpeller::DoGetFirstResult() {
  if (ProgressDialog != nullptr && ProgressDialog->UserCancel())
    return nullptr;
  EnsureRunData();
  FResultsReady = false;
  const TQAPluginResult* result = nullptr;
  try {
    F1ModalResult = FCollaborators.ExecuteReview
                        ? FCollaborators.ExecuteReview(F1Options, *F1Data, *F1Confirmed,
                                                       *F1Discarded, F1Speller)
                        : 2;
  } catch (...) {
    // The review failed: nothing to report, but the progress window and the addendums are
    // dealt with as after any other review.
    F1ModalResult = 2;
    FreeProgressDialog();
    SaveAddendums();
    throw;
  }
  if (F1ModalResult == 1) {
    F1ResultOpt.StructVersion = 0;
    F1ResultOpt.Sorted = QATrue;
    F1ResultOpt.Groupable = QATrue;
    F1Result.Options = &F1ResultOpt;
    F1ListCurr = 0;
    F1ObjCurr = 0;
    FResultsReady = true;
    result = DoGetNextResult();
  }
  FreeProgressDialog();
  SaveAddendums();
  return result;
}

const TQAPluginResult* TDeclareSpeller::DoGetNextResult() {
  if (!F1Confirmed || !FResultsReady)
    return nullptr;
  // References without a segment (remembered words) have nothing to report and are skipped.
  while (F1ListCurr < F1Confirmed->Count()) {
    const TUnknownWord* w = F1Confirmed->UnknownWord(F1ListCurr);
    const int count = static_cast<int>(w->Data().size());
    if (F1ObjCurr >= count) {
      F1ObjCurr = 0;
      ++F1ListCurr;
      continue;
    }
    const TSegmentData* segment = w->Data()[F1ObjCurr];
    F1Result.Text = F1Confirmed->Text(F1ListCurr).c_str();
    if (++F1ObjCurr >= count) {
      F1ObjCurr = 0;
      ++F1ListCurr;
    }
    if (segment == nullptr)
      continue;
    F1Result.SegId = segment->Id();
    return &F1Result;
  }
  return nullptr;
}

void TDeclareSpeller::DoProcessEnd() {
  if (F1ModalResult == 1 && F1Confirmed && F1Discarded) {
    SaveSettings(F1Options);
    SaveAddendums();
    SaveRememberedWords(RememberedList());
  }
  FreeProgressDialog();
  FResultsReady = false;
  F1Discarded.reset();
  F1Confirmed.reset();
  F1Data.reset();
}

// The real components.
TSessionCollaborators TSessionCollaborators::Default() {
  TSessionCollaborators c;
  c.CreateAddendums = [](const std::u16string& aBaseName) {
    return std::make_unique<TVeAddendumFilesList>(aBaseName);
  };
  c.CreateSpeller = [](TVeAddendumFilesList* aAddendums) {
    return TSpellerSpanish::Create(aAddendums);
  };
  c.CreateProgressView = [] { return CreateHeadlessProgressView(); };
  c.ExecuteReview = [](TSpellerConfirmOptions& aOptions, TSegmentList& aSegments,
                       TUnknownWordList& aConfirmed, TUnknownWordList& aDiscarded,
                       const std::shared_ptr<IRySpeller>& aSpeller) {
    return TSpellerConfirmDialog::Execute(nullptr, aOptions, aSegments, aConfirmed, aDiscarded,
                                          aSpeller);
  };
  return c;
}
