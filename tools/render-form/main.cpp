// velmora-render-form: renders a form to a BMP file under Wine's virtual display (or on
// Windows), for reviewing how the component layer draws.
//
//   velmora-render-form <form> <output.bmp>     form: one of the names listed by --list
//
// The form is created as the program creates its forms (design, then creation handler),
// shown, painted, captured with its frame, and written as a 24-bit BMP. The exit code is 0
// on success, 1 for bad arguments, 2 when the picture could not be made or is blank.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/text.h"
#include "demo_form.h"
#include "gui/application.h"
#include "gui/win32.h"

namespace {

using namespace velmora;

const std::map<std::string, std::function<gui::TForm&(gui::TApplication&)>>& Forms() {
  static const std::map<std::string, std::function<gui::TForm&(gui::TApplication&)>> forms = {
      {"demo",
       [](gui::TApplication& app) -> gui::TForm& { return app.CreateForm<tools::TfrmDemo>(); }},
  };
  return forms;
}


}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wstring(argv[1]) == L"--list") {
    for (const auto& [name, make] : Forms()) std::printf("%s\n", name.c_str());
    return 0;
  }
  if (argc != 3 || !Forms().count(Narrow(argv[1]))) {
    std::fprintf(stderr, "usage: velmora-render-form <form> <output.bmp>   (--list for forms)\n");
    return 1;
  }
  gui::UseWin32Platform();
  gui::TApplication app;
  app.SetTitle("Velmora");
  int result = 2;
  app.Dispatch([&] {
    gui::TForm& form = Forms().at(Narrow(argv[1]))(app);
    form.Show();
    // Let every window paint (and Wine's X11 driver map them) before the capture.
    const DWORD until = GetTickCount() + 700;
    while (GetTickCount() < until) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      Sleep(20);
    }
    const auto bitmap = gui::RenderToBitmap(form);
    int colours = 0;
    if (bitmap && gui::SaveBitmapFile(bitmap.Get(), argv[2], colours) && colours > 8) result = 0;
    if (result != 0) std::fprintf(stderr, "render failed (%d colours)\n", colours);
  });
  return result;
}
