// The program's error type and the error box's text rule. Portable.
#pragma once
#include <stdexcept>
#include <string>

namespace zel {

// Every failure the program reports carries the text the user sees.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text shown in the error box: the message, with a full stop appended when its last
// character sorts after the full stop (a letter or a digit, for example).
std::string ErrorBoxText(const std::string& message);

}  // namespace zel
