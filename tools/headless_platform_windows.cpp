#include "headless_platform.h"

namespace tools {

void PreferHeadlessPlatform() {}

}  // namespace tools
