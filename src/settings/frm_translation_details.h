// TfrmTranslationDetails: who translated a language and how to reach them. Created once at
// start-up and shown modally by the Settings page's "Details..." button, filled anew at
// every opening.
#pragma once

#include "gui/form.h"
#include "settings/settings_page.h"

namespace velmora::gui {
class TLabel;
class TLinkLabel;
}  // namespace velmora::gui

namespace velmora::settings {

class TfrmTranslationDetails : public gui::TForm {
  VELMORA_CLASS()

 public:
  explicit TfrmTranslationDetails(TComponent* owner);

  // Puts the details into the labels and the mail link.
  void Fill(const TranslationDetails& details);
  // Fills the dialog and shows it modally until "OK" (or the close box) ends it.
  void ShowDetails(const TranslationDetails& details);

  gui::TLabel& Label2() const;          // the language's native name
  gui::TLabel& Label4() const;          // the translator
  gui::TLinkLabel& LinkLabel1() const;  // the translator's mail address
};

const gui::FormDesign& FrmTranslationDetailsDesign();

}  // namespace velmora::settings
