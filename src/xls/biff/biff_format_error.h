#pragma once

#include <stdexcept>
#include <string>

namespace xls::biff {

// Why a Workbook stream cannot be used; the engine turns each kind into its own message.
enum class FormatProblem { kDamaged, kEncrypted, kOlderFormat };

// The Workbook stream is not BIFF8 we can read. The message is English and for developers;
// the engine wraps it in a Chinese description for the user.
class BiffFormatError : public std::runtime_error {
 public:
  explicit BiffFormatError(const std::string& what, FormatProblem problem = FormatProblem::kDamaged)
      : std::runtime_error(what), problem_(problem) {}
  FormatProblem Problem() const { return problem_; }

 private:
  FormatProblem problem_;
};

}  // namespace xls::biff
