#include "document/fileerror.h"

#include <QDir>
#include <cerrno>
#include <cstring>

namespace tarvesh::document {

namespace {

QString SystemReason(int error) {
  switch (error) {
    case ENOSPC:
      return QStringLiteral("磁盘空间不足");
    case EDQUOT:
      return QStringLiteral("超出磁盘配额");
    case EROFS:
      return QStringLiteral("磁盘是只读的");
    case EACCES:
    case EPERM:
      return QStringLiteral("没有权限");
    case ENOENT:
      return QStringLiteral("文件或文件夹不存在");
    case ENOTDIR:
      return QStringLiteral("路径中有一项不是文件夹");
    case EISDIR:
      return QStringLiteral("这是一个文件夹");
    case EIO:
      return QStringLiteral("读写出错");
    case EFBIG:
      return QStringLiteral("文件太大");
    case ENAMETOOLONG:
      return QStringLiteral("文件名太长");
    case ELOOP:
      return QStringLiteral("这是一个符号链接");
    case EMFILE:
    case ENFILE:
      return QStringLiteral("打开的文件太多");
    case ENOMEM:
      return QStringLiteral("内存不足");
    default:
      return QStringLiteral("系统错误：%1").arg(QString::fromLocal8Bit(std::strerror(error)));
  }
}

}  // namespace

QString FileError::Reason() const {
  switch (problem) {
    case Problem::kSystem:
      return SystemReason(systemError);
    case Problem::kLink:
      return QStringLiteral("这是一个符号链接，不会跟随它读写");
    case Problem::kNotRegular:
      return QStringLiteral("这不是普通文件（文件夹、管道或设备）");
    case Problem::kReadOnly:
      return QStringLiteral("文件是只读的");
    case Problem::kTooLarge:
      return QStringLiteral("文件太大（%1）").arg(detail);
    case Problem::kNotBmp:
      return QStringLiteral("这不是 BMP 图片");
    case Problem::kTruncated:
      return QStringLiteral("文件不完整，已被截断");
    case Problem::kMalformed:
      return QStringLiteral("文件已损坏");
    case Problem::kUnsupported:
      return QStringLiteral("不支持这种 BMP 图片");
    case Problem::kOtherScore:
      return QStringLiteral("它属于另一个乐谱：%1").arg(QDir::toNativeSeparators(detail));
    case Problem::kBusy:
      return QStringLiteral("这个乐谱正在被另一个程序保存");
    case Problem::kNotScoreName:
      return QStringLiteral("乐谱图片的文件名必须以 .bmp 结尾");
  }
  return {};
}

QString FileError::Told(const QString& what) const {
  return QStringLiteral("%1：%2\n%3").arg(what, QDir::toNativeSeparators(path), Reason());
}

QString FileError::TerminalText() const {
  QString reason;
  switch (problem) {
    case Problem::kSystem:
      reason = QString::fromLocal8Bit(std::strerror(systemError));
      break;
    case Problem::kLink:
      reason = QStringLiteral("is a symbolic link, which is not followed");
      break;
    case Problem::kNotRegular:
      reason = QStringLiteral("is not a regular file");
      break;
    case Problem::kReadOnly:
      reason = QStringLiteral("is marked read-only");
      break;
    case Problem::kTooLarge:
      reason = QStringLiteral("is too large (%1)").arg(detail);
      break;
    case Problem::kNotBmp:
      reason = QStringLiteral("is not a BMP picture");
      break;
    case Problem::kTruncated:
      reason = QStringLiteral("is cut short");
      break;
    case Problem::kMalformed:
      reason = QStringLiteral("is damaged");
      break;
    case Problem::kUnsupported:
      reason = QStringLiteral("is a kind of BMP that is not supported");
      break;
    case Problem::kOtherScore:
      reason = QStringLiteral("belongs to another score, %1").arg(QDir::toNativeSeparators(detail));
      break;
    case Problem::kBusy:
      reason = QStringLiteral("is being saved by another program");
      break;
    case Problem::kNotScoreName:
      reason = QStringLiteral("is not named NAME.bmp, as a score picture must be");
      break;
  }
  return QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
}

}  // namespace tarvesh::document
