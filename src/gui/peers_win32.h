// The peer factories of the Win32 controls (one per control source file).
#pragma once

#include <memory>

#include "gui/platform.h"

namespace velmora::gui {
class TControl;
}

namespace velmora::gui::win32 {

std::unique_ptr<ControlPeer> MakeFormPeer(TControl& control);
std::unique_ptr<ControlPeer> MakePanelPeer(TControl& control);
std::unique_ptr<ControlPeer> MakeGroupBoxPeer(TControl& control);
std::unique_ptr<ControlPeer> MakeLabelPeer(TControl& control);
std::unique_ptr<ControlPeer> MakeLinkLabelPeer(TControl& control);
std::unique_ptr<ControlPeer> MakeButtonPeer(TControl& control);
std::unique_ptr<ControlPeer> MakeCheckBoxPeer(TControl& control);
std::unique_ptr<ControlPeer> MakeRadioButtonPeer(TControl& control);
std::unique_ptr<ControlPeer> MakeComboBoxPeer(TControl& control);
std::unique_ptr<ControlPeer> MakeSpinEditPeer(TControl& control);
std::unique_ptr<ControlPeer> MakeListViewPeer(TControl& control);
std::unique_ptr<ControlPeer> MakeNavBarPeer(TControl& control);
std::unique_ptr<ControlPeer> MakeBevelPeer(TControl& control);
std::unique_ptr<ControlPeer> MakeImagePeer(TControl& control);
std::unique_ptr<ControlPeer> MakeChartPeer(TControl& control);

}  // namespace velmora::gui::win32
