// Spelling engine figures over the real ru_RU dictionary and a Russian text:
//   - dictionary load time;
//   - lookups per second straight through the adapter (no cache), through THunSpell with
//     the cache switched off, and through THunSpell with its cache, both from an empty
//     cache on every pass over the text and in the steady state of a long run;
//   - milliseconds per GetSuggestions.
// Lookups follow the speller's pattern: the word as written when it has capitals, then
// its lower-case form when that was not found.
#include "lang/hunspell/UHunSpell.h"

#include "platform/UFiles.h"
#include "platform/UText.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace Ryvel::Platform;

const std::u16string CPluginDir = Utf8ToUtf16(RYVEL_PLUGIN_DIR);
const std::u16string CAdapter = CPluginDir + u"/libhunspell-adapter.so";

struct TLookup {
  std::string Word;  // UTF-8, as written
  std::string Lower; // UTF-8, lower case; empty when the word is already all lower case
};

bool IsLetter(char16_t c) {
  const int t = CharType(c);
  return t >= 1 && t <= 5; // the letter categories
}

std::vector<TLookup> TextWords() {
  const auto bytes = ReadWholeFile(RYVEL_SOURCE_DIR "/bench/data/ru_text.txt");
  if (!bytes) {
    std::fprintf(stderr, "bench/data/ru_text.txt not found\n");
    std::exit(2);
  }
  const std::u16string text = Utf8ToUtf16(*bytes);
  std::vector<TLookup> words;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!IsLetter(text[i])) {
      ++i;
      continue;
    }
    std::size_t j = i;
    // Letters, with single hyphens inside a word ("веб-страницы").
    while (j < text.size() &&
           (IsLetter(text[j]) || (text[j] == u'-' && j + 1 < text.size() && IsLetter(text[j + 1]))))
      ++j;
    const std::u16string w = text.substr(i, j - i);
    const std::u16string l = LowerCase(w);
    words.push_back({Utf16ToUtf8(w), l == w ? std::string() : Utf16ToUtf8(l)});
    i = j;
  }
  return words;
}

const std::vector<TLookup>& Words() {
  static const std::vector<TLookup> words = TextWords();
  return words;
}

template <typename TCheck> std::size_t LookUpText(TCheck&& check) {
  std::size_t lookups = 0;
  for (const TLookup& w : Words()) {
    ++lookups;
    bool ok = check(w.Word);
    if (!ok && !w.Lower.empty()) {
      ++lookups;
      ok = check(w.Lower);
    }
    benchmark::DoNotOptimize(ok);
  }
  return lookups;
}

void ReportRate(benchmark::State& state, std::size_t lookups) {
  state.counters["lookups/s"] =
      benchmark::Counter(static_cast<double>(lookups), benchmark::Counter::kIsRate);
  state.counters["words"] = static_cast<double>(Words().size());
}

void BM_DictionaryLoad(benchmark::State& state) {
  for (auto _ : state) {
    THunSpell dict(u"ru_RU", CPluginDir, CAdapter);
    if (!dict.Load()) {
      state.SkipWithError("ru_RU could not be opened");
      return;
    }
  }
}
BENCHMARK(BM_DictionaryLoad)->Unit(benchmark::kMillisecond)->Iterations(5);

// The library alone: hunspell_spell through the adapter, every lookup asked.
void BM_AdapterSpell(benchmark::State& state) {
  THunSpell dict(u"ru_RU", CPluginDir, CAdapter); // loads the library
  if (!dict.Load()) {
    state.SkipWithError("ru_RU could not be opened");
    return;
  }
  const THunSpellEntryPoints& e = HunSpellEntryPoints();
  const std::string aff = Utf16ToUtf8(dict.ActualAffFileName());
  const std::string dic = Utf16ToUtf8(dict.ActualDicFileName());
  void* handle = e.Initialize(aff.c_str(), dic.c_str());
  std::size_t lookups = 0;
  for (auto _ : state)
    lookups += LookUpText([&](const std::string& w) { return e.Spell(handle, w.c_str()) != 0; });
  e.Uninitialize(handle);
  ReportRate(state, lookups);
}
BENCHMARK(BM_AdapterSpell)->Unit(benchmark::kMillisecond);

