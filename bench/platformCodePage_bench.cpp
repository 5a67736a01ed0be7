// The code-page conversions and the lower-case map run once per text of a
// downloads list (100,000 downloads, up to 400,000 texts for the filter).
// Each is measured beside iconv with a cached descriptor, the obvious way to
// do the same job, under the code page the environment chooses (run it under
// LANG=C.UTF-8 and LANG=ru_RU.CP1251).
#include <benchmark/benchmark.h>
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

using brimlow::platform::system;

std::vector<std::u16string> wideTexts() {
  std::vector<std::u16string> texts;
  for (int i = 0; i < 1000; ++i) {
    texts.push_back(u"http://files.example.org/pub/releases/archive-" +
                    std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u".zip");
    texts.push_back(u"C:\\Users\\Иван\\Загрузки\\Отчет за квартал " +
                    std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u".pdf");
  }
  return texts;
}

std::vector<std::string> ansiTexts() {
  std::vector<std::string> texts;
  for (const std::u16string& text : wideTexts())
    texts.push_back(system().wideToAnsi(text));
  return texts;
}

const char* codeset() {
  return system().activeCodePage() == 65001 ? "UTF-8" : "CP1251";
}

void WideToAnsi(benchmark::State& state) {
  const auto texts = wideTexts();
  for (auto _ : state) {
    for (const auto& text : texts)
      benchmark::DoNotOptimize(system().wideToAnsi(text));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(WideToAnsi);

void WideToAnsiIconvPeer(benchmark::State& state) {
  const auto texts = wideTexts();
  const iconv_t converter = ::iconv_open(codeset(), "UTF-16LE");
  std::string out;
  for (auto _ : state) {
    for (const auto& text : texts) {
      out.resize(text.size() * 4);
      char* in = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
      size_t inLeft = text.size() * 2;
      char* outPointer = out.data();
      size_t outLeft = out.size();
      ::iconv(converter, &in, &inLeft, &outPointer, &outLeft);
      out.resize(out.size() - outLeft);
      benchmark::DoNotOptimize(out);
    }
  }
  ::iconv_close(converter);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(WideToAnsiIconvPeer);

void AnsiToWide(benchmark::State& state) {
  const auto texts = ansiTexts();
  for (auto _ : state) {
    for (const auto& text : texts)
      benchmark::DoNotOptimize(system().ansiToWide(text));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(AnsiToWide);

void LowerCase(benchmark::State& state) {
  const auto texts = ansiTexts();
  for (auto _ : state) {
    for (const auto& text : texts)
      benchmark::DoNotOptimize(system().lowerCase(text));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(LowerCase);

// The peer lowers through the C library's wide characters, one by one.
void LowerCaseTowlowerPeer(benchmark::State& state) {
  const auto texts = wideTexts();
  const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  for (auto _ : state) {
    for (const auto& text : texts) {
      std::u16string lower(text);
      for (char16_t& c : lower)
        c = static_cast<char16_t>(::towlower_l(c, utf8));
      benchmark::DoNotOptimize(lower);
    }
  }
  ::freelocale(utf8);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(LowerCaseTowlowerPeer);

}  // namespace

BENCHMARK_MAIN();
