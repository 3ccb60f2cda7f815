#include "plugin/UDeclare.h"

#include <gtest/gtest.h>

TEST(DeclareInfo, DescriptionIsTruncatedTo255) {
  struct Case {
    size_t length, stored;
  } cases[] = {{0, 0}, {255, 255}, {256, 255}, {1000, 255}};
  for (const auto& c : cases) {
    TDeclareInfo d(u"n", std::u16string(c.length, u'д'), std::u16string(c.length, u'k'));
    EXPECT_EQ(std::u16string(d.Description()).size(), c.stored);
    EXPECT_EQ(std::u16string(d.Info().Keywords).size(), c.stored);
    EXPECT_EQ(d.Info().Description[QADescriptionLength - 1], u'\0');
  }
}

TEST(DeclareInfo, FirstOneIsGlobalAndEnumerationCursor) {
  TDeclareInfo first(u"First", u"", u"");
  TDeclareInfo second(u"Second", u"", u"");
  EXPECT_EQ(DeclareInfo(), &first);
  // An empty table: no function at all, every index invalid.
  EXPECT_EQ(first.FirstFunction(), 0);
  EXPECT_FALSE(first.IsValidFunction(1));
  first.AddFunction("A", nullptr, nullptr, nullptr, nullptr, nullptr);
  first.AddFunction("B", nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(first.FirstFunction(), 1);
  EXPECT_EQ(first.NextFunction(), 2);
  EXPECT_EQ(first.NextFunction(), 0);
  EXPECT_EQ(first.NextFunction(), 0);
  first.SetCurrentFunc(-3);
  EXPECT_EQ(first.NextFunction(), 0);
  EXPECT_EQ(first.FirstFunction(), 1);
  EXPECT_FALSE(first.IsValidFunction(0));
  EXPECT_FALSE(first.IsValidFunction(3));
  EXPECT_EQ(first.Function(2).FName, "B");
}

TEST(DeclareInfo, ConfigFileKeepsAnUnsetUserLiterally) {
  unsetenv("USERNAME");
  unsetenv("USER");
  TDeclareInfo d(u"Spellcheck", u"", u"");
  EXPECT_EQ(d.ConfigFile(), u"RyvelPlugin.Spellcheck.%username%.xml");
  setenv("USER", "u2", 1);
  TDeclareInfo e(u"Spellcheck", u"", u"");
  EXPECT_EQ(e.ConfigFile(), u"RyvelPlugin.Spellcheck.u2.xml");
}
