// The main window: four browser panes around the portal's pages, the status bar link, the
// start-up timer and the hand-over of menu links to the main pane.
#pragma once

#include <memory>
#include <string>

#include "browser/SizePanel.h"
#include "browser/WebBrowser.h"
#include "http/NetHTTP.h"
#include "skin/SkinData.h"
#include "skin/controls/SkinControls.h"
#include "skin/frame/SkinFrame.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

namespace tavlox::app {

// Hands the skin data's notifications to the application's forms as window messages
// (1225/1226/1227, ...): wParam the skin data object, lParam 1000, sent synchronously, first to
// the owner form and then to every other form, whose window is created for it when needed.
class TSkinMessageBroadcaster : public skin::SkinDataObserver {
 public:
  explicit TSkinMessageBroadcaster(ui::TForm* owner) : owner_(owner) {}
  void SkinNotify(skin::TskSkinData& sender, skin::SkinMessage message) override;

 private:
  ui::TForm* owner_;
};

class TF_Main : public ui::TForm {
 public:
  // Loads the stored skin, which already creates the window (a skin load error propagates).
  explicit TF_Main(ui::TComponent* owner);
  ~TF_Main() override;

  // Components, in the order of the form definition.
  skin::TskSkinStatusBar* skstatusbar1;
  skin::TskSkinStatusPanel* skstatuspanel1;
  skin::TskSkinStatusPanel* skstatuspanel2;
  skin::TskSkinStatusPanel* skstatuspanel3;
  browser::TWebBrowser* wb2;
  browser::TSizePanel* sizepnl1;
  browser::TWebBrowser* wb1;
  skin::TskSkinPanel* skpanel1;
  ui::TPanel* pnl1;
  browser::TWebBrowser* wb3;
  skin::TskSkinPanel* skpanel2;
  browser::TExtWebBrowser* extwb1;
  skin::TskSkinFrame* skframe1;
  // The stored skin and the skin data that every form's skinned parts use. The broadcaster is
  // declared between them so that it outlives the skin data that calls it.
  skin::TskCompressedStoredSkin skstored1;
  TSkinMessageBroadcaster skinBroadcaster{this};
  skin::TskSkinData skdata1;
  ui::TTimer* tmr1;
  TNetHTTP http1;

  // The content server's host (with its port), as compiled in; tests may point it elsewhere.
  std::string ContentHost;

  // Handlers.
  void FormShow(ui::TObject* Sender);
  void FormClose(ui::TObject* Sender, ui::TCloseAction& Action);
  void tmr1Timer(ui::TObject* Sender);
  void wb1BeforeNavigate2(ui::TObject* Sender, IDispatch* pDisp, VARIANT* URL, VARIANT* Flags,
                          VARIANT* TargetFrameName, VARIANT* PostData, VARIANT* Headers, VARIANT_BOOL* Cancel);
  void skstatuspanel2Click(ui::TObject* Sender);

  // Operations of the start-up checks.
  void CheckUpdate();
  bool IsQvodInstalled();

  // The update server's version file; tests may point it elsewhere.
  std::string UpdateUrl;
};

extern TF_Main* F_Main;
// The content server's "/box/" directory, set when the main window is first shown.
extern std::string BoxUrl;

// True when the menu pane must hand `url` (8-bit text) over to the main pane.
bool OpensInMainPane(const std::string& url);

}  // namespace tavlox::app
