#pragma once

class QCoreApplication;

namespace ui {

// Makes Qt's own words Simplified Chinese: the OK button of a message box reads 确定, the
// context menu of a box offers 撤消, 复制, 粘贴 and so on. The translation is built into the
// program. Returns false when it could not be loaded.
bool InstallChineseQtTexts(QCoreApplication& application);

}  // namespace ui
