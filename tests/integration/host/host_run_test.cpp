// ryvel-qa end to end: the program is run as a user runs it, against a fake plug-in that logs
// the calls it receives, and against the real plug-in module when it has been built.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path RealPlugin = fs::path(RYVEL_PLUGIN_DIR) / "RyvelQASpellerH_ru_RU.so";

std::string ReadFile(const fs::path &aPath) {
  std::ifstream in(aPath, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::vector<std::string> Lines(const std::string &aText) {
  std::vector<std::string> out;
  std::stringstream ss(aText);
  for (std::string line; std::getline(ss, line);)
    out.push_back(line);
  return out;
}

std::string Quote(const std::string &s) {
  std::string out = "'";
  for (const char c : s)
    out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

struct TRunResult {
  int Exit = -1;
  std::string Out;
  std::string Err;
};

class HostRunTest : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/ryvel-host-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    FDir = pattern;
    FEnv = {{"RYVEL_FAKE_LOG", (FDir / "calls.log").string()},
            {"XDG_CACHE_HOME", (FDir / "cache").string()},
            {"XDG_CONFIG_HOME", (FDir / "config").string()},
            {"XDG_DATA_HOME", (FDir / "data").string()},
            {"LC_ALL", "C.UTF-8"},
            {"LSAN_OPTIONS", "suppressions=" RYVEL_SOURCE_DIR "/tests/integration/host/lsan.supp"},
            {"DISPLAY", ""},
            {"WAYLAND_DISPLAY", ""}};
  }
  void TearDown() override { fs::remove_all(FDir); }

  fs::path Write(const std::string &aName, const std::string &aContent) {
    const fs::path p = FDir / aName;
    std::ofstream(p, std::ios::binary) << aContent;
    return p;
  }

  TRunResult Run(const std::vector<std::string> &aArgs) {
    std::string cmd = "env -u RYVEL_REVIEW";
    for (const auto &[k, v] : FEnv)
      cmd += " " + k + "=" + Quote(v);
    cmd += " " + Quote(RYVEL_QA_EXE);
    for (const std::string &a : aArgs)
      cmd += " " + Quote(a);
    cmd += " >" + Quote((FDir / "out").string()) + " 2>" + Quote((FDir / "err").string());
    const int status = std::system(cmd.c_str());
    TRunResult r;
    r.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.Out = ReadFile(FDir / "out");
    r.Err = ReadFile(FDir / "err");
    return r;
  }

  std::vector<std::string> Calls() { return Lines(ReadFile(FDir / "calls.log")); }

  fs::path FDir;
  std::map<std::string, std::string> FEnv;
};

const char *const ThreeSegments = "id\tsource\ttarget\n"
                                  "a1\tOne\tодин ошибкаа\n"
                                  "a2\tTwo\tдва\n"
                                  "a3\tThree\tтри ошибкаа\n";

TEST_F(HostRunTest, CallsTheExportsInTheFixedOrder) {
  FEnv["RYVEL_FAKE_WORDS"] = "ошибкаа";
  const TRunResult r = Run({"--plugin", RYVEL_FAKE_PLUGIN, Write("t.tsv", ThreeSegments)});
  EXPECT_EQ(r.Exit, 1) << r.Err;
  const std::vector<std::string> expected = {
      "GetDeclareName",         "GetDeclareInfo",     "GetFirstFunction",
      "GetNextFunction",        "GetFunctionName 1",  "SetConfigFile RyvelPlugin.FakeCheck.xml",
      "ProcessBegin 1 review=", "ProcessSegment 1 1", "ProcessSegment 1 2",
      "ProcessSegment 1 3",     "GetFirstResult 1",   "GetNextResult 1",
      "GetNextResult 1",        "ProcessEnd 1",
  };
  EXPECT_EQ(Calls(), expected);
}

TEST_F(HostRunTest, ReviewModeReachesThePluginAndCancelReportsNothing) {
  FEnv["RYVEL_FAKE_WORDS"] = "ошибкаа";
  const TRunResult r =
      Run({"--plugin", RYVEL_FAKE_PLUGIN, "--review", "cancel", Write("t.tsv", ThreeSegments)});
  EXPECT_EQ(r.Exit, 0) << r.Err;
  EXPECT_EQ(r.Out, "");
  const auto calls = Calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "ProcessBegin 1 review=cancel"), calls.end());
  EXPECT_EQ(calls.back(), "ProcessEnd 1");
}

