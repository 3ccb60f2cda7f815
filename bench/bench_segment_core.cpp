// Throughput of the per-chunk tokenizer work: character flags and pattern detection.
// Every chunk of every segment of a QA run goes through these once, so the figure to watch is
// chunks per second over a realistic mix.
#include "lang/segment/UDetectors.h"
#include "lang/segment/UWord.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

using namespace Veskora::Lang;

namespace {

// Whitespace-delimited chunks as they occur in translated software and documentation texts,
// mostly Russian words, with numbers, addresses, versions, operators and punctuation mixed in.
constexpr std::u16string_view kSeeds[] = {
    u"Нажмите",
    u"кнопку",
    u"«Сохранить»,",
    u"чтобы",
    u"продолжить.",
    u"Файл",
    u"не",
    u"найден:",
    u"проверьте",
    u"путь",
    u"и",
    u"повторите",
    u"попытку.",
    u"Версия",
    u"2.4.1",
    u"доступна",
    u"на",
    u"сайте",
    u"https://example.com/download?id=42#top",
    u"или",
    u"www.example.org,",
    u"пишите",
    u"support@example.com.",
    u"Сервер",
    u"192.168.0.1/24",
    u"отвечает",
    u"(код",
    u"404).",
    u"Цена:",
    u"1\u00A0234,56",
    u"руб.",
    u"Размер",
    u"12,5",
    u"МБ;",
    u"всего",
    u"1,234,567.89",
    u"байт.",
    u"Формат",
    u"*.docx",
    u"и",
    u".xlsx",
    u"поддерживается.",
    u"Значение",
    u">=",
    u"10",
    u"и",
    u"≤",
    u"100",
    u"x+y=z",
    u"&amp;",
    u"&#x41;",
    u"l'ÉCOLE",
    u"d'Artagnan",
    u"rock'n'roll",
    u"iPhone",
    u"USB-накопитель",
    u"Wi-Fi",
    u"т.е.",
    u"т.д.",
    u"3.5e-3",
    u"0x1F",
    u"v1.2.3(45)",
    u"...",
    u"—",
    u"«ОК»",
    u"[Отмена]",
    u"{0}",
    u"%s",
    u"100%",
    u"C:\\Program",
    u"Files\\Ryvel",
    u"ПО",
    u"ЗАО",
    u"«Веськора»",
    u"Москва,",
    u"Санкт-Петербург",
    u"2024",
    u"г.",
    u"№5",
    u"$19.99",
    u"€20",
    u"±0,5",
    u"°C",
    u"Note:This",
    u"mailto:info@example.ru",
    u"ftp.example.net/pub",
    u"😀",
    u"emoji😀",
    u"a·b",
    u"foo_bar",
    u"-5",
    u"+7",
    u"(495)",
    u"123-45-67",
};

class TCorpus {
public:
  TCorpus() {
    // A few thousand chunks: the seeds with a trailing mark or a numeric twist, so that the
    // detectors see both whole patterns and patterns that stop before a break character.
    constexpr std::u16string_view kTails[] = {u"", u",", u".", u")", u":", u"!"};
    for (int round = 0; round < 6; ++round) {
      for (std::u16string_view seed : kSeeds) {
        for (std::u16string_view tail : kTails) {
          Add(seed, tail);
        }
      }
    }
  }

  std::u16string_view Text() const { return FText; }
  const std::vector<std::pair<int, int>> &Chunks() const { return FChunks; }

private:
  void Add(std::u16string_view aSeed, std::u16string_view aTail) {
    const int pos = static_cast<int>(FText.size());
    FText += aSeed;
    FText += aTail;
    FChunks.emplace_back(pos, static_cast<int>(FText.size()));
    FText += u' ';
  }

  std::u16string FText;
  std::vector<std::pair<int, int>> FChunks;
};

const TCorpus &Corpus() {
  static const TCorpus corpus;
  return corpus;
}

void ReportChunks(benchmark::State &aState) {
  const auto chunks = static_cast<double>(Corpus().Chunks().size());
  aState.counters["chunks"] = chunks;
  aState.counters["chunks/s"] =
      benchmark::Counter(chunks, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ComputeWordFlags(benchmark::State &aState) {
  const TCorpus &corpus = Corpus();
  const std::u16string_view text = corpus.Text();
  const TVeLWordListOptions options{opCleanAllRTFEscapedChars};
  for (auto _ : aState) {
    for (const auto &[start, end] : corpus.Chunks()) {
      benchmark::DoNotOptimize(ComputeWordFlags(
          text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)),
          options));
    }
  }
  ReportChunks(aState);
}
BENCHMARK(BM_ComputeWordFlags);

void BM_DetectToken(benchmark::State &aState) {
  const TCorpus &corpus = Corpus();
  const std::u16string_view text = corpus.Text();
  const TVeLWordListOptions options{opCleanAllRTFEscapedChars};
  for (auto _ : aState) {
    for (const auto &[start, end] : corpus.Chunks()) {
      TDetectWork work;
      benchmark::DoNotOptimize(DetectToken(text, start, end, wcWord, options, work));
      benchmark::DoNotOptimize(work);
    }
  }
  ReportChunks(aState);
}
BENCHMARK(BM_DetectToken);

// What the word list does for every new chunk: classify the token from its text.
void BM_SetFlags(benchmark::State &aState) {
  const TCorpus &corpus = Corpus();
  const std::u16string_view text = corpus.Text();
  const TVeLWordListOptions options{opCleanAllRTFEscapedChars};
  for (auto _ : aState) {
    for (const auto &[start, end] : corpus.Chunks()) {
      TVeLWord w = TVeLWord::Create(nullptr, start, end - start, wcWord, options);
      w.SetFlags(text);
      benchmark::DoNotOptimize(w);
    }
  }
  ReportChunks(aState);
}
BENCHMARK(BM_SetFlags);

} // namespace

BENCHMARK_MAIN();
