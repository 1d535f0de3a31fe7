// velmora-page-shots: renders the four pages of the real main window, filled with a sample
// run, to BMP files (for the README's screenshots). Runs under Wine's virtual display or on
// Windows.
//
//   velmora-page-shots [--apps <n>] <output folder> [<language file>]
//       writes applications.bmp, statistics.bmp, settings.bmp and about.bmp, with the window
//       translated by the language file when one is given (as Velmora does at start-up);
//       --apps runs the first n (1 to 40) applications of the sample instead of four
//
// The window is TfrmMain itself, with the program's own resources and version information;
// only the process table is a sample, so the pictures do not depend on what happens to run
// on the machine. Exit code 0 on success, 1 for bad arguments, 2 when a picture failed.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
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
                          : name == "calc.exe"     ? MAKEINTRESOURCEW(32514)
                                                   : MAKEINTRESOURCEW(32512);
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
    // The default run stops here; --apps takes more of the list.
    {"chrome.exe", "Google Chrome", "Google LLC", "Google Chrome", "120.0.6099.130", 7420},
    {"firefox.exe", "Firefox", "Mozilla Corporation", "Firefox", "121.0", 3310},
    {"msedge.exe", "Microsoft Edge", "Microsoft Corporation", "Microsoft Edge", "120.0.2210.91",
     1875},
    {"outlook.exe", "Microsoft Outlook", "Microsoft Corporation", "Microsoft Office", "16.0", 5230},
    {"excel.exe", "Microsoft Excel", "Microsoft Corporation", "Microsoft Office", "16.0", 4410},
    {"powerpnt.exe", "Microsoft PowerPoint", "Microsoft Corporation", "Microsoft Office", "16.0",
     1320},
    {"teams.exe", "Microsoft Teams", "Microsoft Corporation", "Microsoft Teams", "1.6.00.33567",
     3905},
    {"code.exe", "Visual Studio Code", "Microsoft Corporation", "Visual Studio Code", "1.85.1",
     6120},
    {"devenv.exe", "Microsoft Visual Studio 2022", "Microsoft Corporation",
     "Microsoft Visual Studio", "17.8.3", 2980},
    {"slack.exe", "Slack", "Slack Technologies, LLC", "Slack", "4.35.131", 1540},
    {"spotify.exe", "Spotify", "Spotify Ltd", "Spotify", "1.2.26.1187", 2210},
    {"vlc.exe", "VLC media player", "VideoLAN", "VLC media player", "3.0.20", 860},
    {"acrord32.exe", "Adobe Acrobat Reader", "Adobe Inc.", "Adobe Acrobat Reader", "23.8.20421",
     940},
    {"photoshop.exe", "Adobe Photoshop 2024", "Adobe Inc.", "Adobe Photoshop", "25.3.1", 1780},
    {"mspaint.exe", "Paint", "Microsoft Corporation", "Windows", "10.0.19041", 310},
    {"cmd.exe", "Windows Command Processor", "Microsoft Corporation", "Windows", "10.0.19041", 450},
    {"powershell.exe", "Windows PowerShell", "Microsoft Corporation", "Windows", "10.0.19041", 690},
    {"windowsterminal.exe", "Windows Terminal", "Microsoft Corporation", "Windows Terminal",
     "1.18.3181", 1210},
    {"taskmgr.exe", "Task Manager", "Microsoft Corporation", "Windows", "10.0.19041", 180},
    {"mstsc.exe", "Remote Desktop Connection", "Microsoft Corporation", "Windows", "10.0.19041",
     1450},
    {"7zfm.exe", "7-Zip File Manager", "Igor Pavlov", "7-Zip", "23.01", 95},
    {"notepad++.exe", "Notepad++", "Don HO don.h@free.fr", "Notepad++", "8.6", 2630},
    {"putty.exe", "SSH, Telnet and Rlogin client", "Simon Tatham", "PuTTY suite", "0.80", 510},
    {"winscp.exe", "WinSCP: SFTP, FTP, WebDAV, S3 and SCP client", "Martin Prikryl", "WinSCP",
     "6.1.2", 240},
    {"keepass.exe", "KeePass", "Dominik Reichl", "KeePass", "2.55", 120},
    {"thunderbird.exe", "Thunderbird", "Mozilla Corporation", "Thunderbird", "115.6.0", 1630},
    {"zoom.exe", "Zoom Meetings", "Zoom Video Communications, Inc.", "Zoom", "5.16.10", 2050},
    {"discord.exe", "Discord", "Discord Inc.", "Discord", "1.0.9028", 1190},
    {"steam.exe", "Steam", "Valve Corporation", "Steam", "8.87.47.85", 730},
    {"obs64.exe", "OBS Studio", "OBS Project", "OBS Studio", "30.0.2", 380},
    {"gimp-2.10.exe", "GNU Image Manipulation Program", "The GIMP Team",
     "GNU Image Manipulation Program", "2.10.36", 560},
    {"audacity.exe", "Audacity", "Audacity Team", "Audacity", "3.4.2", 270},
    {"snippingtool.exe", "Snipping Tool", "Microsoft Corporation", "Windows", "10.0.19041", 65},
    {"mmc.exe", "Microsoft Management Console", "Microsoft Corporation", "Windows", "10.0.19041",
     140},
    {"regedit.exe", "Registry Editor", "Microsoft Corporation", "Windows", "10.0.19041", 85},
    {"onenote.exe", "Microsoft OneNote", "Microsoft Corporation", "Microsoft Office", "16.0", 990},
};
constexpr int kDefaultApps = 4;

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
  int apps = kDefaultApps;
  if (argc >= 3 && std::wstring_view(argv[1]) == L"--apps") {
    wchar_t* end = nullptr;
    const long n = std::wcstol(argv[2], &end, 10);
    apps =
        *end == 0 && n >= 1 && n <= static_cast<long>(std::size(kSample)) ? static_cast<int>(n) : 0;
    argc -= 2;
    argv += 2;
  }
  if (apps == 0 || (argc != 2 && argc != 3)) {
    std::fprintf(stderr,
                 "usage: velmora-page-shots [--apps <1..40>] <output folder> [<language file>]\n");
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
  for (const SampleApp& a : std::span(kSample).first(static_cast<std::size_t>(apps))) {
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
    if (form.lvApps().Count() > 1) form.lvApps().Item(1).SetSelected(true);
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
