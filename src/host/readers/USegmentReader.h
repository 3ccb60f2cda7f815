// Readers of translation files: each turns one file into the segments a QA host hands to a
// plug-in. Texts are UTF-8; inline codes are already rendered as the tags the plug-in sees.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>

namespace Ryvel::Host {

// One translatable segment of a file.
struct TSourceSegment {
  std::string Id;      // an id the user can find again in the file (unit id, tuid, PO line)
  std::string Source;  // UTF-8
  std::string Target;  // UTF-8, never empty: segments without a translation are not produced
  std::string Context; // PO msgctxt; empty for the other formats
};

// PlainText: a .txt file that is not TSV (no id<TAB>source<TAB>target header line), such as
// a word list lying next to the translations; it holds no segments.
enum class TFileFormat { Unknown, Xliff, Tmx, Po, Tsv, PlainText };

const char *FileFormatName(TFileFormat aFormat);

// A malformed or unreadable file. Line and Column are 1-based; 0 when they do not apply.
class EReadError : public std::runtime_error {
public:
  EReadError(std::string aFile, uint64_t aLine, uint64_t aColumn, const std::string &aWhat);
  const std::string &File() const { return FFile; }
  uint64_t Line() const { return FLine; }
  uint64_t Column() const { return FColumn; }
  // The message without the location.
  const std::string &Reason() const { return FReason; }

private:
  std::string FFile;
  uint64_t FLine;
  uint64_t FColumn;
  std::string FReason;
};

// Told how far the reading of a file has got; used for a progress line on a terminal.
class IReadProgress {
public:
  virtual ~IReadProgress() = default;
  virtual void Started(const std::string &aFile, uint64_t aTotalBytes) = 0;
  virtual void Advanced(uint64_t aBytesDone) = 0;
  virtual void Finished() = 0;
};

struct TReadOptions {
  // TMX: the language of the translation ("ru" also matches "ru-RU"); empty: the first
  // language of the file that starts with "ru".
  std::string TargetLang;
  // PO: leave out entries marked fuzzy.
  bool SkipFuzzy = false;
  IReadProgress *Progress = nullptr; // borrowed, may be null
};

using TSegmentSink = std::function<void(TSourceSegment &&)>;

// The format by the file's extension, or by its first bytes when the extension says nothing.
// Unknown when neither tells; an unreadable file also gives Unknown.
TFileFormat DetectFileFormat(const std::filesystem::path &aPath);

// Reads the whole file and hands every segment with a non-empty target to aSink, in file order.
// Throws EReadError for a malformed or unreadable file.
void ReadSegments(const std::filesystem::path &aPath, TFileFormat aFormat,
                  const TReadOptions &aOptions, const TSegmentSink &aSink);

// The TSV reader on an open stream; aFileName names the input in error messages.
void ReadTsvStream(std::istream &aInput, const std::string &aFileName, const TReadOptions &aOptions,
                   const TSegmentSink &aSink);

// TSV field escaping shared by the reader and the writers: \t, \n, \r and \\.
std::string EscapeTsvField(const std::string &aText);

} // namespace Ryvel::Host
