#include "ui/qt_chinese_texts.h"

#include <QCoreApplication>
#include <QTranslator>

// The translation lives in a static library: naming its resource here keeps the linker from
// dropping it. Q_INIT_RESOURCE must be used outside any namespace.
static void LoadChineseQtTextsResource() {
  Q_INIT_RESOURCE(qt_chinese_texts);
}

namespace ui {

bool InstallChineseQtTexts(QCoreApplication& application) {
  LoadChineseQtTextsResource();
  auto* translator = new QTranslator(&application);
  if (!translator->load(QStringLiteral(":/translations/qtbase_zh_CN.qm"))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace ui
