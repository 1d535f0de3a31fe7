// TImage: a picture. The picture is either a bitmap resource of the executable (by name) or
// pixels given by code (32-bit, 0xAARRGGBB, top row first).
#pragma once

#include <cstdint>
#include <vector>

#include "gui/control.h"

namespace velmora::gui {

class TPicture : public TPersistent {
  VELMORA_CLASS()

 public:
  const std::string& ResourceName() const { return resource_; }
  void SetResourceName(std::string name);
  void SetPixels(int width, int height, std::vector<std::uint32_t> argb);
  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::vector<std::uint32_t>& Pixels() const { return pixels_; }
  void SetOnChange(std::function<void()> on_change) { on_change_ = std::move(on_change); }

 private:
  std::string resource_;
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
  std::function<void()> on_change_;
};

class TImage : public TControl {
  VELMORA_CLASS()

 public:
  explicit TImage(TComponent* owner);
  TPicture& Picture() { return picture_; }
  const TPicture& Picture() const { return picture_; }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch);
  bool Center() const { return center_; }
  void SetCenter(bool center);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }

 private:
  TPicture picture_;
  bool stretch_ = false;
  bool center_ = false;
  bool transparent_ = false;
};

}  // namespace velmora::gui
