// The data module: holds the prepared database connection, which nothing opens.
#pragma once

#include "ui/Forms.h"

namespace tavlox::app {

class Tdm : public ui::TDataModule {
 public:
  explicit Tdm(ui::TComponent* owner);
  void DataModuleCreate(ui::TObject* Sender);
};

extern Tdm* dm;

}  // namespace tavlox::app
