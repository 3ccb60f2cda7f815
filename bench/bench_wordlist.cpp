// Throughput of building the token list of whole segments, as the speller does for every target
// text of a QA run: segments per second and code units per second over realistic translation
// segments (Russian sentences with inline tags, numbers, addresses and escapes mixed in), with
// and without the shipped special-words file.
#include "lang/segment/USegment.h"
#include "platform/UFiles.h"
#include "platform/UText.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

using namespace Veskora::Lang;

namespace {

// Decorations that QA hosts hand over inside segment texts.
// clang-format off
constexpr std::u16string_view kInserts[] = {
    u"<b>", u"</b>", u"<ut>{\\b}</ut>", u"1\u00A0234,56", u"https://example.com/a?id=42",
    u"192.168.0.1", u"v2.4.1", u"<a href='help.html' class='x'>", u"</a>", u"12.", u"\\n",
    u"«Сохранить»", u"(см. рис. 5)", u"т.е.", u"Москва", u"ООН", u"x+y=z", u"l'ÉCOLE",
    u"support@example.com", u"&amp;", u"*.docx", u"-5", u"10.30,"};
// clang-format on

std::vector<std::u16string> MakeSegments() {
  const auto bytes =
      Ryvel::Platform::ReadWholeFile(std::string(RYVEL_SOURCE_DIR) + "/bench/data/ru_text.txt");
  std::u16string text = Ryvel::Platform::Utf8ToUtf16(
      bytes ? *bytes : std::string("Нажмите кнопку, чтобы продолжить. Файл не найден."));
  // Sentences as segments; every one gets some of the decorations at word boundaries.
  std::vector<std::u16string> segments;
  size_t start = 0, insert = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(u".\n", start);
    end = end == std::u16string::npos ? text.size() : end + 1;
    std::u16string sentence = text.substr(start, end - start);
    start = end;
    if (sentence.find_first_not_of(u" \n") == std::u16string::npos)
      continue;
    for (size_t at = sentence.find(u' ', sentence.size() / 3), n = 0;
         at != std::u16string::npos && n < 3; at = sentence.find(u' ', at + 20), ++n) {
      const auto piece = kInserts[insert++ % std::size(kInserts)];
      sentence.insert(at + 1, std::u16string(piece) + u' ');
      at += piece.size() + 1;
    }
    segments.push_back(std::move(sentence));
  }
  return segments;
}

const std::vector<std::u16string>& Segments() {
  static const std::vector<std::u16string> segments = MakeSegments();
  return segments;
}

void Run(benchmark::State& aState, const TVeLSpecialWordList* aSpecials) {
  const auto& segments = Segments();
  double units = 0;
  for (const auto& s : segments)
    units += static_cast<double>(s.size());
  for (auto _ : aState) {
    for (const auto& s : segments) {
      TVeLWordList list(s, {opCleanAllRTFEscapedChars}, aSpecials);
      benchmark::DoNotOptimize(list.Words().data());
    }
  }
  const double n = static_cast<double>(segments.size());
  aState.counters["segments"] = n;
  aState.counters["segments/s"] =
      benchmark::Counter(n, benchmark::Counter::kIsIterationInvariantRate);
  aState.counters["units/s"] =
      benchmark::Counter(units, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_WordList(benchmark::State& aState) { Run(aState, nullptr); }

void BM_WordListWithSpecialWords(benchmark::State& aState) {
  static const TVeLSpecialWordList specials(std::string(RYVEL_SOURCE_DIR) + "/data/ru_RU.rysw");
  aState.counters["special words"] = specials.Count();
  Run(aState, &specials);
}

// A worst case: one long chunk that splits at every code unit.
void BM_WordListPunctuationRun(benchmark::State& aState) {
  const std::u16string text(static_cast<size_t>(aState.range(0)), u'-');
  for (auto _ : aState) {
    TVeLWordList list(text, {opCleanAllRTFEscapedChars}, nullptr);
    benchmark::DoNotOptimize(list.Words().data());
  }
  aState.SetComplexityN(aState.range(0));
}

} // namespace

BENCHMARK(BM_WordList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WordListWithSpecialWords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WordListPunctuationRun)->RangeMultiplier(4)->Range(64, 4096)->Complexity();

BENCHMARK_MAIN();
