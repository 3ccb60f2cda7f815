// The special word list: names, places, acronyms and products (possibly several words each)
// that are never reported as misspellings. Filled from a special-words file (".rysw") and from
// the user's addendum files; the word list builder asks it while scanning whether a special word
// starts at a place in the text, and the refinement looks whole tokens up in it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace Veskora::Lang {

// One entry: the text as written (may hold spaces and punctuation), its type code (0 or one of
// OtherKind::Country .. OtherKind::Product), and the gender ('F', 'M', 'N') and number ('N', 'P',
// 'S') columns of the file, U+0000 when not given. Gender and number are kept but not read.
class TVeLSpecialWord {
public:
  TVeLSpecialWord() = default;
  TVeLSpecialWord(std::u16string aText, std::uint16_t aType, char16_t aGender = 0,
                  char16_t aNumber = 0);

  std::u16string FText;
  std::uint16_t FType = 0;
  char16_t FGender = 0;
  char16_t FNumber = 0;
};

// Order of the list: ordinal by UTF-16 code units, case-sensitive; a text sorts before every
// longer text that starts with it.
struct TVeLSpecialWordComparer {
  static int Compare(const TVeLSpecialWord& aLeft, const TVeLSpecialWord& aRight);
  bool operator()(const TVeLSpecialWord& aLeft, const TVeLSpecialWord& aRight) const {
    return Compare(aLeft, aRight) < 0;
  }
};

// What LoadFromFile did.
enum class TSpecialWordsLoad : std::uint8_t {
  Loaded,     // the file was read (possibly without any entry)
  NoFile,     // empty name or no such file: the list is unchanged
  Unreadable, // the file exists but could not be read (for a special-words load, the list is
              // empty now)
};

// Owning, always sorted list of special words.
class TVeLSpecialWordList {
public:
  TVeLSpecialWordList() = default;
  // An empty list; then LoadFromFile(aFileName, false) when the name is not empty.
  explicit TVeLSpecialWordList(const std::filesystem::path& aFileName);

  // Reads a special-words file (aIsAddendum = false: replaces every entry and adds the upper-case
  // form of each text as a second entry) or an addendum file (aIsAddendum = true: adds to the
  // entries, no upper-case forms). The encoding comes from the byte-order mark (UTF-8,
  // UTF-16LE, UTF-16BE); without one the file is in the system ANSI code page.
  TSpecialWordsLoad LoadFromFile(const std::filesystem::path& aFileName, bool aIsAddendum);
  // The same from the bytes of such a file.
  void LoadFromBytes(std::string_view aBytes, bool aIsAddendum);

  // Adds one entry at its sorted place.
  void Add(TVeLSpecialWord aWord);
  void Clear() { FItems.clear(); }

  int Count() const { return static_cast<int>(FItems.size()); }
  const TVeLSpecialWord& Items(int aIndex) const { return FItems[static_cast<size_t>(aIndex)]; }

  // aText runs from a position of a text to that text's end. Finds the entry that the text
  // begins with: an entry equal to the whole text, else the nearest preceding entry that is a
  // prefix of it, walking back over entries that share their first word. aPos := its index.
  bool Find(std::u16string_view aText, int& aPos) const;

  // The end of a special word starting at aStart of aText, with its type: Find on the text from
  // aStart, rejected when the text there is a host name ("www." ...), or when the match is
  // followed by a letter, a digit, "@" or "://".
  bool MatchSpecialWordAt(std::u16string_view aText, int aStart, int& aEnd,
                          std::uint16_t& aType) const;

  // The first entry (in list order) whose text equals aText, or null.
  const TVeLSpecialWord* FindExact(std::u16string_view aText) const;

  // The type code of a type name of the file ("City" -> 103), ignoring ASCII case; 0 for any
  // other name.
  static std::uint16_t TypeFromName(std::u16string_view aName);

private:
  void ParseLine(std::u16string_view aLine, bool aIsAddendum);
  void Sort();

  std::vector<TVeLSpecialWord> FItems;
};

} // namespace Veskora::Lang
