#include "platform/UMessages.h"

#include "platform/UText.h"

#include <cstdio>

namespace Ryvel::Platform {

namespace {

class TStdErrSink final : public IMessageSink {
public:
  void ShowMessage(const std::u16string& caption, const std::u16string& text) override {
    std::fprintf(stderr, "%s: %s\n", Utf16ToUtf8(caption).c_str(), Utf16ToUtf8(text).c_str());
    std::fflush(stderr);
  }
};

TStdErrSink StdErrSink;
IMessageSink* CurrentSink = &StdErrSink;

} // namespace

void ShowMessage(const std::u16string& caption, const std::u16string& text) {
  CurrentSink->ShowMessage(caption, text);
}

IMessageSink* SetMessageSink(IMessageSink* sink) {
  IMessageSink* old = CurrentSink;
  CurrentSink = sink != nullptr ? sink : &StdErrSink;
  return old == &StdErrSink ? nullptr : old;
}

} // namespace Ryvel::Platform
