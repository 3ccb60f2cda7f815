#include "review/USpellerConfirmDialog.h"

#include "review/UReviewCore.h"
#include "review/UReviewFrontEnd.h"
#include "session/UProgressDialog.h"

int TSpellerConfirmDialog::Execute(void* aOwner, TOptions& aOptions, TSegmentList& aSegments,
                                   TUnknownWordList& aConfirmed, TUnknownWordList& aDiscarded,
                                   const std::shared_ptr<IRySpeller>& aSpeller) {
  std::unique_ptr<IReviewFrontEnd> frontEnd;
  try {
    frontEnd = CreateReviewFrontEnd(ReviewFrontEndFromEnvironment(), aOwner);
  } catch (...) {
    FreeProgressDialog();
    throw;
  }
  return TReviewCore::Execute(*frontEnd, aOptions, aSegments, aConfirmed, aDiscarded, aSpeller);
}
