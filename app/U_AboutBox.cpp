#include "app/U_AboutBox.h"

#include <shellapi.h>

#include "app/Texts.h"
#include "tavlox/deployment.h"

namespace tavlox::app {

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(ui::TComponent* owner) : ui::TForm(owner, "TAboutBox") {
  Name = "AboutBox";
  SetCaption(texts::kAboutCaption);
  BorderStyle = ui::TFormBorderStyle::bsDialog;
  BorderIcons = ui::biSystemMenu;
  SetClientSize(342, 184);
  Position = ui::TPosition::poScreenCenter;
  Font() = ui::TFont("MS Sans Serif", -11);

  img1 = new ui::TImage(this, this);
  img1->Name = "img1";
  img1->SetBounds(16, 24, 73, 65);
  img1->Hint = texts::kAboutCaption;
  img1->ShowHint = true;

  lbl1 = new ui::TLabel(this, this);
  lbl1->Name = "lbl1";
  lbl1->SetBounds(144, 32, 110, 13);
  lbl1->SetCaption(texts::kAboutCaption);
  lbl1->Transparent = true;

  lbl2 = new ui::TLabel(this, this);
  lbl2->Name = "lbl2";
  lbl2->SetBounds(147, 56, 50, 13);
  lbl2->SetCaption(texts::kVersion);
  lbl2->Transparent = true;

  lbl3 = new ui::TLabel(this, this);
  lbl3->Name = "lbl3";
  lbl3->SetBounds(144, 79, 109, 13);
  lbl3->SetCaption(TAVLOX_HOME_PAGE);
  lbl3->Hint = texts::kVisitHint;
  lbl3->ShowHint = true;
  lbl3->Cursor = ui::crHandPoint;
  lbl3->ParentFont = false;
  lbl3->Font() = ui::TFont("MS Sans Serif", -11, ui::clBlue);
  lbl3->Transparent = true;
  lbl3->OnClick = [this](ui::TObject* s) { lbl3Click(s); };

  skbutton1 = new skin::TskSkinButton(this, this);
  skbutton1->Name = "skbutton1";
  skbutton1->SetBounds(240, 136, 75, 25);
  skbutton1->SetCaption(texts::kOkButton);
  skbutton1->OnClick = [this](ui::TObject* s) { skbutton1Click(s); };

  skframe1 = new skin::TskSkinFrame(this);
  skframe1->Name = "skframe1";
  skframe1->BorderIcons = ui::biSystemMenu;
  skframe1->ShowIcon = false;
  skframe1->UseDefaultSysMenu = true;
}

void TAboutBox::lbl3Click(ui::TObject* Sender) {
  ShellExecuteA(Handle(), "open", TAVLOX_HOME_PAGE, nullptr, nullptr, SW_SHOW);
}

void TAboutBox::skbutton1Click(ui::TObject* Sender) { Hide(); }

}  // namespace tavlox::app
