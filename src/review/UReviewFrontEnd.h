// The front end of a review: whatever lets the user (or a stand-in for the user) decide over the
// checked lists. The Qt window is one; the headless ones below stand in for it where no window
// can or should open.
#pragma once

#include "review/UReviewView.h"

#include <memory>
#include <string>

class TReviewCore;

class IReviewFrontEnd {
public:
  virtual ~IReviewFrontEnd() = default;
  // The view the review core reports to while this front end lives; null for none.
  virtual IReviewView* View() { return nullptr; }
  // Called once, after the first check run completed; returns 1 (OK) or 2 (Cancel).
  virtual int ShowModal(TReviewCore& aCore) = 0;
};

// Every word the first run found is reported: in mode wmAccept every row moves to the excluded
// list, in mode wmDiscard every excluded entry moves back; then OK.
class TConfirmAllFrontEnd : public IReviewFrontEnd {
public:
  int ShowModal(TReviewCore& aCore) override;
};

// OK at once, with the lists as the first check run left them.
class TAsShownFrontEnd : public IReviewFrontEnd {
public:
  int ShowModal(TReviewCore& aCore) override;
};

// Cancel at once.
class TCancelFrontEnd : public IReviewFrontEnd {
public:
  int ShowModal(TReviewCore& aCore) override;
};

// How RYVEL_REVIEW chooses the front end.
enum class TReviewFrontEndKind { Window, ConfirmAll, AsShown, Cancel, Script };

struct TReviewFrontEndChoice {
  TReviewFrontEndKind Kind = TReviewFrontEndKind::ConfirmAll;
  std::string ScriptPath; // for Script
  // Why the choice differs from what was asked (an unknown value), for standard error; empty
  // when the value was understood.
  std::string Note;
};

// aValue is the variable's value (null when unset); without it the window is the choice when a
// display exists, confirm-all otherwise.
TReviewFrontEndChoice ParseReviewFrontEnd(const char* aValue, bool aHasDisplay);

// Reads RYVEL_REVIEW, DISPLAY and WAYLAND_DISPLAY.
TReviewFrontEndChoice ReviewFrontEndFromEnvironment();

// Makes the review window; installed by the part of the program that has windows. aOwner is the
// window that owns the review (may be null). Returns null when no window can open.
using TWindowFrontEndFactory = std::unique_ptr<IReviewFrontEnd> (*)(void* aOwner);
// Installs the factory (null removes it) and returns the previous one.
TWindowFrontEndFactory SetWindowFrontEndFactory(TWindowFrontEndFactory aFactory);

// The front end for aChoice. A window that cannot open falls back to confirm-all and says so on
// standard error, as does a script that cannot be read.
std::unique_ptr<IReviewFrontEnd> CreateReviewFrontEnd(const TReviewFrontEndChoice& aChoice,
                                                      void* aOwner);