TEST_F(HostRunTest, FindingsNameTheirFileAndSegmentAcrossSeveralFiles) {
  FEnv["RYVEL_FAKE_WORDS"] = "ошибкаа";
  const fs::path tsv = Write("t.tsv", ThreeSegments);
  const fs::path xlf = Write("b.xlf", R"(<?xml version="1.0" encoding="UTF-8"?>
<xliff version="1.2"><file source-language="en" target-language="ru"><body>
<trans-unit id="x1"><source>A</source><target>ошибкаа</target></trans-unit>
<trans-unit id="x2"><source>B</source></trans-unit>
<trans-unit id="x3"><source>C</source><target>верно ошибкаа</target></trans-unit>
</body></file></xliff>
)");
  const TRunResult r = Run({"--plugin", RYVEL_FAKE_PLUGIN, "--format", "tsv", tsv, xlf});
  EXPECT_EQ(r.Exit, 1) << r.Err;
  EXPECT_EQ(r.Out, tsv.string() + "\ta1\tошибкаа\n" + tsv.string() + "\ta3\tошибкаа\n" +
                       xlf.string() + "\tx1\tошибкаа\n" + xlf.string() + "\tx3\tошибкаа\n");
}

TEST_F(HostRunTest, ResultForAnIdNeverHandedOverIsAnErrorNotACrash) {
  FEnv["RYVEL_FAKE_WORDS"] = "ошибкаа";
  FEnv["RYVEL_FAKE_BOGUS_ID"] = "1";
  const TRunResult r = Run({"--plugin", RYVEL_FAKE_PLUGIN, Write("t.tsv", ThreeSegments)});
  EXPECT_EQ(r.Exit, 2);
  EXPECT_EQ(r.Out, "");
  EXPECT_NE(r.Err.find("2 result(s) for segment ids it was never given"), std::string::npos)
      << r.Err;
  EXPECT_EQ(Calls().back(), "ProcessEnd 1") << "the run was not ended properly";
}

TEST_F(HostRunTest, HandsNarrowAndWideTextOfTheSameContent) {
  Run({"--plugin", RYVEL_FAKE_PLUGIN, Write("t.tsv", ThreeSegments)});
  for (const std::string &call : Calls())
    EXPECT_EQ(call.find("narrow-differs"), std::string::npos) << call;
}

TEST_F(HostRunTest, JsonAndTextOutputsCarryTheFinding) {
  FEnv["RYVEL_FAKE_WORDS"] = "ошибкаа";
  const fs::path tsv = Write("t.tsv", "id\tsource\ttarget\nlong-id-7\tOne\tодин ошибкаа\n");
  TRunResult r = Run({"--plugin", RYVEL_FAKE_PLUGIN, "--format", "json", tsv});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Out, "{\"file\":\"" + tsv.string() +
                       "\",\"id\":\"long-id-7\",\"word\":\"ошибкаа\",\"source\":\"One\","
                       "\"target\":\"один ошибкаа\"}\n");
  r = Run({"--plugin", RYVEL_FAKE_PLUGIN, tsv});
  EXPECT_EQ(r.Out, tsv.string() + "  long-id-7  ошибкаа\n");
}

struct TExitCase {
  const char *Name;
  const char *FileName;
  const char *Content;
  bool UseFakePlugin;
  int Exit;
  const char *ErrorContains; // after the file name
};

const TExitCase ExitCases[] = {
    {"clean", "ok.tsv", "id\tsource\ttarget\n1\ta\tверно\n", true, 0, ""},
    {"unclosed_element", "broken.xlf",
     "<?xml version=\"1.0\"?>\n<xliff version=\"1.2\"><file><body>\n<trans-unit id=\"1\">\n", true,
     2, ":4:1: unexpected end of file"},
    {"bad_tsv_escape", "broken.tsv", "id\tsource\ttarget\n1\ta\tb\n2\ta\tb\\q\n", true, 2,
     ":3:6: bad escape"},
    {"unknown_format", "notes.md", "just some notes\n", true, 2, ": unknown file format"},
    {"missing_plugin", "ok.tsv", "id\tsource\ttarget\n1\ta\tверно\n", false, 2, "cannot load"},
};

void PrintTo(const TExitCase &aCase, std::ostream *aOut) { *aOut << aCase.Name; }

class HostExitTest : public HostRunTest, public ::testing::WithParamInterface<TExitCase> {};

