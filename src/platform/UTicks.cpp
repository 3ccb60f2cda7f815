#include "platform/UTicks.h"

#include <chrono>
#include <thread>

namespace Ryvel::Platform {

namespace {
std::function<uint32_t()>& TickSource() {
  static std::function<uint32_t()> source;
  return source;
}
} // namespace

uint32_t GetTickCount() {
  if (auto& source = TickSource())
    return source();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count();
  return static_cast<uint32_t>(ms);
}

void SetTickSource(std::function<uint32_t()> source) { TickSource() = std::move(source); }

void SleepMs(unsigned ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

} // namespace Ryvel::Platform
