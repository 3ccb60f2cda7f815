#include "lang/segment/USpecialWords.h"

#include "lang/segment/UDetectors.h"
#include "lang/segment/UWord.h"
#include "platform/UFiles.h"
#include "platform/UText.h"

#include <algorithm>
#include <array>
#include <utility>

namespace Veskora::Lang {

namespace {

struct TTypeName {
  std::u16string_view Name;
  std::uint16_t Type;
};

constexpr std::array<TTypeName, 7> TypeNames{{
    {u"Country", OtherKind::Country},
    {u"Region", OtherKind::Region},
    {u"City", OtherKind::City},
    {u"Acronym", OtherKind::Acronym},
    {u"Name", OtherKind::Name},
    {u"Organisation", OtherKind::Organisation},
    {u"Product", OtherKind::Product},
}};

using Ryvel::Platform::SameIgnoringAsciiCase;

// Without leading and trailing code units up to U+0020 (spaces and controls, tabs included).
std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && s.front() <= u' ')
    s.remove_prefix(1);
  while (!s.empty() && s.back() <= u' ')
    s.remove_suffix(1);
  return s;
}

// The field up to the next TAB (or the end); aRest moves past that TAB.
std::u16string_view NextField(std::u16string_view& aRest) {
  const size_t tab = aRest.find(u'\t');
  std::u16string_view field = aRest.substr(0, tab);
  aRest = tab == std::u16string_view::npos ? std::u16string_view{} : aRest.substr(tab + 1);
  return field;
}

char16_t OneOf(std::u16string_view aField, std::u16string_view aAllowed) {
  if (aField.size() == 1 && aAllowed.find(aField[0]) != std::u16string_view::npos)
    return aField[0];
  return 0;
}

// The leading run of letters and digits of a text: its first word.
std::u16string_view LeadingWordChars(std::u16string_view s) {
  size_t n = 0;
  while (n < s.size() && IsLetterOrDigit(s[n]))
    ++n;
  return s.substr(0, n);
}

bool Less(const TVeLSpecialWord& aItem, std::u16string_view aText) { return aItem.FText < aText; }

} // namespace

TVeLSpecialWord::TVeLSpecialWord(std::u16string aText, std::uint16_t aType, char16_t aGender,
                                 char16_t aNumber)
    : FText(std::move(aText)), FType(aType), FGender(aGender), FNumber(aNumber) {}

int TVeLSpecialWordComparer::Compare(const TVeLSpecialWord& aLeft, const TVeLSpecialWord& aRight) {
  // char16_t is unsigned, so this is the code-unit order with prefixes first.
  return aLeft.FText.compare(aRight.FText);
}

TVeLSpecialWordList::TVeLSpecialWordList(const std::filesystem::path& aFileName) {
  if (!aFileName.empty())
    LoadFromFile(aFileName, false);
}

std::uint16_t TVeLSpecialWordList::TypeFromName(std::u16string_view aName) {
  for (const auto& t : TypeNames)
    if (SameIgnoringAsciiCase(aName, t.Name))
      return t.Type;
  return 0;
}

TSpecialWordsLoad TVeLSpecialWordList::LoadFromFile(const std::filesystem::path& aFileName,
                                                    bool aIsAddendum) {
  if (aFileName.empty() || !Ryvel::Platform::FileExists(aFileName))
    return TSpecialWordsLoad::NoFile;
  if (!aIsAddendum)
    FItems.clear();
  const std::optional<std::string> bytes = Ryvel::Platform::ReadWholeFile(aFileName);
  if (!bytes)
    return TSpecialWordsLoad::Unreadable;
  LoadFromBytes(*bytes, aIsAddendum);
  return TSpecialWordsLoad::Loaded;
}

void TVeLSpecialWordList::LoadFromBytes(std::string_view aBytes, bool aIsAddendum) {
  if (!aIsAddendum)
    FItems.clear();
  const std::u16string text = Ryvel::Platform::DecodeTextFile(aBytes);
  std::u16string_view rest = text;
  // A line ends at CR, at LF or at CR LF.
  while (!rest.empty()) {
    const size_t end = rest.find_first_of(u"\r\n");
    ParseLine(rest.substr(0, end), aIsAddendum);
    if (end == std::u16string_view::npos)
      break;
    size_t next = end + 1;
    if (rest[end] == u'\r' && next < rest.size() && rest[next] == u'\n')
      ++next;
    rest.remove_prefix(next);
  }
  Sort();
}

