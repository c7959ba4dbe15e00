// The data module's database connection: an ADO connection object, prepared with the connection
// string of the Jet database "db1.mdb" beside the program and never opened.
//
//   Tdm::DataModuleCreate:  tavlox::ops::DataModuleCreate(con1, tavlox::ops::ExecutableDirectoryAnsi());
//   con1 is a tavlox::ops::TADOConnection member of Tdm, created with the data module (after
//   CoInitializeEx): its constructor raises EADOError when ADO is missing.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "ui/Exceptions.h"

struct AdoConnection20;

namespace tavlox::ops {

// A failure of the database layer; the message is in the ANSI code page.
class EADOError : public tavlox::ui::Exception {
 public:
  EADOError(const std::string& message, HRESULT code = E_FAIL) : tavlox::ui::Exception(message), ErrorCode(code) {}
  const char* ClassName() const override { return "EADOError"; }
  HRESULT ErrorCode;
};

constexpr const char* kAdoMissingMessage =
    "Error creating object.  Please verify that the Microsoft Data Access Components 2.1 (or later) have been "
    "properly installed";

// `con1`: no login prompt, share mode deny none, provider "Microsoft.Jet.OLEDB.4.0", not connected.
class TADOConnection {
 public:
  // Creates the platform's ADO connection object through its ADO 2.0 connection interface.
  TADOConnection();
  ~TADOConnection();
  TADOConnection(const TADOConnection&) = delete;
  TADOConnection& operator=(const TADOConnection&) = delete;

  bool LoginPrompt = false;
  bool Connected() const { return false; }  // nothing opens it
  // The connection string as the ADO object holds it.
  std::wstring ConnectionString() const;
  // Hands the string to the ADO object when it differs from the current one.
  void SetConnectionString(const std::wstring& text);
  AdoConnection20* ConnectionObject() const;

 private:
  Microsoft::WRL::ComPtr<AdoConnection20> object_;
};

// The running program's directory with its trailing backslash, in the ANSI code page.
std::string ExecutableDirectoryAnsi();

// The data module's creation handler: the Jet connection string for `exeDir`, converted to a
// wide string in the ANSI code page, given to `con1`. The connection is not opened.
void DataModuleCreate(TADOConnection& con1, const std::string& exeDir);

}  // namespace tavlox::ops
