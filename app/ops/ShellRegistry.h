// Registry reads with the shell's rules: a key is opened without being created and for full
// access; a key that cannot be opened or a missing value reads as the empty text; a value that is
// not a string (REG_SZ or REG_EXPAND_SZ) is an error.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Exceptions.h"

namespace tavlox::ops {

class ERegistryException : public tavlox::ui::Exception {
 public:
  using tavlox::ui::Exception::Exception;
  const char* ClassName() const override { return "ERegistryException"; }
};

// Raises ERegistryException "Invalid data type for '<value>'" for a value of another type.
std::string ReadShellRegString(HKEY root, const char* key, const char* value);

// Whether `key` can be opened without creating it, for full access (the key is closed again).
bool CanOpenKeyFullAccess(HKEY root, const char* key);

}  // namespace tavlox::ops
