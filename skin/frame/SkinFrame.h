// The skinned window frame component of a form. Until a skin is attached the form keeps the
// platform's standard frame; the component carries the frame's settings.
#pragma once

#include "ui/Forms.h"

namespace tavlox::skin {

class TskSkinFrame : public ui::TComponent {
 public:
  explicit TskSkinFrame(ui::TComponent* owner) : ui::TComponent(owner) {}
  unsigned BorderIcons = ui::biSystemMenu | ui::biMinimize | ui::biMaximize;
  bool Sizeable = true;
  bool DraggAble = false;
  bool Magnetic = false;
  bool ShowIcon = true;
  bool AlphaBlend = false;
  bool UseDefaultSysMenu = true;
  bool RollUp = false;
};

}  // namespace tavlox::skin
