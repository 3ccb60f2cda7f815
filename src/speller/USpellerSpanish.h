// TSpellerSpanish: the language speller of the plug-in (the dictionary "ru_RU").
//
// For one segment it walks the tokens of the target text and reports every word that neither
// the dictionary, the special words (the special-words file and the active addendums), nor
// one of the exclusion options accepts. The rest of the system sees it only as IRySpeller.
//
//   auto speller = TSpellerSpanish::Create(&addendums);  // files next to the module
//   speller->ReloadSpecialWords();                       // at the start of every check run
//   int total = 0;
//   speller->Check(segment, options, total, [&](std::u16string_view w) { ... });
#pragma once

#include "lang/hunspell/UHunSpell.h"
#include "lang/segment/USpecialWords.h"
#include "session/URySpellerClasses.h"

#include <memory>
#include <string>
#include <string_view>

class TVeAddendumFilesList;

class TSpellerSpanish : public IRySpeller {
public:
  static constexpr std::u16string_view CDictionaryName = u"ru_RU";
  static constexpr std::u16string_view CSpecialWordsExtension = u".rysw";

  // Where the dictionary, the special-words file and the spelling library are found. The
  // defaults are the plug-in's own: everything in the folder of the module file.
  struct TLocation {
    std::u16string Folder;                // empty: the module's folder
    std::u16string Lang{CDictionaryName}; // <Lang>.dic, <Lang>.aff and <Lang>.rysw
    std::u16string LibPath = u".";        // ".": the library in the module's folder
  };

  // The session's speller. aAddendumFilesList is borrowed (may be null) and must outlive it.
  static std::shared_ptr<IRySpeller> Create(TVeAddendumFilesList* aAddendumFilesList);
  static std::shared_ptr<TSpellerSpanish> Create(TVeAddendumFilesList* aAddendumFilesList,
                                                 const TLocation& aLocation);

  TSpellerSpanish(TVeAddendumFilesList* aAddendumFilesList, const TLocation& aLocation);
  TSpellerSpanish(const TSpellerSpanish&) = delete;
  TSpellerSpanish& operator=(const TSpellerSpanish&) = delete;
  ~TSpellerSpanish() override;

  // Always true: a dictionary that cannot be opened answers every lookup with "unknown".
  bool Enabled() override;
  int Check(const TSegmentData& aSegment, TRySpellerOptions aOptions, int& aTotalWords,
            const TWordProc& aProc) override;
  // Examines aTarget, calls aProc once per unknown word in text order (the word as written;
  // an abbreviation with its full stop) and returns the number of calls. aTotalWords receives
  // the number of tokens examined.
  int Check(std::u16string_view aSource, std::u16string_view aTarget, TRySpellerOptions aOptions,
            int& aTotalWords, const TWordProc& aProc);
  int GetSuggestions(const std::u16string& aWord,
                     std::vector<std::u16string>& aSuggestions) override;
  // Re-reads the special-words file and the files of the active addendums.
  void ReloadSpecialWords() override;

  // The dictionary's answer for one word, looked up as Check looks up every token: U+2019 as
  // U+0027, in UTF-8.
  bool IsWordKnown(std::u16string_view aWord) { return Lookup(aWord); }

  bool NoDictionary() const { return FNoDictionary; }
  const std::u16string& SpecialWordsFile() const { return FSpecialWordsFile; }
  THunSpell& Dictionary() { return *FDict; }
  // Null until the first ReloadSpecialWords.
  const Veskora::Lang::TVeLSpecialWordList* SpecialWords() const { return FSpecialWords.get(); }

  // Whether aTarget is aSource with differences only in characters that are neither letters
  // nor digits (surrounding spaces and control characters ignored).
  static bool IsSimilarText(std::u16string_view aSource, std::u16string_view aTarget);
  // Whether aWord stands in aText as a whole word (no letter right before or after it);
  // aPos := the 1-based position of the first such occurrence, 0 when there is none.
  static bool FindWholeWord(std::u16string_view aWord, std::u16string_view aText, int& aPos);

private:
  struct TTokenCheck;

  // The dictionary's answer for aText, with U+2019 looked up as U+0027.
  bool Lookup(std::u16string_view aText);

  std::unique_ptr<THunSpell> FDict;
  std::unique_ptr<Veskora::Lang::TVeLSpecialWordList> FSpecialWords;
  std::u16string FSpecialWordsFile;
  TVeAddendumFilesList* FAddendumFiles; // borrowed, may be null
  bool FNoDictionary = false;

  // Buffers reused by every token, so that a check allocates little beyond its token list.
  std::u16string FLower;
  std::u16string FCompound;
  std::string FUtf8;
};
