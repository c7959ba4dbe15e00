#include "app/U_dm.h"

namespace tavlox::app {

Tdm* dm = nullptr;

Tdm::Tdm(ui::TComponent* owner) : ui::TDataModule(owner) {
  Name = "dm";
  // An error in the creation handler is reported and start-up goes on.
  try {
    DataModuleCreate(this);
  } catch (const std::exception& e) {
    if (ui::Application) ui::Application->HandleException(e);
  }
}

void Tdm::DataModuleCreate(ui::TObject* Sender) {
  // The Jet database beside the program; the connection is prepared, never opened.
  ops::DataModuleCreate(con1, ops::ExecutableDirectoryAnsi());
}

}  // namespace tavlox::app
