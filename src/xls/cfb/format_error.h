#pragma once

#include <stdexcept>

namespace xls::cfb {

// The bytes of a file are not a compound file we can read (damaged, truncated, cyclic,
// or another format). The message is English and for developers; callers wrap it.
class FormatError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace xls::cfb
