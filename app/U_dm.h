// The data module: holds the prepared database connection, which nothing opens.
#pragma once

#include "app/ops/DataConnection.h"
#include "ui/Forms.h"

namespace tavlox::app {

class Tdm : public ui::TDataModule {
 public:
  // Creating the connection fails with EADOError when ADO is missing, which ends the start-up.
  explicit Tdm(ui::TComponent* owner);
  ops::TADOConnection con1;
  void DataModuleCreate(ui::TObject* Sender);
};

extern Tdm* dm;

}  // namespace tavlox::app
