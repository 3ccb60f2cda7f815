#include "review/UReviewFrontEnd.h"

#include "review/UReviewCommands.h"
#include "review/UReviewCore.h"
#include "review/UReviewScript.h"

#include <cstdlib>
#include <iostream>
#include <string_view>

namespace {

// Set by the part of the program that has windows; the only state of this unit.
TWindowFrontEndFactory GWindowFrontEndFactory = nullptr;

bool IsSet(const char* aValue) { return aValue != nullptr && *aValue != '\0'; }

} // namespace

int TConfirmAllFrontEnd::ShowModal(TReviewCore& aCore) {
  TReviewCommands commands(aCore);
  if (aCore.WorkingMode() == wmAccept)
    commands.DiscardAll();
  else
    commands.AcceptAll();
  return 1;
}

int TAsShownFrontEnd::ShowModal(TReviewCore&) { return 1; }

int TCancelFrontEnd::ShowModal(TReviewCore&) { return 2; }

TReviewFrontEndChoice ParseReviewFrontEnd(const char* aValue, bool aHasDisplay) {
  TReviewFrontEndChoice choice;
  const auto byDefault = [&] {
    choice.Kind = aHasDisplay ? TReviewFrontEndKind::Window : TReviewFrontEndKind::ConfirmAll;
  };
  if (!IsSet(aValue)) {
    byDefault();
    return choice;
  }
  const std::string_view v(aValue);
  constexpr std::string_view scriptPrefix = "script:";
  if (v == "window")
    choice.Kind = TReviewFrontEndKind::Window;
  else if (v == "confirm-all")
    choice.Kind = TReviewFrontEndKind::ConfirmAll;
  else if (v == "as-shown")
    choice.Kind = TReviewFrontEndKind::AsShown;
  else if (v == "cancel")
    choice.Kind = TReviewFrontEndKind::Cancel;
  else if (v.substr(0, scriptPrefix.size()) == scriptPrefix) {
    choice.Kind = TReviewFrontEndKind::Script;
    choice.ScriptPath = std::string(v.substr(scriptPrefix.size()));
  } else {
    byDefault();
    choice.Note = "RYVEL_REVIEW=" + std::string(v) +
                  " is not a review front end (window, confirm-all, as-shown, cancel, "
                  "script:PATH); using " +
                  (aHasDisplay ? "window" : "confirm-all");
  }
  return choice;
}

TReviewFrontEndChoice ReviewFrontEndFromEnvironment() {
  const bool hasDisplay = IsSet(std::getenv("DISPLAY")) || IsSet(std::getenv("WAYLAND_DISPLAY"));
  return ParseReviewFrontEnd(std::getenv("RYVEL_REVIEW"), hasDisplay);
}

TWindowFrontEndFactory SetWindowFrontEndFactory(TWindowFrontEndFactory aFactory) {
  const TWindowFrontEndFactory previous = GWindowFrontEndFactory;
  GWindowFrontEndFactory = aFactory;
  return previous;
}

std::unique_ptr<IReviewFrontEnd> CreateReviewFrontEnd(const TReviewFrontEndChoice& aChoice,
                                                      void* aOwner) {
  if (!aChoice.Note.empty())
    std::cerr << "ryvel: " << aChoice.Note << "\n";
  switch (aChoice.Kind) {
  case TReviewFrontEndKind::Window:
    if (GWindowFrontEndFactory != nullptr)
      if (auto window = GWindowFrontEndFactory(aOwner))
        return window;
    std::cerr << "ryvel: the review window cannot open here; every unknown word is reported "
                 "(RYVEL_REVIEW=confirm-all)\n";
    return std::make_unique<TConfirmAllFrontEnd>();
  case TReviewFrontEndKind::ConfirmAll:
    return std::make_unique<TConfirmAllFrontEnd>();
  case TReviewFrontEndKind::AsShown:
    return std::make_unique<TAsShownFrontEnd>();
  case TReviewFrontEndKind::Cancel:
    return std::make_unique<TCancelFrontEnd>();
  case TReviewFrontEndKind::Script:
    return TScriptFrontEnd::FromFile(aChoice.ScriptPath, std::cerr);
  }
  return std::make_unique<TConfirmAllFrontEnd>();
}
