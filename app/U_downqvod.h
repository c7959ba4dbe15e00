// The player download dialog: created hidden, shown by the player check.
#pragma once

#include "skin/frame/SkinFrame.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

namespace tavlox::app {

class TF_downqvod : public ui::TForm {
 public:
  explicit TF_downqvod(ui::TComponent* owner);
  ui::TLabel* lbl1;
  ui::TProgressBar* pb1;
  skin::TskSkinFrame* skframe1;
  ui::TTimer* tmr1;

  void tmr1Timer(ui::TObject* Sender);
  // Progress of the installer download: mode 0 read, 1 write; count in bytes.
  void http1Work(ui::TObject* Sender, int AWorkMode, int AWorkCount);
};

extern TF_downqvod* F_downqvod;

}  // namespace tavlox::app
