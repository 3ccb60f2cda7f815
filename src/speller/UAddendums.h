// The user's addendums: one word list file (TVeAddendumFile) and the collection of them for one
// plug-in (TVeAddendumFilesList), with its folder kept in the key=value store and its list file.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TVeAddendumFilesList;

// Raised when an addendum file cannot be written, or exists but cannot be read. The addendum
// keeps its entries and stays dirty, so nothing added is lost.
class EAddendumFileError : public std::runtime_error {
public:
  EAddendumFileError(const std::string& aMessage, std::u16string aFileName);
  const std::u16string& FileName() const { return FFileName; }

private:
  std::u16string FFileName;
};

// One addendum: its name, its active switch and every line of its file, held in memory.
// File format: UTF-8 with a byte order mark, every line ending in CR LF, a new file starting with
// the two header lines below.
class TVeAddendumFile {
public:
  static constexpr std::u16string_view HeaderLine1 =
      u"# Addendum file for Veskora Ryvel Spell Checker";
  static constexpr std::u16string_view HeaderLine2 = u"#";

  // Reads the file at once (Refresh). Never throws: an existing file that cannot be read gives
  // the header lines only, and the addendum then refuses to overwrite that file (SaveToDisk
  // raises) until a later Refresh reads it.
  TVeAddendumFile(TVeAddendumFilesList* aParent, std::u16string aName);
  TVeAddendumFile(const TVeAddendumFile&) = delete;
  TVeAddendumFile& operator=(const TVeAddendumFile&) = delete;
  ~TVeAddendumFile();

  // The name with the nine characters that no file name may hold replaced by "_".
  const std::u16string& Name() const { return FName; }
  // BaseDir (with a trailing separator) + BaseName + Name + ".txt".
  std::u16string FileName() const;
  bool IsActive() const { return FIsActive; }
  void SetIsActive(bool aValue) { FIsActive = aValue; }
  bool IsDirty() const { return FIsDirty; }
  void SetIsDirty(bool aValue) { FIsDirty = aValue; }
  TVeAddendumFilesList* Parent() const { return FParent; }

  // Every line of the file, comments included, followed by the words added since.
  const std::vector<std::u16string>& Entries() const { return FEntries; }
  int Count() const { return static_cast<int>(FEntries.size()); }

  // Appends the word unless a line equals it exactly (case-sensitive); marks the addendum dirty.
  // Returns whether it was appended.
  bool Add(std::u16string_view aWord);
  // Replaces the entries by the file's current lines (the header lines when there is no file).
  // Raises EAddendumFileError, entries unchanged, when the file exists but cannot be read.
  // The dirty flag is not changed.
  void Refresh();
  // Writes a dirty addendum (atomically: the old file stays whole on any failure) and makes it
  // clean. Raises EAddendumFileError and stays dirty when the file cannot be written, when
  // there is no addendum folder, or when the existing file could not be read.
  void SaveToDisk();

  // The name rule of file names: each of " * / : < > ? \ | becomes "_".
  static std::u16string ValidFileName(std::u16string_view aName);
  // The lines of a file's bytes, decoded by byte order mark (UTF-8, UTF-16LE, UTF-16BE) or,
  // without one, in the system ANSI code page. Lines end at CR, LF or CR LF. Malformed
  // sequences become U+FFFD; everything else is kept.
  static std::vector<std::u16string> DecodeLines(std::string_view aBytes);
  // The file bytes of the given lines: UTF-8 byte order mark, each line followed by CR LF.
  static std::string EncodeLines(const std::vector<std::u16string>& aLines);

private:
  void AddHeaderIfEmpty();

  std::u16string FName;
  bool FIsActive = true;
  bool FIsDirty = false;
  bool FReadFailed = false;
  std::vector<std::u16string> FEntries;
  TVeAddendumFilesList* FParent; // borrowed: the owning collection
};

// The addendums of one plug-in, in collection order. The folder comes from the value
// "AddendumsDir" of the speller's key; the list file is BaseDir + BaseName + "addendums.cfg"
// (UTF-16LE without mark: per addendum "1" or "0", its name, CR LF).
class TVeAddendumFilesList {
public:
  static constexpr const char* AddendumsDirValue = "AddendumsDir";

  // Reads AddendumsDir at once; a value that names no existing folder gives an empty BaseDir.
  explicit TVeAddendumFilesList(std::u16string aBaseName);
  TVeAddendumFilesList(const TVeAddendumFilesList&) = delete;
  TVeAddendumFilesList& operator=(const TVeAddendumFilesList&) = delete;
  ~TVeAddendumFilesList();

  // Rebuilds the collection from the list file (empty with no folder or no list file).
  void LoadFromDisk();
  // Writes the list file (errors ignored), then every dirty addendum. With no folder, nothing.
  // Every dirty addendum is tried; the first failure is raised afterwards (EAddendumFileError).
  void SaveToDisk();

  int AddendumCount() const { return static_cast<int>(FList.size()); }
  // The addendum at the 0-based position, or nullptr when out of range.
  TVeAddendumFile* GetAddendum(int aIndex) const;

  // The addendum whose name equals aName (ASCII letters without regard to case), created (and
  // read from its file) when there is none.
  TVeAddendumFile* AddAddendum(const std::u16string& aName);
  // Deletes the first addendum of that name and its file (a failed delete is ignored).
  void DeleteAddendum(std::u16string_view aName);
  // The first addendum whose name equals aName, ASCII letters compared without regard to case.
  TVeAddendumFile* FindAddendum(std::u16string_view aName) const;
  // Destroys every addendum without saving.
  void Clear();
  // Re-reads every addendum file; every addendum is tried, the first failure raised afterwards.
  void Refresh();

  const std::u16string& BaseName() const { return FBaseName; }
  void SetBaseName(std::u16string aValue) { FBaseName = std::move(aValue); }
  const std::u16string& BaseDir() const { return FBaseDir; }
  // A different folder is stored as given, written to AddendumsDir, and the collection is
  // reloaded from it (the old folder's unsaved additions are discarded).
  void SetBaseDir(const std::u16string& aValue);
  // BaseDir with a trailing separator + BaseName + "addendums.cfg".
  std::u16string ListFileName() const;

  // The list text: per addendum "1"/"0", its name, CR LF.
  std::u16string AsBuffer() const;
  // Replaces the collection by the list text (lines end only at CR LF; a last line without one
  // is ignored).
  void SetAsBuffer(std::u16string_view aValue);

  // Compares ASCII letters without regard to case; every other code unit exactly.
  static bool SameName(std::u16string_view a, std::u16string_view b);

private:
  std::vector<std::unique_ptr<TVeAddendumFile>> FList;
  std::u16string FBaseName;
  std::u16string FBaseDir;
};
