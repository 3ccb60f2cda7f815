// The module through its exports, as a host sees it.
#include "PluginHost.h"

#include <gtest/gtest.h>

#include <cstring>

namespace fs = std::filesystem;

class Exports : public ::testing::Test {
protected:
  void SetUp() override {
    setenv("RYVEL_REVIEW", "cancel", 1);
    setenv("USERNAME", "user1", 1);
    host = LoadBuiltModule();
  }
  TempXdg xdg;
  std::unique_ptr<TPluginModule> host;
};

TEST_F(Exports, Discovery) {
  EXPECT_EQ(std::u16string(host->GetDeclareName()), u"Spellcheck");
  EXPECT_EQ(host->GetFirstFunction(), 1);
  EXPECT_EQ(host->GetNextFunction(), 0);
  EXPECT_EQ(host->GetNextFunction(), 0);
  EXPECT_EQ(host->GetFirstFunction(), 1);
  EXPECT_STREQ(host->GetFunctionName(1), "Russian");
  host->SetConfigFile("other.xml");
  host->SetConfigFile(nullptr);
}

TEST_F(Exports, DeclarationRecordByteByByte) {
  const auto* info = host->GetDeclareInfo();
  ASSERT_NE(info, nullptr);
  const auto* bytes = reinterpret_cast<const unsigned char*>(info);
  auto u16 = [&](size_t off) { return static_cast<uint16_t>(bytes[off] | (bytes[off + 1] << 8)); };
  auto i32 = [&](size_t off) {
    int32_t v;
    std::memcpy(&v, bytes + off, 4);
    return v;
  };
  auto text = [&](size_t off) {
    std::u16string s;
    for (size_t i = off; u16(i) != 0; i += 2)
      s.push_back(static_cast<char16_t>(u16(i)));
    return s;
  };
  EXPECT_EQ(u16(0), 0);
  EXPECT_EQ(text(2), u"Spell checker");
  EXPECT_EQ(text(514), u"Spelling, spell check");
  EXPECT_EQ(u16(1026), 0);
  EXPECT_EQ(u16(1028), 0);
  EXPECT_EQ(u16(1030), 0);
  EXPECT_EQ(i32(1032), 0);
  EXPECT_EQ(i32(1036), -1);
}

TEST_F(Exports, InvalidIndexesGetNeutralAnswers) {
  for (int32_t index : {0, -1, 2, 1000, INT32_MIN}) {
    host->ProcessBegin(index, nullptr);
    TQASegmentInfo info{nullptr, nullptr, nullptr, u"x", nullptr};
    EXPECT_EQ(host->ProcessSegment(index, info), nullptr);
    EXPECT_EQ(host->GetFirstResult(index), nullptr);
    EXPECT_EQ(host->GetNextResult(index), nullptr);
    host->ProcessEnd(index);
    ASSERT_NE(host->GetFunctionName(index), nullptr);
    EXPECT_STREQ(host->GetFunctionName(index), "");
  }
}

TEST_F(Exports, CancelledRunsOneAfterAnotherLeaveNoFiles) {
  const std::vector<TestSegment> segments = {{u"Hello", u"Привет", 1},
                                                     {u"World", u"Мир", 2}};
  EXPECT_TRUE(RunSegments(*host, 1, segments).empty());
  EXPECT_TRUE(RunSegments(*host, 1, segments).empty());
  EXPECT_FALSE(fs::exists(xdg.Cache / "Ryvel" / "RyvelQASpellerF1.cfg"));
  EXPECT_FALSE(fs::exists(xdg.Cache / "Ryvel" / "RyvelQASpellerF1.cfg.items"));
  // Calls out of order never crash.
  EXPECT_EQ(host->GetNextResult(1), nullptr);
  host->ProcessEnd(1);
  TQASegmentInfo info{nullptr, nullptr, nullptr, nullptr, nullptr};
  EXPECT_EQ(host->ProcessSegment(1, info), nullptr);
  EXPECT_EQ(host->GetFirstResult(1), nullptr);
}
