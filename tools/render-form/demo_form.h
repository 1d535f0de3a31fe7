// The demonstration form: every control of the component layer on one window, designed the
// way the program's own forms are (a design table, then a creation handler that fills the
// lists, the chart and the picture).
#pragma once

#include "gui/form.h"

namespace velmora::tools {

class TfrmDemo : public gui::TForm {
  VELMORA_CLASS()

 public:
  using TForm::TForm;
  void DoCreate() override;
};

}  // namespace velmora::tools
