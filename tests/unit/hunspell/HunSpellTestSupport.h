// Shared pieces of the dictionary wrapper's tests: a message sink that records, and a
// handle on the stand-in spelling library with its control functions.
#pragma once

#include "platform/UMessages.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

struct TShownMessage {
  std::u16string Caption;
  std::u16string Text;
};

class TRecordingSink final : public Ryvel::Platform::IMessageSink {
public:
  TRecordingSink() : FPrevious(Ryvel::Platform::SetMessageSink(this)) {}
  ~TRecordingSink() override { Ryvel::Platform::SetMessageSink(FPrevious); }
  TRecordingSink(const TRecordingSink&) = delete;
  TRecordingSink& operator=(const TRecordingSink&) = delete;

  void ShowMessage(const std::u16string& caption, const std::u16string& text) override {
    Messages.push_back({caption, text});
  }
  std::vector<std::u16string> Texts() const {
    std::vector<std::u16string> out;
    for (const auto& m : Messages)
      out.push_back(m.Text);
    return out;
  }

  std::vector<TShownMessage> Messages;

private:
  Ryvel::Platform::IMessageSink* FPrevious;
};

// Opens the stand-in library once more (the same module the binding loads from that path)
// so a test can steer and observe it.
class TFakeLib {
public:
  explicit TFakeLib(const std::string& path) : FModule(dlopen(path.c_str(), RTLD_NOW)) {
    if (FModule != nullptr)
      Get("fake_reset", Reset);
  }
  ~TFakeLib() {
    if (FModule != nullptr)
      dlclose(FModule);
  }
  TFakeLib(const TFakeLib&) = delete;
  TFakeLib& operator=(const TFakeLib&) = delete;

  bool Ok() const { return FModule != nullptr; }

  template <typename T> T Fn(const char* name) const {
    T f = nullptr;
    Get(name, f);
    return f;
  }
  void SetEncoding(const char* name) const { Fn<void (*)(const char*)>("fake_set_encoding")(name); }
  void FailInitialize(bool fail) const { Fn<void (*)(int)>("fake_fail_initialize")(fail ? 1 : 0); }
  void SetSuggestions(std::vector<const char*> list) const {
    Fn<void (*)(const char* const*, int)>("fake_set_suggestions")(list.data(),
                                                                  static_cast<int>(list.size()));
  }
  int Count(const char* name) const { return Fn<int (*)()>(name)(); }
  std::string Text(const char* name) const { return Fn<const char* (*)()>(name)(); }
  int SpellCalls() const { return Count("fake_spell_calls"); }
  std::string LastWord() const { return Text("fake_last_word"); }

  void (*Reset)() = nullptr;

private:
  template <typename T> void Get(const char* name, T& f) const {
    f = reinterpret_cast<T>(dlsym(FModule, name));
  }
  void* FModule;
};

// The words of a .good or .wrong list: UTF-8, one a line, "#" starts a comment line.
inline std::vector<std::string> ReadWordList(const std::string& path) {
  std::vector<std::string> words;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (!line.empty() && line[0] != '#')
      words.push_back(line);
  }
  return words;
}
