#include "lang/segment/UDetectors.h"

#include <algorithm>

namespace Veskora::Lang {

namespace {

// A range of the segment text. Every test of a code unit at a position at or past the end fails,
// so no detector can read outside its range.
class TRange {
public:
  TRange(std::u16string_view aText, int aStart, int aEnd)
      : FText(aText), FStart(aStart),
        // Never above aEnd, so it fits an int even for a huge text.
        FEnd(static_cast<int>(std::min<long long>(aEnd, static_cast<long long>(aText.size())))) {
    // An inverted range or a start outside the text is empty.
    if (aStart < 0 || aStart > FEnd)
      FEnd = FStart;
  }

  int Start() const { return FStart; }
  int End() const { return FEnd; }
  bool Has(int p) const { return p >= FStart && p < FEnd; }
  char16_t At(int p) const { return FText[static_cast<std::size_t>(p)]; }
  bool Is(int p, char16_t c) const { return Has(p) && At(p) == c; }
  template <class Pred> bool Test(int p, Pred aPred) const { return Has(p) && aPred(At(p)); }
  // Does the range start at p with aWhat (entirely inside the range)?
  bool StartsWith(int p, std::u16string_view aWhat) const {
    return p >= FStart &&
           static_cast<long long>(FEnd) - p >= static_cast<long long>(aWhat.size()) &&
           FText.substr(static_cast<std::size_t>(p), aWhat.size()) == aWhat;
  }
  // Advances p over code units that satisfy aPred; returns how many.
  template <class Pred> int Skip(int &p, Pred aPred) const {
    const int from = p;
    while (Test(p, aPred))
      ++p;
    return p - from;
  }
  std::u16string_view Text() const { return FText; }

private:
  std::u16string_view FText;
  int FStart;
  int FEnd;
};

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool IsSchemeChar(char16_t c) {
  return IsAsciiLetter(c) || IsAsciiDigit(c) || c == u'+' || c == u'-' || c == u'.';
}

bool IsRegNameChar(char16_t c) {
  if (IsAsciiLetter(c) || IsAsciiDigit(c))
    return true;
  switch (c) {
  case u'-':
  case u'.':
  case u'_':
  case u'~':
  case u'!':
  case u'$':
  case u'&':
  case u'\'':
  case u'(':
  case u')':
  case u'*':
  case u'+':
  case u',':
  case u';':
  case u'=':
    return true;
  default:
    return false;
  }
}

bool IsPathChar(char16_t c) { return IsRegNameChar(c) || c == u':' || c == u'@'; }

bool IsQueryChar(char16_t c) { return IsPathChar(c) || c == u'/' || c == u'?'; }

// One step of an address character class: a member code unit, or a percent-encoded triple.
template <class Pred> bool ConsumeAddressChar(const TRange &r, int &p, Pred aPred) {
  if (r.Test(p, aPred)) {
    ++p;
    return true;
  }
  if (r.Is(p, u'%') && r.Test(p + 1, IsHexDigit) && r.Test(p + 2, IsHexDigit)) {
    p += 3;
    return true;
  }
  return false;
}

bool ConsumeRegNameChar(const TRange &r, int &p) { return ConsumeAddressChar(r, p, IsRegNameChar); }
bool ConsumePathChar(const TRange &r, int &p) { return ConsumeAddressChar(r, p, IsPathChar); }
bool ConsumeQueryChar(const TRange &r, int &p) { return ConsumeAddressChar(r, p, IsQueryChar); }

// Reads a run of ASCII digits; returns how many.
int ReadDigits(const TRange &r, int &p) { return r.Skip(p, IsAsciiDigit); }

// Reads ASCII digits and returns their value, saturated so that long runs cannot overflow.
int ReadDigitValue(const TRange &r, int &p, int &aCount) {
  int value = 0;
  aCount = 0;
  while (r.Test(p, IsAsciiDigit)) {
    value = std::min(value * 10 + (r.At(p) - u'0'), 100000);
    ++p;
    ++aCount;
  }
  return value;
}

// Digits with optional groups of exactly three after each aGroup separator. Returns false when a
// group has another length (p is then left where the bad group ended).
bool ReadGroupedDigits(const TRange &r, int &p, char16_t aGroup) {
  if (ReadDigits(r, p) == 0)
    return true;
  while (r.Is(p, aGroup)) {
    ++p;
    if (ReadDigits(r, p) != 3)
      return false;
  }
  return true;
}

bool IsExponentMark(const TRange &r, int p) { return r.Is(p, u'E') || r.Is(p, u'e'); }

void SkipSign(const TRange &r, int &p) {
  if (r.Is(p, u'+') || r.Is(p, u'-'))
    ++p;
}

// ---------------------------------------------------------------------------------------------
// Acceptance of a detector's end by the dispatcher.

enum class TAccept { AtBreak, AtBreakNotDotComma, AtBreakNotDot, AnyProgress };

bool Accepted(const TRange &r, int e, TAccept aRule) {
  if (e == r.End())
    return true;
  if (e <= r.Start())
    return false;
  if (aRule == TAccept::AnyProgress)
    return true;
  const char16_t c = r.At(e);
  if (!IsBreakChar(c))
    return false;
  switch (aRule) {
  case TAccept::AtBreakNotDotComma:
    return c != u'.' && c != u',';
  case TAccept::AtBreakNotDot:
    return c != u'.';
  default:
    return true;
  }
}

// ---------------------------------------------------------------------------------------------
// The detectors over a range

int IPv4(const TRange &r, TDetectWork &aWork) {
  int p = r.Start();
  int parts = 0;
  for (;;) {
    int value = 0;
    int digits = 0;
    // Digits are read only while the value so far still fits an octet.
    while (r.Test(p, IsAsciiDigit) && value <= 255) {
      value = value * 10 + (r.At(p) - u'0');
      ++p;
      ++digits;
    }
    if (digits == 0 || value > 255)
      return r.Start();
    ++parts;
    if (!r.Is(p, u'.') || parts >= 5)
      break;
    ++p;
  }
  if (parts != 4)
    return r.Start();
  aWork.Class = wcOther;
  aWork.Flags = OtherKind::IPv4;
  int end = p;
  if (r.Is(p, u'/')) {
    int q = p + 1;
    int count = 0;
    const int mask = ReadDigitValue(r, q, count);
    if (count > 0 && mask <= 32)
      end = q;
  }
  return end;
}

int GroupedNumber(const TRange &r, char16_t aDecimal, char16_t aGroup, TDetectWork &aWork) {
  int p = r.Start();
  if (!ReadGroupedDigits(r, p, aGroup))
    return r.Start();
  if (r.Is(p, aDecimal)) {
    ++p;
    ReadDigits(r, p);
  }
  aWork.Class = wcNumber;
  int end = p;
  if (p == r.Start() || !IsExponentMark(r, p))
    return end;
  ++p;
  SkipSign(r, p);
  const int signEnd = p;
  if (!ReadGroupedDigits(r, p, aGroup))
    return end;
  if (r.Is(p, aDecimal)) {
    ++p;
    ReadDigits(r, p);
  }
  if (p > signEnd)
    end = p;
  return end;
}

int SimpleNumber(const TRange &r, char16_t aDecimal, TDetectWork &aWork) {
  const int s = r.Start();
  if (r.StartsWith(s, u"0x") || r.StartsWith(s, u"0X")) {
    int p = s + 2;
    if (r.Skip(p, IsHexDigit) == 0)
      return s;
    aWork.Class = wcNumber;
    return p;
  }
  int p = s;
  int end = s;
  if (ReadDigits(r, p) > 0) {
    aWork.Class = wcNumber;
    end = p;
  }
  if (r.Is(p, aDecimal)) {
    ++p; // past the separator even when no digit follows
    if (ReadDigits(r, p) > 0) {
      aWork.Class = wcNumber;
      end = p;
    }
  }
  if (p == s || !IsExponentMark(r, p))
    return end;
  ++p;
  SkipSign(r, p);
  const int signEnd = p;
  ReadDigits(r, p);
  if (r.Is(p, aDecimal)) {
    ++p;
    ReadDigits(r, p);
  }
  if (p > signEnd)
    end = p;
  return end;
}

int Version(const TRange &r, TDetectWork &aWork) {
  int p = r.Start();
  if (ReadDigits(r, p) == 0 || !r.Is(p, u'.'))
    return r.Start();
  ++p;
  if (ReadDigits(r, p) == 0)
    return r.Start();
  aWork.Class = wcOther;
  aWork.Flags = OtherKind::Version;
  const int twoGroups = p;
  while (r.Is(p, u'.')) {
    ++p;
    if (ReadDigits(r, p) == 0)
      return twoGroups;
  }
  int end = p;
  if (r.Is(p, u'(')) {
    int q = p + 1;
    if (ReadDigits(r, q) > 0 && r.Is(q, u')'))
      end = q + 1;
  }
  return end;
}

// The authority after the scheme (or at the start): user information, host, port.
// Returns false when it is malformed.
bool ReadAuthority(const TRange &r, int &p) {
  if (!r.Is(p, u'[')) {
    const int mark = p;
    for (;;) {
      if (ConsumeRegNameChar(r, p))
        continue;
      if (!r.Is(p, u':'))
        break;
      ++p;
    }
    if (r.Is(p, u'@'))
      ++p;
    else
      p = mark;
  }
  if (r.Is(p, u'[')) {
    ++p;
    const int hostStart = p;
    r.Skip(p, [](char16_t c) { return IsHexDigit(c) || c == u':'; });
    if (p == hostStart || !r.Is(p, u']'))
      return false;
    ++p;
  } else {
    const int hostStart = p;
    while (ConsumeRegNameChar(r, p))
      ;
    if (p == hostStart)
      return false;
  }
  if (r.Is(p, u':')) {
    ++p;
    if (ReadDigits(r, p) == 0)
      return false;
  }
  return true;
}

// The path after an authority: "/" alone at the end, or non-empty "/"-segments.
bool ReadAuthorityPath(const TRange &r, int &p) {
  if (!r.Is(p, u'/') || r.Is(p + 1, u'/'))
    return false;
  if (p + 1 == r.End()) {
    p = r.End();
    return true;
  }
  while (r.Is(p, u'/')) {
    ++p;
    const int segmentStart = p;
    while (ConsumePathChar(r, p))
      ;
    if (p == segmentStart && r.Has(p))
      return false;
  }
  return true;
}

int URI(const TRange &r, bool aSchemeRequired, TDetectWork &aWork) {
  int p = r.Start();
  bool authority = true;
  if (aSchemeRequired) {
    if (!r.Test(p, IsAsciiLetter))
      return r.Start();
    ++p;
    r.Skip(p, IsSchemeChar);
    if (!r.Is(p, u':'))
      return r.Start();
    ++p;
    authority = r.Is(p, u'/') && r.Is(p + 1, u'/');
    if (authority)
      p += 2;
  }
  if (authority && !ReadAuthority(r, p))
    return r.Start();
  bool path = false;
  if (r.Has(p)) {
    if (authority) {
      if (!ReadAuthorityPath(r, p))
        return r.Start();
    } else {
      const int pathStart = p;
      do {
        if (r.Is(p, u'/'))
          ++p;
        while (ConsumePathChar(r, p))
          ;
      } while (r.Is(p, u'/'));
      path = p > pathStart;
    }
  }
  if (!authority && !path)
    return r.Start();
  aWork.Class = wcOther;
  aWork.Flags = OtherKind::URI;
  if (r.Is(p, u'?')) {
    ++p;
    while (ConsumeQueryChar(r, p))
      ;
  }
  if (r.Is(p, u'#')) {
    ++p;
    while (ConsumeQueryChar(r, p))
      ;
  }
  return p;
}

int Email(const TRange &r, TDetectWork &aWork) {
  int at = r.Start();
  r.Skip(at, [](char16_t c) { return c != u'@'; });
  if (!r.Has(at) || at == r.Start())
    return r.Start();
  int q = at + 1;
  if (r.Skip(q, [](char16_t c) { return c != u'@' && c != u'.'; }) == 0 || !r.Is(q, u'.'))
    return r.Start();
  return URI(r, false, aWork);
}

int HostPrefix(const TRange &r, TDetectWork &aWork) {
  // The one comparison that does not stop at the range's end (it stops at the text's end).
  const std::u16string_view rest = r.Text().substr(static_cast<std::size_t>(r.Start()));
  for (std::u16string_view prefix : HostPrefixes)
    if (rest.starts_with(prefix))
      return URI(r, false, aWork);
  return r.Start();
}

// aLead, then a run of letters and digits: a pattern of kind aKind.
int LeadAndName(const TRange &r, std::u16string_view aLead, std::uint16_t aKind,
                TDetectWork &aWork) {
  if (!r.StartsWith(r.Start(), aLead))
    return r.Start();
  int p = r.Start() + static_cast<int>(aLead.size());
  if (r.Skip(p, IsLetterOrDigit) == 0)
    return r.Start();
  aWork.Class = wcOther;
  aWork.Flags = aKind;
  return p;
}

int XMLEntity(const TRange &r, TDetectWork &aWork) {
  int p = r.Start();
  if (!r.Is(p, u'&'))
    return r.Start();
  ++p;
  int n = 0;
  if (r.Is(p, u'#')) {
    ++p;
    if (r.Is(p, u'x')) {
      ++p;
      n = r.Skip(p, IsHexDigit);
    } else {
      n = ReadDigits(r, p);
    }
  } else {
    n = r.Skip(p, IsLetterOrDigit);
  }
  if (n == 0 || !r.Is(p, u';'))
    return r.Start();
  aWork.Class = wcOther;
  aWork.Flags = OtherKind::XMLEntity;
  return p + 1;
}

int Operator(const TRange &r, TDetectWork &aWork) {
  for (const TMapping &m : OperatorMappings) {
    if (r.StartsWith(r.Start(), m.Text)) {
      aWork.Class = wcSymbol;
      aWork.Flags = m.Value;
      return r.Start() + static_cast<int>(m.Text.size());
    }
  }
  return r.Start();
}

// Keeps the caller's start when the range is invalid, so "no match" always means aStart.
template <class F> int RunOnRange(std::u16string_view aText, int aStart, int aEnd, F aDetect) {
  const TRange r(aText, aStart, aEnd);
  if (r.Start() != aStart || r.End() <= r.Start())
    return aStart;
  return aDetect(r);
}

} // namespace

// ---------------------------------------------------------------------------------------------

int DetectTokenWithFlags(std::u16string_view aText, int aStart, int aEnd, TWordClass aStartClass,
                         std::uint16_t aFlags, TDetectWork &aWork) {
  aWork.Class = aStartClass;
  aWork.Flags = aFlags;
  const TRange r(aText, aStart, aEnd);
  if (r.End() <= r.Start())
    return aStart;
  const int s = r.Start();
  if (aFlags == WordFlags::Digit) {
    aWork.Class = wcNumber;
    return r.End();
  }
  const bool punctuation = (aFlags & WordFlags::Punctuation) != 0;
  const bool numeric = IsAsciiDigit(r.At(s)) || (punctuation && (aFlags & WordFlags::Digit));
  // The first detector whose end is accepted decides; the order is significant.
  auto tryOne = [&](int e, TAccept aRule) { return Accepted(r, e, aRule) ? e : -1; };
  int e = -1;
  if (numeric) {
    if ((e = tryOne(IPv4(r, aWork), TAccept::AtBreak)) >= 0 ||
        (e = tryOne(GroupedNumber(r, u'.', u',', aWork), TAccept::AtBreakNotDotComma)) >= 0 ||
        (e = tryOne(GroupedNumber(r, u',', u'.', aWork), TAccept::AtBreakNotDotComma)) >= 0 ||
        (e = tryOne(SimpleNumber(r, u'.', aWork), TAccept::AtBreakNotDot)) >= 0 ||
        (e = tryOne(SimpleNumber(r, u',', aWork), TAccept::AtBreakNotDot)) >= 0 ||
        (e = tryOne(Version(r, aWork), TAccept::AtBreak)) >= 0)
      return e;
  }
  if (punctuation) {
    if ((e = tryOne(URI(r, true, aWork), TAccept::AtBreak)) >= 0 ||
        (e = tryOne(Email(r, aWork), TAccept::AtBreak)) >= 0 ||
        (e = tryOne(HostPrefix(r, aWork), TAccept::AtBreak)) >= 0 ||
        (e = tryOne(LeadAndName(r, u"*.", OtherKind::FileName, aWork), TAccept::AtBreak)) >= 0 ||
        (e = tryOne(XMLEntity(r, aWork), TAccept::AnyProgress)) >= 0 ||
        (e = tryOne(LeadAndName(r, u".", OtherKind::Extension, aWork), TAccept::AtBreak)) >= 0)
      return e;
  }
  if (punctuation || (aFlags & WordFlags::Symbol)) {
    if ((e = tryOne(Operator(r, aWork), TAccept::AnyProgress)) >= 0)
      return e;
  }
  return s;
}

int DetectToken(std::u16string_view aText, int aStart, int aEnd, TWordClass aStartClass,
                TVeLWordListOptions aOptions, TDetectWork &aWork) {
  const TRange r(aText, aStart, aEnd);
  if (r.End() <= r.Start())
    return DetectTokenWithFlags(aText, aStart, aEnd, aStartClass, 0, aWork);
  const std::u16string_view range = aText.substr(static_cast<std::size_t>(r.Start()),
                                                 static_cast<std::size_t>(r.End() - r.Start()));
  return DetectTokenWithFlags(aText, aStart, aEnd, aStartClass, ComputeWordFlags(range, aOptions),
                              aWork);
}

int DetectIPv4(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork) {
  return RunOnRange(aText, aStart, aEnd, [&](const TRange &r) { return IPv4(r, aWork); });
}

int DetectGroupedNumber(std::u16string_view aText, int aStart, int aEnd, char16_t aDecimal,
                        char16_t aGroup, TDetectWork &aWork) {
  return RunOnRange(aText, aStart, aEnd,
                    [&](const TRange &r) { return GroupedNumber(r, aDecimal, aGroup, aWork); });
}

int DetectSimpleNumber(std::u16string_view aText, int aStart, int aEnd, char16_t aDecimal,
                       TDetectWork &aWork) {
  return RunOnRange(aText, aStart, aEnd,
                    [&](const TRange &r) { return SimpleNumber(r, aDecimal, aWork); });
}

int DetectVersion(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork) {
  return RunOnRange(aText, aStart, aEnd, [&](const TRange &r) { return Version(r, aWork); });
}

int DetectURI(std::u16string_view aText, int aStart, int aEnd, bool aSchemeRequired,
              TDetectWork &aWork) {
  return RunOnRange(aText, aStart, aEnd,
                    [&](const TRange &r) { return URI(r, aSchemeRequired, aWork); });
}

int DetectEmail(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork) {
  return RunOnRange(aText, aStart, aEnd, [&](const TRange &r) { return Email(r, aWork); });
}

int DetectHostPrefix(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork) {
  return RunOnRange(aText, aStart, aEnd, [&](const TRange &r) { return HostPrefix(r, aWork); });
}

int DetectWildcardFileName(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork) {
  return RunOnRange(aText, aStart, aEnd, [&](const TRange &r) {
    return LeadAndName(r, u"*.", OtherKind::FileName, aWork);
  });
}

int DetectExtension(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork) {
  return RunOnRange(aText, aStart, aEnd, [&](const TRange &r) {
    return LeadAndName(r, u".", OtherKind::Extension, aWork);
  });
}

int DetectXMLEntity(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork) {
  return RunOnRange(aText, aStart, aEnd, [&](const TRange &r) { return XMLEntity(r, aWork); });
}

int DetectOperator(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork) {
  return RunOnRange(aText, aStart, aEnd, [&](const TRange &r) { return Operator(r, aWork); });
}

int MatchBracketPair(std::u16string_view aText, int aStart, int aEnd) {
  const TRange r(aText, aStart, aEnd);
  if (r.Start() != aStart)
    return 0;
  const int length = r.End() - r.Start();
  for (std::size_t i = 0; i < OpenBrackets.size(); ++i) {
    const auto n = static_cast<int>(OpenBrackets[i].size());
    // Opener and closer must leave something between them.
    if (2 * n >= length)
      return 0;
    if (!r.StartsWith(r.Start(), OpenBrackets[i]))
      continue;
    if (r.StartsWith(r.End() - static_cast<int>(CloseBrackets[i].size()), CloseBrackets[i]))
      return n;
    if (n < 2)
      return 0;
  }
  return 0;
}

} // namespace Veskora::Lang
