// The whole check run over a large generated localisation project: the token list of every
// target, the speller's rules, the cached dictionary lookups, and the merging of the reported
// words into a TUnknownWordList as the review dialog's check run does.
//
// Prints segments per second, examined words per second, peak memory, and the time split
// (tokenizer, rules, lookups, merging). The first run starts with empty caches, as the first
// check of a QA run does; the split is measured on the runs after it.
//
//   bench_checkrun [SEGMENTS]      (default 200000)
#include "lang/segment/UWordList.h"
#include "platform/UFiles.h"
#include "platform/UText.h"
#include "session/URySpellerClasses.h"
#include "speller/USpellerSpanish.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Ryvel::Platform::Utf8ToUtf16;

// CPU time of this thread: the figures stay those of one core when the machine is busy.
struct Clock {
  using time_point = double;
  static time_point now() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
  }
};

double Seconds(Clock::time_point aFrom) { return Clock::now() - aFrom; }

// ---------------------------------------------------------------------------------------------
// The project: UI strings, messages and help sentences of a software product, with inline
// tags, placeholders, numbers, URLs, file names, product names, and a few typing errors.

const char* const CVerbs[] = {
    "Нажмите",    "Откройте",  "Сохраните", "Удалите",       "Выберите",   "Введите",  "Проверьте",
    "Подключите", "Загрузите", "Обновите",  "Перезапустите", "Скопируйте", "Укажите",  "Отправьте",
    "Закройте",   "Создайте",  "Измените",  "Настройте",     "Установите", "Отключите"};
const char* const CObjects[] = {
    "файл",           "папку",      "документ",    "настройки",   "параметры", "пароль",
    "учётную запись", "сервер",     "подключение", "приложение",  "проект",    "изображение",
    "страницу",       "сообщение",  "шаблон",      "отчёт",       "таблицу",   "резервную копию",
    "профиль",        "расширение", "обновление",  "базу данных", "список",    "фильтр",
    "значение",       "ключ",       "сертификат",  "адрес",       "устройство"};
const char* const CAdjectives[] = {
    "новый",  "текущий",   "выбранный", "последний",      "локальный",   "удалённый", "общий",
    "личный", "временный", "основной",  "дополнительный", "сохранённый", "исходный",  "целевой"};
const char* const CSubjects[] = {"Файл",          "Сервер",     "Приложение", "Подключение",
                                 "Документ",      "Обновление", "Операция",   "Загрузка",
                                 "Синхронизация", "Проверка",   "Установка",  "Пользователь",
                                 "Запрос"};
const char* const CStates[] = {
    "не найден",           "недоступен",          "успешно сохранён",
    "уже существует",      "был изменён",         "не отвечает",
    "завершена с ошибкой", "будет удалён",        "временно заблокирован",
    "успешно завершена",   "требует перезапуска", "превысил допустимый размер"};
const char* const CConnectors[] = {"и", "или", "чтобы", "если", "перед тем как", "после чего",
                                   "в", "на",  "для",   "из",   "с помощью",     "без"};
const char* const CProducts[] = {"Windows", "macOS", "GitHub",  "Microsoft", "JSON",  "HTTP",
                                 "USB",     "Wi-Fi", "Android", "iOS",       "Excel", "Linux",
                                 "Google",  "PDF",   "SQL",     "API"};
const char* const CPlaceholders[] = {"%s",  "%d",      "%1",         "%2$s",       "{0}",
                                     "{1}", "{count}", "{fileName}", "$(PRODUCT)", "%%"};
const char* const CFiles[] = {"config.json",       "settings.xml", "README.txt",      "*.docx",
                              "C:\\Users\\Public", "/etc/hosts",   "report_2024.xlsx"};
const char* const CUrls[] = {"https://example.com/help", "http://www.example.org/docs/v2",
                             "support@example.com", "192.168.0.1", "ftp://files.example.net"};
const char* const CTags[][2] = {{"<b>", "</b>"},
                                {"<i>", "</i>"},
                                {"<a href=\"https://example.com\">", "</a>"},
                                {"<span class='hint'>", "</span>"},
                                {"<ut>{\\b}</ut>", ""}};

