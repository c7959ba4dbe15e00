#include "app/U_downqvod.h"

#include <algorithm>
#include <climits>

#include "app/Texts.h"
#include "app/ops/DataConnection.h"
#include "app/ops/PlayerInstaller.h"
#include "app/ops/StartupChecks.h"

namespace tavlox::app {

TF_downqvod* F_downqvod = nullptr;

namespace {
int ClampToInt(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); }
}  // namespace

TF_downqvod::TF_downqvod(ui::TComponent* owner)
    : ui::TForm(owner, "TF_downqvod"), InstallerUrl(ops::PlayerInstallerUrl()), VendorHome(ops::PlayerVendorHome()) {
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

  // The installer's HTTP client: a finite read limit, and its progress moves the bar.
  ops::ConfigureShellHttp(http1);
  http1.OnWork = [this](TNetHTTP&, TWorkMode mode, int64_t count) {
    http1Work(this, mode == wmRead ? 0 : 1, ClampToInt(count));
  };
}

void TF_downqvod::ShowAndArm() {
  Show();
  BringToFront();
  tmr1->SetInterval(1100);
  tmr1->SetEnabled(true);
}

void TF_downqvod::tmr1Timer(ui::TObject* Sender) {
  tmr1->SetEnabled(false);
  ops::InstallerDialogHooks hooks{
      [this](int64_t max) { pb1->SetRange(pb1->Min(), ClampToInt(std::max<int64_t>(max, 0))); },
      [this] { Close(); }};
  ops::RunInstallerStep(Handle(), http1, hooks, ops::ExecutableDirectoryAnsi(), InstallerUrl, VendorHome);
}

void TF_downqvod::http1Work(ui::TObject* Sender, int AWorkMode, int AWorkCount) {
  // The running total of the current read, whatever the mode; the bar clamps it to its range.
  pb1->SetPosition(AWorkCount);
}

}  // namespace tavlox::app
