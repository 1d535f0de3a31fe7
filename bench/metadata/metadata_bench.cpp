// One ReadFileInfo through the portable reader, for a small executable and for large ones.
// The reader reads only the headers, the resource directory and the resource, so the figures
// should be about the same for all three.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "metadata/pe_version_reader.h"
#include "metadata/version_info.h"

namespace {

const std::string kFixtures = VELMORA_BENCH_FIXTURES;

// two_translations.exe with 32 MiB appended, as installers and self-extracting archives carry.
const std::string& OverlayFile() {
  static const std::string path = [] {
    const std::string out =
        (std::filesystem::temp_directory_path() / "velmora_bench_overlay.exe").string();
    std::filesystem::copy_file(kFixtures + "/two_translations.exe", out,
                               std::filesystem::copy_options::overwrite_existing);
    std::ofstream file(out, std::ios::binary | std::ios::app);
    const std::string chunk(1 << 20, '\x5A');
    for (int i = 0; i < 32; ++i)
      file.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    return out;
  }();
  return path;
}

void ReadOnce(benchmark::State& state, const std::string& path) {
  const velmora::PortableVersionSource source;
  velmora::TDWFileInfo info;
  for (auto _ : state) {
    velmora::ReadFileInfo(source, path, info);
    benchmark::DoNotOptimize(info);
  }
  state.counters["file_size"] =
      benchmark::Counter(static_cast<double>(std::filesystem::file_size(path)),
                         benchmark::Counter::kDefaults, benchmark::Counter::OneK::kIs1024);
}

void BM_ReadFileInfo_Small(benchmark::State& state) {
  ReadOnce(state, kFixtures + "/two_translations.exe");
}
void BM_ReadFileInfo_LargeOverlay(benchmark::State& state) {
  ReadOnce(state, OverlayFile());
}
void BM_ReadFileInfo_LargeSection(benchmark::State& state) {
  ReadOnce(state, kFixtures + "/large_section.exe");
}

BENCHMARK(BM_ReadFileInfo_Small);
BENCHMARK(BM_ReadFileInfo_LargeOverlay);
BENCHMARK(BM_ReadFileInfo_LargeSection);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove(std::filesystem::temp_directory_path() / "velmora_bench_overlay.exe",
                          ignored);
  return 0;
}
