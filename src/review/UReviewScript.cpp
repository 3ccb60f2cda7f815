#include "review/UReviewScript.h"

#include "platform/UFiles.h"
#include "platform/UText.h"
#include "review/UReviewCommands.h"
#include "review/UReviewCore.h"

#include <functional>
#include <map>
#include <sstream>

namespace {

using TAction = std::function<void(TReviewCommands&, TReviewCore&)>;

const std::map<std::string, TAction>& Actions() {
  static const std::map<std::string, TAction> actions = {
      {"ActionDiscardSelection", [](TReviewCommands& c, TReviewCore&) { c.DiscardSelection(); }},
      {"ActionDiscardAll", [](TReviewCommands& c, TReviewCore&) { c.DiscardAll(); }},
      {"ActionDiscardUpper", [](TReviewCommands& c, TReviewCore&) { c.DiscardUpper(); }},
      {"ActionDiscardUpperInSource",
       [](TReviewCommands& c, TReviewCore&) { c.DiscardUpperInSource(); }},
      {"ActionDiscardAbbreviations",
       [](TReviewCommands& c, TReviewCore&) { c.DiscardAbbreviations(); }},
      {"ActionAcceptSelection", [](TReviewCommands& c, TReviewCore&) { c.AcceptSelection(); }},
      {"ActionAcceptAll", [](TReviewCommands& c, TReviewCore&) { c.AcceptAll(); }},
      {"ActionAcceptUpper", [](TReviewCommands& c, TReviewCore&) { c.AcceptUpper(); }},
      {"ActionAcceptUpperInSource",
       [](TReviewCommands& c, TReviewCore&) { c.AcceptUpperInSource(); }},
      {"ActionAcceptAbbreviations",
       [](TReviewCommands& c, TReviewCore&) { c.AcceptAbbreviations(); }},
      {"ActionLayoutSwapWorkingMode",
       [](TReviewCommands& c, TReviewCore&) { c.SwapWorkingMode(); }},
      {"ActionSpellerCheck", [](TReviewCommands& c, TReviewCore&) { c.SpellerCheck(); }},
  };
  return actions;
}

std::string Trim(const std::string& s) {
  const char* ws = " \t\r\n";
  const size_t b = s.find_first_not_of(ws);
  if (b == std::string::npos)
    return {};
  const size_t e = s.find_last_not_of(ws);
  return s.substr(b, e - b + 1);
}

} // namespace

TScriptFrontEnd::TScriptFrontEnd(std::string aScript, std::string aName, std::ostream& aErrors)
    : FScript(std::move(aScript)), FName(std::move(aName)), FErrors(aErrors) {
  if (FScript.compare(0, 3, "\xEF\xBB\xBF") == 0)
    FScript.erase(0, 3);
}

std::unique_ptr<IReviewFrontEnd> TScriptFrontEnd::FromFile(const std::string& aPath,
                                                           std::ostream& aErrors) {
  std::optional<std::string> text = Ryvel::Platform::ReadWholeFile(aPath);
  auto frontEnd = std::make_unique<TScriptFrontEnd>(text.value_or(std::string()), aPath, aErrors);
  frontEnd->FReadable = text.has_value();
  return frontEnd;
}

const std::vector<std::string>& TScriptFrontEnd::ActionNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v;
    for (const auto& [name, action] : Actions())
      v.push_back(name);
    return v;
  }();
  return names;
}

int TScriptFrontEnd::Fail(int aLineNumber, const std::string& aMessage) {
  FErrors << "ryvel: review script " << FName;
  if (aLineNumber > 0)
    FErrors << ":" << aLineNumber;
  FErrors << ": " << aMessage << "; the review is cancelled\n";
  return -1;
}

int TScriptFrontEnd::ShowModal(TReviewCore& aCore) {
  if (!FReadable) {
    Fail(0, "cannot be read");
    return 2;
  }
  std::istringstream in(FScript);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    const int r = RunLine(aCore, line, number);
    if (r < 0)
      return 2;
    if (r > 0)
      return r;
  }
  Fail(number, "ends without ok or cancel");
  return 2;
}

int TScriptFrontEnd::RunLine(TReviewCore& aCore, const std::string& aLine, int aLineNumber) {
  const std::string line = Trim(aLine);
  if (line.empty() || line[0] == '#')
    return 0;
  const size_t space = line.find_first_of(" \t");
  const std::string command = line.substr(0, space);
  const std::string argument =
      space == std::string::npos ? std::string() : Trim(line.substr(space));
  TReviewCommands commands(aCore);

  if (command == "ok")
    return 1;
  if (command == "cancel")
    return 2;
  if (command == "select") {
    if (argument.empty())
      return Fail(aLineNumber, "select needs a word");
    const std::u16string word = Ryvel::Platform::Utf8ToUtf16(argument);
    if (!commands.SelectWord(word) && !commands.SelectExcluded(word))
      return Fail(aLineNumber, "no word \"" + argument + "\" in either list");
    return 0;
  }
  if (command == "focus-excluded" || command == "focus-words") {
    aCore.SetActiveList(command == "focus-excluded" ? TActiveList::ExcludedList
                                                    : TActiveList::WordList);
    return 0;
  }
  if (command == "clear-selection") {
    aCore.WordRows().ClearSelection();
    aCore.Excluded().ClearSelection();
    return 0;
  }
  if (command == "mode") {
    commands.SwapWorkingMode();
    return 0;
  }
  const auto it = Actions().find(command);
  if (it == Actions().end())
    return Fail(aLineNumber, "unknown command \"" + command + "\"");
  if (!argument.empty())
    return Fail(aLineNumber, command + " takes no argument");
  it->second(commands, aCore);
  return 0;
}
