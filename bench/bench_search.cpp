// The whole keystroke path without a view: pattern, match, conversions, duplicate test and list
// fill, over the delivered banks and over synthetic banks 10, 100 and 1000 times kjxs.txt.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "bench/bench_banks.h"
#include "platform/cp936.h"
#include "search/query_search.h"

namespace quivella {
namespace {

using bench::ReadResource;
using bench::SyntheticBank;

const Text& Bank(int which) {
  static std::map<int, Text> banks;
  auto it = banks.find(which);
  if (it == banks.end()) {
    Text bank = which == -1  ? ReadResource("sjqy.txt")
                : which == 0 ? ReadResource("kjxs.txt")
                             : SyntheticBank(which);
    it = banks.emplace(which, std::move(bank)).first;
  }
  return it->second;
}

const char* BankName(int which) {
  switch (which) {
    case -1: return "sjqy";
    case 0: return "kjxs";
    case 10: return "kjxs_x10";
    case 100: return "kjxs_x100";
    default: return "kjxs_x1000";
  }
}

struct Query {
  const char* name;
  const char16_t* text;
};

const Query kQueries[] = {
    {"empty", u""},
    {"cjk1", u"国"},
    {"cjk2", u"中国"},
    {"ascii", u"a"},
    {"regex", u"[0-9]+.*年"},
};

void BM_Keystroke(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  const Query& query = kQueries[state.range(1)];
  const Text& bank = Bank(which);
  const Text typed = QueryTextFromUtf16(query.text);
  RegexObject matcher;
  ResultListModel list;
  // The first search after a selection converts the bank; keystrokes after it reuse that.
  RunQuerySearch(matcher, bank, typed, list);
  for (auto _ : state) {
    benchmark::DoNotOptimize(RunQuerySearch(matcher, bank, typed, list));
  }
  state.counters["rows"] = list.RowCount();
  state.counters["bytes"] = static_cast<double>(bank.size());
  state.SetLabel(std::string(BankName(which)) + "/" + query.name);
}

void Banks(benchmark::internal::Benchmark* b) {
  for (int which : {-1, 0, 10, 100, 1000}) {
    for (int q = 0; q < static_cast<int>(std::size(kQueries)); ++q) {
      b->Args({which, q});
    }
  }
}

BENCHMARK(BM_Keystroke)->Apply(Banks)->Unit(benchmark::kMillisecond)->MinTime(0.2);

// The first keystroke after a selection: the bank's UTF-16 form is made afresh.
void BM_FirstKeystrokeAfterSelection(benchmark::State& state) {
  const Text& bank = Bank(static_cast<int>(state.range(0)));
  const Text typed = QueryTextFromUtf16(u"中国");
  ResultListModel list;
  for (auto _ : state) {
    RegexObject matcher;
    benchmark::DoNotOptimize(RunQuerySearch(matcher, bank, typed, list));
  }
  state.SetLabel(BankName(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_FirstKeystrokeAfterSelection)->Arg(0)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quivella

BENCHMARK_MAIN();
