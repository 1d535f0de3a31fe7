// velmora-page-shots: renders the four pages of the real main window, filled with a sample
// run, to BMP files (for the README's screenshots). Runs under Wine's virtual display or on
// Windows.
//
//   velmora-page-shots <output folder> [<language file>]
//       writes applications.bmp, statistics.bmp, settings.bmp and about.bmp, with the window
//       translated by the language file when one is given (as Velmora does at start-up)
//
// The window is TfrmMain itself, with the program's own resources and version information;
// only the process table is a sample, so the pictures do not depend on what happens to run
// on the machine. Exit code 0 on success, 1 for bad arguments, 2 when a picture failed.
#include <windows.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/text.h"
#include "gui/application.h"
#include "gui/list_view.h"
#include "gui/timer.h"
#include "gui/win32.h"
#include "localizer/component_translation.h"
#include "localizer/localizer.h"
#include "metadata/platform_version.h"
#include "tracking/fake_process_inspector.h"
#include "ui/frm_main.h"

namespace {

using namespace velmora;

// The sample table, with the system's stock icons standing in for the applications' own.
class SampleInspector : public tracking::FakeProcessInspector {
 public:
  tracking::ProcessIcon ExtractProcessIcon(std::string_view image_path) override {
    const std::string name(tracking::ProcessFileName(image_path));
    const LPCWSTR stock = name == "notepad.exe"    ? MAKEINTRESOURCEW(32516)
                          : name == "winword.exe"  ? MAKEINTRESOURCEW(32515)
                          : name == "explorer.exe" ? MAKEINTRESOURCEW(32517)
                                                   : MAKEINTRESOURCEW(32514);
    HICON icon = CopyIcon(LoadIconW(nullptr, stock));
    if (!icon) return tracking::NoProcessIcon();
    return tracking::ProcessIcon(icon, [](void* h) { DestroyIcon(static_cast<HICON>(h)); });
  }
};

struct SampleApp {
  const char* exe;
  const char* description;
  const char* company;
  const char* product;
  const char* version;
  int seconds;
};

constexpr SampleApp kSample[] = {
    {"notepad.exe", "Notepad", "Microsoft Corporation", "Windows", "10.0.19041", 4329},
    {"winword.exe", "Microsoft Word", "Microsoft Corporation", "Microsoft Office", "16.0", 9015},
    {"explorer.exe", "Windows Explorer", "Microsoft Corporation", "Windows", "10.0.19041", 2700},
    {"calc.exe", "Calculator", "Microsoft Corporation", "Windows", "10.0.19041", 221},
};

void Pump(DWORD ms) {
  const DWORD until = GetTickCount() + ms;
  while (GetTickCount() < until) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(20);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: velmora-page-shots <output folder> [<language file>]\n");
    return 1;
  }
  const std::wstring folder = argv[1];
  gui::UseWin32Platform();
  localizer::TLocalizer& engine = localizer::Localizer();
  if (argc == 3) {
    // Problems of the file make the pictures worthless: they are reported and fail the run.
    engine.ErrorMode = localizer::emCollect;
    localizer::SetAutoTranslate(engine, true);
    engine.LoadLanguageFile(Narrow(argv[2]));
    for (const std::string& problem : engine.Errors) std::fprintf(stderr, "%s\n", problem.c_str());
    if (!engine.Errors.empty()) return 2;
  }

  tracking::UsageLedger ledger;
  SampleInspector inspector;
  std::map<std::string, ui::DetailsFields> versions;
  tracking::ProcessId pid = 100;
  for (const SampleApp& a : kSample) {
    const std::string path = std::string("C:\\Program Files\\Sample\\") + a.exe;
    inspector.AddProcess(pid++, path);
    versions[path] = {a.description, a.company, a.product, a.version};
    ledger.AddProcessTime(a.exe, a.seconds);
  }
  TKeltoVersionInfo ver_info(PlatformVersionSource(), PlatformModuleLocator());

  gui::TApplication app;
  app.SetTitle("Velmora");
  ui::TfrmMainServices services;
  services.ledger = &ledger;
  services.inspector = &inspector;
  services.read_details = [&versions](const std::string& path) { return versions.at(path); };
  services.own_version_value = [&ver_info](std::string_view name) {
    return ver_info.GetString(name);
  };
  ui::TfrmMain::SetServices(std::move(services));

  int result = 0;
  app.Dispatch([&] {
    auto& form = app.CreateForm<ui::TfrmMain>();
    form.tmrRefresh().SetEnabled(false);
    form.RefreshApplicationList();
    form.lvApps().Item(1).SetSelected(true);
    const HWND window = reinterpret_cast<HWND>(form.Handle());
    SendMessageW(window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                                     IMAGE_ICON, 16, 16, LR_SHARED)));
    form.Show();
    const struct {
      const wchar_t* file;
      void (ui::TfrmMain::*press)();
    } pages[] = {{L"applications.bmp", &ui::TfrmMain::NavBar1Pages0Buttons0Click},
                 {L"statistics.bmp", &ui::TfrmMain::NavBar1Pages0Buttons1Click},
                 {L"settings.bmp", &ui::TfrmMain::NavBar1Pages0Buttons2Click},
                 {L"about.bmp", &ui::TfrmMain::NavBar1Pages0Buttons3Click}};
    for (const auto& page : pages) {
      (form.*page.press)();
      Pump(600);
      const auto bitmap = gui::RenderToBitmap(form);
      int colours = 0;
      // Fewer than 8 colours: a blank capture.
      if (!bitmap || !gui::SaveBitmapFile(bitmap.Get(), folder + L"\\" + page.file, colours) ||
          colours < 8) {
        std::fprintf(stderr, "render of %ls failed\n", page.file);
        result = 2;
      }
    }
  });
  if (!engine.Errors.empty()) {
    for (const std::string& problem : engine.Errors) std::fprintf(stderr, "%s\n", problem.c_str());
    result = 2;
  }
  localizer::SetAutoTranslate(engine, false);
  return result;
}
