// The error type raised by the shell and its framework: a message in the ANSI code page and the
// name of its kind, which the start-up error box shows.
#pragma once

#include <stdexcept>
#include <string>

namespace tavlox::ui {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  virtual const char* ClassName() const { return "Exception"; }
};

// A failed COM call: carries the HRESULT; its text is the platform's message for it.
class EOleSysError : public Exception {
 public:
  EOleSysError(const std::string& message, long hr) : Exception(message), ErrorCode(hr) {}
  const char* ClassName() const override { return "EOleSysError"; }
  long ErrorCode;
};

// Name of an error's kind for the start-up error box.
inline const char* ExceptionClassName(const std::exception& e) {
  if (auto* own = dynamic_cast<const Exception*>(&e)) return own->ClassName();
  return "Exception";
}

// The standard error box's text: a "." is added when the message is not empty and its last
// character sorts after "." (so ".", "!" and a blank get none; GBK text does).
inline std::string StandardErrorText(std::string message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
    message += '.';
  return message;
}

}  // namespace tavlox::ui
