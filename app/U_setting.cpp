#include "app/U_setting.h"

#include "app/Texts.h"

namespace tavlox::app {

TF_Setting* F_Setting = nullptr;

TF_Setting::TF_Setting(ui::TComponent* owner) : ui::TForm(owner, "TF_Setting") {
  Name = "F_Setting";
  SetCaption(texts::kSettingCaption);
  BorderStyle = ui::TFormBorderStyle::bsDialog;
  BorderIcons = ui::biSystemMenu | ui::biMinimize | ui::biMaximize;
  SetClientSize(449, 280);
  Position = ui::TPosition::poOwnerFormCenter;
  Font() = ui::TFont("MS Sans Serif", -11);

  skgroupbox1 = new skin::TskSkinGroupBox(this, this);
  skgroupbox1->Name = "skgroupbox1";
  skgroupbox1->SetBounds(34, 24, 392, 201);
  skgroupbox1->SetCaption(texts::kSettingGroup);

  skbutton1 = new skin::TskSkinButton(this, this);
  skbutton1->Name = "skbutton1";
  skbutton1->SetBounds(352, 240, 75, 25);
  skbutton1->SetCaption(texts::kOkButton);

  skframe1 = new skin::TskSkinFrame(this);
  skframe1->Name = "skframe1";
  skframe1->BorderIcons = ui::biSystemMenu | ui::biMinimize | ui::biMaximize;
  skframe1->RollUp = true;
  skframe1->ShowIcon = false;
  skframe1->UseDefaultSysMenu = true;
}

}  // namespace tavlox::app
