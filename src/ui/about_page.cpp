#include "ui/about_page.h"

#include "gui/label.h"

namespace velmora::ui {

AboutPage::AboutPage(gui::TLabel& text, VersionValue own_version_value)
    : text_(text), own_version_value_(std::move(own_version_value)) {}

void AboutPage::Refresh() {
  const auto value = [this](std::string_view name) {
    return own_version_value_ ? own_version_value_(name) : std::string();
  };
  text_.SetCaption(value("ProductName") + "\r\nversion " + value("ProductVersion") + "\r\n" +
                   value("LegalCopyright"));
}

}  // namespace velmora::ui
