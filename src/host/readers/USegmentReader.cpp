// Format detection and dispatch to the per-format readers.
#include "host/readers/UReaderInternals.h"

#include <algorithm>
#include <fstream>

namespace Ryvel::Host {
namespace {

std::string Location(const std::string &aFile, uint64_t aLine, uint64_t aColumn) {
  std::string out = aFile;
  if (aLine) {
    out += ":" + std::to_string(aLine);
    if (aColumn)
      out += ":" + std::to_string(aColumn);
  }
  return out;
}

std::string LowerExtension(const std::filesystem::path &aPath) {
  std::string ext = aPath.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

TFileFormat SniffFormat(const std::filesystem::path &aPath) {
  std::ifstream in(aPath, std::ios::binary);
  if (!in)
    return TFileFormat::Unknown;
  std::string head(4096, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<size_t>(in.gcount()));
  // UTF-16 text: drop the zero bytes so the markup can be recognised.
  if (head.size() >= 2 && (head.substr(0, 2) == "\xFF\xFE" || head.substr(0, 2) == "\xFE\xFF"))
    head.erase(std::remove(head.begin(), head.end(), '\0'), head.end());
  if (head.find("<xliff") != std::string::npos)
    return TFileFormat::Xliff;
  if (head.find("<tmx") != std::string::npos)
    return TFileFormat::Tmx;
  if (head.rfind("msgid ", 0) == 0 || head.find("\nmsgid ") != std::string::npos)
    return TFileFormat::Po;
  const std::string first = head.substr(0, head.find('\n'));
  if (std::count(first.begin(), first.end(), '\t') == 2)
    return TFileFormat::Tsv;
  return TFileFormat::Unknown;
}

} // namespace

const char *FileFormatName(TFileFormat aFormat) {
  switch (aFormat) {
  case TFileFormat::Xliff:
    return "XLIFF";
  case TFileFormat::Tmx:
    return "TMX";
  case TFileFormat::Po:
    return "PO";
  case TFileFormat::Tsv:
    return "TSV";
  case TFileFormat::PlainText:
    return "plain text";
  case TFileFormat::Unknown:
    break;
  }
  return "unknown";
}

EReadError::EReadError(std::string aFile, uint64_t aLine, uint64_t aColumn,
                       const std::string &aWhat)
    : std::runtime_error(Location(aFile, aLine, aColumn) + ": " + aWhat), FFile(std::move(aFile)),
      FLine(aLine), FColumn(aColumn), FReason(aWhat) {}

TFileFormat DetectFileFormat(const std::filesystem::path &aPath) {
  const std::string ext = LowerExtension(aPath);
  if (ext == ".xlf" || ext == ".xliff" || ext == ".sdlxliff" || ext == ".mqxliff")
    return TFileFormat::Xliff;
  if (ext == ".tmx")
    return TFileFormat::Tmx;
  if (ext == ".po" || ext == ".pot")
    return TFileFormat::Po;
  if (ext == ".tsv")
    return TFileFormat::Tsv;
  if (ext == ".txt")
    return SniffFormat(aPath) == TFileFormat::Tsv ? TFileFormat::Tsv : TFileFormat::PlainText;
  return SniffFormat(aPath);
}

void ReadSegments(const std::filesystem::path &aPath, TFileFormat aFormat,
                  const TReadOptions &aOptions, const TSegmentSink &aSink) {
  const std::string name = Detail::DisplayName(aPath);
  std::error_code ec;
  if (std::filesystem::is_directory(aPath, ec))
    throw EReadError(name, 0, 0, "is a folder, not a translation file");
  if (!std::filesystem::exists(aPath, ec))
    throw EReadError(name, 0, 0, "no such file");
  switch (aFormat) {
  case TFileFormat::Xliff:
    return Detail::ReadXliff(aPath, aOptions, aSink);
  case TFileFormat::Tmx:
    return Detail::ReadTmx(aPath, aOptions, aSink);
  case TFileFormat::Po:
    return Detail::ReadPo(aPath, aOptions, aSink);
  case TFileFormat::Tsv:
    return Detail::ReadTsv(aPath, aOptions, aSink);
  case TFileFormat::PlainText:
    return;
  case TFileFormat::Unknown:
    break;
  }
  throw EReadError(name, 0, 0,
                   "unknown file format (expected XLIFF .xlf/.xliff/.sdlxliff, TMX .tmx, "
                   "PO .po/.pot or TSV .tsv/.txt)");
}

namespace Detail {

std::string DisplayName(const std::filesystem::path &aPath) { return aPath.string(); }

} // namespace Detail
} // namespace Ryvel::Host
