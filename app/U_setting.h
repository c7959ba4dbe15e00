// The settings dialog: created hidden at start-up and never shown by the program.
#pragma once

#include "skin/controls/SkinControls.h"
#include "skin/frame/SkinFrame.h"
#include "ui/Forms.h"

namespace tavlox::app {

class TF_Setting : public ui::TForm {
 public:
  explicit TF_Setting(ui::TComponent* owner);
  skin::TskSkinGroupBox* skgroupbox1;
  skin::TskSkinButton* skbutton1;
  skin::TskSkinFrame* skframe1;
};

extern TF_Setting* F_Setting;

}  // namespace tavlox::app
