#include "ui/Forms.h"

#include <algorithm>
#include <cstdio>

#include "ui/Exceptions.h"

namespace tavlox::ui {

TApplication* Application = nullptr;

// ---------------------------------------------------------------------------------------------

TForm::TForm(TComponent* owner, std::string window_class)
    : TWinControl(owner, nullptr), window_class_(std::move(window_class)) {
  SetVisible(false);
}

TForm::~TForm() {
  // Controls go before the form's own window.
  DestroyComponents();
}

void TForm::SetClientSize(int width, int height) {
  client_width_ = width;
  client_height_ = height;
  RECT r{0, 0, width, height};
  CreateParams params;
  FillCreateParams(params);
  AdjustWindowRectEx(&r, params.style, FALSE, params.exStyle);
  SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

LayoutRect TForm::ClientRectForChildren() const {
  if (handle_) {
    RECT r;
    GetClientRect(handle_, &r);
    return {0, 0, r.right, r.bottom};
  }
  return {0, 0, client_width_, client_height_};
}

void TForm::FillCreateParams(CreateParams& params) {
  params.className = RegisterFrameworkClass(window_class_.c_str());
  params.exStyle = 0;
  switch (BorderStyle) {
    case TFormBorderStyle::bsSizeable:
      params.style = WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN;
      break;
    case TFormBorderStyle::bsSingle:
      params.style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
      break;
    case TFormBorderStyle::bsDialog:
      params.style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN | DS_MODALFRAME;
      params.exStyle = WS_EX_DLGMODALFRAME;
      break;
  }
  if (BorderIcons & biSystemMenu) params.style |= WS_SYSMENU;
  if (BorderStyle != TFormBorderStyle::bsDialog) {
    if (BorderIcons & biMinimize) params.style |= WS_MINIMIZEBOX;
    if (BorderIcons & biMaximize) params.style |= WS_MAXIMIZEBOX;
  }
  params.parent = Application ? Application->Handle() : nullptr;  // owner: the application window
  params.x = Left();
  params.y = Top();
  params.width = Width();
  params.height = Height();
}

void TForm::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), 0);
  // The window frame of this platform may differ from the computed one: keep the client size.
  RECT client;
  GetClientRect(handle_, &client);
  if (client.right != client_width_ || client.bottom != client_height_) {
    RECT w;
    GetWindowRect(handle_, &w);
    SetBounds(Left(), Top(), (w.right - w.left) + client_width_ - client.right,
              (w.bottom - w.top) + client_height_ - client.bottom);
  }
  Realign();
}

void TForm::Place() {
  HWND owner = nullptr;
  if (Position == TPosition::poOwnerFormCenter && Application && Application->MainForm() &&
      Application->MainForm() != this)
    owner = Application->MainForm()->WindowHandle();
  RECT area;
  if (owner && IsWindowVisible(owner)) {
    GetWindowRect(owner, &area);
  } else if (Position == TPosition::poDesktopCenter || Position == TPosition::poScreenCenter ||
             Position == TPosition::poOwnerFormCenter) {
    area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  } else {
    return;
  }
  int left = area.left + ((area.right - area.left) - Width()) / 2;
  int top = area.top + ((area.bottom - area.top) - Height()) / 2;
  SetBounds(left, top, Width(), Height());
  if (handle_) SetWindowPos(handle_, nullptr, left, top, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::Show(int show_command) {
  bool first = !shown_once_;
  shown_once_ = true;
  HandleNeeded();
  if (first) Place();
  SetVisibleFlag(true);
  ShowWindow(handle_, show_command);
  if (Application) Application->UpdateVisible();
  if (show_command != SW_SHOWMINNOACTIVE && show_command != SW_MINIMIZE) SetForegroundWindow(handle_);
  UpdateWindow(handle_);
  if (OnShow) {
    // An error in the show handler leaves the window shown.
    try {
      OnShow(this);
    } catch (const std::exception& e) {
      Application->HandleException(e);
    }
  }
}

void TForm::Hide() {
  TWinControl::SetVisible(false);
  if (Application) Application->UpdateVisible();
}

void TForm::BringToFront() {
  if (handle_) {
    SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(handle_);
  }
}

void TForm::Close() {
  TCloseAction action = TCloseAction::caHide;
  if (OnClose) OnClose(this, action);  // an error here abandons the close
  if (action == TCloseAction::caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == TCloseAction::caMinimize) {
    if (handle_) ShowWindow(handle_, SW_MINIMIZE);
  } else {
    Hide();
  }
}

LRESULT TForm::WndProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_SIZE:
      if (wparam != SIZE_MINIMIZED) {
        client_width_ = LOWORD(lparam);
        client_height_ = HIWORD(lparam);
        UpdateBoundsFromWindow();
        Realign();
      }
      return 0;
    case WM_MOVE:
      UpdateBoundsFromWindow();
      return 0;
    case WM_SYSCOMMAND:
      // The main window's minimise button minimises the application, whose window carries the
      // taskbar button; minimising only this owned window would leave it nowhere to come back
      // from.
      if ((wparam & 0xFFF0) == SC_MINIMIZE && Application && Application->MainForm() == this) {
        Application->Minimize();
        return 0;
      }
      break;
  }
  return TWinControl::WndProc(msg, wparam, lparam);
}

