#include "speller/USpellerSpanish.h"

#include "lang/segment/UWordList.h"
#include "platform/UFiles.h"
#include "platform/UFolders.h"
#include "platform/UText.h"
#include "speller/UAddendums.h"

using Veskora::Lang::TVeLSpecialWordList;
using Veskora::Lang::TVeLWord;
using Veskora::Lang::TVeLWordList;

namespace {

constexpr char16_t CRightSingleQuote = u'\u2019';

bool IsSpaceOrControl(char16_t c) { return c <= u' '; }

std::u16string_view TrimRight(std::u16string_view s) {
  while (!s.empty() && IsSpaceOrControl(s.back()))
    s.remove_suffix(1);
  return s;
}

std::u16string_view TrimLeft(std::u16string_view s) {
  while (!s.empty() && IsSpaceOrControl(s.front()))
    s.remove_prefix(1);
  return s;
}

// UTF-16 to UTF-8 into a reused buffer (lone surrogates become U+FFFD), with every U+2019
// written as U+0027: the form in which the dictionary knows apostrophes. Written by index into
// a buffer of the largest size, since this runs for every lookup of a check run.
void ToDictionaryUtf8(std::u16string_view aText, std::string& aOut) {
  aOut.resize(aText.size() * 3);
  size_t n = 0;
  auto put = [&](char32_t b) { aOut[n++] = static_cast<char>(b); };
  for (size_t i = 0; i < aText.size(); ++i) {
    char32_t c = aText[i];
    if (c < 0x80) {
      put(c);
      continue;
    }
    if (c == CRightSingleQuote) {
      put(u'\'');
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < aText.size() && aText[i + 1] >= 0xDC00 &&
        aText[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (aText[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x800) {
      put(0xC0 | (c >> 6));
      put(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      put(0xE0 | (c >> 12));
      put(0x80 | ((c >> 6) & 0x3F));
      put(0x80 | (c & 0x3F));
    } else {
      // A pair of code units (6 bytes reserved) becomes 4 bytes.
      put(0xF0 | (c >> 18));
      put(0x80 | ((c >> 12) & 0x3F));
      put(0x80 | ((c >> 6) & 0x3F));
      put(0x80 | (c & 0x3F));
    }
  }
  aOut.resize(n);
}

// The platform's locale-independent lower-case mapping, answered directly for ASCII and the
// basic Cyrillic capitals (which make up nearly every word of a check run).
char16_t LowerCodeUnit(char16_t c) {
  if (c < 0x80)
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
  if (c >= 0x0410 && c <= 0x042F) // А..Я
    return static_cast<char16_t>(c + 0x20);
  if (c >= 0x0430 && c <= 0x045F) // а..я, ѐ..џ
    return c;
  if (c >= 0x0400 && c <= 0x040F) // Ѐ..Џ
    return static_cast<char16_t>(c + 0x50);
  return Ryvel::Platform::ToLower(c);
}

// Word characters and symbols that stand together form one compound run.
bool InCompoundRun(const TVeLWord& aToken) {
  return aToken.FClass == Veskora::Lang::wcWord || aToken.FClass == Veskora::Lang::wcSymbol;
}

// A token is examined when it is an abbreviation or a plain word (with digits allowed
// unless words with numbers are excluded).
bool IsCandidate(const TVeLWord& aToken, TRySpellerOptions aOptions) {
  if (aToken.IsAbbreviation())
    return true;
  return aOptions.Contains(CRysoExcludeWordsWithNumbers) ? aToken.IsNormal()
                                                         : aToken.IsNormalWithNumbers();
}

// The first and last index of the longest run of word and symbol tokens around token i.
void CompoundRun(const Veskora::Lang::TVeLWordArray& aWords, size_t i, size_t& aBegin,
                 size_t& aEnd) {
  aBegin = aEnd = i;
  while (aBegin > 0 && InCompoundRun(aWords[aBegin - 1]))
    --aBegin;
  while (aEnd + 1 < aWords.size() && InCompoundRun(aWords[aEnd + 1]))
    ++aEnd;
}

std::u16string FolderWithSeparator(const std::u16string& aFolder) {
  std::u16string folder =
      aFolder.empty() ? Ryvel::Platform::PathToUtf16(Ryvel::Platform::ModuleDir()) : aFolder;
  if (folder.empty() || folder.back() != u'/')
    folder.push_back(u'/');
  return folder;
}

} // namespace

std::shared_ptr<IRySpeller> TSpellerSpanish::Create(TVeAddendumFilesList* aAddendumFilesList) {
  return std::make_shared<TSpellerSpanish>(aAddendumFilesList, TLocation{});
}

std::shared_ptr<TSpellerSpanish> TSpellerSpanish::Create(TVeAddendumFilesList* aAddendumFilesList,
                                                         const TLocation& aLocation) {
  return std::make_shared<TSpellerSpanish>(aAddendumFilesList, aLocation);
}

TSpellerSpanish::TSpellerSpanish(TVeAddendumFilesList* aAddendumFilesList,
                                 const TLocation& aLocation)
    : FDict(std::make_unique<THunSpell>(aLocation.Lang, aLocation.Folder, aLocation.LibPath)),
      FSpecialWordsFile(FolderWithSeparator(aLocation.Folder) + FDict->Lang() +
                        std::u16string(CSpecialWordsExtension)),
      FAddendumFiles(aAddendumFilesList) {}

TSpellerSpanish::~TSpellerSpanish() = default;

bool TSpellerSpanish::Enabled() { return !FNoDictionary; }

int TSpellerSpanish::Check(const TSegmentData& aSegment, TRySpellerOptions aOptions,
                           int& aTotalWords, const TWordProc& aProc) {
  return Check(aSegment.Source(), aSegment.Target(), aOptions, aTotalWords, aProc);
}

bool TSpellerSpanish::Lookup(std::u16string_view aText) {
  ToDictionaryUtf8(aText, FUtf8);
  return FDict->CheckUtf8(FUtf8);
}

// The decision for one examined token, step by step; W is the token's text as written and L
// its lower-case form, both shortened by one code unit for an abbreviation.
struct TSpellerSpanish::TTokenCheck {
  TSpellerSpanish& Speller;
  std::u16string_view Source;
  TRySpellerOptions Options;
  const TVeLWord& Token;
  std::u16string_view W;
  std::u16string_view L;

  // Looks up W when it differs from L, then L: an all lower-case word costs one lookup.
  bool LookupWord() {
    if (W != L && Speller.Lookup(W))
      return true;
    return Speller.Lookup(L);
  }

  // An abbreviation is tried without its full stop, or accepted outright by the option.
  bool ShortenAbbreviation() {
    if (W.empty())
      return false;
    W.remove_suffix(1);
    L.remove_suffix(1);
    if (Options.Contains(CRysoExcludeAbbreviations))
      return true;
    return Speller.Lookup(L);
  }

  // A mixed-case word found in the source is excused, except a word capitalised only because
  // it opens both texts.
  bool ExcusedByMixedCase() const {
    int pos = 0;
    if (!FindWholeWord(W, Source, pos))
      return false;
    const bool onlyFirstCapital = (Token.FFlags & Veskora::Lang::WordFlags::Upper) == 0;
    return !(onlyFirstCapital && Token.FPos == 0 && pos == 1);
  }

  bool ExcusedByUpperCase() const {
    if (Options.Contains(CRysoExcludeUppercaseWords))
      return true;
    int pos = 0;
    return Options.Contains(CRysoExcludeUppercaseWordsInSource) && FindWholeWord(W, Source, pos);
  }

  bool Decide() {
    bool ok = LookupWord();
    if (!ok && Token.IsAbbreviation())
      ok = ShortenAbbreviation();
    if (!ok && Token.IsMixedCase() && Options.Contains(CRysoExcludeMixedCase))
      ok = ExcusedByMixedCase();
    if (!ok && (Token.IsUpperCase() || Token.IsAposUpperCase()))
      ok = ExcusedByUpperCase();
    return ok;
  }
};

int TSpellerSpanish::Check(std::u16string_view aSource, std::u16string_view aTarget,
                           TRySpellerOptions aOptions, int& aTotalWords, const TWordProc& aProc) {
  int count = 0;
  aTotalWords = 0;
  if (aOptions.Contains(CRysoExcludeSegmentsWithSimilarSource) && IsSimilarText(aSource, aTarget))
    return 0;

  const TVeLWordList list(aTarget, {Veskora::Lang::opCleanAllRTFEscapedChars}, FSpecialWords.get());
  const auto& words = list.Words();
  const size_t n = words.size();
  for (size_t i = 0; i < n; ++i) {
    const TVeLWord& t = words[i];
    if (!IsCandidate(t, aOptions))
      continue;
    ++aTotalWords;

    const std::u16string_view w = t.TextView(aTarget);
    FLower.resize(w.size());
    for (size_t k = 0; k < w.size(); ++k)
      FLower[k] = LowerCodeUnit(w[k]);
    TTokenCheck check{*this, aSource, aOptions, t, w, FLower};
    bool ok = check.Decide();

    // The run of word and symbol tokens around this one is looked up as one compound; when
    // it is known, the rest of the run is neither examined nor counted. A run that ends here
    // is not looked up.
    if (!ok) {
      size_t b = 0, e = 0;
      CompoundRun(words, i, b, e);
      if (e != i) {
        FCompound.clear();
        for (size_t k = b; k <= e; ++k)
          FCompound.append(words[k].TextView(aTarget));
        ok = Lookup(FCompound);
        if (ok)
          i = e;
      }
    }

    if (!ok) {
      // The word as written, never its lower-case form; its own string, so that a callback
      // may call the speller again.
      std::u16string report(check.W);
      if (t.IsAbbreviation() && (report.empty() || report.back() != u'.'))
        report.push_back(u'.');
      ++count;
      if (aProc)
        aProc(report);
    }
  }
  return count;
}

int TSpellerSpanish::GetSuggestions(const std::u16string& aWord,
                                    std::vector<std::u16string>& aSuggestions) {
  return FDict->GetSuggestionsUtf8(Ryvel::Platform::Utf16ToUtf8(aWord), aSuggestions);
}

void TSpellerSpanish::ReloadSpecialWords() {
  // The new list is complete before it replaces the old one.
  auto words =
      std::make_unique<TVeLSpecialWordList>(Ryvel::Platform::PathFromUtf16(FSpecialWordsFile));
  if (FAddendumFiles) {
    for (int k = 0; k < FAddendumFiles->AddendumCount(); ++k) {
      const TVeAddendumFile* addendum = FAddendumFiles->GetAddendum(k);
      if (!addendum || !addendum->IsActive())
        continue;
      const auto path = Ryvel::Platform::PathFromUtf16(addendum->FileName());
      if (Ryvel::Platform::FileExists(path))
        words->LoadFromFile(path, true);
    }
  }
  FSpecialWords = std::move(words);
}

bool TSpellerSpanish::IsSimilarText(std::u16string_view aSource, std::u16string_view aTarget) {
  std::u16string_view s = TrimRight(aSource);
  std::u16string_view t = TrimRight(aTarget);
  if (s == t)
    return true;
  s = TrimLeft(s);
  t = TrimLeft(t);
  if (s.size() != t.size())
    return false;
  for (size_t i = 0; i < s.size(); ++i)
    if (s[i] != t[i] &&
        (Veskora::Lang::IsLetterOrDigit(s[i]) || Veskora::Lang::IsLetterOrDigit(t[i])))
      return false;
  return true;
}

bool TSpellerSpanish::FindWholeWord(std::u16string_view aWord, std::u16string_view aText,
                                    int& aPos) {
  aPos = 0;
  // An empty word stands nowhere; searching for it would match between any two non-letters.
  if (aWord.empty())
    return false;
  for (size_t at = aText.find(aWord); at != std::u16string_view::npos;
       at = aText.find(aWord, at + 1)) {
    const size_t end = at + aWord.size();
    const bool startsWord = at == 0 || !Veskora::Lang::IsLetter(aText[at - 1]);
    const bool endsWord = end == aText.size() || !Veskora::Lang::IsLetter(aText[end]);
    if (startsWord && endsWord) {
      aPos = static_cast<int>(at) + 1;
      return true;
    }
  }
  return false;
}
