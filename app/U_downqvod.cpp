#include "app/U_downqvod.h"

#include "app/Texts.h"

namespace tavlox::app {

TF_downqvod* F_downqvod = nullptr;

TF_downqvod::TF_downqvod(ui::TComponent* owner) : ui::TForm(owner, "TF_downqvod") {
  Name = "F_downqvod";
  SetCaption(texts::kDownloadCaption);
  SetClientSize(415, 132);
  Position = ui::TPosition::poDesktopCenter;
  BorderIcons = ui::biSystemMenu;
  Font() = ui::TFont("MS Sans Serif", -11);

  lbl1 = new ui::TLabel(this, this);
  lbl1->Name = "lbl1";
  lbl1->SetBounds(136, 26, 145, 13);
  lbl1->SetCaption(texts::kDownloading);
  lbl1->Transparent = true;

  pb1 = new ui::TProgressBar(this, this);
  pb1->Name = "pb1";
  pb1->SetBounds(16, 56, 385, 17);
  pb1->SetRange(0, 100);
  pb1->SetPosition(0);

  skframe1 = new skin::TskSkinFrame(this);
  skframe1->Name = "skframe1";
  skframe1->BorderIcons = ui::biSystemMenu;
  skframe1->ShowIcon = false;
  skframe1->UseDefaultSysMenu = true;
  skframe1->Sizeable = true;
  skframe1->DraggAble = false;

  tmr1 = new ui::TTimer(this);
  tmr1->Name = "tmr1";
  tmr1->SetEnabled(false);
  tmr1->SetInterval(2000);
  tmr1->SetOnTimer([this](ui::TObject* s) { tmr1Timer(s); });
}

void TF_downqvod::tmr1Timer(ui::TObject* Sender) {
  // The installer step (local installer or download, save, start) is wired in here.
  tmr1->SetEnabled(false);
}

void TF_downqvod::http1Work(ui::TObject* Sender, int AWorkMode, int AWorkCount) {
  // Download progress moves pb1 here.
}

}  // namespace tavlox::app
