// Benchmarks the query search's regex path over a bank-sized text: RegexObject::Create plus
// MatchCount, as the search runs it on every keystroke, against a bare PCRE2-JIT loop over the
// same UTF-16 text. The goal is our whole path within twice the bare loop.
//
// The bank is synthetic: 14 MiB of code page 936 lines "question?answer\r\n" of CJK text, a
// few of whose questions hold the two-character key.
#include <benchmark/benchmark.h>

// Only the reference loop below uses PCRE2 directly: it is a measuring stick for the
// product's path, not product code.
#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "platform/cp936.h"
#include "platform/regex/regexp_component.h"
#include "search/regex_object.h"

namespace {

constexpr std::size_t kBankBytes = std::size_t{14} << 20;
constexpr std::u16string_view kKey = u"\u4E2D\u6587";  // 中文
// One question in this many holds the key.
constexpr std::uint32_t kKeyEvery = 1000;

struct Bank {
  quivella::Text text;         // code page 936, as the program holds it
  quivella::Text pattern;      // the search pattern for kKey, code page 936
  std::u16string units;        // text in UTF-16 without a terminator
  std::u16string pattern16;    // the same pattern in UTF-16
};

std::uint32_t Next(std::mt19937& rng) { return static_cast<std::uint32_t>(rng()); }

// Appends count CJK characters that are not the key's.
void AppendCjk(std::u16string& out, std::mt19937& rng, std::uint32_t count) {
  for (std::uint32_t i = 0; i < count; ++i) {
    char16_t c = static_cast<char16_t>(0x4E00 + Next(rng) % 0x5000);
    if (c == kKey[0] || c == kKey[1]) {
      c = u'\u4E00';
    }
    out.push_back(c);
  }
}

const Bank& GetBank() {
  static const Bank bank = [] {
    Bank b;
    std::mt19937 rng(936);
    std::u16string text;
    // Each CJK character takes two bytes in code page 936.
    while (text.size() * 2 < kBankBytes) {
      AppendCjk(text, rng, 6 + Next(rng) % 20);
      if (Next(rng) % kKeyEvery == 0) {
        text += kKey;
        AppendCjk(text, rng, Next(rng) % 5);
      }
      text += u"?";
      AppendCjk(text, rng, 2 + Next(rng) % 12);
      text += u"\r\n";
    }
    b.text = quivella::FromUtf16(text);
    b.units = std::move(text);
    b.pattern16 = u"(.*" + std::u16string(kKey) + u".*\\?)(.*)\\n";
    b.pattern = quivella::FromUtf16(b.pattern16);
    return b;
  }();
  return bank;
}

// The program's path: conversion (reused for the same text), component, compile (reused for
// the same pattern), search, count.
void BM_RegexObjectSearch(benchmark::State& state) {
  const Bank& bank = GetBank();
  quivella::RegexObject matcher;
  for (auto _ : state) {
    const bool ok = matcher.Create(bank.pattern, bank.text);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(matcher.MatchCount());
  }
  state.counters["matches"] = matcher.MatchCount();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bank.text.size()));
}
BENCHMARK(BM_RegexObjectSearch)->Unit(benchmark::kMillisecond);

// The component alone over a shared UTF-16 subject: RegexObject's own share is the difference.
void BM_ComponentExecute(benchmark::State& state) {
  const Bank& bank = GetBank();
  const auto subject = std::make_shared<const std::u16string>(bank.units);
  int count = 0;
  for (auto _ : state) {
    quivella::platform::RegExp regExp;
    regExp.SetIgnoreCase(true);
    regExp.SetMultiline(true);
    regExp.SetGlobal(true);
    regExp.SetPattern(bank.pattern16);
    const auto matches = regExp.Execute(subject);
    count = matches ? matches->Count() : -1;
    benchmark::DoNotOptimize(count);
  }
  state.counters["matches"] = count;
}
BENCHMARK(BM_ComponentExecute)->Unit(benchmark::kMillisecond);

// The reference: PCRE2's JIT on the plain pattern with the same options, and the global loop.
void BM_RawPcre2JitLoop(benchmark::State& state) {
  const Bank& bank = GetBank();
  pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
  pcre2_set_newline(context, PCRE2_NEWLINE_LF);
  int error = 0;
  PCRE2_SIZE offset = 0;
  pcre2_code* code =
      pcre2_compile(reinterpret_cast<PCRE2_SPTR>(bank.pattern16.data()), bank.pattern16.size(),
                    PCRE2_CASELESS | PCRE2_UCP | PCRE2_NEVER_UTF, &error, &offset, context);
  if (code == nullptr || pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) != 0) {
    state.SkipWithError("PCRE2 compile failed");
    return;
  }
  pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
  const auto* subject = reinterpret_cast<PCRE2_SPTR>(bank.units.data());
  const PCRE2_SIZE length = bank.units.size();
  int count = 0;
  for (auto _ : state) {
    count = 0;
    PCRE2_SIZE start = 0;
    while (start <= length &&
           pcre2_jit_match(code, subject, length, start, 0, data, nullptr) > 0) {
      const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
      ++count;
      start = ovector[1] == ovector[0] ? ovector[1] + 1 : ovector[1];
    }
    benchmark::DoNotOptimize(count);
  }
  state.counters["matches"] = count;
  pcre2_match_data_free(data);
  pcre2_code_free(code);
  pcre2_compile_context_free(context);
}
BENCHMARK(BM_RawPcre2JitLoop)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
