#include <QByteArray>
#include <QtGlobal>

#include "headless_platform.h"

namespace tools {

void PreferHeadlessPlatform() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
  }
}

}  // namespace tools
