// What loading a language file costs, and what one resource-string fetch costs once a table
// of translations is in front of the built-in texts.
//
// Load: a generated file of 5,000 entries (4,000 component entries in 40 sections and a
// [RESOURCESTRINGS] block of 1,000), in the quoted notation (two-line values with
// character codes) or the humanized one. Lookup: LoadResString of an identifier that the
// table has (translated) or lacks (built-in fallback), and TryGetString alone, for tables
// of 100 to 10,000 entries.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/resource_strings.h"
#include "localizer/localizer.h"

namespace velmora::localizer {
namespace {

constexpr int kSections = 40, kEntriesPerSection = 100, kResourceStrings = 1000;

constexpr BuiltinString kBuiltins[] = {{1, "Built-in one"}, {3, "Built-in three"}};
VELMORA_BUILTIN_STRINGS(kBuiltins);

std::filesystem::path TempFile(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("velmora-loc-bench-" + std::to_string(getpid()) + "-" + name);
}

// Identifiers 2, 4, 6, ...: odd identifiers are missing from the table.
std::string ResourceBlock(int count, bool humanized) {
  std::string block = "[RESOURCESTRINGS]\n";
  for (int i = 1; i <= count; ++i) {
    block += std::to_string(2 * i) + "_SMessage" + std::to_string(i) + "=" +
             (humanized ? "Message number " + std::to_string(i) + "\\second line\n"
                        : "'Message number " + std::to_string(i) + "'#13#10'second line'\n");
  }
  return block;
}

std::string GenerateFile(bool humanized) {
  std::string text(kLanguageFileSignature);
  text += humanized ? "\nHumanize=1\n" : "\n";
  text += "[General]\nLangNameEng=Benchmark\n";
  for (int s = 0; s < kSections; ++s) {
    text += "[TForm" + std::to_string(s) + "]\n";
    for (int e = 0; e < kEntriesPerSection; ++e) {
      const std::string n = std::to_string(e);
      text += "Label" + n + ".Caption{original text}=" +
              (humanized ? "Translated caption " + n + "\\with a second line\n"
                         : "'Translated caption " + n + "' 'with a second line'\n");
    }
  }
  return text + ResourceBlock(kResourceStrings, humanized);
}

void BM_LoadLanguageFile(benchmark::State& state) {
  const bool humanized = state.range(0) != 0;
  const std::filesystem::path path = TempFile(humanized ? "humanized.lng" : "quoted.lng");
  const std::string text = GenerateFile(humanized);
  std::ofstream(path, std::ios::binary) << text;
  TLocalizer engine;
  engine.ErrorMode = emCollect;
  for (auto _ : state) {
    engine.LoadLanguageFile(path.string());
    benchmark::DoNotOptimize(engine.Sections().data());
  }
  if (!engine.Errors.empty() || engine.Sections().size() != kSections + 1) {
    state.SkipWithError("the generated file did not load cleanly");
  }
  state.SetLabel(humanized ? "humanized" : "quoted");
  state.counters["entries"] = kSections * kEntriesPerSection + kResourceStrings;
  state.counters["bytes"] = static_cast<double>(text.size());
  state.counters["entries/s"] =
      benchmark::Counter(kSections * kEntriesPerSection + kResourceStrings,
                         benchmark::Counter::kIsIterationInvariantRate);
  std::filesystem::remove(path);
}
BENCHMARK(BM_LoadLanguageFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// range(0): entries in the table; range(1): 0 = fetch a translated identifier, 1 = fetch
// one the table lacks (built-in text), 2 = TryGetString alone.
void BM_ResourceStringLookup(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::filesystem::path path = TempFile("lookup.lng");
  std::ofstream(path, std::ios::binary)
      << std::string(kLanguageFileSignature) + "\n" + ResourceBlock(count, false);
  TLocalizer engine;
  engine.LoadLanguageFile(path.string());
  std::filesystem::remove(path);
  const int mode = static_cast<int>(state.range(1));
  std::string text;
  for (auto _ : state) {
    if (mode == 0) {
      text = LoadResString(2);
    } else if (mode == 1) {
      text = LoadResString(3);
    } else {
      benchmark::DoNotOptimize(engine.ResStringer().TryGetString(2, text));
    }
    benchmark::DoNotOptimize(text.data());
  }
  const char* expected = mode == 1 ? "Built-in three" : "Message number 1\r\nsecond line";
  if (text != expected) state.SkipWithError("unexpected text");
  state.SetLabel(mode == 0 ? "translated" : mode == 1 ? "built-in fallback" : "TryGetString");
}
BENCHMARK(BM_ResourceStringLookup)->ArgsProduct({{100, 1000, 10000}, {0, 1, 2}});

}  // namespace
}  // namespace velmora::localizer

BENCHMARK_MAIN();
