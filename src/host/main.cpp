// ryvel-qa: a substitute QA host. Reads translation files, hands their segments to a QA
// plug-in through its exported entry points and prints the findings.
#include "host/UFindingWriter.h"
#include "host/UPluginHost.h"
#include "host/UTerminalProgress.h"
#include "host/readers/USegmentReader.h"

#include "platform/UFolders.h"

#include <CLI/CLI.hpp>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>

namespace {

using namespace Ryvel::Host;

constexpr int ExitClean = 0;
constexpr int ExitFindings = 1;
constexpr int ExitError = 2;

struct TSettings {
  std::string Plugin;
  std::string Review;
  std::string Format = "text";
  std::string TargetLang;
  bool SkipFuzzy = false;
  std::vector<std::string> Files;
};

const char *const Footer = R"(Formats, by extension or else by content:
  XLIFF 1.2 and 2.x (.xlf .xliff .sdlxliff), TMX 1.4 (.tmx), gettext PO (.po .pot),
  TSV (.tsv, and .txt whose first line has three TAB-separated fields: a header line,
  then id<TAB>source<TAB>target with \t \n \r \\ escapes); other .txt files are skipped.
All files are checked in one run; every finding names its file and segment id
(XLIFF unit id, "unit#segment" when a unit has several; TMX tuid or ordinal;
PO line of the msgid, "line[i]" for plural forms; TSV id).

Review modes (RYVEL_REVIEW): window, confirm-all, as-shown, cancel, script:PATH.

Exit status:
  0  no findings
  1  findings were reported
  2  error: bad option, unreadable or malformed file (the message names the file and
     line), or the plug-in could not be loaded)";

int Fail(const std::string &aWhat) {
  std::cerr << "ryvel-qa: " << aWhat << '\n';
  return ExitError;
}

void ReadAll(const TSettings &aSettings, TSegmentTable &aTable) {
  TTerminalProgress terminal(stderr);
  TReadOptions options;
  options.TargetLang = aSettings.TargetLang;
  options.SkipFuzzy = aSettings.SkipFuzzy;
  options.Progress = TTerminalProgress::Wanted(stderr) ? &terminal : nullptr;
  for (size_t f = 0; f < aSettings.Files.size(); ++f) {
    const std::string &name = aSettings.Files[f];
    const TFileFormat format = DetectFileFormat(name);
    if (format == TFileFormat::PlainText) {
      std::cerr << "ryvel-qa: " << name
                << ": skipped: not a TSV file (its first line is not id<TAB>source<TAB>target)\n";
      continue;
    }
    ReadSegments(name, format, options, [&](TSourceSegment &&aSeg) {
      aTable.push_back(THostSegment{f, std::move(aSeg)});
    });
  }
}

int Run(const TSettings &aSettings) {
  if (!aSettings.Review.empty())
    setenv("RYVEL_REVIEW", aSettings.Review.c_str(), 1); // before the plug-in reads it

  TSegmentTable table;
  try {
    ReadAll(aSettings, table);
  } catch (const EReadError &e) {
    return Fail(e.what());
  }

  const std::filesystem::path pluginPath =
      aSettings.Plugin.empty() ? DefaultPluginPath() : std::filesystem::path(aSettings.Plugin);
  std::string error;
  std::unique_ptr<TPluginModule> module = TPluginModule::Load(pluginPath, error);
  if (!module)
    return Fail(error);

  std::unique_ptr<std::ofstream> dump;
  if (const char *dumpPath = std::getenv("RYVEL_QA_DUMP_SEGMENTS"); dumpPath && *dumpPath) {
    dump = std::make_unique<std::ofstream>(dumpPath, std::ios::binary | std::ios::trunc);
    if (!*dump)
      return Fail(std::string("cannot write ") + dumpPath);
  }

  TQaHost host(*module);
  const TDeclaration declaration = host.Discover(Ryvel::Platform::ConfigDir() / "ryvel-qa");
  if (declaration.Functions.empty())
    return Fail(pluginPath.string() + ": the plug-in declares no check function");

  std::vector<TReportLine> report;
  size_t unknownIds = 0;
  for (const TPluginFunction &function : declaration.Functions) {
    for (const TFinding &f : host.Run(function, table, dump.get(), unknownIds)) {
      const THostSegment &seg = table[f.Segment];
      report.push_back(TReportLine{aSettings.Files[seg.File], seg.Segment.Id, f.Word,
                                   seg.Segment.Source, seg.Segment.Target, seg.Segment.Context});
    }
  }
  module.reset();

  const std::map<std::string, TOutputFormat> formats = {
      {"text", TOutputFormat::Text}, {"tsv", TOutputFormat::Tsv}, {"json", TOutputFormat::Json}};
  WriteFindings(std::cout, formats.at(aSettings.Format), report);
  std::cout.flush();
  if (unknownIds)
    return Fail("the plug-in returned " + std::to_string(unknownIds) +
                " result(s) for segment ids it was never given");
  return report.empty() ? ExitClean : ExitFindings;
}

} // namespace

int main(int argc, char **argv) {
  TSettings settings;
  CLI::App app("Checks translation files with a QA plug-in and prints its findings "
               "(file, segment id, word).",
               "ryvel-qa");
  app.footer(Footer);
  app.set_version_flag("--version", "ryvel-qa " RYVEL_QA_VERSION);
  app.add_option("--plugin", settings.Plugin,
                 "The plug-in module to load (default: RyvelQASpellerH_ru_RU.so next to this "
                 "program, in ../plugin or ../lib/ryvel)")
      ->type_name("PATH");
  app.add_option("--review", settings.Review,
                 "Sets RYVEL_REVIEW=MODE for the plug-in: window, confirm-all, as-shown, cancel "
                 "or script:PATH")
      ->type_name("MODE");
  app.add_option("--format", settings.Format,
                 "Output: text (aligned columns), tsv (file<TAB>id<TAB>word) or json (one "
                 "object a line with file, id, word, source, target)")
      ->check(CLI::IsMember({"text", "tsv", "json"}))
      ->type_name("FORMAT")
      ->capture_default_str();
  app.add_option("--target-lang", settings.TargetLang,
                 "TMX: the language of the translation (default: the first language starting "
                 "with ru)")
      ->type_name("L");
  app.add_flag("--skip-fuzzy", settings.SkipFuzzy, "PO: leave out entries marked fuzzy");
  app.add_option("FILE", settings.Files, "Translation files to check")->required();
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError &e) {
    const int code = app.exit(e);
    return code == 0 ? ExitClean : ExitError;
  }
  try {
    return Run(settings);
  } catch (const std::exception &e) {
    return Fail(e.what());
  }
}
