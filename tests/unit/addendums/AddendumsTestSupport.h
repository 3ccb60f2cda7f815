// A private scratch folder per test, with the key=value store pointed into it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

class TScratchFolderTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // <scratch>/addendums/ with a trailing separator, as the collection stores it.
  std::u16string AddendumDir() const;
  std::filesystem::path AddendumPath(const std::string& aFileName) const;
  // Sets AddendumsDir in the speller's key.
  void StoreAddendumsDir(const std::u16string& aValue) const;
  std::optional<std::u16string> StoredAddendumsDir() const;

  static std::string ReadBytes(const std::filesystem::path& aPath);
  static void WriteBytes(const std::filesystem::path& aPath, const std::string& aBytes);

  std::filesystem::path FRoot;

private:
  std::optional<std::string> FOldConfigHome;
};

// The prefix every file of a test collection starts with.
inline const std::u16string TestBaseName = u"RyvelQASpellerH_ru_RU.";