void TVeLSpecialWordList::ParseLine(std::u16string_view aLine, bool aIsAddendum) {
  std::u16string_view rest = Trim(aLine);
  if (rest.empty() || rest.front() == u'#')
    return;
  const std::u16string_view text = NextField(rest);
  if (text.empty())
    return;
  const std::uint16_t type = TypeFromName(NextField(rest));
  const char16_t gender = OneOf(NextField(rest), u"FMN");
  const char16_t number = OneOf(NextField(rest), u"NPS");
  TVeLSpecialWord& entry = FItems.emplace_back();
  entry.FText.assign(text);
  entry.FType = type;
  entry.FGender = gender;
  entry.FNumber = number;
  if (aIsAddendum)
    return;
  // A special word written with a capital is also found in all capitals (Paris, PARIS).
  TVeLSpecialWord upper = entry;
  upper.FText = Ryvel::Platform::UpperCase(text);
  if (upper.FText != text)
    FItems.push_back(std::move(upper));
}

void TVeLSpecialWordList::Sort() {
  std::stable_sort(FItems.begin(), FItems.end(), TVeLSpecialWordComparer{});
}

void TVeLSpecialWordList::Add(TVeLSpecialWord aWord) {
  const auto at = std::upper_bound(FItems.begin(), FItems.end(), aWord, TVeLSpecialWordComparer{});
  FItems.insert(at, std::move(aWord));
}

bool TVeLSpecialWordList::Find(std::u16string_view aText, int& aPos) const {
  // Leftmost entry not less than the text: an equal entry, or the insertion point.
  const auto it = std::lower_bound(FItems.begin(), FItems.end(), aText, Less);
  const auto insertion = static_cast<int>(it - FItems.begin());
  if (it != FItems.end() && it->FText == aText) {
    aPos = insertion;
    return true;
  }
  if (insertion == 0)
    return false;
  int k = insertion - 1;
  std::u16string_view current = FItems[static_cast<size_t>(k)].FText;
  if (aText.starts_with(current)) {
    aPos = k;
    return true;
  }
  // Entries that share the first word of the one examined before them lie just before it; the
  // nearest one that the text starts with is the longest.
  while (k > 0) {
    --k;
    const std::u16string_view candidate = FItems[static_cast<size_t>(k)].FText;
    const std::u16string_view firstWord = LeadingWordChars(candidate);
    if (firstWord.empty() || !current.starts_with(firstWord))
      return false;
    current = candidate;
    if (aText.starts_with(current)) {
      aPos = k;
      return true;
    }
  }
  return false;
}

bool TVeLSpecialWordList::MatchSpecialWordAt(std::u16string_view aText, int aStart, int& aEnd,
                                             std::uint16_t& aType) const {
  if (aStart < 0 || static_cast<size_t>(aStart) >= aText.size())
    return false;
  const std::u16string_view rest = aText.substr(static_cast<size_t>(aStart));
  int index = 0;
  if (!Find(rest, index))
    return false;
  for (const auto prefix : HostPrefixes)
    if (rest.starts_with(prefix))
      return false;
  const TVeLSpecialWord& found = FItems[static_cast<size_t>(index)];
  const size_t e = found.FText.size();
  if (e < rest.size()) {
    const char16_t next = rest[e];
    if (IsLetterOrDigit(next) || next == u'@' || rest.substr(e).starts_with(u"://"))
      return false;
  }
  aEnd = aStart + static_cast<int>(e);
  aType = found.FType;
  return true;
}

const TVeLSpecialWord* TVeLSpecialWordList::FindExact(std::u16string_view aText) const {
  const auto it = std::lower_bound(FItems.begin(), FItems.end(), aText, Less);
  if (it != FItems.end() && it->FText == aText)
    return &*it;
  return nullptr;
}

} // namespace Veskora::Lang
