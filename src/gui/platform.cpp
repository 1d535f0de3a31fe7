#include "gui/platform.h"

namespace velmora::gui {
namespace {

GuiPlatform* g_platform = nullptr;

}  // namespace

GuiPlatform& Platform() {
  static GuiPlatform headless;
  return g_platform ? *g_platform : headless;
}

void SetPlatform(GuiPlatform* platform) {
  g_platform = platform;
}

}  // namespace velmora::gui
