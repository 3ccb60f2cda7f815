// The review dialog's entry point for the session: the check run, then the front end that
// RYVEL_REVIEW chooses (the window, or a headless stand-in), then the results.
#pragma once

#include "session/URySpellerClasses.h"

#include <memory>

class TSpellerConfirmDialog {
public:
  using TOptions = TSpellerConfirmOptions;
  using TWorkingMode = ::TWorkingMode;

  // Runs the check over aSegments with aSpeller, lets the front end chosen by RYVEL_REVIEW
  // decide, and returns 1 (OK) or 2; always destroys ProgressDialog (FreeProgressDialog) before
  // returning. After OK, aOptions holds the mode and options the review ended with (the same
  // addendum collection), aConfirmed the words to report and the mode's list the words to
  // remember. When the first run does not complete (no speller, a speller that is not enabled,
  // Cancel in the progress window) it returns 2 without asking the front end. Errors of the
  // speller or the lists pass through after the progress window is destroyed.
  static int Execute(void* aOwner, TOptions& aOptions, TSegmentList& aSegments,
                     TUnknownWordList& aConfirmed, TUnknownWordList& aDiscarded,
                     const std::shared_ptr<IRySpeller>& aSpeller);
};
