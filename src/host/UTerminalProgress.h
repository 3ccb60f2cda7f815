// A one-line progress display on standard error while a file is read.
#pragma once

#include "host/readers/USegmentReader.h"

#include <chrono>
#include <cstdio>

namespace Ryvel::Host {

class TTerminalProgress : public IReadProgress {
public:
  explicit TTerminalProgress(std::FILE *aOut) : FOut(aOut) {}
  // Only a terminal gets the line; logs and pipes stay clean.
  static bool Wanted(std::FILE *aOut);

  void Started(const std::string &aFile, uint64_t aTotalBytes) override;
  void Advanced(uint64_t aBytesDone) override;
  void Finished() override;

private:
  std::FILE *FOut;
  std::string FFile;
  uint64_t FTotal = 0;
  bool FShown = false;
  std::chrono::steady_clock::time_point FLast{};
};

} // namespace Ryvel::Host
