// The millisecond tick counter: a wrapping 32-bit reading of a steady clock.
#pragma once

#include <cstdint>
#include <functional>

namespace Ryvel::Platform {

uint32_t GetTickCount();

// Tests replace the clock; an empty function restores the real one.
void SetTickSource(std::function<uint32_t()> source);

void SleepMs(unsigned ms);

} // namespace Ryvel::Platform