// ---------------------------------------------------------------------------------------------

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TimerWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TTimerWindow";
    RegisterClassExA(&wc);
    registered = true;
  }
  window_ = CreateWindowExA(0, "TTimerWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  if (!window_) throw Exception("Not enough timers available");
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TTimer::~TTimer() {
  if (running_) KillTimer(window_, 1);
  DestroyWindow(window_);
}

void TTimer::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  Update();
}

void TTimer::SetInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Update();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  on_timer_ = std::move(handler);
  Update();
}

void TTimer::Update() {
  if (running_) KillTimer(window_, 1);
  running_ = false;
  if (enabled_ && interval_ > 0 && on_timer_) {
    if (!SetTimer(window_, 1, interval_, nullptr)) throw Exception("Not enough timers available");
    running_ = true;
  }
}

LRESULT CALLBACK TTimer::TimerWndProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_TIMER) {
    auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (timer && timer->on_timer_) {
      try {
        auto handler = timer->on_timer_;  // the handler may replace itself
        handler(timer);
      } catch (const std::exception& e) {
        if (Application) Application->HandleException(e);
      } catch (...) {
        if (Application) Application->HandleUnknownException();
      }
    }
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

// ---------------------------------------------------------------------------------------------

TApplication::TApplication() : TComponent(nullptr) {
  Application = this;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = AppWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = LoadIconA(wc.hInstance, "MAINICON");
  wc.lpszClassName = "TApplication";
  RegisterClassExA(&wc);
  // The application's own top-level window: it owns the forms and carries the title and the
  // taskbar button; it has no size, so nothing of it shows but that button.
  handle_ = CreateWindowExA(0, "TApplication", "", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU |
                                                      WS_MINIMIZEBOX,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                            nullptr, wc.hInstance, nullptr);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  GetStartupInfoA(&si);
  if (si.dwFlags & STARTF_USESHOWWINDOW) StartupShowCommand = si.wShowWindow;
}

TApplication::~TApplication() {
  DestroyForms();
  if (handle_) DestroyWindow(handle_);
  if (Application == this) Application = nullptr;
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  if (handle_) SetWindowTextA(handle_, title.c_str());
}

void TApplication::ShowMainForm() {
  if (!main_form_) return;
  switch (StartupShowCommand) {
    case SW_SHOWMAXIMIZED:
      main_form_->Show(SW_SHOWMAXIMIZED);
      break;
    case SW_SHOWMINNOACTIVE:
      // The application is minimised instead of the window being shown; the main form shows
      // when the user restores the application.
      show_main_on_restore_ = true;
      Minimize();
      break;
    default:
      main_form_->Position = TPosition::poScreenCenter;
      main_form_->Show(SW_SHOWNORMAL);
      break;
  }
}

void TApplication::UpdateVisible() {
  if (!handle_ || IsIconic(handle_)) return;
  const bool any = std::any_of(Components().begin(), Components().end(), [](TComponent* c) {
    auto* form = dynamic_cast<TForm*>(c);
    return form && form->Visible();
  });
  if (any == (IsWindowVisible(handle_) != FALSE)) return;
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (any ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TApplication::Minimize() {
  if (!handle_ || IsIconic(handle_)) return;
  // The windows it owns go with it. Windows hides them itself when the owner is minimised;
  // Wine does not, so they are hidden here, the same way, and shown again on restore.
  ShowOwnedPopups(handle_, FALSE);
  ShowWindow(handle_, SW_SHOWMINNOACTIVE);
}

void TApplication::Restore() {
  if (!handle_) return;
  if (IsIconic(handle_)) ShowWindow(handle_, SW_RESTORE);  // its WM_SIZE brings the windows back
  FocusTopWindow();
}

void TApplication::ShowPendingMainForm() {
  if (!show_main_on_restore_ || !main_form_ || IsIconic(handle_)) return;
  show_main_on_restore_ = false;
  if (main_form_->Visible()) return;
  main_form_->Position = TPosition::poScreenCenter;
  main_form_->Show(SW_SHOWNORMAL);
}

namespace {

struct TopWindowSearch {
  HWND skip;
  HWND found = nullptr;
};

BOOL CALLBACK FindTopWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<TopWindowSearch*>(param);
  if (hwnd == search->skip || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd) || IsIconic(hwnd)) return TRUE;
  search->found = hwnd;
  return FALSE;
}

}  // namespace

void TApplication::FocusTopWindow() {
  // The application window itself has nothing to type into: activation that reaches it (a click
  // on the taskbar button) goes on to the topmost window of ours that can take it, which is the
  // open message box when there is one.
  if (!handle_ || IsIconic(handle_)) return;
  TopWindowSearch search{handle_};
  EnumThreadWindows(GetCurrentThreadId(), FindTopWindow, reinterpret_cast<LPARAM>(&search));
  if (search.found) SetForegroundWindow(search.found);
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  DispatchOne(msg);
  return true;
}

void TApplication::DispatchOne(MSG& msg) {
  bool handled = false;
  if (OnMessage) OnMessage(msg, handled);
  if (!handled && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
    // The nearest control of ours around the focused window gets the key first (a browser
    // pane hands it to the hosted control's accelerators).
    for (HWND h = msg.hwnd; h; h = GetAncestor(h, GA_PARENT)) {
      if (TWinControl* control = TWinControl::FromHandle(h)) {
        handled = control->PreTranslateMessage(msg);
        break;
      }
    }
  }
  if (handled) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (!terminated_ && ProcessMessage(msg)) {
  }
}

void TApplication::Run() {
  while (!terminated_) {
    try {
      MSG msg;
      BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got == 0 || got == -1) {
        terminated_ = true;
        break;
      }
      DispatchOne(msg);
    } catch (const std::exception& e) {
      HandleException(e);
    } catch (...) {
      HandleUnknownException();
    }
  }
}

