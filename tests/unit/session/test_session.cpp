// The session driven directly with fake collaborators and temporary XDG folders.
#include "platform/UFiles.h"
#include "session/UProgressDialog.h"
#include "session/URySpeller.h"
#include "speller/UAddendums.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class TempHome {
public:
  TempHome() {
    char tmpl[] = "/tmp/ryvel-session-XXXXXX";
    FDir = mkdtemp(tmpl);
    setenv("XDG_CACHE_HOME", (FDir / "cache").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (FDir / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (FDir / "data").c_str(), 1);
  }
  ~TempHome() { fs::remove_all(FDir); }
  fs::path Settings() const { return FDir / "cache" / "Ryvel" / "RyvelQASpellerF1.cfg"; }
  fs::path Items() const { return FDir / "cache" / "Ryvel" / "RyvelQASpellerF1.cfg.items"; }

private:
  fs::path FDir;
};

void* Id(intptr_t n) { return reinterpret_cast<void*>(n); }

TQASegmentInfo Segment(const char16_t* target, intptr_t id) {
  return TQASegmentInfo{nullptr, nullptr, u"source", target, Id(id)};
}

// A review that reports what the test says, against the segments by their ids.
struct FakeReview {
  int result = 1;
  std::vector<std::pair<std::u16string, intptr_t>> report; // word, segment id
  TWorkingMode modeOnOk = wmAccept;
  int calls = 0;
  std::vector<std::u16string> seenConfirmed; // texts of the remembered words on entry

  int operator()(TSpellerConfirmOptions& aOptions, TSegmentList& aSegments,
                 TUnknownWordList& aConfirmed, TUnknownWordList&,
                 const std::shared_ptr<IRySpeller>&) {
    ++calls;
    seenConfirmed.clear();
    for (int i = 0; i < aConfirmed.Count(); ++i)
      seenConfirmed.push_back(aConfirmed.UnknownWord(i)->Text());
    FreeProgressDialog();
    if (result != 1)
      return result;
    aOptions.WorkingMode = modeOnOk;
    aConfirmed.Clear();
    for (const auto& [word, id] : report)
      for (auto& s : aSegments)
        if (s->Id() == Id(id))
          aConfirmed.Add(word, s.get());
    return 1;
  }
};

struct Session {
  FakeReview review;
  std::unique_ptr<TDeclareSpeller> speller;
  Session() {
    TSessionCollaborators c;
    c.CreateAddendums = [](const std::u16string& n) {
      return std::make_unique<TVeAddendumFilesList>(n);
    };
    c.CreateProgressView = [] { return CreateHeadlessProgressView(); };
    c.ExecuteReview = [this](auto&... args) { return review(args...); };
    speller = std::make_unique<TDeclareSpeller>(std::move(c), u"RyvelQASpellerH_ru_RU.");
  }
  std::vector<std::pair<std::u16string, intptr_t>> Run(const std::vector<TQASegmentInfo>& segs) {
    speller->DoProcessBegin(nullptr);
    for (const auto& s : segs)
      speller->DoProcessSegment(s);
    std::vector<std::pair<std::u16string, intptr_t>> out;
    for (auto* r = speller->DoGetFirstResult(); r != nullptr; r = speller->DoGetNextResult())
      out.emplace_back(r->Text, reinterpret_cast<intptr_t>(r->SegId));
    speller->DoProcessEnd();
    return out;
  }
};

using Findings = std::vector<std::pair<std::u16string, intptr_t>>;

} // namespace

TEST(Session, ResultsComeInKeyOrderThenReferenceOrder) {
  TempHome home;
  Session s;
  s.review.report = {{u"б", 3}, {u"а", 5}, {u"б", 7}};
  const auto found = s.Run({Segment(u"x", 3), Segment(u"y", 5), Segment(u"z", 7)});
  EXPECT_EQ(found, (Findings{{u"а", 5}, {u"б", 3}, {u"б", 7}}));
  // The word's key is reported, not its displayed text.
  s.review.report = {{u"Москва", 1}};
  EXPECT_EQ(s.Run({Segment(u"Москва", 1)}), (Findings{{u"москва", 1}}));
}

