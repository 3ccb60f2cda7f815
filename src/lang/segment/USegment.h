// The text segmentation unit: turns a segment's target text into classified tokens.
//
// Public surface (namespace Veskora::Lang):
//   TVeLWord             one token: FPos/FLen (UTF-16 code units), FClass (wcWhiteSpace, wcWord,
//                        wcTag, wcNumber, wcSymbol, wcPunctuation, wcOther), FFlags, FExtraFlags;
//                        the predicates the speller reads (IsNormal, IsNormalWithNumbers,
//                        IsUpperCase, IsAposUpperCase, IsMixedCase, IsAbbreviation), GetText /
//                        TextView, ClassAsString and FlagsAsString.
//   TVeLWordList         the token list of one segment. Typical use by the speller:
//                            TVeLWordList list(target, {opCleanAllRTFEscapedChars}, &specials);
//                            for (const TVeLWord& w : list.Words())
//                              if (w.FClass == wcWord) ... w.TextView(target) ...
//                        The tokens cover the text completely; the list keeps no copy of it.
//   TVeLSpecialWordList  the special words: LoadFromFile(path, false) for the ".rysw" file,
//                        LoadFromFile(path, true) for each addendum file (adds), Find /
//                        MatchSpecialWordAt for prefixes, FindExact for whole words.
// The detectors (UDetectors.h) and the scanners stay behind this surface.
#pragma once

#include "lang/segment/USpecialWords.h"
#include "lang/segment/UWord.h"
#include "lang/segment/UWordList.h"
