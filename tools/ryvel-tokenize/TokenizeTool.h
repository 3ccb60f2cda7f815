// The work of ryvel-tokenize apart from its command line: escapes, option names and the
// one-line form of a token.
#pragma once

#include "lang/segment/USegment.h"

#include <string>
#include <string_view>

namespace RyvelTokenize {

// "\t", "\n", "\r" and "\\" become TAB, LF, CR and a backslash; any other backslash stays.
std::u16string DecodeEscapes(std::u16string_view aText);
// The reverse, so that every token prints on one line.
std::u16string EncodeEscapes(std::u16string_view aText);

// A comma-separated list of "clean-detected", "clean-all" and "apostrophes" (spaces around the
// names ignored, an empty list gives no options). False, with the bad name in aBadName, for an
// unknown name.
bool ParseOptions(std::string_view aList, Veskora::Lang::TVeLWordListOptions& aOptions,
                  std::string& aBadName);

// pos<TAB>len<TAB>Class<TAB>0xFLAG<TAB>FlagsAsString<TAB>text, in UTF-8, without a line end.
std::string FormatToken(const Veskora::Lang::TVeLWord& aWord, std::u16string_view aSegment);

// Every token of the segment, one line each, then an empty line.
std::string TokenizeSegment(std::u16string_view aSegment,
                            Veskora::Lang::TVeLWordListOptions aOptions,
                            const Veskora::Lang::TVeLSpecialWordList* aSpecials);

} // namespace RyvelTokenize