void TApplication::Terminate() {
  PostQuitMessage(0);
}

void TApplication::DestroyForms() {
  DestroyComponents();
  main_form_ = nullptr;
}

void TApplication::ShowException(const std::exception& e) {
  std::string text = StandardErrorText(e.what());
  HWND owner = GetActiveWindow();
  MessageBoxA(owner, text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

void TApplication::HandleException(const std::exception& e) {
  ShowException(e);
}

void TApplication::HandleUnknownException() {
  ShowException(Exception("Unknown error"));
}

namespace {
constexpr UINT WM_APP_FOCUS_TOP = WM_APP + 0x101;  // the application window's deferred focus hand-over
}  // namespace

LRESULT CALLBACK TApplication::AppWndProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_CLOSE) {
    if (Application && Application->main_form_) Application->main_form_->Close();
    return 0;
  }
  if (!Application || Application->handle_ != hwnd) return DefWindowProcA(hwnd, msg, wparam, lparam);
  switch (msg) {
    case WM_SYSCOMMAND:
      switch (wparam & 0xFFF0) {
        case SC_MINIMIZE:
          Application->Minimize();
          return 0;
        case SC_RESTORE:
          Application->Restore();
          return 0;
      }
      break;
    case WM_SIZE:
      // Every restore passes here, also one that did not come as a system command (the shell's
      // taskbar may call ShowWindow directly): the owned windows come back, and the main form
      // that a minimised start held back shows.
      if (wparam == SIZE_RESTORED || wparam == SIZE_MAXIMIZED) {
        ShowOwnedPopups(hwnd, TRUE);  // only the windows that Minimize hid
        Application->ShowPendingMainForm();
      }
      break;
    case WM_SETFOCUS:
      // Passed on once the activation that brought the focus here has finished.
      PostMessageA(hwnd, WM_APP_FOCUS_TOP, 0, 0);
      break;
    case WM_APP_FOCUS_TOP:
      if (GetFocus() == hwnd) Application->FocusTopWindow();
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

// ---------------------------------------------------------------------------------------------

void ShowStartupError(const std::exception& e, const void* address) {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const char* module = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/') module = p + 1;
  std::string message = e.what();
  const char* dot = (!message.empty() && message.back() == '.') ? "" : ".";
  std::string text(message.size() + MAX_PATH + 128, '\0');
  int n = std::snprintf(text.data(), text.size(), "Exception %s in module %s at %p.\r\n%s%s\r\n",
                        ExceptionClassName(e), module, address, message.c_str(), dot);
  text.resize(n > 0 ? static_cast<size_t>(n) : 0);
  MessageBoxA(nullptr, text.c_str(), "Application Error", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

}  // namespace tavlox::ui
