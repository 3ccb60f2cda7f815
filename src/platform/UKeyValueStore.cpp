#include "platform/UKeyValueStore.h"

#include "platform/UFiles.h"
#include "platform/UFolders.h"
#include "platform/UText.h"

#include <sstream>
#include <vector>

namespace Ryvel::Platform {

namespace {

// Values are stored as UTF-8 with backslash escapes, so any text survives one line.
std::string Escape(const std::string& s) {
  std::string r;
  for (char c : s) {
    switch (c) {
    case '\\': r += "\\\\"; break;
    case '\n': r += "\\n"; break;
    case '\r': r += "\\r"; break;
    default: r.push_back(c);
    }
  }
  return r;
}

std::string Unescape(const std::string& s) {
  std::string r;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      const char n = s[++i];
      r.push_back(n == 'n' ? '\n' : n == 'r' ? '\r' : n);
    } else {
      r.push_back(s[i]);
    }
  }
  return r;
}

std::vector<std::pair<std::string, std::string>> Parse(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> entries;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.empty() || line[0] == '#')
      continue;
    const auto eq = line.find('=');
    if (eq == std::string::npos)
      continue;
    entries.emplace_back(line.substr(0, eq), Unescape(line.substr(eq + 1)));
  }
  return entries;
}

} // namespace

TKeyValueStore::TKeyValueStore(std::filesystem::path file) : FFile(std::move(file)) {}

TKeyValueStore TKeyValueStore::SpellerKey() {
  const auto dir = ConfigDir();
  if (dir.empty())
    return TKeyValueStore({});
  return TKeyValueStore(dir / "Veskora" / "Ryvel" / "Speller.conf");
}

std::optional<std::u16string> TKeyValueStore::Read(const std::string& name) const {
  if (FFile.empty())
    return std::nullopt;
  const auto text = ReadWholeFile(FFile);
  if (!text)
    return std::nullopt;
  for (const auto& [k, v] : Parse(*text))
    if (k == name)
      return Utf8ToUtf16(v);
  return std::nullopt;
}

bool TKeyValueStore::Write(const std::string& name, const std::u16string& value) const {
  if (FFile.empty() || !ForceDirectories(FFile.parent_path()))
    return false;
  auto entries = Parse(ReadWholeFile(FFile).value_or(std::string()));
  bool found = false;
  for (auto& [k, v] : entries)
    if (k == name) {
      v = Utf16ToUtf8(value);
      found = true;
    }
  if (!found)
    entries.emplace_back(name, Utf16ToUtf8(value));
  std::string out;
  for (const auto& [k, v] : entries)
    out += k + "=" + Escape(v) + "\n";
  return WriteFileAtomic(FFile, out);
}

} // namespace Ryvel::Platform
