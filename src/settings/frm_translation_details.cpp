#include "settings/frm_translation_details.h"

#include "gui/bevel.h"
#include "gui/button.h"
#include "gui/image.h"
#include "gui/label.h"
#include "gui/link_label.h"

namespace velmora::settings {

using namespace gui;

namespace {

DesignComponent Text(std::string name, int left, int top, std::string caption, bool bold = false) {
  DesignComponent label{DesignClass<TLabel>(),
                        std::move(name),
                        "",
                        {{"Left", std::to_string(left)},
                         {"Top", std::to_string(top)},
                         {"Width", std::to_string(385 - 8 - left)},
                         {"Caption", std::move(caption)}}};
  if (bold) label.properties.push_back({"Font.Style", "[fsBold]"});
  return label;
}

}  // namespace

const FormDesign& FrmTranslationDetailsDesign() {
  static const FormDesign design{{{"Caption", "Translation Details"},
                                  {"ClientWidth", "385"},
                                  {"ClientHeight", "162"},
                                  {"BorderStyle", "bsDialog"},
                                  {"BorderIcons", "[]"},
                                  {"Position", "poScreenCenter"},
                                  {"Color", "clBtnFace"},
                                  {"Font.Name", "Tahoma"},
                                  {"Font.Height", "-11"}},
                                 {
                                     {DesignClass<TImage>(),
                                      "Image1",
                                      "",
                                      {{"Left", "8"},
                                       {"Top", "8"},
                                       {"Width", "65"},
                                       {"Height", "65"},
                                       {"Stretch", "True"},
                                       {"Transparent", "True"},
                                       {"Picture.ResourceName", "#101"}}},
                                     Text("Label1", 80, 8, "Translation language"),
                                     Text("Label2", 104, 27, "Label2", true),
                                     Text("Label3", 79, 46, "Translation author"),
                                     Text("Label4", 103, 65, "Label4", true),
                                     Text("Label5", 79, 84, "Author's e-mail"),
                                     {DesignClass<TLinkLabel>(),
                                      "LinkLabel1",
                                      "",
                                      {{"Left", "104"},
                                       {"Top", "103"},
                                       {"Width", "273"},
                                       {"Caption", "LinkLabel1"},
                                       {"HREF", "mailto:support@orindel.example"}}},
                                     {DesignClass<TBevel>(),
                                      "Bevel1",
                                      "",
                                      {{"Left", "0"},
                                       {"Top", "120"},
                                       {"Width", "385"},
                                       {"Height", "42"},
                                       {"Shape", "bsTopLine"}}},
                                     {DesignClass<TButton>(),
                                      "Button1",
                                      "",
                                      {{"Left", "300"},
                                       {"Top", "128"},
                                       {"Width", "75"},
                                       {"Height", "25"},
                                       {"Caption", "OK"},
                                       {"Default", "True"},
                                       {"Cancel", "True"},
                                       {"ModalResult", "1"},
                                       {"TabOrder", "0"}}},
                                 }};
  return design;
}

const ClassInfo& TfrmTranslationDetails::StaticClass() {
  static const ClassInfo info = MakeClass<TfrmTranslationDetails>(
      "TfrmTranslationDetails", TForm::StaticClass(), {}, &FrmTranslationDetailsDesign());
  return info;
}

TfrmTranslationDetails::TfrmTranslationDetails(TComponent* owner) : TForm(owner) {
  SetName("frmTranslationDetails");
}

TLabel& TfrmTranslationDetails::Label2() const {
  return Get<TLabel>("Label2");
}

TLabel& TfrmTranslationDetails::Label4() const {
  return Get<TLabel>("Label4");
}

TLinkLabel& TfrmTranslationDetails::LinkLabel1() const {
  return Get<TLinkLabel>("LinkLabel1");
}

void TfrmTranslationDetails::Fill(const TranslationDetails& details) {
  Label2().SetCaption(details.native_name);
  Label4().SetCaption(details.translator);
  LinkLabel1().SetCaption(details.email);
  LinkLabel1().SetHREF(details.mail_target);
}

void TfrmTranslationDetails::ShowDetails(const TranslationDetails& details) {
  Fill(details);
  ShowModal();
}

}  // namespace velmora::settings
