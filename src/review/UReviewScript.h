// The scripted review: runs review commands from a text, one a line, in place of a user.
//
//   # a comment; blank lines are skipped
//   select WORD            make the word list row (or else the excluded entry) with exactly
//                          this text the only selected one of its list
//   focus-excluded         the excluded list gets the keyboard focus (focus-words: the word list)
//   clear-selection        clear both lists' selections
//   mode                   Change Working Mode
//   ActionDiscardAll       any command of the review by its action name
//   ok | cancel            close the review
//
// A script that cannot be read, a line that is not understood, or a script that ends without
// ok/cancel ends the review with Cancel, after a message that names the line.
#pragma once

#include "review/UReviewFrontEnd.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

class TScriptFrontEnd : public IReviewFrontEnd {
public:
  // aScript is UTF-8 text (a byte order mark is skipped); messages go to aErrors.
  TScriptFrontEnd(std::string aScript, std::string aName, std::ostream& aErrors);

  // Reads the script file; a file that cannot be read still gives a front end, which cancels.
  static std::unique_ptr<IReviewFrontEnd> FromFile(const std::string& aPath, std::ostream& aErrors);

  int ShowModal(TReviewCore& aCore) override;

  // The action names a script may use.
  static const std::vector<std::string>& ActionNames();

private:
  // Runs one command; returns 1 or 2 when it closes the review, 0 to go on, -1 on an error.
  int RunLine(TReviewCore& aCore, const std::string& aLine, int aLineNumber);
  int Fail(int aLineNumber, const std::string& aMessage);

  std::string FScript;
  std::string FName;
  bool FReadable = true;
  std::ostream& FErrors;
};
