// Errors of the whole program.
//
// Every failure is raised as an Error whose what() is the exact message the
// user reads, in Spanish and UTF-8. Only the application's error report and
// the command line's top level catch it; nothing in the core does.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tv {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// Replaces each "%s" of pattern, in order, with the next argument (UTF-8).
// The message patterns of the program use nothing but "%s".
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args);

// The message as the error report shows it: a full stop is added unless the
// message is empty or already ends in a full stop or in a character that sorts
// before it (a space, a closing quote, a parenthesis...).
std::string WithFullStop(std::string_view message);

// The Spanish description of an operating-system error number.
std::string SystemErrorText(int errorNumber);

}  // namespace tv
