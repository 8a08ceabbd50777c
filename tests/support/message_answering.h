#pragma once

namespace test_support {

// From now on every message box of the process closes by itself as soon as it shows, as if
// the clerk had pressed OK at once, and its text is written to standard error for the test to
// read. Needs the application object; for test programs and benchmarks only.
void AnswerEveryMessageBox();

}  // namespace test_support
