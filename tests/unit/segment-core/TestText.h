// Readable UTF-16 in test failure messages.
#pragma once

#include "platform/UText.h"

#include <ostream>
#include <string>
#include <string_view>

namespace SegmentCoreTest {

inline std::string Show(std::u16string_view s) { return Ryvel::Platform::Utf16ToUtf8(s); }

} // namespace SegmentCoreTest
