#include "ui/single_instance_guard.h"

#include <QDir>
#include <QFileInfo>

namespace ui {

QString SingleInstanceGuard::LockFolder() const {
  return QDir::toNativeSeparators(QFileInfo(lock_path_).absolutePath());
}

QString CannotLockMessage(const QString& folder) {
  return QStringLiteral(
             "无法在文件夹“%1”中建立锁文件 verdalon.lock，程序不能启动。"
             "请检查该文件夹是否存在、是否可以写入。")
      .arg(folder);
}

}  // namespace ui
