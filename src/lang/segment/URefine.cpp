// The refinement of a scanned token list: the passes that need to see neighbouring tokens.
#include "lang/segment/USpecialWords.h"
#include "lang/segment/UWordList.h"

namespace Veskora::Lang {

namespace {

int Count(const TVeLWordArray& aWords) { return static_cast<int>(aWords.size()); }

bool IsPunctuationText(const TVeLWord& aWord, std::u16string_view aSegment,
                       std::u16string_view aTexts) {
  if (aWord.FClass != wcPunctuation)
    return false;
  const std::u16string_view text = aWord.TextView(aSegment);
  return text.size() == 1 && aTexts.find(text[0]) != std::u16string_view::npos;
}

bool IsFullStop(const TVeLWord& aWord, std::u16string_view aSegment) {
  return IsPunctuationText(aWord, aSegment, u".");
}

bool IsApostrophe(const TVeLWord& aWord, std::u16string_view aSegment) {
  return IsPunctuationText(aWord, aSegment, u"'\u2019");
}

// The first index from aFrom on whose token is neither of the two classes.
int SkipClasses(const TVeLWordArray& aWords, int aFrom, TWordClass aFirst, TWordClass aSecond) {
  int j = aFrom;
  while (j < Count(aWords) && (aWords[j].FClass == aFirst || aWords[j].FClass == aSecond))
    ++j;
  return j;
}

// A short word without digits, punctuation or symbols and without a capital after its first
// code unit, that has a lower-case letter or starts with a capital.
bool IsAbbreviationCandidate(const TVeLWord& aWord) {
  if (aWord.FClass != wcWord || aWord.FLen >= 6)
    return false;
  const std::uint16_t f = aWord.FFlags;
  if (f & (WordFlags::Digit | WordFlags::Punctuation | WordFlags::Symbol))
    return false;
  return (f & 0x0006) == WordFlags::Lower || (f & 0x0003) == WordFlags::Capitalized;
}

// Whether the full stop after a candidate (at aWords[aNext - 1]) belongs to it, judged by what
// follows: a word without a leading capital, an opening bracket before a word like "iPhone",
// further punctuation, or a closing bracket that something follows.
bool AbbreviationFollows(const TVeLWordArray& aWords, int aNext, std::u16string_view aSegment) {
  int j = SkipClasses(aWords, aNext, wcTag, wcTag);
  if (j >= Count(aWords))
    return false;
  const TVeLWord& next = aWords[j];
  if (next.FClass == wcWhiteSpace) {
    j = SkipClasses(aWords, j, wcWhiteSpace, wcTag);
    if (j >= Count(aWords))
      return false;
    const TVeLWord& after = aWords[j];
    if (after.FClass == wcWord)
      return (after.FFlags & WordFlags::Capitalized) == 0;
    if (IsPunctuationText(after, aSegment, u"([{"))
      return j + 1 < Count(aWords) && aWords[j + 1].FClass == wcWord &&
             (aWords[j + 1].FFlags & 0x0003) == WordFlags::Upper;
    return false;
  }
  if (IsPunctuationText(next, aSegment, u",.:;"))
    return true;
  if (IsPunctuationText(next, aSegment, u")]}"))
    return SkipClasses(aWords, j + 1, wcWhiteSpace, wcTag) < Count(aWords);
  return false;
}

} // namespace

void TVeLWordList::PostProcess(std::u16string_view aSegment,
                               const TVeLSpecialWordList* aSpecialWordList) {
  if (FWords.empty())
    return;
  SplitTrailingPunctuation(aSegment);
  ReclassifyWords(aSegment);
  MarkAbbreviations(aSegment);
  MarkParagraphEnds(aSegment);
  if (FOptions.Contains(opNonBreakableApostrophes))
    JoinApostrophes(aSegment);
  if (aSpecialWordList != nullptr)
    MarkSpecialWords(aSegment, *aSpecialWordList);
  // Program text inside translations: a format placeholder or a file name is no word to check.
  MarkPlaceholders(aSegment);
  MarkFileNames(aSegment);
}

// A final punctuation mark that a detector took into the last token ("12.") goes off on its own;
// it is appended after any trailing whitespace. The first token is never examined.
void TVeLWordList::SplitTrailingPunctuation(std::u16string_view aSegment) {
  int i = Count(FWords) - 1;
  while (i > 0 && FWords[i].FClass == wcWhiteSpace)
    --i;
  if (i <= 0)
    return;
  TVeLWord& w = FWords[i];
  if (w.FClass == wcSymbol || w.FClass == wcOther || w.FLen <= 1)
    return;
  const int last = w.End() - 1;
  if (last >= static_cast<int>(aSegment.size()) || !IsPunctuation(aSegment[last]))
    return;
  w.FLen -= 1;
  w.SetFlags(aSegment);
  InsertWord(aSegment, MakeWord(last, 1, wcWord), -1);
}

// Words made only of punctuation or only of symbols become tokens of those classes.
void TVeLWordList::ReclassifyWords(std::u16string_view aSegment) {
  for (TVeLWord& w : FWords) {
    if (w.FClass != wcWord)
      continue;
    if (w.FFlags == WordFlags::Punctuation)
      w.FClass = wcPunctuation;
    else if (w.FFlags == WordFlags::Symbol)
      w.FClass = wcSymbol;
    else
      continue;
    w.SetFlags(aSegment);
  }
}

// "etc." becomes one word with Abbreviation when what follows shows that the full stop ends no
// sentence. A candidate and its full stop as the last two tokens never qualify.
void TVeLWordList::MarkAbbreviations(std::u16string_view aSegment) {
  for (int i = Count(FWords) - 3; i >= 0; --i) {
    if (!IsAbbreviationCandidate(FWords[i]) || !IsFullStop(FWords[i + 1], aSegment))
      continue;
    if (!AbbreviationFollows(FWords, i + 2, aSegment))
      continue;
    TVeLWord& w = FWords[i];
    w.FLen += 1;
    w.SetFlags(aSegment);
    w.FFlags |= WordFlags::Abbreviation;
    DeleteWord(i + 1);
  }
}

// A full stop marks a paragraph end on the last whitespace token of the run right after it, or on
// itself when it ends the list.
void TVeLWordList::MarkParagraphEnds(std::u16string_view aSegment) {
  const int count = Count(FWords);
  for (int i = count - 1; i >= 0; --i) {
    if (!IsFullStop(FWords[i], aSegment))
      continue;
    int j = i;
    while (j + 1 < count && FWords[j + 1].FClass == wcWhiteSpace)
      ++j;
    if (j != i || i == count - 1)
      FWords[j].FExtraFlags |= ExtraFlags::ParagraphEnd;
  }
}

// word, apostrophe, word -> one word; walking backwards joins chains such as "rock'n'roll".
void TVeLWordList::JoinApostrophes(std::u16string_view aSegment) {
  for (int i = Count(FWords) - 3; i >= 0; --i) {
    if (i + 2 >= Count(FWords))
      continue;
    const TVeLWord a = FWords[i];
    const TVeLWord b = FWords[i + 1];
    const TVeLWord c = FWords[i + 2];
    if (a.FClass != wcWord || !IsApostrophe(b, aSegment) || c.FClass != wcWord)
      continue;
    TVeLWord& w = FWords[i];
    w.FLen += b.FLen + c.FLen;
    w.SetFlags(aSegment);
    if (c.IsUpperCase())
      w.FFlags |= WordFlags::UpperApostrophed;
    DeleteWord(i + 1);
    DeleteWord(i + 1);
  }
}

// A whole word that the special word list holds becomes wcOther with the entry's type.
void TVeLWordList::MarkSpecialWords(std::u16string_view aSegment,
                                    const TVeLSpecialWordList& aSpecialWordList) {
  for (TVeLWord& w : FWords) {
    if (w.FClass != wcWord || w.FLen <= 1)
      continue;
    if (const TVeLSpecialWord* entry = aSpecialWordList.FindExact(w.TextView(aSegment))) {
      w.FClass = wcOther;
      w.FFlags = entry->FType;
    }
  }
}

namespace {

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsAsciiIdentChar(char16_t c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == u'_'; }

// The end of a printf-style conversion starting with the "%" at aPos, or aPos when there is none:
// %[argument$][flags][width][.precision][length]conversion.
int PrintfConversionEnd(std::u16string_view s, int aPos) {
  const int n = static_cast<int>(s.size());
  int i = aPos + 1;
  auto digits = [&] {
    while (i < n && IsAsciiDigit(s[i]))
      ++i;
  };
  int save = i;
  digits();
  if (i > save && i < n && s[i] == u'$')
    ++i;
  else
    i = save;
  // No space flag: "% d" in running text is far more often prose than a conversion.
  while (i < n && (s[i] == u'-' || s[i] == u'+' || s[i] == u'#' || s[i] == u'0'))
    ++i;
  if (i < n && s[i] == u'*')
    ++i;
  else
    digits();
  if (i < n && s[i] == u'.') {
    ++i;
    if (i < n && s[i] == u'*')
      ++i;
    else
      digits();
  }
  for (std::u16string_view length : {u"hh", u"ll", u"I64", u"I32", u"h", u"l", u"L", u"q", u"j",
                                     u"z", u"t"})
    if (s.substr(static_cast<size_t>(i), length.size()) == length) {
      i += static_cast<int>(length.size());
      break;
    }
  if (i >= n || std::u16string_view(u"diouxXeEfFgGaAcCsSpn@").find(s[i]) == std::u16string_view::npos)
    return aPos;
  ++i;
  // "%sfile" is no conversion followed by a word: a letter right after it makes it ordinary text.
  if (i < n && IsLetter(s[i]))
    return aPos;
  return i;
}

// The end of "{name}" (ASCII identifier, optionally doubled braces) starting at aPos, or aPos.
int BracePlaceholderEnd(std::u16string_view s, int aPos) {
  const int n = static_cast<int>(s.size());
  int i = aPos + 1;
  const bool doubled = i < n && s[i] == u'{';
  if (doubled)
    ++i;
  const int start = i;
  while (i < n && IsAsciiIdentChar(s[i]))
    ++i;
  if (i == start || !IsAsciiLetter(s[start]))
    return aPos;
  if (i >= n || s[i] != u'}')
    return aPos;
  ++i;
  if (doubled) {
    if (i >= n || s[i] != u'}')
      return aPos;
    ++i;
  }
  return i;
}

} // namespace

void TVeLWordList::JoinAsOther(int aFirst, int aLast, std::uint16_t aKind) {
  TVeLWord& w = FWords[aFirst];
  w.FLen = FWords[aLast].End() - w.FPos;
  w.FClass = wcOther;
  w.FFlags = aKind;
  for (int k = aLast; k > aFirst; --k) {
    w.FExtraFlags |= FWords[k].FExtraFlags;
    DeleteWord(aFirst + 1);
  }
}

// "%s", "%1$d", "%-5.2f", "{0}" stay apart from the words anyway; "{name}" and the printf
// conversions would otherwise leave their letters as words to check.
void TVeLWordList::MarkPlaceholders(std::u16string_view aSegment) {
  for (int i = 0; i < Count(FWords); ++i) {
    const TVeLWord& w = FWords[i];
    if (w.FLen != 1 || (w.FClass != wcPunctuation && w.FClass != wcSymbol))
      continue;
    const char16_t c = aSegment[static_cast<size_t>(w.FPos)];
    int end = w.FPos;
    if (c == u'%')
      end = PrintfConversionEnd(aSegment, w.FPos);
    else if (c == u'{')
      end = BracePlaceholderEnd(aSegment, w.FPos);
    if (end == w.FPos)
      continue;
    // Join only whole tokens: the placeholder must end where a token ends.
    int last = i;
    while (last + 1 < Count(FWords) && FWords[last].End() < end)
      ++last;
    if (FWords[last].End() == end && last > i)
      JoinAsOther(i, last, OtherKind::Placeholder);
  }
}

// "config" + ".ini": a name right before a detected extension is a file name, not a word.
// Hyphens and low lines inside the name ("my-app_2.log") belong to it.
void TVeLWordList::MarkFileNames(std::u16string_view aSegment) {
  for (int i = 1; i < Count(FWords); ++i) {
    const TVeLWord& ext = FWords[i];
    if (ext.FClass != wcOther || ext.FFlags != OtherKind::Extension)
      continue;
    int first = i;
    while (first > 0) {
      const TVeLWord& prev = FWords[first - 1];
      if (prev.End() != FWords[first].FPos)
        break;
      const bool namePart = prev.FClass == wcWord || prev.FClass == wcNumber;
      const bool joiner = prev.FLen == 1 &&
                          (prev.FClass == wcPunctuation || prev.FClass == wcSymbol) &&
                          (aSegment[static_cast<size_t>(prev.FPos)] == u'-' ||
                           aSegment[static_cast<size_t>(prev.FPos)] == u'_');
      if (!namePart && !joiner)
        break;
      --first;
    }
    // A name never starts with a joiner.
    while (first < i && FWords[first].FClass != wcWord && FWords[first].FClass != wcNumber)
      ++first;
    if (first < i) {
      JoinAsOther(first, i, OtherKind::FileName);
      i = first;
    }
  }
}

} // namespace Veskora::Lang
