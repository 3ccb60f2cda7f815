#include "lang/segment/UWordList.h"

#include "lang/segment/UDetectors.h"
#include "lang/segment/USpecialWords.h"

#include <string>

namespace Veskora::Lang {

namespace {

// A chain of splits deeper than this (a chunk of thousands of punctuation marks without a space)
// leaves the rest of the chunk as one token instead of exhausting the stack.
constexpr int MaxSplitDepth = 1000;

constexpr std::u16string_view UtOpen = u"<ut>";
constexpr std::u16string_view UtClose = u"</ut>";

int Size(std::u16string_view s) { return static_cast<int>(s.size()); }

bool At(std::u16string_view s, int p, char16_t c) { return p >= 0 && p < Size(s) && s[p] == c; }

bool StartsAt(std::u16string_view s, int p, std::u16string_view what) {
  return p >= 0 && p <= Size(s) && s.substr(static_cast<size_t>(p)).starts_with(what);
}

bool IsEscapeLetter(char16_t c) { return c == u'n' || c == u'r' || c == u't'; }

// --- Tag scanners over the scanning text; each returns the position after what it read.

int SkipWhiteSpace(std::u16string_view s, int p) {
  while (p < Size(s) && IsWhiteSpace(s[p]))
    ++p;
  return p;
}

bool IsNameStart(char16_t c) { return IsLetter(c) || c == u':' || c == u'_'; }
bool IsNameChar(char16_t c) {
  return IsLetterOrDigit(c) || c == u'-' || c == u'.' || c == u':' || c == u'_';
}

int ScanName(std::u16string_view s, int p) {
  if (p >= Size(s) || !IsNameStart(s[p]))
    return p;
  int q = p + 1;
  while (q < Size(s) && IsNameChar(s[q]))
    ++q;
  return q;
}

int ScanEntityReference(std::u16string_view s, int p) {
  if (!At(s, p, u'&'))
    return p;
  int q = p + 1;
  if (At(s, q, u'#')) {
    ++q;
    const bool hex = At(s, q, u'x');
    if (hex)
      ++q;
    const int digits = q;
    while (q < Size(s) && (hex ? IsHexDigit(s[q]) : IsAsciiDigit(s[q])))
      ++q;
    if (q == digits)
      return p;
  } else {
    const int n = ScanName(s, q);
    if (n == q)
      return p;
    q = n;
  }
  return At(s, q, u';') ? q + 1 : p;
}

int ScanQuotedValue(std::u16string_view s, int p) {
  if (!At(s, p, u'"') && !At(s, p, u'\''))
    return p;
  const char16_t quote = s[p];
  int q = p + 1;
  while (q < Size(s) && s[q] != u'<' && s[q] != quote) {
    if (s[q] == u'&') {
      const int e = ScanEntityReference(s, q);
      if (e == q)
        return p;
      q = e;
    } else {
      ++q;
    }
  }
  return At(s, q, quote) ? q + 1 : p;
}

// An attribute needs whitespace before it; whitespace without a name after it is consumed alone.
int ScanAttribute(std::u16string_view s, int p) {
  const int q = SkipWhiteSpace(s, p);
  if (q == p)
    return p;
  int n = ScanName(s, q);
  if (n == q)
    return q;
  n = SkipWhiteSpace(s, n);
  if (!At(s, n, u'='))
    return p;
  const int v = SkipWhiteSpace(s, n + 1);
  const int e = ScanQuotedValue(s, v);
  return e == v ? p : e;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The scanner: whitespace runs, inline tags and whitespace-delimited chunks, and the special
// words that start in a chunk. Its states are numbered like the token classes they emit.

struct TVeLWordList::TScanner {
  enum : int { sWhiteSpace = wcWhiteSpace, sWord = wcWord, sInUt = wcTag };

  TVeLWordList& List;
  std::u16string_view Segment; // what InsertWord classifies
  std::u16string_view Scan;    // the cleaned text that the scanner reads
  const TVeLSpecialWordList* Specials;
  int S = sWord;
  int P = 0;
  int B = 0;

  void Emit(int aFrom, int aTo, int aClass) {
    List.InsertWord(Segment, List.MakeWord(aFrom, aTo - aFrom, static_cast<TWordClass>(aClass)),
                    -1);
  }

  bool IsWhiteSpaceAt(int p) const { return p < Size(Scan) && IsWhiteSpace(Scan[p]); }

  // Recognises a special word that starts in the chunk [B, aEnd). The text before it becomes a
  // token of class S, the special word a wcOther token with its type, and B moves past it. True
  // when the special word reaches aEnd or goes beyond it: aEnd and S then say where and in which
  // state the scan resumes. False otherwise: the caller emits the rest of the chunk from B.
  bool SpecialWordAt(int& aEnd) {
    if (Specials == nullptr)
      return false;
    int q = B;
    while (q < aEnd && !IsLetter(Scan[q]))
      ++q;
    if (q >= aEnd)
      return false;
    // A special word may start with digits, such as a product name.
    while (q > B && IsAsciiDigit(Scan[q - 1]))
      --q;
    int e = 0;
    std::uint16_t type = 0;
    if (!Specials->MatchSpecialWordAt(Scan, q, e, type))
      return false;
    if (q > B) {
      Emit(B, q, S);
      B = q;
    }
    TVeLWord special = List.MakeWord(B, e - q, wcOther);
    special.FFlags = type;
    List.FWords.push_back(special);
    B = e;
    if (e < aEnd)
      return false;
    aEnd = e;
    S = IsWhiteSpaceAt(e) ? sWhiteSpace : sWord;
    return true;
  }

  // Ends the pending chunk [B, P) as a word unless a special word took it.
  void EndChunk() {
    if (P <= B)
      return;
    if (!SpecialWordAt(P)) {
      if (P > B)
        Emit(B, P, wcWord);
      B = P;
    }
  }

  void StepWhiteSpace() {
    if (IsWhiteSpace(Scan[P])) {
      ++P;
      return;
    }
    if (P > B) {
      Emit(B, P, wcWhiteSpace);
      B = P;
    }
    S = sWord;
  }

  void StepWord() {
    if (StartsAt(Scan, P, UtOpen)) {
      const int at = P;
      if (P > B && SpecialWordAt(P) && P != at)
        return; // a special word ran into the element: resume after it
      if (P > B)
        Emit(B, P, wcWord);
      B = P;
      P += Size(UtOpen);
      S = sInUt;
      return;
    }
    if (Scan[P] == u'<') {
      const int r = TVeLWordList::ParseTag(Scan, P);
      if (r > P) {
        int q = P;
        if (q > B) {
          if (!SpecialWordAt(q))
            Emit(B, q, wcWord);
        }
        if (q < r)
          Emit(q, r, wcTag);
        B = P = q > r ? q : r;
        return;
      }
    }
    if (IsWhiteSpace(Scan[P])) {
      if (P > B) {
        if (SpecialWordAt(P))
          return;
        Emit(B, P, wcWord);
        B = P;
      }
      S = sWhiteSpace;
      return;
    }
    ++P;
  }

  void StepInUt() {
    if (StartsAt(Scan, P, UtClose)) {
      P += Size(UtClose);
      Emit(B, P, wcTag);
      B = P;
      S = sWord;
      return;
    }
    ++P;
  }

  void Run() {
    if (IsWhiteSpace(Scan[0]))
      S = sWhiteSpace;
    else if (StartsAt(Scan, 0, UtOpen))
      S = sInUt;
    else
      S = sWord;
    // Unlike a C string, the text ends at its length: code units after a NUL are scanned too.
    while (P < Size(Scan)) {
      switch (S) {
      case sWhiteSpace:
        StepWhiteSpace();
        break;
      case sWord:
        StepWord();
        break;
      default:
        StepInUt();
        break;
      }
    }
    if (P <= B)
      return;
    if (S == sWord)
      EndChunk();
    else
      Emit(B, P, S);
  }
};

// ---------------------------------------------------------------------------------------------

TVeLWordList::TVeLWordList(TOptions aOptions) : FOptions(aOptions) {}

TVeLWordList::TVeLWordList(std::u16string_view aSegment, TOptions aOptions,
                           const TVeLSpecialWordList* aSpecialWordList)
    : FOptions(aOptions) {
  if (!aSegment.empty())
    FromSegment(aSegment, aOptions, aSpecialWordList);
}

TVeLWord TVeLWordList::MakeWord(int aPos, int aLen, TWordClass aClass) const {
  return TVeLWord::Create(this, aPos, aLen, aClass, FOptions);
}

void TVeLWordList::FromSegment(std::u16string_view aSegment, TOptions aOptions,
                               const TVeLSpecialWordList* aSpecialWordList) {
  FWords.clear();
  std::u16string cleaned;
  std::u16string_view scan = aSegment;
  if (aOptions.Contains(opCleanAllRTFEscapedChars)) {
    cleaned = CleanRTFEscapedChars(aSegment, false);
    scan = cleaned;
  } else if (aOptions.Contains(opCleanDetectedRTFEscapedChars)) {
    cleaned = CleanRTFEscapedChars(aSegment, true);
    scan = cleaned;
  }
  if (scan.empty())
    return;
  // Most chunks become one token or a few.
  FWords.reserve(scan.size() / 3 + 4);
  TScanner scanner{*this, aSegment, scan, aSpecialWordList};
  scanner.Run();
  PostProcess(aSegment, aSpecialWordList);
}

std::u16string TVeLWordList::CleanRTFEscapedChars(std::u16string_view aText, bool aOnlyDetected) {
  const int n = Size(aText);
  if (aOnlyDetected) {
    bool clearlyEscaped = false;
    for (int i = 0; i + 2 < n && !clearlyEscaped; ++i)
      clearlyEscaped = aText[i] == u'\\' && IsEscapeLetter(aText[i + 1]) &&
                       (aText[i + 2] == u'\\' || IsUpper(aText[i + 2]));
    if (!clearlyEscaped)
      return std::u16string(aText);
  }
  std::u16string out(aText);
  for (int i = 0; i + 1 < n; ++i) {
    // The preceding code unit is read after earlier replacements: "\\n" is an escaped
    // backslash followed by "n", but in "\n\n" both pairs are escapes.
    if (out[i] == u'\\' && (i == 0 || out[i - 1] != u'\\') && IsEscapeLetter(out[i + 1])) {
      out[i] = u' ';
      out[i + 1] = u' ';
      ++i;
    }
  }
  return out;
}

int TVeLWordList::ParseTag(std::u16string_view aText, int aPos) {
  const int p = aPos;
  if (!At(aText, p, u'<'))
    return p;
  if (At(aText, p + 1, u'/')) {
    const int n = ScanName(aText, p + 2);
    if (n == p + 2)
      return p;
    const int q = SkipWhiteSpace(aText, n);
    return At(aText, q, u'>') ? q + 1 : p;
  }
  int q = ScanName(aText, p + 1);
  if (q == p + 1)
    return p;
  for (int next = ScanAttribute(aText, q); next != q; next = ScanAttribute(aText, q))
    q = next;
  q = SkipWhiteSpace(aText, q);
  if (At(aText, q, u'/'))
    ++q;
  return At(aText, q, u'>') ? q + 1 : p;
}

// ---------------------------------------------------------------------------------------------
// InsertWord and its splitting passes. Every pass walks from the new token to the end of the list
// as it grows, re-reading the count and the token by index (recursive inserts move tokens), and
// examines only tokens that are Breakable when reached. The result depends on this exact order.

int TVeLWordList::InsertWord(std::u16string_view aSegment, const TVeLWord& aWord, int aIndex,
                             int aDepth) {
  TVeLWord word = aWord;
  word.SetFlags(aSegment);
  int pos = 0;
  if (aIndex >= 0 && aIndex <= static_cast<int>(FWords.size())) {
    FWords.insert(FWords.begin() + aIndex, word);
    pos = aIndex;
  } else {
    FWords.push_back(word);
    pos = static_cast<int>(FWords.size()) - 1;
  }
  if (!FWords[pos].Breakable() || aDepth >= MaxSplitDepth)
    return pos;
  SplitDetectedPrefixes(aSegment, pos, aDepth);
  SplitEnclosingPairs(aSegment, pos, aDepth);
  SplitAfterLeadingBreaks(aSegment, pos, aDepth);
  SplitLeadingBreakChars(aSegment, pos, aDepth);
  SplitAtFirstBreakChars(aSegment, pos, aDepth);
  return pos;
}

void TVeLWordList::DeleteWord(int aIndex) {
  if (aIndex < 0 || aIndex >= static_cast<int>(FWords.size()))
    return;
  FWords.erase(FWords.begin() + aIndex);
}

void TVeLWordList::SplitWordAt(std::u16string_view aSegment, int aIndex, int aAt, int aDepth) {
  TVeLWord& w = FWords[aIndex];
  const TVeLWord rest = MakeWord(aAt, w.End() - aAt, wcWord);
  w.FLen = aAt - w.FPos;
  w.SetFlags(aSegment);
  InsertWord(aSegment, rest, aIndex + 1, aDepth + 1);
}

// A detected token (number, address ...) at the start of the word is split off.
void TVeLWordList::SplitDetectedPrefixes(std::u16string_view aSegment, int aPos, int aDepth) {
  for (int i = aPos; i < static_cast<int>(FWords.size()); ++i) {
    const TVeLWord w = FWords[i];
    if (!w.Breakable())
      continue;
    TDetectWork work;
    const int e = DetectToken(aSegment, w.FPos, w.End(), wcWord, FOptions, work);
    if (e != w.FPos && e != w.End())
      SplitWordAt(aSegment, i, e, aDepth);
  }
}

// A word enclosed in a delimiter pair becomes opener, middle and closer.
void TVeLWordList::SplitEnclosingPairs(std::u16string_view aSegment, int aPos, int aDepth) {
  for (int i = aPos; i < static_cast<int>(FWords.size()); ++i) {
    const TVeLWord w = FWords[i];
    if (!w.Breakable() || w.FLen <= 2)
      continue;
    const int n = MatchBracketPair(aSegment, w.FPos, w.End());
    if (n <= 0)
      continue;
    const TVeLWord middle = MakeWord(w.FPos + n, w.FLen - 2 * n, wcWord);
    const TVeLWord closer = MakeWord(w.End() - n, n, wcWord);
    FWords[i].FLen = n;
    FWords[i].SetFlags(aSegment);
    InsertWord(aSegment, closer, i + 1, aDepth + 1);
    InsertWord(aSegment, middle, i + 1, aDepth + 1);
  }
}

// After leading break characters, a detected token starts a piece of its own (",5" -> ",", "5").
void TVeLWordList::SplitAfterLeadingBreaks(std::u16string_view aSegment, int aPos, int aDepth) {
  for (int i = aPos; i < static_cast<int>(FWords.size()); ++i) {
    const TVeLWord w = FWords[i];
    if (!w.Breakable())
      continue;
    for (int p = w.FPos; p < w.End() - 1 && IsBreakChar(aSegment[p]);) {
      ++p;
      TDetectWork work;
      if (DetectToken(aSegment, p, w.End(), wcWord, FOptions, work) > p) {
        SplitWordAt(aSegment, i, p, aDepth);
        break;
      }
    }
  }
}

void TVeLWordList::SplitLeadingBreakChars(std::u16string_view aSegment, int aPos, int aDepth) {
  for (int i = aPos; i < static_cast<int>(FWords.size()); ++i) {
    const TVeLWord w = FWords[i];
    if (w.Breakable() && IsBreakChar(aSegment[w.FPos]))
      SplitWordAt(aSegment, i, w.FPos + 1, aDepth);
  }
}

void TVeLWordList::SplitAtFirstBreakChars(std::u16string_view aSegment, int aPos, int aDepth) {
  for (int i = aPos; i < static_cast<int>(FWords.size()); ++i) {
    const TVeLWord w = FWords[i];
    if (!w.Breakable())
      continue;
    for (int x = w.FPos; x < w.End(); ++x) {
      if (IsBreakChar(aSegment[x])) {
        // A split at the first code unit would leave an empty token and insert the same one
        // again for ever; the break character goes off on its own instead.
        SplitWordAt(aSegment, i, x == w.FPos ? x + 1 : x, aDepth);
        break;
      }
    }
  }
}

} // namespace Veskora::Lang
