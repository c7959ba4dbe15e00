// The player download dialog: created hidden, shown by the player check.
#pragma once

#include <string>

#include "http/NetHTTP.h"
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
  TNetHTTP http1;

  // The installer's address and the vendor's home page; tests may point them elsewhere.
  std::string InstallerUrl;
  std::string VendorHome;

  // The player check's Yes: shows the dialog (not modal, in front) and arms the timer, whose
  // event starts the installer step about a second later, once the dialog has been painted.
  void ShowAndArm();

  void tmr1Timer(ui::TObject* Sender);
  // Progress of the installer download: mode 0 read, 1 write; count in bytes.
  void http1Work(ui::TObject* Sender, int AWorkMode, int AWorkCount);
};

extern TF_downqvod* F_downqvod;

}  // namespace tavlox::app
