#include "speller/UAddendums.h"

#include "platform/UFiles.h"
#include "platform/UKeyValueStore.h"
#include "platform/UText.h"

namespace Platform = Ryvel::Platform;

EAddendumFileError::EAddendumFileError(const std::string& aMessage, std::u16string aFileName)
    : std::runtime_error(aMessage + ": " + Platform::Utf16ToUtf8(aFileName)),
      FFileName(std::move(aFileName)) {}

namespace {

constexpr char16_t PathSeparator = u'/';

std::u16string WithTrailingSeparator(std::u16string aDir) {
  if (aDir.empty() || aDir.back() != PathSeparator)
    aDir.push_back(PathSeparator);
  return aDir;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TVeAddendumFile

TVeAddendumFile::TVeAddendumFile(TVeAddendumFilesList* aParent, std::u16string aName)
    : FName(ValidFileName(aName)), FParent(aParent) {
  try {
    Refresh();
  } catch (const EAddendumFileError&) {
    // An unreadable file must not stop the collection from loading; FReadFailed keeps that file
    // from being overwritten by these header lines.
    AddHeaderIfEmpty();
  }
}

TVeAddendumFile::~TVeAddendumFile() = default;

std::u16string TVeAddendumFile::ValidFileName(std::u16string_view aName) {
  std::u16string name(aName);
  for (char16_t& c : name) {
    switch (c) {
    case u'"':
    case u'*':
    case u'/':
    case u':':
    case u'<':
    case u'>':
    case u'?':
    case u'\\':
    case u'|':
      c = u'_';
      break;
    default:
      break;
    }
  }
  return name;
}

std::u16string TVeAddendumFile::FileName() const {
  std::u16string dir = FParent ? FParent->BaseDir() : std::u16string();
  std::u16string base = FParent ? FParent->BaseName() : std::u16string();
  return WithTrailingSeparator(std::move(dir)) + base + FName + u".txt";
}

std::vector<std::u16string> TVeAddendumFile::DecodeLines(std::string_view aBytes) {
  const std::u16string text = Platform::DecodeTextFile(aBytes);
  std::vector<std::u16string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n')
      continue;
    lines.emplace_back(text, start, i - start);
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
      ++i;
    start = i + 1;
  }
  if (start < text.size())
    lines.emplace_back(text, start);
  return lines;
}

std::string TVeAddendumFile::EncodeLines(const std::vector<std::u16string>& aLines) {
  std::string bytes = "\xEF\xBB\xBF";
  for (const auto& line : aLines) {
    bytes += Platform::Utf16ToUtf8(line);
    bytes += "\r\n";
  }
  return bytes;
}

void TVeAddendumFile::AddHeaderIfEmpty() {
  if (FEntries.empty()) {
    FEntries.emplace_back(HeaderLine1);
    FEntries.emplace_back(HeaderLine2);
  }
}

bool TVeAddendumFile::Add(std::u16string_view aWord) {
  for (const auto& line : FEntries)
    if (line == aWord)
      return false;
  FEntries.emplace_back(aWord);
  FIsDirty = true;
  return true;
}

void TVeAddendumFile::Refresh() {
  const bool hasFolder = FParent && !FParent->BaseDir().empty();
  const std::u16string fileName = FileName();
  const auto path = Platform::PathFromUtf16(fileName);
  if (hasFolder && Platform::FileExists(path)) {
    const auto bytes = Platform::ReadWholeFile(path);
    if (!bytes) {
      FReadFailed = true;
      throw EAddendumFileError("Cannot read the addendum file", fileName);
    }
    FEntries = DecodeLines(*bytes);
  } else {
    FEntries.clear();
  }
  FReadFailed = false;
  AddHeaderIfEmpty();
}

void TVeAddendumFile::SaveToDisk() {
  if (!FIsDirty)
    return;
  const std::u16string fileName = FileName();
  if (!FParent || FParent->BaseDir().empty())
    throw EAddendumFileError("No addendum folder is set", fileName);
  if (FReadFailed)
    throw EAddendumFileError("The addendum file could not be read and is not overwritten",
                             fileName);
  if (!Platform::WriteFileAtomic(Platform::PathFromUtf16(fileName), EncodeLines(FEntries)))
    throw EAddendumFileError("Cannot write the addendum file", fileName);
  FIsDirty = false;
}

// ---------------------------------------------------------------------------------------------
// TVeAddendumFilesList

TVeAddendumFilesList::TVeAddendumFilesList(std::u16string aBaseName)
    : FBaseName(std::move(aBaseName)) {
  const auto value = Platform::TKeyValueStore::SpellerKey().Read(AddendumsDirValue);
  FBaseDir = value.value_or(std::u16string());
  if (!FBaseDir.empty() && Platform::DirectoryExists(Platform::PathFromUtf16(FBaseDir)))
    FBaseDir = WithTrailingSeparator(std::move(FBaseDir));
  else
    FBaseDir.clear();
}

TVeAddendumFilesList::~TVeAddendumFilesList() = default;

bool TVeAddendumFilesList::SameName(std::u16string_view a, std::u16string_view b) {
  return Platform::SameIgnoringAsciiCase(a, b);
}

TVeAddendumFile* TVeAddendumFilesList::GetAddendum(int aIndex) const {
  if (aIndex < 0 || aIndex >= AddendumCount())
    return nullptr;
  return FList[static_cast<size_t>(aIndex)].get();
}

TVeAddendumFile* TVeAddendumFilesList::FindAddendum(std::u16string_view aName) const {
  for (const auto& addendum : FList)
    if (SameName(addendum->Name(), aName))
      return addendum.get();
  return nullptr;
}

TVeAddendumFile* TVeAddendumFilesList::AddAddendum(const std::u16string& aName) {
  if (TVeAddendumFile* found = FindAddendum(aName))
    return found;
  FList.push_back(std::make_unique<TVeAddendumFile>(this, aName));
  return FList.back().get();
}

void TVeAddendumFilesList::DeleteAddendum(std::u16string_view aName) {
  for (auto it = FList.begin(); it != FList.end(); ++it) {
    if (!SameName((*it)->Name(), aName))
      continue;
    // Without a folder the file name would point at the file-system root: delete nothing there.
    if (!FBaseDir.empty())
      Platform::DeleteFileIfExists(Platform::PathFromUtf16((*it)->FileName()));
    FList.erase(it);
    return;
  }
}

void TVeAddendumFilesList::Clear() { FList.clear(); }

void TVeAddendumFilesList::Refresh() {
  std::exception_ptr first;
  for (const auto& addendum : FList) {
    try {
      addendum->Refresh();
    } catch (const EAddendumFileError&) {
      if (!first)
        first = std::current_exception();
    }
  }
  if (first)
    std::rethrow_exception(first);
}

std::u16string TVeAddendumFilesList::ListFileName() const {
  return WithTrailingSeparator(FBaseDir) + FBaseName + u"addendums.cfg";
}

void TVeAddendumFilesList::SetBaseDir(const std::u16string& aValue) {
  if (aValue == FBaseDir)
    return;
  FBaseDir = aValue;
  // A store that cannot be written leaves the remembered folder as it was; no message.
  Platform::TKeyValueStore::SpellerKey().Write(AddendumsDirValue, aValue);
  Clear();
  LoadFromDisk();
}

std::u16string TVeAddendumFilesList::AsBuffer() const {
  std::u16string text;
  for (const auto& addendum : FList) {
    text += addendum->IsActive() ? u'1' : u'0';
    text += addendum->Name();
    text += u"\r\n";
  }
  return text;
}

void TVeAddendumFilesList::SetAsBuffer(std::u16string_view aValue) {
  Clear();
  size_t end;
  while ((end = aValue.find(u"\r\n")) != std::u16string_view::npos) {
    const std::u16string_view line = aValue.substr(0, end);
    aValue.remove_prefix(end + 2);
    const bool active = !line.empty() && line.front() == u'1';
    const std::u16string name(line.empty() ? line : line.substr(1));
    AddAddendum(name)->SetIsActive(active);
  }
}

void TVeAddendumFilesList::LoadFromDisk() {
  std::u16string text;
  if (!FBaseDir.empty()) {
    const auto path = Platform::PathFromUtf16(ListFileName());
    if (Platform::FileExists(path)) {
      if (const auto bytes = Platform::ReadWholeFile(path)) {
        text.reserve(bytes->size() / 2);
        for (size_t i = 0; i + 1 < bytes->size(); i += 2)
          text.push_back(static_cast<char16_t>(static_cast<unsigned char>((*bytes)[i]) |
                                               (static_cast<unsigned char>((*bytes)[i + 1]) << 8)));
      }
    }
  }
  SetAsBuffer(text);
}

void TVeAddendumFilesList::SaveToDisk() {
  if (FBaseDir.empty())
    return;
  const std::u16string text = AsBuffer();
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  // The list file's errors are ignored: the addendums themselves still get written.
  Platform::WriteFileAtomic(Platform::PathFromUtf16(ListFileName()), bytes);
  // Every dirty addendum is tried, so one failing file does not cost the others their words.
  std::exception_ptr first;
  for (const auto& addendum : FList) {
    if (!addendum->IsDirty())
      continue;
    try {
      addendum->SaveToDisk();
    } catch (const EAddendumFileError&) {
      if (!first)
        first = std::current_exception();
    }
  }
  if (first)
    std::rethrow_exception(first);
}
