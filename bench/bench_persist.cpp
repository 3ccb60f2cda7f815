// Cost of the progress counters (called once per segment, twice per QA run) and of the addendum
// files: reading a large addendum, one add-and-save as the review does after each add command,
// and loading a collection.
#include "platform/UFiles.h"
#include "session/UProgressDialog.h"
#include "speller/UAddendums.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

void BM_AddSegment(benchmark::State& state) {
  TProgressDialog dialog(CreateHeadlessProgressView());
  for (auto _ : state)
    benchmark::DoNotOptimize(dialog.AddSegment());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AddSegment);

void BM_AddSegmentData(benchmark::State& state) {
  TProgressDialog dialog(CreateHeadlessProgressView());
  int words = 0;
  for (auto _ : state) {
    ++words;
    benchmark::DoNotOptimize(dialog.AddSegmentData(words % 3 == 0, words, words / 10));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AddSegmentData);

// A scratch addendum folder for the file benchmarks, with the key=value store inside it.
class TScratch {
public:
  TScratch() {
    std::string pattern = (fs::temp_directory_path() / "ryvel-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
      std::abort();
    FRoot = pattern;
    fs::create_directories(FRoot / "addendums");
    ::setenv("XDG_CONFIG_HOME", (FRoot / "config").c_str(), 1);
  }
  ~TScratch() {
    std::error_code ec;
    fs::remove_all(FRoot, ec);
  }
  std::u16string Dir() const { return (FRoot / "addendums").u16string() + u"/"; }

private:
  fs::path FRoot;
};

// A distinct Cyrillic word for each number.
std::u16string Word(int i) {
  const std::string digits = std::to_string(i);
  return u"слово" + std::u16string(1, static_cast<char16_t>(u'а' + i % 32)) +
         std::u16string(digits.begin(), digits.end());
}

// An addendum of state.range(0) words in one collection of the scratch folder.
void FillAddendum(TVeAddendumFilesList& aList, int aWords) {
  TVeAddendumFile* addendum = aList.AddAddendum(u"Big");
  for (int i = 0; i < aWords; ++i)
    addendum->Add(Word(i));
  aList.SaveToDisk();
}

void BM_AddendumRefresh(benchmark::State& state) {
  TScratch scratch;
  TVeAddendumFilesList list(u"RyvelQASpellerH_ru_RU.");
  list.SetBaseDir(scratch.Dir());
  FillAddendum(list, static_cast<int>(state.range(0)));
  TVeAddendumFile* addendum = list.GetAddendum(0);
  for (auto _ : state)
    addendum->Refresh();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AddendumRefresh)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One review add command: one word more, the whole file written atomically (with fsync).
void BM_AddendumAddAndSave(benchmark::State& state) {
  TScratch scratch;
  TVeAddendumFilesList list(u"RyvelQASpellerH_ru_RU.");
  list.SetBaseDir(scratch.Dir());
  FillAddendum(list, static_cast<int>(state.range(0)));
  TVeAddendumFile* addendum = list.GetAddendum(0);
  int next = static_cast<int>(state.range(0));
  for (auto _ : state) {
    addendum->Add(Word(next++));
    addendum->SaveToDisk();
  }
}
BENCHMARK(BM_AddendumAddAndSave)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The start of a QA run: the list file and every addendum file of 20 addendums of 1000 words.
void BM_CollectionLoad(benchmark::State& state) {
  TScratch scratch;
  TVeAddendumFilesList list(u"RyvelQASpellerH_ru_RU.");
  list.SetBaseDir(scratch.Dir());
  for (int a = 0; a < 20; ++a) {
    TVeAddendumFile* addendum = list.AddAddendum(u"A" + Word(a));
    for (int i = 0; i < 1000; ++i)
      addendum->Add(Word(a * 1000 + i));
  }
  list.SaveToDisk();
  for (auto _ : state)
    list.LoadFromDisk();
  state.SetItemsProcessed(state.iterations() * 20000);
}
BENCHMARK(BM_CollectionLoad)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
