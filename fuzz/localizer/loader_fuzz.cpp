// Any bytes as a language file: the loader must end in reports, never in a crash, a hang or
// unbounded memory, and must leave consistent sections and a searchable table behind.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/resource_strings.h"
#include "localizer/localizer.h"

namespace {

// The loader reads files, so each input goes through one scratch file in memory-backed
// storage where there is some; it is removed when the fuzzer ends.
struct ScratchFile {
  ScratchFile() {
    const char* shm = "/dev/shm";
    const std::string folder = access(shm, W_OK) == 0 ? shm : ".";
    path = folder + "/velmora-loader-fuzz-" + std::to_string(getpid()) + ".lng";
  }
  ~ScratchFile() { std::remove(path.c_str()); }
  std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora::localizer;
  static const ScratchFile scratch;
  const std::string& path = scratch.path;
  if (size == 0) return 0;
  // The first byte picks the error mode: the collect mode sees every report, the raise
  // mode leaves at the first one.
  const bool raise = data[0] & 1;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  std::fwrite(data + 1, 1, size - 1, file);
  std::fclose(file);

  TLocalizer engine;
  engine.ErrorMode = raise ? emRaise : emCollect;
  engine.AutoTranslate = true;
  int translated = 0;
  engine.TranslateForms = [&](TLocalizer&) { ++translated; };
  try {
    engine.LoadLanguageFile(path);
  } catch (const EParvekError&) {
    if (!raise) std::abort();
  }
  for (const TResForm& section : engine.Sections()) {
    if (section.Paths.size() != section.Values.size()) std::abort();
    for (const std::string& p : section.Paths) {
      if (p.empty()) std::abort();
    }
  }
  // A completed load translated the forms once; a stopped one did not.
  if (translated != (engine.LanguageFile().empty() ? 0 : 1)) std::abort();
  if (const auto& table = engine.ResStringer().Table()) {
    for (const TResStringer::Entry& entry : *table) {
      std::string text;
      // Whatever the order, a lookup ends and finds only an entry of that identifier.
      if (engine.ResStringer().TryGetString(entry.Identifier, text)) {
        (void)velmora::LoadResString(entry.Identifier);
      }
    }
    if (table->empty() && engine.ResStringer().Enabled()) std::abort();
  }
  return 0;
}
