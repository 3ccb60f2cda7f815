// The review's own costs over a large project, with a speller that only splits at spaces:
// merging the reported occurrences into the pending list, restoring remembered words, moving
// every word across (confirm-all) and handing the results to the session's lists.
#include "review/UReviewCommands.h"
#include "review/UReviewCore.h"
#include "review/UReviewFrontEnd.h"
#include "session/URySpellerClasses.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// Reports every word that starts with an uppercase 'Ж' or 'ж' (the generated unknown words).
class TSplitSpeller : public IRySpeller {
public:
  bool Enabled() override { return true; }
  int Check(const TSegmentData& aSegment, TRySpellerOptions, int& aTotalWords,
            const TWordProc& aProc) override {
    const std::u16string& t = aSegment.Target();
    aTotalWords = 0;
    int reported = 0;
    size_t start = 0;
    while (start < t.size()) {
      size_t end = t.find(u' ', start);
      if (end == std::u16string::npos)
        end = t.size();
      if (end > start) {
        ++aTotalWords;
        if (t[start] == u'ж' || t[start] == u'Ж') {
          aProc(std::u16string_view(t).substr(start, end - start));
          ++reported;
        }
      }
      start = end + 1;
    }
    return reported;
  }
  int GetSuggestions(const std::u16string&, std::vector<std::u16string>&) override { return 0; }
  void ReloadSpecialWords() override {}
};

std::u16string UnknownWord(unsigned aNumber) {
  static const char16_t letters[] = u"абвгдеклмнопрст";
  std::u16string w = u"ж";
  for (unsigned n = aNumber + 1; n > 0; n /= 15)
    w += letters[n % 15];
  if (aNumber % 7 == 0)
    w[0] = u'Ж'; // a second spelling of the same key now and then
  return w;
}

// segments x (8 known words + 2 unknown words drawn from `vocabulary` distinct ones).
struct TProject {
  TSegmentList Segments;
  explicit TProject(int aSegments, unsigned aVocabulary) {
    unsigned seed = 12345;
    for (int i = 0; i < aSegments; ++i) {
      std::u16string target = u"Нажмите кнопку <b>ОК</b>, чтобы сохранить файл %1 сейчас";
      for (int k = 0; k < 2; ++k) {
        seed = seed * 1103515245u + 12345u;
        target += u' ';
        target += UnknownWord((seed >> 8) % aVocabulary);
      }
      Segments.push_back(std::make_unique<TSegmentData>(reinterpret_cast<void*>(uintptr_t(i + 1)),
                                                        u"Press OK to save the file %1 now",
                                                        std::move(target)));
    }
  }
};

void BM_CheckRun(benchmark::State& state) {
  TProject project(static_cast<int>(state.range(0)), static_cast<unsigned>(state.range(1)));
  auto speller = std::make_shared<TSplitSpeller>();
  TUnknownWordList confirmed, discarded;
  TSpellerConfirmOptions options;
  int64_t words = 0;
  for (auto _ : state) {
    TReviewCore core;
    core.Assign(options, project.Segments, confirmed, discarded, speller);
    core.RunCheck(false);
    words += core.WordCount();
    state.counters["distinct"] = core.Pending().Count();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["words/s"] =
      benchmark::Counter(static_cast<double>(words), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CheckRun)
    ->Args({100000, 20000})
    ->Args({100000, 200000})
    ->Unit(benchmark::kMillisecond);

// The first run with many remembered words, then confirm-all and the results.
void BM_ReviewConfirmAll(benchmark::State& state) {
  TProject project(static_cast<int>(state.range(0)), static_cast<unsigned>(state.range(1)));
  auto speller = std::make_shared<TSplitSpeller>();
  for (auto _ : state) {
    state.PauseTiming();
    TUnknownWordList confirmed, discarded;
    for (unsigned i = 0; i < static_cast<unsigned>(state.range(1)); i += 2)
      confirmed.Add(UnknownWord(i), nullptr);
    TSpellerConfirmOptions options;
    options.WorkingMode = wmAccept;
    TConfirmAllFrontEnd frontEnd;
    state.ResumeTiming();
    const int result =
        TReviewCore::Execute(frontEnd, options, project.Segments, confirmed, discarded, speller);
    benchmark::DoNotOptimize(result);
    state.counters["confirmed"] = confirmed.Count();
  }
}
BENCHMARK(BM_ReviewConfirmAll)
    ->Args({100000, 20000})
    ->Args({100000, 200000})
    ->Unit(benchmark::kMillisecond);

// Switching the mode with half the words excluded.
void BM_SwapLists(benchmark::State& state) {
  TProject project(static_cast<int>(state.range(0)), static_cast<unsigned>(state.range(1)));
  auto speller = std::make_shared<TSplitSpeller>();
  TUnknownWordList confirmed, discarded;
  TSpellerConfirmOptions options;
  options.WorkingMode = wmDiscard;
  TReviewCore core;
  core.Assign(options, project.Segments, confirmed, discarded, speller);
  core.RunCheck(false);
  TReviewCommands commands(core);
  for (int r = core.UnknownWords().Count() - 1; r >= 0; r -= 2)
    core.WordRows().SetSelected(r, true);
  commands.DiscardSelection();
  for (auto _ : state)
    commands.SetWorkingMode(core.WorkingMode() == wmDiscard ? wmAccept : wmDiscard);
}
BENCHMARK(BM_SwapLists)->Args({100000, 20000})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
