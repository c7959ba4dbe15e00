// The about box: created hidden at start-up and never shown by the program.
#pragma once

#include "skin/controls/SkinControls.h"
#include "skin/frame/SkinFrame.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

namespace tavlox::app {

class TAboutBox : public ui::TForm {
 public:
  explicit TAboutBox(ui::TComponent* owner);
  ui::TImage* img1;
  ui::TLabel* lbl1;
  ui::TLabel* lbl2;
  ui::TLabel* lbl3;
  skin::TskSkinButton* skbutton1;
  skin::TskSkinFrame* skframe1;

  void lbl3Click(ui::TObject* Sender);
  void skbutton1Click(ui::TObject* Sender);
};

extern TAboutBox* AboutBox;

}  // namespace tavlox::app
