#include "app/Startup.h"

#include <objbase.h>

#include <memory>

#include "app/Texts.h"
#include "app/U_AboutBox.h"
#include "app/U_Main.h"
#include "app/U_atm.h"
#include "app/U_dm.h"
#include "app/U_downqvod.h"
#include "app/U_setting.h"
#include "browser/OleControl.h"
#include "ui/Exceptions.h"
#include "ui/Forms.h"

namespace tavlox::app {

void CreateWindows() {
  ui::Application->CreateForm(F_Main);
  ui::Application->CreateForm(AboutBox);
  ui::Application->CreateForm(dm);
  ui::Application->CreateForm(F_downqvod);
  ui::Application->CreateForm(F_Setting);
}

int RunProgram() {
  // 1. Module initialisation: the automation server reads the command-line switches, then the
  //    class factory loads the type library from the program's own file.
  try {
    atm::InitComServer();
    atm::InitAtm();
  } catch (const std::exception& e) {
    ui::ShowStartupError(e, reinterpret_cast<const void*>(&RunProgram));
    atm::FinalizeAtm();
    return 1;
  }

  // 2. Application initialisation: the user-interface thread becomes a single-threaded
  //    apartment; then the automation server starts (type library registration, the
  //    registration switches) and may end the process here, before any window exists.
  bool com_up = false;
  auto finalize_modules = [&com_up] {
    atm::FinalizeAtm();
    if (com_up) CoUninitialize();
  };
  try {
    browser::OleCheck(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    com_up = true;
    if (atm::StartComServer()) {
      finalize_modules();
      return 0;
    }
  } catch (const std::exception& e) {
    ui::ShowStartupError(e, reinterpret_cast<const void*>(&RunProgram));
    finalize_modules();
    return 1;
  }

  auto application = std::make_unique<ui::TApplication>();
  try {
    // 3. The application title.
    application->SetTitle(texts::kApplicationTitle);

    // 4. The five windows, in order.
    CreateWindows();
  } catch (const std::exception& e) {
    ui::ShowStartupError(e, reinterpret_cast<const void*>(&RunProgram));
    application.reset();
    finalize_modules();
    return 1;
  }

  // 5. Show the main window and run the message loop until the quit message.
  application->ShowMainForm();
  application->Run();

  // Shutdown: windows in reverse order of creation, then the modules in reverse order.
  application->DestroyForms();
  F_Main = nullptr;
  AboutBox = nullptr;
  dm = nullptr;
  F_downqvod = nullptr;
  F_Setting = nullptr;
  BoxUrl.clear();
  application.reset();
  finalize_modules();
  return 0;
}

}  // namespace tavlox::app
