// TVeLWordList: the ordered token list of one segment text.
//
// The tokens cover the text without gaps: every code unit belongs to exactly one token. They are
// in text order, with one exception: a punctuation mark split off the last word is appended at
// the end of the list, after any trailing whitespace tokens.
#pragma once

#include "lang/segment/UWord.h"

#include <string_view>
#include <vector>

namespace Veskora::Lang {

class TVeLSpecialWordList;

using TVeLWordArray = std::vector<TVeLWord>;

class TVeLWordList {
public:
  using TOption = TVeLWordListOption;
  using TOptions = TVeLWordListOptions;

  // An empty list with aOptions; the apostrophe rules of every later build follow them.
  explicit TVeLWordList(TOptions aOptions = {});
  // The same, then FromSegment(aSegment, aOptions, aSpecialWordList) when aSegment is not empty.
  // aSpecialWordList is borrowed for the build only and may be null.
  TVeLWordList(std::u16string_view aSegment, TOptions aOptions,
               const TVeLSpecialWordList* aSpecialWordList);
  virtual ~TVeLWordList() = default;

  // Tokens refer back to their list, so a list stays where it was made.
  TVeLWordList(const TVeLWordList&) = delete;
  TVeLWordList& operator=(const TVeLWordList&) = delete;

  // Rebuilds the tokens of aSegment. aOptions chooses only the escape cleaning; the apostrophe
  // rules follow the options the list was created with.
  void FromSegment(std::u16string_view aSegment, TOptions aOptions,
                   const TVeLSpecialWordList* aSpecialWordList);

  const TVeLWordArray& Words() const { return FWords; }
  TOptions Options() const { return FOptions; }

  // The scanning text: every escape pair (a backslash and "n", "r" or "t" not preceded by a
  // backslash) replaced by two spaces; with aOnlyDetected only when at least one pair is
  // followed by a backslash or a capital. The length never changes.
  static std::u16string CleanRTFEscapedChars(std::u16string_view aText, bool aOnlyDetected);

  // The end of the inline tag that starts with the "<" at aPos of aText (a start, empty-element
  // or end tag with quoted attribute values), or aPos when there is none.
  static int ParseTag(std::u16string_view aText, int aPos);

protected:
  // Refines the scanned tokens: trailing punctuation, pure punctuation and symbol words,
  // abbreviations, sentence ends, apostrophe joins and whole special words. Runs once at the
  // end of every build that produced tokens.
  virtual void PostProcess(std::u16string_view aSegment,
                           const TVeLSpecialWordList* aSpecialWordList);

private:
  struct TScanner;
  friend struct TScanner;

  // Classifies a copy of aWord, places it at aIndex (-1 appends) and splits it into its parts;
  // returns the index at which it was placed.
  int InsertWord(std::u16string_view aSegment, const TVeLWord& aWord, int aIndex, int aDepth = 0);
  // Removes the token at aIndex; an index out of range does nothing.
  void DeleteWord(int aIndex);

  // The splitting passes of InsertWord, each walking from aPos to the end of the list.
  void SplitDetectedPrefixes(std::u16string_view aSegment, int aPos, int aDepth);
  void SplitEnclosingPairs(std::u16string_view aSegment, int aPos, int aDepth);
  void SplitAfterLeadingBreaks(std::u16string_view aSegment, int aPos, int aDepth);
  void SplitLeadingBreakChars(std::u16string_view aSegment, int aPos, int aDepth);
  void SplitAtFirstBreakChars(std::u16string_view aSegment, int aPos, int aDepth);
  // Shortens token aIndex to end at aAt and inserts the rest as a new word right after it.
  void SplitWordAt(std::u16string_view aSegment, int aIndex, int aAt, int aDepth);

  // The refinement steps, in the order PostProcess runs them.
  void SplitTrailingPunctuation(std::u16string_view aSegment);
  void ReclassifyWords(std::u16string_view aSegment);
  void MarkAbbreviations(std::u16string_view aSegment);
  void MarkParagraphEnds(std::u16string_view aSegment);
  void JoinApostrophes(std::u16string_view aSegment);
  void MarkSpecialWords(std::u16string_view aSegment, const TVeLSpecialWordList& aSpecialWordList);
  void MarkPlaceholders(std::u16string_view aSegment);
  void MarkFileNames(std::u16string_view aSegment);
  // Tokens aFirst..aLast become one wcOther token of the given kind.
  void JoinAsOther(int aFirst, int aLast, std::uint16_t aKind);

  TVeLWord MakeWord(int aPos, int aLen, TWordClass aClass) const;

  TOptions FOptions;
  TVeLWordArray FWords;
};

} // namespace Veskora::Lang