TEST(Session, DefaultsWithoutFilesAndSettingsBytesAfterOk) {
  TempHome home;
  Session s;
  EXPECT_EQ(s.speller->Options().WorkingMode, wmAccept);
  EXPECT_EQ(s.speller->Options().Speller.Bits(), 7);
  s.review.report = {{u"Масква", 1}};
  s.Run({Segment(u"Масква", 1)});
  const auto bytes = Ryvel::Platform::ReadWholeFile(home.Settings());
  ASSERT_TRUE(bytes);
  ASSERT_EQ(bytes->size(), 256u);
  std::string expected(256, '\0');
  expected[0] = '\xA5';
  expected[1] = '\x5A';
  expected[4] = 1;
  expected[8] = 6;
  expected[12] = 7;
  EXPECT_EQ(*bytes, expected);
  // The remembered word is written as its display text, UTF-16LE with CR LF.
  const auto items = Ryvel::Platform::ReadWholeFile(home.Items());
  ASSERT_TRUE(items);
  const std::u16string text = u"Масква\r\n";
  EXPECT_EQ(*items, std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
}

TEST(Session, CancelledReviewWritesNothingAndReportsNothing) {
  TempHome home;
  Session s;
  s.review.result = 2;
  EXPECT_TRUE(s.Run({Segment(u"x", 1)}).empty());
  EXPECT_FALSE(fs::exists(home.Settings()));
  EXPECT_FALSE(fs::exists(home.Items()));
}

TEST(Session, CancelInTheProgressWindowStopsTheIntake) {
  TempHome home;
  Session s;
  s.speller->DoProcessBegin(nullptr);
  for (int i = 1; i <= 10; ++i)
    s.speller->DoProcessSegment(Segment(u"x", i));
  ASSERT_NE(ProgressDialog, nullptr);
  ProgressDialog->SetUserCancel(true);
  for (int i = 11; i <= 50; ++i)
    s.speller->DoProcessSegment(Segment(u"x", i));
  EXPECT_EQ(s.speller->Segments()->size(), 10u);
  EXPECT_EQ(s.speller->DoGetFirstResult(), nullptr);
  EXPECT_EQ(s.review.calls, 0);
  s.speller->DoProcessEnd();
  EXPECT_EQ(ProgressDialog, nullptr);
  EXPECT_FALSE(fs::exists(home.Settings()));
}

TEST(Session, RememberedWordsReachTheNextRunAndNullReferencesAreSkipped) {
  TempHome home;
  Session s;
  s.review.report = {{u"Масква", 1}};
  s.Run({Segment(u"Масква", 1)});
  // The second run starts with the remembered word (no segment) in the confirmed list.
  s.review.result = 2;
  s.Run({Segment(u"y", 1)});
  EXPECT_EQ(s.review.seenConfirmed, (std::vector<std::u16string>{u"Масква"}));

  // GetNextResult before GetFirstResult finds remembered words without segments: nothing.
  s.speller->DoProcessBegin(nullptr);
  EXPECT_EQ(s.speller->DoGetNextResult(), nullptr);
  s.speller->DoProcessEnd();
  // After ProcessEnd the lists are gone.
  EXPECT_EQ(s.speller->DoGetNextResult(), nullptr);
  EXPECT_EQ(s.speller->Confirmed(), nullptr);
}

TEST(Session, SettingsFileReadRules) {
  TempHome home;
  struct Case {
    size_t size;
    uint8_t mode;
    int32_t count;
    uint32_t options;
    uint8_t expectMode, expectOptions;
  } cases[] = {
      {255, 0, 6, 0, 1, 7},          // wrong size: ignored
      {257, 0, 6, 0, 1, 7},          // wrong size: ignored
      {256, 0, 0, 0x3F, 0, 7},       // count 0: the mode is taken, the options not
      {256, 0, 6, 0xFFFFFFFF, 0, 0x3F}, // all bits: all six options
      {256, 1, 6, 24, 1, 24},
  };
  for (const auto& c : cases) {
    std::string buf(c.size, '\0');
    buf[0] = 0x12; // the magic is not checked
    buf[4] = static_cast<char>(c.mode);
    for (int i = 0; i < 4; ++i) {
      buf[8 + i] = static_cast<char>((static_cast<uint32_t>(c.count) >> (8 * i)) & 0xFF);
      buf[12 + i] = static_cast<char>((c.options >> (8 * i)) & 0xFF);
    }
    ASSERT_TRUE(Ryvel::Platform::ForceDirectories(home.Settings().parent_path()));
    ASSERT_TRUE(Ryvel::Platform::WriteFileAtomic(home.Settings(), buf));
    TSpellerConfirmOptions o;
    TDeclareSpeller::LoadSettings(o);
    EXPECT_EQ(o.WorkingMode, c.expectMode) << c.size << " " << c.count;
    EXPECT_EQ(o.Speller.Bits(), c.expectOptions) << c.size << " " << c.count;
  }
}

TEST(Session, RememberedWordsFileScan) {
  TempHome home;
  struct Case {
    std::u16string text;
    std::vector<std::pair<std::u16string, size_t>> words; // text, null references
  } cases[] = {
      {u"apple\r\n\r\npear\nplum", {{u"apple", 1}, {u"pear", 1}, {u"plum", 1}}},
      {u"\uFEFFfirst\r\n", {{u"\uFEFFfirst", 1}}},
      {u"Word\r\nword\r\n", {{u"word", 2}}},
      {u" spaced \r\nstop\0ignored\r\n", {{u" spaced ", 1}, {u"stop", 1}}},
  };
  for (auto& c : cases) {
    std::string bytes(reinterpret_cast<const char*>(c.text.data()), c.text.size() * 2);
    bytes.push_back('\x41'); // a trailing odd byte is ignored
    ASSERT_TRUE(Ryvel::Platform::ForceDirectories(home.Items().parent_path()));
    ASSERT_TRUE(Ryvel::Platform::WriteFileAtomic(home.Items(), bytes));
    TUnknownWordList list;
    TDeclareSpeller::LoadRememberedWords(list);
    ASSERT_EQ(list.Count(), static_cast<int>(c.words.size()));
    for (const auto& [text, refs] : c.words) {
      int i = -1;
      ASSERT_TRUE(list.Find(TUnknownWord::KeyOf(text), i));
      EXPECT_EQ(list.UnknownWord(i)->Text(), text);
      EXPECT_EQ(list.UnknownWord(i)->Data().size(), refs);
    }
  }
}

TEST(Session, DeclarationValues) {
  TempHome home;
  setenv("USERNAME", "user1", 1);
  Session s;
  EXPECT_EQ(s.speller->Name(), u"Spellcheck");
  EXPECT_EQ(std::u16string(s.speller->Description()), u"Spell checker");
  EXPECT_EQ(std::u16string(s.speller->Info().Keywords), u"Spelling, spell check");
  EXPECT_FALSE(s.speller->AllowsUnicode());
  EXPECT_TRUE(s.speller->AllowsAnsi());
  EXPECT_EQ(s.speller->Info().AllowsAnsi, -1);
  EXPECT_EQ(s.speller->ConfigFile(), u"RyvelPlugin.Spellcheck.user1.xml");
  EXPECT_EQ(s.speller->FirstFunction(), 1);
  EXPECT_EQ(s.speller->NextFunction(), 0);
  EXPECT_EQ(s.speller->Function(1).FName, "Russian");
}
