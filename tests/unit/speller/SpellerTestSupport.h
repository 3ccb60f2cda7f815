// Shared pieces of the speller tests: a scratch folder holding a copy of the tiny test
// dictionary (and, when a test writes one, a special-words file), a recording message sink,
// and a helper that runs Check and collects what it reports.
#pragma once

#include "platform/UMessages.h"
#include "speller/USpellerSpanish.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class TRecordingSink final : public Ryvel::Platform::IMessageSink {
public:
  TRecordingSink() : FPrevious(Ryvel::Platform::SetMessageSink(this)) {}
  ~TRecordingSink() override { Ryvel::Platform::SetMessageSink(FPrevious); }
  TRecordingSink(const TRecordingSink&) = delete;
  TRecordingSink& operator=(const TRecordingSink&) = delete;

  void ShowMessage(const std::u16string& caption, const std::u16string& text) override {
    Captions.push_back(caption);
    Texts.push_back(text);
  }

  std::vector<std::u16string> Captions;
  std::vector<std::u16string> Texts;

private:
  Ryvel::Platform::IMessageSink* FPrevious;
};

// What one Check reported.
struct TCheckResult {
  int Count = 0;
  int TotalWords = -1;
  std::vector<std::u16string> Words;
};

TCheckResult RunCheck(TSpellerSpanish& aSpeller, std::u16string_view aSource,
                      std::u16string_view aTarget, TRySpellerOptions aOptions);

// The spelling library built next to the plug-in.
std::u16string AdapterLibPath();

// A private folder per test with the test dictionary copied in as speller.dic/.aff and the
// key=value store pointed into it (XDG_CONFIG_HOME), so addendum collections stay private.
class TSpellerFolderTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // The location of the test dictionary in the scratch folder.
  TSpellerSpanish::TLocation Location() const;
  std::shared_ptr<TSpellerSpanish> MakeSpeller(TVeAddendumFilesList* aAddendums = nullptr) const;
  // Writes <scratch>/speller.rysw (a UTF-8 byte-order mark is put in front).
  void WriteSpecialWords(const std::string& aUtf8Lines) const;
  static void WriteBytes(const std::filesystem::path& aPath, const std::string& aBytes);

  std::filesystem::path FRoot;
  TRecordingSink FSink;

private:
  std::optional<std::string> FOldConfigHome;
};