// Sentences of the user guide text of bench/data, for the longer help paragraphs: they bring
// the vocabulary of real documentation (several hundred distinct word forms).
std::vector<std::string> GuideSentences() {
  std::vector<std::string> sentences;
  const auto bytes = Ryvel::Platform::ReadWholeFile(RYVEL_SOURCE_DIR "/bench/data/ru_text.txt");
  if (!bytes)
    return sentences;
  size_t start = 0;
  while (start < bytes->size()) {
    size_t end = bytes->find_first_of(".!?\n", start);
    if (end == std::string::npos)
      end = bytes->size();
    std::string sentence = bytes->substr(start, end + 1 - start);
    while (!sentence.empty() && (sentence.front() == ' ' || sentence.front() == '\n'))
      sentence.erase(0, 1);
    if (sentence.size() > 20)
      sentences.push_back(sentence);
    start = end + 1;
  }
  return sentences;
}

class TProjectGenerator {
public:
  explicit TProjectGenerator(unsigned aSeed) : FRandom(aSeed), FGuide(GuideSentences()) {}

  TSegmentList Segments(int aCount) {
    TSegmentList segments;
    segments.reserve(static_cast<size_t>(aCount));
    for (int i = 0; i < aCount; ++i) {
      FKept.clear();
      std::string target = Target();
      // The source holds the same untranslatable pieces as the target, as in a real project;
      // a few segments are left untranslated.
      std::string source = Chance(6) ? target : "Source text " + std::to_string(i) + FKept;
      segments.push_back(
          std::make_unique<TSegmentData>(reinterpret_cast<void*>(static_cast<intptr_t>(i + 1)),
                                         Utf8ToUtf16(source), Utf8ToUtf16(Typos(target))));
    }
    return segments;
  }

private:
  template <size_t N> const char* Pick(const char* const (&aPool)[N]) {
    return aPool[FRandom() % N];
  }
  // The same, noting the piece for the source text.
  template <size_t N> const char* Keep(const char* const (&aPool)[N]) {
    const char* piece = Pick(aPool);
    FKept += std::string(" ") + piece;
    return piece;
  }
  bool Chance(unsigned aPercent) { return FRandom() % 100 < aPercent; }

  std::string Clause() {
    std::string s = Pick(CVerbs);
    s += " ";
    if (Chance(40))
      s += std::string(Pick(CAdjectives)) + " ";
    s += Pick(CObjects);
    if (Chance(25))
      s += std::string(" ") + Keep(CProducts);
    if (Chance(20))
      s += std::string(" ") + Keep(CPlaceholders);
    return s;
  }

  std::string Message() {
    std::string s = Pick(CSubjects);
    if (Chance(30))
      s += std::string(" «") + Keep(CPlaceholders) + "»";
    s += std::string(" ") + Pick(CStates);
    if (Chance(30))
      s += std::string(": ") + Keep(CFiles);
    if (Chance(20))
      s += " (" + std::to_string(FRandom() % 10000) + " КБ)";
    return s + ".";
  }

  std::string Target() {
    switch (FRandom() % 5) {
    case 0: // a button or menu caption
      return Pick(CVerbs);
    case 1: // an instruction
    {
      std::string s = Clause();
      if (Chance(50))
        s += std::string(" ") + Pick(CConnectors) + " " + Clause();
      return s + ".";
    }
    case 2: // a status message
      return Message();
    case 3: // formatted help text
    {
      const auto& tag = CTags[FRandom() % (sizeof CTags / sizeof CTags[0])];
      std::string s = std::string(tag[0]) + Clause() + tag[1] + ", см. " + Keep(CUrls) + ".";
      if (Chance(50))
        s += " " + Message();
      return s;
    }
    default: // a longer paragraph
    {
      std::string s = Message() + " " + Clause() + " " + Pick(CConnectors) + " " + Clause() +
                      ", версия " + std::to_string(FRandom() % 10) + "." +
                      std::to_string(FRandom() % 20) + ".";
      if (!FGuide.empty())
        s += " " + FGuide[FRandom() % FGuide.size()];
      return s;
    }
    }
  }

  // About one segment in thirty gets a typing error: two neighbouring Cyrillic letters swapped.
  std::string Typos(std::string aText) {
    if (!Chance(3))
      return aText;
    std::u16string t = Utf8ToUtf16(aText);
    for (int tries = 0; tries < 8 && t.size() > 2; ++tries) {
      const size_t p = FRandom() % (t.size() - 1);
      if (t[p] >= u'а' && t[p] <= u'я' && t[p + 1] >= u'а' && t[p + 1] <= u'я' &&
          t[p] != t[p + 1]) {
        std::swap(t[p], t[p + 1]);
        break;
      }
    }
    return Ryvel::Platform::Utf16ToUtf8(t);
  }