void BM_CheckUncached(benchmark::State& state) {
  THunSpell dict(u"ru_RU", CPluginDir, CAdapter);
  dict.SetLookupCacheLimit(0);
  dict.Load();
  std::size_t lookups = 0;
  for (auto _ : state)
    lookups += LookUpText([&](const std::string& w) { return dict.CheckUtf8(w); });
  ReportRate(state, lookups);
}
BENCHMARK(BM_CheckUncached)->Unit(benchmark::kMillisecond);

// Every pass starts with an empty cache: one pass is a QA run over this text alone.
void BM_CheckCachedColdPass(benchmark::State& state) {
  THunSpell dict(u"ru_RU", CPluginDir, CAdapter);
  dict.Load();
  std::size_t lookups = 0;
  for (auto _ : state) {
    state.PauseTiming();
    dict.SetLookupCacheLimit(0); // empties the cache
    dict.SetLookupCacheLimit(THunSpell::CDefaultLookupCacheLimit);
    state.ResumeTiming();
    lookups += LookUpText([&](const std::string& w) { return dict.CheckUtf8(w); });
  }
  ReportRate(state, lookups);
  state.counters["cached"] = static_cast<double>(dict.LookupCacheEntries());
}
BENCHMARK(BM_CheckCachedColdPass)->Unit(benchmark::kMillisecond);

// The steady state of a long run, where the text's words come back again and again.
void BM_CheckCachedWarm(benchmark::State& state) {
  THunSpell dict(u"ru_RU", CPluginDir, CAdapter);
  dict.Load();
  LookUpText([&](const std::string& w) { return dict.CheckUtf8(w); });
  std::size_t lookups = 0;
  for (auto _ : state)
    lookups += LookUpText([&](const std::string& w) { return dict.CheckUtf8(w); });
  ReportRate(state, lookups);
  state.counters["cached"] = static_cast<double>(dict.LookupCacheEntries());
  state.counters["cacheKiB"] = static_cast<double>(dict.LookupCacheBytes()) / 1024.0;
}
BENCHMARK(BM_CheckCachedWarm)->Unit(benchmark::kMillisecond);

// The same warm lookups through the UTF-16 form the speller's callers hold.
void BM_CheckCachedWarmUtf16(benchmark::State& state) {
  THunSpell dict(u"ru_RU", CPluginDir, CAdapter);
  dict.Load();
  std::vector<std::u16string> words;
  for (const TLookup& w : Words())
    words.push_back(Utf8ToUtf16(w.Word));
  for (const auto& w : words)
    dict.Check(w);
  std::size_t lookups = 0;
  for (auto _ : state)
    for (const auto& w : words) {
      benchmark::DoNotOptimize(dict.Check(w));
      ++lookups;
    }
  ReportRate(state, lookups);
}
BENCHMARK(BM_CheckCachedWarmUtf16)->Unit(benchmark::kMillisecond);

// Warm lookups in an 8-bit dictionary (the small KOI8-R test dictionary): every lookup
// still converts the word before the cache is asked.
void BM_CheckCachedWarmKoi8(benchmark::State& state) {
  THunSpell dict(u"test_koi8", Utf8ToUtf16(RYVEL_SOURCE_DIR "/tests/data/hunspell"), CAdapter);
  if (!dict.Load()) {
    state.SkipWithError("test_koi8 could not be opened");
    return;
  }
  LookUpText([&](const std::string& w) { return dict.CheckUtf8(w); });
  std::size_t lookups = 0;
  for (auto _ : state)
    lookups += LookUpText([&](const std::string& w) { return dict.CheckUtf8(w); });
  ReportRate(state, lookups);
}
BENCHMARK(BM_CheckCachedWarmKoi8)->Unit(benchmark::kMillisecond);

void BM_GetSuggestions(benchmark::State& state) {
  THunSpell dict(u"ru_RU", CPluginDir, CAdapter);
  dict.Load();
  const std::vector<std::u16string> misspelt{u"сдесь",   u"вобщем", u"расчитать", u"придти",
                                             u"сигодня", u"масква", u"компютер",  u"приветт"};
  // One call per iteration, so the time column reads as milliseconds per call.
  THunSpell::TStringArray s;
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(dict.GetSuggestions(misspelt[next], s));
    next = (next + 1) % misspelt.size();
  }
}
BENCHMARK(BM_GetSuggestions)->Unit(benchmark::kMillisecond)->Iterations(16);

} // namespace

BENCHMARK_MAIN();
