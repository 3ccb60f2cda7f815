#include "plugin/UPluginCommon.h"
#include "session/URySpellerClasses.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(SpellerOptions, Packing) {
  struct Case {
    int32_t value;
    uint8_t bits;
  } cases[] = {{7, 7}, {64, 0}, {-1, 0x3F}, {24, 24}, {0x7FFFFFC0, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(IntToSpellerOptions(c.value).Bits(), c.bits) << c.value;
  EXPECT_EQ(SpellerOptionsToInt({CRysoExcludeUppercaseWords, CRysoExcludeUppercaseWordsInSource}),
            24);
  for (int v = 0; v < 64; ++v)
    EXPECT_EQ(SpellerOptionsToInt(IntToSpellerOptions(v)), v);
  EXPECT_EQ(DefaultSpellerOptions.Bits(), 7);
}

TEST(UnknownWord, KeyOf) {
  struct Case {
    std::u16string word, key;
  } cases[] = {
      {u"Word", u"word"},     {u"word", u"word"},   {u"wORD", u"word"},
      {u"WORD", u"WORD"},     {u"NATOs", u"natos"}, {u"2010", u"2010"},
      {u"Москва", u"москва"}, {u"МОСКВА", u"МОСКВА"}, {u"", u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TUnknownWord::KeyOf(c.word), c.key);
}

TEST(UnknownWord, TextAndKeyCache) {
  TUnknownWord w(u"Word");
  EXPECT_EQ(w.Key(), u"word");
  w.SetText(u"Word");
  EXPECT_EQ(w.Key(), u"word");
  w.SetText(u"NATO");
  EXPECT_EQ(w.Key(), u"NATO");
  w.UpdateText(u"NATO");
  EXPECT_EQ(w.Text(), u"NATO");
}

TEST(UnknownWordList, MergingFollowsTheKey) {
  struct Case {
    std::vector<std::u16string> added;
    std::vector<std::pair<std::u16string, std::u16string>> entries; // key, text
  } cases[] = {
      {{u"WORD", u"word"}, {{u"word", u"word"}, {u"WORD", u"WORD"}}},
      {{u"Word", u"word"}, {{u"word", u"word"}}},
      {{u"word", u"Word"}, {{u"word", u"word"}}},
      {{u"Word", u"Word"}, {{u"word", u"Word"}}},
      {{u"Москва", u"Москва", u"москва"}, {{u"москва", u"москва"}}},
      {{u"Москва", u"Москва"}, {{u"москва", u"Москва"}}},
  };
  for (const auto& c : cases) {
    TUnknownWordList list;
    for (const auto& w : c.added)
      list.Add(w, nullptr);
    ASSERT_EQ(list.Count(), static_cast<int>(c.entries.size()));
    for (int i = 0; i < list.Count(); ++i) {
      int found = -1;
      ASSERT_TRUE(list.Find(c.entries[i].first, found));
      EXPECT_EQ(list.UnknownWord(found)->Text(), c.entries[i].second);
    }
  }
}

TEST(UnknownWordList, KeyOrderIsSortedAndFindGivesInsertionPoint) {
  TUnknownWordList list;
  for (const char16_t* w : {u"в", u"а", u"б", u"д"})
    list.Add(w, nullptr);
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Text(0), u"а");
  EXPECT_EQ(list.Text(1), u"б");
  EXPECT_EQ(list.Text(2), u"в");
  EXPECT_EQ(list.Text(3), u"д");
  int i = -1;
  EXPECT_FALSE(list.Find(u"г", i));
  EXPECT_EQ(i, 3);
  EXPECT_THROW(list.Text(4), std::out_of_range);
  EXPECT_THROW(list.Delete(-1), std::out_of_range);
}

TEST(UnknownWordList, ReferencesAndOwnership) {
  TSegmentData s1(reinterpret_cast<void*>(1), u"", u""), s2(reinterpret_cast<void*>(2), u"", u"");
  TUnknownWordList a, b;
  a.Add(u"Word", &s1);
  a.Add(u"Word", &s2);
  a.Add(u"rem", nullptr);
  a.Add(u"rem", nullptr);
  ASSERT_EQ(a.Count(), 2);
  int i = -1;
  ASSERT_TRUE(a.Find(u"word", i));
  EXPECT_EQ(a.UnknownWord(i)->Data(), (std::vector<TSegmentData*>{&s1, &s2}));
  ASSERT_TRUE(a.Find(u"rem", i));
  EXPECT_EQ(a.UnknownWord(i)->Data(), (std::vector<TSegmentData*>{nullptr, nullptr}));

  a.Delete(u"Word"); // a key is expected: nothing happens
  EXPECT_EQ(a.Count(), 2);

  ASSERT_TRUE(a.Find(u"word", i));
  auto w = a.Extract(i);
  EXPECT_EQ(a.Count(), 1);
  EXPECT_EQ(a.FindWord(u"word"), nullptr);
  ASSERT_TRUE(b.Add(w));
  EXPECT_FALSE(w);
  ASSERT_TRUE(b.Find(u"word", i));
  EXPECT_EQ(b.UnknownWord(i)->Data().size(), 2u);

  auto dup = std::make_unique<TUnknownWord>(u"WORD");
  auto same = std::make_unique<TUnknownWord>(u"word");
  EXPECT_TRUE(b.Add(dup));
  EXPECT_FALSE(b.Add(same)); // the key is present: the caller keeps the word
  EXPECT_TRUE(same);
  EXPECT_EQ(b.Count(), 2);
}

TEST(UnknownWordList, BulkInsertSortsWhenTheLastOneEnds) {
  TUnknownWordList list;
  list.BeginBulkInsert();
  list.BeginBulkInsert();
  list.Add(u"в", nullptr);
  list.Add(u"а", nullptr);
  list.EndBulkInsert();
  EXPECT_EQ(list.Text(0), u"в"); // still insertion order
  list.EndBulkInsert();
  EXPECT_EQ(list.Text(0), u"а");
  int i = -1;
  EXPECT_TRUE(list.Find(u"в", i));
  EXPECT_EQ(i, 1);
  list.EndBulkInsert(); // beyond the matching count: nothing changes
  list.Add(u"б", nullptr);
  EXPECT_EQ(list.Text(1), u"б");
}

TEST(SegmentData, WideTextWinsAndNullReadsEmpty) {
  setenv("LANG", "C.UTF-8", 1);
  TQASegmentInfo info{"narrow", "цель", u"wide", nullptr, reinterpret_cast<void*>(42)};
  TSegmentData s(info);
  EXPECT_EQ(s.Id(), reinterpret_cast<void*>(42));
  EXPECT_EQ(s.Source(), u"wide");
  EXPECT_EQ(s.Target(), u"цель");
  TQASegmentInfo empty{nullptr, nullptr, nullptr, nullptr, nullptr};
  EXPECT_EQ(TSegmentData(empty).Target(), u"");
  EXPECT_EQ(info.TargetAsAnsiString(), "цель");
  EXPECT_EQ(info.SourceAsAnsiString(), "narrow");
}