  std::mt19937 FRandom;
  std::vector<std::string> FGuide;
  std::string FKept;
};

// ---------------------------------------------------------------------------------------------

struct TRunFigures {
  double Seconds = 0;
  long long Words = 0;
  long long Reports = 0;
  int Distinct = 0;
};

// One check run as the review dialog does it: every segment checked, every report merged.
TRunFigures CheckRun(TSpellerSpanish& aSpeller, const TSegmentList& aSegments, bool aMerge) {
  TRunFigures f;
  TUnknownWordList pending;
  const auto start = Clock::now();
  for (const auto& segment : aSegments) {
    int total = 0;
    const TSegmentData* current = segment.get();
    if (aMerge)
      f.Reports +=
          aSpeller.Check(*segment, DefaultSpellerOptions, total, [&](std::u16string_view aWord) {
            pending.Add(aWord, const_cast<TSegmentData*>(current));
          });
    else
      f.Reports += aSpeller.Check(*segment, DefaultSpellerOptions, total, TWordProc{});
    f.Words += total;
  }
  f.Seconds = Seconds(start);
  f.Distinct = pending.Count();
  return f;
}

// The token lists alone, with the same options and special words as the speller's.
double TokenizerOnly(const TSpellerSpanish& aSpeller, const TSegmentList& aSegments) {
  const auto start = Clock::now();
  size_t tokens = 0;
  for (const auto& segment : aSegments) {
    if (TSpellerSpanish::IsSimilarText(segment->Source(), segment->Target()))
      continue;
    const Veskora::Lang::TVeLWordList list(
        segment->Target(), {Veskora::Lang::opCleanAllRTFEscapedChars}, aSpeller.SpecialWords());
    tokens += list.Words().size();
  }
  const double s = Seconds(start);
  if (tokens == 0)
    std::printf("(no tokens)\n");
  return s;
}

// The dictionary lookups of the examined tokens alone (the word as written when it has
// capitals, then its lower-case form), through the same cache.
double LookupsOnly(TSpellerSpanish& aSpeller, const TSegmentList& aSegments) {
  // The words as views into the targets, their lower-case forms in one buffer.
  struct TWordPair {
    std::u16string_view W;
    size_t LowerAt;
  };
  std::vector<TWordPair> words;
  std::u16string lower;
  for (const auto& segment : aSegments) {
    if (TSpellerSpanish::IsSimilarText(segment->Source(), segment->Target()))
      continue;
    const Veskora::Lang::TVeLWordList list(
        segment->Target(), {Veskora::Lang::opCleanAllRTFEscapedChars}, aSpeller.SpecialWords());
    for (const auto& t : list.Words())
      if (t.IsAbbreviation() || t.IsNormal()) {
        const std::u16string_view w = t.TextView(segment->Target());
        words.push_back({w, lower.size()});
        lower += Ryvel::Platform::LowerCase(w);
      }
  }
  const auto start = Clock::now();
  long long known = 0;
  for (const auto& p : words) {
    const std::u16string_view l(lower.data() + p.LowerAt, p.W.size());
    known += (p.W != l && aSpeller.IsWordKnown(p.W)) || aSpeller.IsWordKnown(l);
  }
  const double s = Seconds(start);
  if (known < 0)
    std::printf("(impossible)\n");
  return s;
}

// The merging alone: the reports of one run added to a fresh word list, in the order found.
double MergingOnly(TSpellerSpanish& aSpeller, const TSegmentList& aSegments) {
  std::vector<std::pair<std::u16string, TSegmentData*>> reports;
  for (const auto& segment : aSegments) {
    int total = 0;
    TSegmentData* current = segment.get();
    aSpeller.Check(*segment, DefaultSpellerOptions, total,
                   [&](std::u16string_view aWord) { reports.emplace_back(aWord, current); });
  }
  const auto start = Clock::now();
  TUnknownWordList pending;
  for (const auto& [word, segment] : reports)
    pending.Add(word, segment);
  return Seconds(start);
}

long PeakRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 200000;
  if (count <= 0) {
    std::fprintf(stderr, "usage: bench_checkrun [SEGMENTS]\n");
    return 2;
  }
  const std::u16string pluginDir = Utf8ToUtf16(RYVEL_PLUGIN_DIR);
  auto speller = TSpellerSpanish::Create(
      nullptr, {pluginDir, u"ru_RU", pluginDir + u"/libhunspell-adapter.so"});

  auto start = Clock::now();
  const TSegmentList segments = TProjectGenerator(20261211).Segments(count);
  std::printf("project: %d segments generated in %.2f s\n", count, Seconds(start));

  start = Clock::now();
  speller->ReloadSpecialWords();
  if (!speller->Dictionary().Load()) {
    std::fprintf(stderr, "the ru_RU dictionary could not be opened from %s\n", RYVEL_PLUGIN_DIR);
    return 2;
  }
  std::printf("special words and dictionary loaded in %.2f s (%d special words)\n", Seconds(start),
              speller->SpecialWords()->Count());

  const long rssBeforeRun = PeakRssKiB();
  const TRunFigures cold = CheckRun(*speller, segments, true);
  const long rssAfterRun = PeakRssKiB();
  std::printf("\nfirst run (empty caches): %.3f s, %.0f segments/s, %.0f examined words/s\n",
              cold.Seconds, count / cold.Seconds, cold.Words / cold.Seconds);
  std::printf("  %lld examined words, %lld reports, %d distinct unknown words\n", cold.Words,
              cold.Reports, cold.Distinct);

  // Each figure of the split is the best of five runs, which keeps other work on the machine
  // out of it.
  TRunFigures warm = CheckRun(*speller, segments, true);
  double noMergeSeconds = CheckRun(*speller, segments, false).Seconds;
  double tokenizer = TokenizerOnly(*speller, segments);
  double lookups = LookupsOnly(*speller, segments);
  double mergingAlone = MergingOnly(*speller, segments);
  for (int k = 0; k < 4; ++k) {
    const TRunFigures again = CheckRun(*speller, segments, true);
    if (again.Seconds < warm.Seconds)
      warm = again;
    noMergeSeconds = std::min(noMergeSeconds, CheckRun(*speller, segments, false).Seconds);
    tokenizer = std::min(tokenizer, TokenizerOnly(*speller, segments));
    lookups = std::min(lookups, LookupsOnly(*speller, segments));
    mergingAlone = std::min(mergingAlone, MergingOnly(*speller, segments));
  }
  // Rules: what the check costs beyond its token lists and lookups (the speller's own steps,
  // the callback).
  const double merging = mergingAlone;
  const double rules = std::max(0.0, noMergeSeconds - tokenizer - lookups);
  // Shares of the sum of the parts, which the best-of-five figures need not add up to exactly.
  const double parts = tokenizer + rules + lookups + merging;
  std::printf("\nlater run (warm caches): %.3f s, %.0f segments/s, %.0f examined words/s\n",
              warm.Seconds, count / warm.Seconds, warm.Words / warm.Seconds);
  std::printf("  time split: tokenizer %.3f s (%.0f%%), rules %.3f s (%.0f%%), lookups %.3f s "
              "(%.0f%%), merging %.3f s (%.0f%%)\n",
              tokenizer, 100 * tokenizer / parts, rules, 100 * rules / parts, lookups,
              100 * lookups / parts, merging, 100 * merging / parts);
  std::printf("  merging: %lld reports, %.2f us each; a run without merging: %.3f s\n",
              warm.Reports, 1e6 * mergingAlone / static_cast<double>(warm.Reports), noMergeSeconds);
  std::printf("  dictionary misses of the first run: %.3f s\n", cold.Seconds - warm.Seconds);
  std::printf("  lookup cache: %zu entries, %zu bytes\n",
              speller->Dictionary().LookupCacheEntries(), speller->Dictionary().LookupCacheBytes());
  std::printf("\npeak memory (ru_maxrss): %.1f MiB after the first run; %.1f MiB with the "
              "project and the dictionary loaded, before it; %.1f MiB at the end (the split "
              "measurement holds every examined word)\n",
              rssAfterRun / 1024.0, rssBeforeRun / 1024.0, PeakRssKiB() / 1024.0);
  std::printf("goal: 1,000,000 examined words/s on one core: %s\n",
              warm.Words / warm.Seconds >= 1e6 ? "met" : "NOT met");
  return 0;
}
