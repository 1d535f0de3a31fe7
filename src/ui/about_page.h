// The About page: the program's own product name, version and copyright line, read from
// its version information each time the page is brought to the front.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velmora::gui {
class TLabel;
}  // namespace velmora::gui

namespace velmora::ui {

class AboutPage {
 public:
  // A value ("ProductName" ...) of the program's own version information; "" when there is
  // none.
  using VersionValue = std::function<std::string(std::string_view name)>;

  AboutPage(gui::TLabel& text, VersionValue own_version_value);
  AboutPage(const AboutPage&) = delete;
  AboutPage& operator=(const AboutPage&) = delete;

  // "<ProductName>\r\nversion <ProductVersion>\r\n<LegalCopyright>"
  void Refresh();

 private:
  gui::TLabel& text_;
  VersionValue own_version_value_;
};

}  // namespace velmora::ui
