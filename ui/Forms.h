// Forms, the data module, timers and the application object with its message loop and error boxes.
#pragma once

#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "ui/Controls.h"

namespace tavlox::ui {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TPosition { poDesigned, poScreenCenter, poDesktopCenter, poOwnerFormCenter };
enum class TFormBorderStyle { bsSizeable, bsDialog, bsSingle };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

class TForm : public TWinControl {
 public:
  // `window_class` names the form's window class (the form's class name, e.g. "TF_Main").
  TForm(TComponent* owner, std::string window_class);
  ~TForm() override;

  int ClientWidth() const { return client_width_; }
  int ClientHeight() const { return client_height_; }
  void SetClientSize(int width, int height);
  TPosition Position = TPosition::poDesigned;
  TFormBorderStyle BorderStyle = TFormBorderStyle::bsSizeable;
  unsigned BorderIcons = biSystemMenu | biMinimize | biMaximize;

  TNotifyEvent OnShow;
  TCloseEvent OnClose;

  // Shows the form with the given show command (SW_...), running OnShow once the window exists.
  void Show(int show_command = SW_SHOWNORMAL);
  void Hide();
  void BringToFront();
  // Runs OnClose; unless the action is caNone, hides the form, or ends the application when
  // this is the main form.
  void Close();

  LayoutRect ClientRectForChildren() const override;

 protected:
  void FillCreateParams(CreateParams& params) override;
  void CreateWnd() override;
  LRESULT WndProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
  void Place();

 private:
  std::string window_class_;
  int client_width_ = 0, client_height_ = 0;
  bool shown_once_ = false;
};

class TDataModule : public TComponent {
 public:
  explicit TDataModule(TComponent* owner) : TComponent(owner) {}
};

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  void SetOnTimer(TNotifyEvent handler);
  // True while the platform timer is running (enabled, interval above 0, handler assigned).
  bool Running() const { return running_; }

 private:
  void Update();
  static LRESULT CALLBACK TimerWndProc(HWND, UINT, WPARAM, LPARAM);
  HWND window_ = nullptr;
  bool enabled_ = true;
  bool running_ = false;
  unsigned interval_ = 1000;
  TNotifyEvent on_timer_;
};

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  HWND Handle() const { return handle_; }
  TForm* MainForm() const { return main_form_; }
  bool Terminated() const { return terminated_; }

  // Creates a window owned by the application; the first form becomes the main form.
  template <class T>
  void CreateForm(T*& reference) {
    reference = new T(this);  // owned by the application from here on
    if constexpr (std::is_base_of_v<TForm, T>) {
      if (!main_form_) main_form_ = reference;
    }
  }
  // Shows the main form with the program's start-up show command.
  void ShowMainForm();
  // The application window carries the program's taskbar button: it is shown, with no size,
  // while any form is visible and hidden when none is (a minimised application stays as it is).
  void UpdateVisible();
  // Minimises the whole application: its window goes to the taskbar and the windows it owns
  // disappear with it. Restore brings them back, and shows the main form when a minimised start
  // kept it from being shown.
  void Minimize();
  void Restore();
  // The message loop, until the quit message is taken.
  void Run();
  // Processes the messages waiting in the queue, then returns.
  void ProcessMessages();
  // Asks the loop to end (posts the quit message).
  void Terminate();
  // Frees the windows in the reverse order of their creation.
  void DestroyForms();

  // The standard error box: application title as caption, stop icon, the message.
  void ShowException(const std::exception& e);
  void HandleException(const std::exception& e);
  void HandleUnknownException();

  // Sees every message the loop takes before it is dispatched; setting Handled skips it.
  std::function<void(MSG& Msg, bool& Handled)> OnMessage;

  // Show command taken from the process's start-up information (tests may override it).
  int StartupShowCommand = SW_SHOWDEFAULT;

 private:
  bool ProcessMessage(MSG& msg);
  void DispatchOne(MSG& msg);
  void ShowPendingMainForm();
  void FocusTopWindow();
  static LRESULT CALLBACK AppWndProc(HWND, UINT, WPARAM, LPARAM);

  std::string title_;
  HWND handle_ = nullptr;
  TForm* main_form_ = nullptr;
  bool terminated_ = false;
  bool show_main_on_restore_ = false;  // a minimised start has not shown the main form yet
};

// The one application object of the process (set by its constructor).
extern TApplication* Application;

// The start-up error box ("Application Error") for an error before the message loop runs.
void ShowStartupError(const std::exception& e, const void* address);

}  // namespace tavlox::ui
