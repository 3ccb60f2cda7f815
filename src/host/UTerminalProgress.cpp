#include "host/UTerminalProgress.h"

#include <unistd.h>

namespace Ryvel::Host {
namespace {
// Redrawing more often than this only costs time.
constexpr auto RedrawInterval = std::chrono::milliseconds(200);
// Small files are read before anyone could see a progress line.
constexpr uint64_t MinimumShownSize = 8u << 20;
} // namespace

bool TTerminalProgress::Wanted(std::FILE *aOut) { return isatty(fileno(aOut)) == 1; }

void TTerminalProgress::Started(const std::string &aFile, uint64_t aTotalBytes) {
  FFile = aFile;
  FTotal = aTotalBytes;
  FShown = false;
  FLast = std::chrono::steady_clock::now();
}

void TTerminalProgress::Advanced(uint64_t aBytesDone) {
  if (FTotal < MinimumShownSize)
    return;
  const auto now = std::chrono::steady_clock::now();
  if (FShown && now - FLast < RedrawInterval)
    return;
  FLast = now;
  FShown = true;
  const unsigned percent = static_cast<unsigned>(aBytesDone * 100 / FTotal);
  std::fprintf(FOut, "\rreading %s: %u%% (%llu of %llu MB)\033[K", FFile.c_str(),
               percent > 100 ? 100u : percent, static_cast<unsigned long long>(aBytesDone >> 20),
               static_cast<unsigned long long>(FTotal >> 20));
  std::fflush(FOut);
}

void TTerminalProgress::Finished() {
  if (FShown) {
    std::fprintf(FOut, "\r\033[K");
    std::fflush(FOut);
  }
  FShown = false;
}

} // namespace Ryvel::Host
