// Builds the special-words file (ru_RU.rysw) that ships next to the plug-in: the country
// names that ICU's locale data gives in Russian and English, followed by the hand-curated
// lists of data/special-words/. The output is UTF-8 with a byte-order mark, one entry a line:
// text, TAB, type name, and for curated entries optionally TAB gender and TAB number.
//
// Usage: ryvel-gen-special-words LISTS_DIR OUTPUT_FILE
//
// The output is committed, so the product does not change with the ICU data of the build
// machine; run the tool again (target ryvel_update_special_words) after editing a list.
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TEntry {
  std::string Text;  // UTF-8
  std::string Extra; // "TAB gender [TAB number]" or empty
};

struct TSection {
  std::string Type;
  std::string Title;
  std::vector<TEntry> Entries;
};

// Each curated list is named after the plural of its type; "keys" (keyboard keys and
// shortcuts) has none, so its entries are written without a type.
const std::map<std::string, std::string>& ListTypes() {
  static const std::map<std::string, std::string> types = {
      {"countries", "Country"}, {"regions", "Region"}, {"cities", "City"},
      {"acronyms", "Acronym"},  {"names", "Name"},     {"organisations", "Organisation"},
      {"products", "Product"},  {"keys", ""}};
  return types;
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 0x20)
    ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20)
    --e;
  return s.substr(b, e - b);
}

// A display name is usable as a special word in the form people write in running text: ICU
// adds qualifiers in parentheses ("Cocos (Keeling) Islands"), " SAR China" and " - " for
// disambiguation ("Congo - Kinshasa"); those parts are dropped.
std::string CountryWord(const icu::UnicodeString& name) {
  std::string s;
  name.toUTF8String(s);
  for (size_t open; (open = s.find(" (")) != std::string::npos;) {
    size_t close = s.find(')', open);
    s.erase(open, close == std::string::npos ? std::string::npos : close + 1 - open);
  }
  for (const char* cut : {" SAR China", " - ", " – "}) {
    auto p = s.find(cut);
    if (p != std::string::npos)
      s.erase(p);
  }
  return Trim(s);
}

std::string ReplaceAll(std::string s, const std::string& from, const std::string& to) {
  for (size_t p = 0; (p = s.find(from, p)) != std::string::npos; p += to.size())
    s.replace(p, from.size(), to);
  return s;
}

// ICU writes short forms; the spelled-out forms are just as common in translations.
std::vector<std::string> CountryVariants(const std::string& word) {
  std::vector<std::string> out{word};
  std::string full = ReplaceAll(word, " & ", " and ");
  full = ReplaceAll(full, "St. ", "Saint ");
  full = ReplaceAll(full, "о-ва", "острова");
  full = ReplaceAll(full, "о-в", "остров");
  full = ReplaceAll(full, "Св. ", "Святой ");
  if (full != word)
    out.push_back(full);
  return out;
}

TSection CountriesFromIcu() {
  TSection section{"Country", "Countries and territories (ICU display names, ru and en)", {}};
  std::set<std::string> seen;
  const icu::Locale ru("ru"), en("en");
  for (const char* const* code = icu::Locale::getISOCountries(); *code; ++code) {
    icu::Locale region("", *code);
    for (const icu::Locale* lang : {&ru, &en}) {
      icu::UnicodeString name;
      region.getDisplayCountry(*lang, name);
      std::string word = CountryWord(name);
      // ICU falls back to the code itself when it has no name.
      if (word.empty() || word == *code)
        continue;
      for (const auto& variant : CountryVariants(word))
        if (seen.insert(variant).second)
          section.Entries.push_back({variant, ""});
    }
  }
  return section;
}

// Reads one curated list: "text[TAB gender[TAB number]]" per line, "#" comments.
bool ReadList(const fs::path& file, TSection& section) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::cerr << "cannot read " << file << "\n";
    return false;
  }
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (lineNo == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
      line.erase(0, 3);
    line = Trim(line);
    if (line.empty() || line[0] == '#')
      continue;
    TEntry entry;
    auto tab = line.find('\t');
    entry.Text = Trim(line.substr(0, tab));
    if (tab != std::string::npos)
      entry.Extra = "\t" + line.substr(tab + 1);
    if (entry.Text.empty()) {
      std::cerr << file.string() << ":" << lineNo << ": empty word\n";
      return false;
    }
    section.Entries.push_back(entry);
  }
  return true;
}

void Write(std::ostream& out, const std::vector<TSection>& sections) {
  out << "\xEF\xBB\xBF";
  out << "# Special words for Veskora Ryvel Spell Checker (ru_RU)\n";
  out << "# Generated by tools/gen-special-words from ICU locale data and data/special-words/.\n";
  out << "# Format: word TAB type [TAB gender TAB number]\n";
  std::set<std::string> written;
  for (const auto& section : sections) {
    out << "#\n# " << section.Title << "\n";
    for (const auto& e : section.Entries) {
      // One line per word: the first type given wins, so a city that is also a region
      // is listed once.
      if (!written.insert(e.Text).second)
        continue;
      if (section.Type.empty())
        out << e.Text << '\n';
      else
        out << e.Text << '\t' << section.Type << e.Extra << '\n';
    }
  }
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: ryvel-gen-special-words LISTS_DIR OUTPUT_FILE\n";
    return 2;
  }
  const fs::path listsDir = argv[1];
  std::vector<TSection> sections{CountriesFromIcu()};

  // Curated lists in a fixed order, so the output does not depend on directory order.
  std::vector<fs::path> lists;
  std::error_code ec;
  for (const auto& item : fs::directory_iterator(listsDir, ec))
    if (item.path().extension() == ".txt")
      lists.push_back(item.path());
  if (ec) {
    std::cerr << "cannot list " << listsDir << ": " << ec.message() << "\n";
    return 2;
  }
  std::sort(lists.begin(), lists.end());
  for (const auto& file : lists) {
    auto it = ListTypes().find(file.stem().string());
    if (it == ListTypes().end()) {
      std::cerr << "skipping " << file << ": its name gives no type\n";
      continue;
    }
    TSection section{
        it->second, it->first + " (data/special-words/" + file.filename().string() + ")", {}};
    if (!ReadList(file, section))
      return 2;
    sections.push_back(std::move(section));
  }

  std::ostringstream text;
  Write(text, sections);
  const fs::path output = argv[2];
  const fs::path temp = output.string() + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text.str();
    if (!out.flush()) {
      std::cerr << "cannot write " << temp << "\n";
      return 2;
    }
  }
  fs::rename(temp, output, ec);
  if (ec) {
    std::cerr << "cannot replace " << output << ": " << ec.message() << "\n";
    fs::remove(temp, ec);
    return 2;
  }
  return 0;
}
