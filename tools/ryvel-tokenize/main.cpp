// ryvel-tokenize: shows how the speller's tokenizer splits and classifies a text, so that a user
// can see why a word was or was not checked.
#include "TokenizeTool.h"

#include "platform/UFiles.h"
#include "platform/UText.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace Veskora::Lang;

bool Load(TVeLSpecialWordList& aList, const std::string& aFile, bool aIsAddendum) {
  const auto result = aList.LoadFromFile(
      Ryvel::Platform::PathFromUtf16(Ryvel::Platform::Utf8ToUtf16(aFile)), aIsAddendum);
  if (result == TSpecialWordsLoad::Loaded)
    return true;
  std::cerr << "ryvel-tokenize: " << aFile
            << (result == TSpecialWordsLoad::NoFile ? ": no such file" : ": cannot be read")
            << '\n';
  return false;
}

int Run(int argc, char** argv) {
  CLI::App app{"Prints the tokens of segment texts, one token a line:\n"
               "  pos<TAB>len<TAB>Class<TAB>0xFLAGS<TAB>FlagsAsString<TAB>text\n"
               "and an empty line after each segment. Texts come one per line from standard\n"
               "input, or as one argument; in both, \\t \\n \\r and \\\\ stand for TAB, LF, CR\n"
               "and a backslash (write \\\\n for the two characters of an escape).",
               "ryvel-tokenize"};
  std::string optionList = "clean-all";
  std::string specialFile;
  std::vector<std::string> addendumFiles;
  std::optional<std::string> text;
  app.add_option("--options", optionList,
                 "comma-separated: clean-detected, clean-all, apostrophes (default clean-all, "
                 "as the speller uses; '' for none)");
  app.add_option("--special", specialFile, "a special-words file (.rysw)");
  app.add_option("--addendum", addendumFiles, "an addendum file; may be repeated");
  app.add_option("text", text, "one segment text instead of standard input");
  CLI11_PARSE(app, argc, argv);

  TVeLWordListOptions options;
  std::string badName;
  if (!RyvelTokenize::ParseOptions(optionList, options, badName)) {
    std::cerr << "ryvel-tokenize: unknown option name \"" << badName
              << "\" (use clean-detected, clean-all, apostrophes)\n";
    return 2;
  }

  std::unique_ptr<TVeLSpecialWordList> specials;
  if (!specialFile.empty() || !addendumFiles.empty()) {
    specials = std::make_unique<TVeLSpecialWordList>();
    if (!specialFile.empty() && !Load(*specials, specialFile, false))
      return 2;
    for (const auto& file : addendumFiles)
      if (!Load(*specials, file, true))
        return 2;
  }

  const auto tokenize = [&](std::string_view aLine) {
    const std::u16string segment =
        RyvelTokenize::DecodeEscapes(Ryvel::Platform::Utf8ToUtf16(aLine));
    std::cout << RyvelTokenize::TokenizeSegment(segment, options, specials.get());
  };
  if (text) {
    tokenize(*text);
  } else {
    for (std::string line; std::getline(std::cin, line);) {
      if (!line.empty() && line.back() == '\r')
        line.pop_back(); // a file edited on Windows
      tokenize(line);
    }
  }
  std::cout.flush();
  return std::cout ? 0 : 2;
}

} // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "ryvel-tokenize: " << e.what() << '\n';
    return 2;
  }
}