TEST_P(HostExitTest, ExitStatusAndMessage) {
  const TExitCase &c = GetParam();
  const fs::path file = Write(c.FileName, c.Content);
  const TRunResult r =
      Run({"--plugin", c.UseFakePlugin ? RYVEL_FAKE_PLUGIN : "/nonexistent.so", file.string()});
  EXPECT_EQ(r.Exit, c.Exit) << r.Err;
  if (*c.ErrorContains) {
    const std::string where = c.UseFakePlugin ? file.string() : std::string();
    EXPECT_NE(r.Err.find(where + c.ErrorContains), std::string::npos) << r.Err;
  }
  if (c.Exit == 2 && c.UseFakePlugin) {
    EXPECT_TRUE(Calls().empty()) << "the plug-in was called although the input was bad";
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, HostExitTest, ::testing::ValuesIn(ExitCases),
                         [](const auto &info) { return std::string(info.param.Name); });

// The bundled sample: every form hands exactly the expected segments over.
class SampleFormTest : public HostRunTest, public ::testing::WithParamInterface<const char *> {
protected:
  fs::path Sample() const { return fs::path(RYVEL_SOURCE_DIR) / "data" / "sample" / GetParam(); }
  std::string ExpectedDump() const {
    return ReadFile(fs::path(RYVEL_TEST_DATA_DIR) / "host" / "sample-dump" /
                    (std::string(GetParam()) + ".tsv"));
  }
};

TEST_P(SampleFormTest, HandsOverEverySegmentWithItsIdThroughTheFakePlugin) {
  FEnv["RYVEL_QA_DUMP_SEGMENTS"] = (FDir / "dump.tsv").string();
  const TRunResult r = Run({"--plugin", RYVEL_FAKE_PLUGIN, "--review", "cancel", Sample()});
  EXPECT_EQ(r.Exit, 0) << r.Err;
  EXPECT_EQ(ReadFile(FDir / "dump.tsv"), ExpectedDump());
}

TEST_P(SampleFormTest, RealPluginCancelledReviewExitsClean) {
  if (!fs::exists(RealPlugin))
    GTEST_SKIP() << "the plug-in module has not been built";
  FEnv["RYVEL_QA_DUMP_SEGMENTS"] = (FDir / "dump.tsv").string();
  const TRunResult r = Run({"--plugin", RealPlugin, "--review", "cancel", Sample()});
  EXPECT_EQ(r.Exit, 0) << r.Err;
  EXPECT_EQ(ReadFile(FDir / "dump.tsv"), ExpectedDump());
}

TEST_P(SampleFormTest, RealPluginFindsExactlyThePlantedMisspellings) {
  if (!fs::exists(RealPlugin))
    GTEST_SKIP() << "the plug-in module has not been built";
  const auto expectedLines =
      Lines(ReadFile(fs::path(RYVEL_SOURCE_DIR) / "data" / "sample" / "EXPECTED-misspellings.txt"));
  const std::set<std::string> expected(expectedLines.begin(), expectedLines.end());
  const std::vector<std::string> args = {"--plugin", RealPlugin, "--review", "confirm-all",
                                         "--format", "tsv", Sample().string()};
  // No tag, placeholder, number, URL or file name is reported: only the planted words.
  const TRunResult first = Run(args);
  EXPECT_EQ(first.Exit, 1) << first.Err;
  std::set<std::string> found;
  for (const std::string &line : Lines(first.Out))
    found.insert(line.substr(line.rfind('\t') + 1));
  EXPECT_EQ(found, expected) << first.Out;
  // The remembered words are restored and reported again.
  const TRunResult second = Run(args);
  EXPECT_EQ(second.Out, first.Out);
  // A cancelled review reports nothing and leaves the settings as they were.
  const fs::path settings = FDir / "cache" / "Ryvel" / "RyvelQASpellerF1.cfg";
  const fs::path items = FDir / "cache" / "Ryvel" / "RyvelQASpellerF1.cfg.items";
  const std::string settingsBefore = ReadFile(settings), itemsBefore = ReadFile(items);
  const TRunResult cancelled =
      Run({"--plugin", RealPlugin, "--review", "cancel", "--format", "tsv", Sample().string()});
  EXPECT_EQ(cancelled.Exit, 0) << cancelled.Err;
  EXPECT_EQ(cancelled.Out, "");
  EXPECT_EQ(ReadFile(settings), settingsBefore);
  EXPECT_EQ(ReadFile(items), itemsBefore);
}

INSTANTIATE_TEST_SUITE_P(Forms, SampleFormTest,
                         ::testing::Values("sample-1.2.xlf", "sample-2.0.xlf", "sample.tmx",
                                           "sample.po", "sample.tsv"),
                         [](const auto &info) {
                           std::string n = info.param;
                           for (char &c : n)
                             if (!std::isalnum(static_cast<unsigned char>(c)))
                               c = '_';
                           return n;
                         });

TEST_F(HostRunTest, WholeSampleFolderExitsClean) {
  std::vector<std::string> args = {"--plugin", RYVEL_FAKE_PLUGIN, "--review", "cancel"};
  for (const auto &e : fs::directory_iterator(fs::path(RYVEL_SOURCE_DIR) / "data" / "sample"))
    args.push_back(e.path().string());
  const TRunResult r = Run(args);
  EXPECT_EQ(r.Exit, 0) << r.Err;
}

} // namespace
