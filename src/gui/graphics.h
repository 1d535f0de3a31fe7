// Colours and fonts of the controls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "gui/object.h"

namespace velmora::gui {

// 0x00BBGGRR for plain colours; 0xFF0000nn for the system colour with index nn.
using TColor = std::uint32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor clBtnFace = 0xFF00000F;
inline constexpr TColor clWindow = 0xFF000005;
inline constexpr TColor clWindowText = 0xFF000008;

enum TFontStyle : std::uint32_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont : public TPersistent {
  VELMORA_CLASS()

 public:
  const std::string& Name() const { return name_; }
  void SetName(std::string name);
  // Height in pixels at 96 dpi; negative means character height (as LOGFONT).
  int Height() const { return height_; }
  void SetHeight(int height);
  // Points, derived from the height at 96 dpi.
  int Size() const;
  void SetSize(int points);
  std::uint32_t Style() const { return style_; }
  void SetStyle(std::uint32_t style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  void Assign(const TFont& other);
  bool operator==(const TFont& other) const;
  void SetOnChange(std::function<void()> on_change) { on_change_ = std::move(on_change); }

 private:
  void Changed() {
    if (on_change_) on_change_();
  }
  std::string name_ = "Tahoma";
  int height_ = -11;
  std::uint32_t style_ = 0;
  TColor color_ = clWindowText;
  std::function<void()> on_change_;
};

}  // namespace velmora::gui
