// The message box: a window when the GUI runs, a line on standard error otherwise.
#pragma once

#include <string>

namespace Ryvel::Platform {

class IMessageSink {
public:
  virtual ~IMessageSink() = default;
  virtual void ShowMessage(const std::u16string& caption, const std::u16string& text) = 0;
};

// Shows the message through the current sink.
void ShowMessage(const std::u16string& caption, const std::u16string& text);

// Replaces the sink (borrowed; nullptr restores the standard-error sink) and returns the
// previous one, so a test or a window can install itself and put the old one back.
IMessageSink* SetMessageSink(IMessageSink* sink);

} // namespace Ryvel::Platform
