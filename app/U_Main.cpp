#include "app/U_Main.h"

#include <shellapi.h>

#include "app/Texts.h"
#include "app/U_downqvod.h"
#include "app/ops/Cleanup.h"
#include "app/ops/StartupChecks.h"
#include "skin/SkinResource.h"
#include "tavlox/deployment.h"
#include "ui/Win32Util.h"

namespace tavlox::app {

TF_Main* F_Main = nullptr;
std::string BoxUrl;

using browser::TExtWebBrowser;
using browser::TSizePanel;
using browser::TWebBrowser;
using skin::TskSkinBorderStyle;
using ui::TAlign;

bool OpensInMainPane(const std::string& url) { return url.find("mini.php") != std::string::npos; }

void TSkinMessageBroadcaster::SkinNotify(skin::TskSkinData& sender, skin::SkinMessage message) {
  const WPARAM data = reinterpret_cast<WPARAM>(&sender);
  constexpr LPARAM kBroadcastTag = 1000;
  // The owner first, then the others; asking for a window creates it, so every form that
  // exists has its window from the first notification on.
  if (owner_) SendMessageA(owner_->Handle(), static_cast<UINT>(message), data, kBroadcastTag);
  if (!ui::Application) return;
  // A copy: a form reacting to the message must not disturb the walk.
  const std::vector<ui::TComponent*> components = ui::Application->Components();
  for (ui::TComponent* component : components) {
    auto* form = dynamic_cast<ui::TForm*>(component);
    if (!form || form == owner_) continue;
    SendMessageA(form->Handle(), static_cast<UINT>(message), data, kBroadcastTag);
  }
}

TF_Main::TF_Main(ui::TComponent* owner)
    : ui::TForm(owner, "TF_Main"), ContentHost(TAVLOX_CONTENT_HOST), UpdateUrl(ops::UpdateVersionUrl()) {
  Name = "F_Main";
  SetCaption(texts::kMainCaption);
  SetClientSize(966, 574);
  Position = ui::TPosition::poScreenCenter;
  SetColor(ui::clBtnFace);
  Font() = ui::TFont("MS Sans Serif", -11);
  BorderIcons = ui::biSystemMenu | ui::biMinimize;
  OnShow = [this](ui::TObject* s) { FormShow(s); };
  OnClose = [this](ui::TObject* s, ui::TCloseAction& a) { FormClose(s, a); };

  skstatusbar1 = new skin::TskSkinStatusBar(this, this);
  skstatusbar1->Name = "skstatusbar1";
  skstatusbar1->SetBounds(0, 553, 966, 21);
  skstatusbar1->BorderStyle = TskSkinBorderStyle::bvNone;
  skstatusbar1->SizeGrip = false;

  skstatuspanel1 = new skin::TskSkinStatusPanel(this, skstatusbar1);
  skstatuspanel1->Name = "skstatuspanel1";
  skstatuspanel1->SetBounds(0, 0, 120, 21);
  skstatuspanel1->SetAlign(TAlign::alLeft);
  skstatuspanel1->SetCaption(texts::kStatusPanel1);
  skstatuspanel1->BorderStyle = TskSkinBorderStyle::bvFrame;

  skstatuspanel2 = new skin::TskSkinStatusPanel(this, skstatusbar1);
  skstatuspanel2->Name = "skstatuspanel2";
  skstatuspanel2->SetBounds(120, 0, 153, 21);
  skstatuspanel2->SetAlign(TAlign::alLeft);
  skstatuspanel2->SetCaption(TAVLOX_HOME_PAGE);
  skstatuspanel2->Hint = texts::kStatusPanel2Hint;
  skstatuspanel2->ShowHint = true;
  skstatuspanel2->Cursor = ui::crHandPoint;
  skstatuspanel2->DefaultFont.SetColor(ui::clBlue);
  skstatuspanel2->BorderStyle = TskSkinBorderStyle::bvFrame;
  skstatuspanel2->OnClick = [this](ui::TObject* s) { skstatuspanel2Click(s); };

  skstatuspanel3 = new skin::TskSkinStatusPanel(this, skstatusbar1);
  skstatuspanel3->Name = "skstatuspanel3";
  skstatuspanel3->SetBounds(273, 0, 696, 21);
  skstatuspanel3->SetAlign(TAlign::alLeft);
  skstatuspanel3->BorderStyle = TskSkinBorderStyle::bvFrame;

  wb2 = new TWebBrowser(this, skstatusbar1);
  wb2->Name = "wb2";
  wb2->SetBounds(697, 1, 280, 20);

  sizepnl1 = new TSizePanel(this, this);
  sizepnl1->Name = "sizepnl1";
  sizepnl1->SetBounds(0, 0, 221, 553);
  sizepnl1->SetSizeBarWidth(1);
  sizepnl1->HotSpotSizePercent = 10;
  sizepnl1->SetColor(ui::clSkyBlue);
  sizepnl1->BorderColor = ui::clMenuHighlight;
  sizepnl1->BorderShadow = ui::clActiveCaption;

  wb1 = new TWebBrowser(this, sizepnl1);
  wb1->Name = "wb1";
  wb1->SetBounds(0, 0, 219, 553);
  wb1->SetAlign(TAlign::alClient);
  wb1->OnBeforeNavigate2 = [this](ui::TObject* s, IDispatch* d, VARIANT* u, VARIANT* f, VARIANT* t, VARIANT* p,
                                  VARIANT* h, VARIANT_BOOL* c) { wb1BeforeNavigate2(s, d, u, f, t, p, h, c); };

  skpanel1 = new skin::TskSkinPanel(this, this);
  skpanel1->Name = "skpanel1";
  skpanel1->SetBounds(221, 0, 745, 553);
  skpanel1->SetAlign(TAlign::alClient);
  skpanel1->BorderStyle = TskSkinBorderStyle::bvFrame;
  skpanel1->CaptionMode = false;

  pnl1 = new ui::TPanel(this, skpanel1);
  pnl1->Name = "pnl1";
  pnl1->SetBounds(1, 1, 743, 60);
  pnl1->SetAlign(TAlign::alTop);

  wb3 = new TWebBrowser(this, pnl1);
  wb3->Name = "wb3";
  wb3->SetBounds(1, 1, 741, 58);
  wb3->SetAlign(TAlign::alClient);

  skpanel2 = new skin::TskSkinPanel(this, skpanel1);
  skpanel2->Name = "skpanel2";
  skpanel2->SetBounds(1, 61, 743, 20);
  skpanel2->SetAlign(TAlign::alTop);
  skpanel2->BorderStyle = TskSkinBorderStyle::bvFrame;

  extwb1 = new TExtWebBrowser(this, skpanel1);
  extwb1->Name = "extwb1";
  extwb1->SetBounds(1, 81, 743, 471);
  extwb1->SetAlign(TAlign::alClient);

  skframe1 = new skin::TskSkinFrame(this);
  skframe1->Name = "skframe1";
  skframe1->BorderIcons = ui::biSystemMenu | ui::biMinimize;
  skframe1->Sizeable = true;
  skframe1->DraggAble = false;
  skframe1->Magnetic = false;
  skframe1->ShowIcon = true;
  skframe1->AlphaBlend = false;

  // The start-up timer counts from the window's creation.
  tmr1 = new ui::TTimer(this);
  tmr1->Name = "tmr1";
  tmr1->SetInterval(6000);
  tmr1->SetOnTimer([this](ui::TObject* s) { tmr1Timer(s); });

  // The update check's HTTP client, with a finite read limit so that a silent server cannot
  // freeze the window for ever.
  ops::ConfigureShellHttp(http1);

  Realign();

  // The stored skin last, once every component exists: attaching it loads the package, and the
  // load's notifications create the window. A damaged skin ends the window's creation here.
  skdata1.AddObserver(&skinBroadcaster);
  skstored1.ReadCompressedData(skin::ReadSkinResource());
  skdata1.SetCompressedStoredSkin(&skstored1);
}

TF_Main::~TF_Main() { skdata1.RemoveObserver(&skinBroadcaster); }

void TF_Main::FormShow(ui::TObject* Sender) {
  std::string root = "http://" + ContentHost;
  BoxUrl = root + "/box/";
  wb1->Navigate(ui::AnsiToWide(root + "/left2/menu.htm"));
  wb3->Navigate(ui::AnsiToWide(root + "/box/google.html"));
  wb2->Navigate(ui::AnsiToWide(BoxUrl + "text.html"));
  extwb1->Navigate(ui::AnsiToWide(BoxUrl));
}

void TF_Main::FormClose(ui::TObject* Sender, ui::TCloseAction& Action) {
  // The player's processes, its cache and the tray icons they leave; the close goes on.
  ops::RunExitCleanup();
}

void TF_Main::tmr1Timer(ui::TObject* Sender) {
  tmr1->SetEnabled(false);  // the start-up checks run once
  CheckUpdate();
  // The player check runs even after an accepted update: termination takes effect only when
  // this handler has returned to the loop.
  if (IsQvodInstalled()) return;
  if (ops::AskToInstallPlayer(Handle()) && F_downqvod) F_downqvod->ShowAndArm();
}

void TF_Main::CheckUpdate() {
  // Termination without FormClose: an accepted update skips the clean-up.
  ops::CheckUpdate(Handle(), http1, [] { if (ui::Application) ui::Application->Terminate(); }, UpdateUrl);
}

bool TF_Main::IsQvodInstalled() { return ops::IsQvodInstalled(); }

void TF_Main::wb1BeforeNavigate2(ui::TObject* Sender, IDispatch* pDisp, VARIANT* URL, VARIANT* Flags,
                                 VARIANT* TargetFrameName, VARIANT* PostData, VARIANT* Headers,
                                 VARIANT_BOOL* Cancel) {
  if (!URL) return;
  VARIANT text;
  VariantInit(&text);
  if (FAILED(VariantChangeType(&text, URL, 0, VT_BSTR))) return;
  std::wstring wide(text.bstrVal ? text.bstrVal : L"", text.bstrVal ? SysStringLen(text.bstrVal) : 0);
  VariantClear(&text);
  if (OpensInMainPane(ui::WideToAnsi(wide))) {
    extwb1->Navigate(wide);
    if (Cancel) *Cancel = VARIANT_TRUE;
  }
}

void TF_Main::skstatuspanel2Click(ui::TObject* Sender) {
  ShellExecuteA(Handle(), "open", TAVLOX_HOME_PAGE, nullptr, nullptr, SW_SHOW);
}

}  // namespace tavlox::app
