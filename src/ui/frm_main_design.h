// The main window as designed: its own properties and every component in creation order.
#pragma once

#include "gui/form.h"

namespace velmora::ui {

const gui::FormDesign& FrmMainDesign();

}  // namespace velmora::ui
