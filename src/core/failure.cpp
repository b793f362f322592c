#include "core/failure.h"

#include <cerrno>
#include <new>

namespace mirudanto {

Failure::Failure(FailureKind kind)
    : kind_(kind), description_(Describe(kind)), utf8_(description_.toStdString()) {}

Failure::Failure(FailureKind kind, const QString& subject)
    : kind_(kind),
      description_(Describe(kind) + QChar('\n') + subject),
      utf8_(description_.toStdString()) {}

QString Failure::Describe(FailureKind kind) {
  switch (kind) {
    case FailureKind::FileNotFound: return QStringLiteral("ファイルが見つかりません。");
    case FailureKind::PathNotFound: return QStringLiteral("パスが見つかりません。");
    case FailureKind::TooFewValues: return QStringLiteral("ファイルにこれ以上データがありません。");
    case FailureKind::TypeMismatch: return QStringLiteral("型が一致しません。");
    case FailureKind::Overflow: return QStringLiteral("オーバーフローしました。");
    case FailureKind::FileExists: return QStringLiteral("既に同名のファイルが存在しています。");
    case FailureKind::PermissionDenied: return QStringLiteral("書き込みできません。");
    case FailureKind::DiskFull: return QStringLiteral("ディスクの空き容量が不足しています。");
    case FailureKind::DiskNotReady: return QStringLiteral("ディスクの準備ができていません。");
    case FailureKind::OtherIO: return QStringLiteral("デバイス I/O エラーです。");
    case FailureKind::UnstorableText:
      return QStringLiteral("保存できない文字が含まれています。");
    case FailureKind::InvalidPrinterName: return QStringLiteral("プリンター名が無効です。");
    case FailureKind::NoDefaultPrinter: return QStringLiteral("既定のプリンターがありません。");
    case FailureKind::InvalidArgument:
      return QStringLiteral("プロシージャの呼び出し、または引数が不正です。");
  }
  return QStringLiteral("デバイス I/O エラーです。");
}

Failure CurrentFailure(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const Failure& failure) {
    return failure;
  } catch (const std::bad_alloc&) {
    return Failure(FailureKind::OtherIO);
  } catch (...) {
    return Failure(FailureKind::OtherIO);
  }
}

FailureKind FailureKindFromErrno(int error) {
  switch (error) {
    case ENOENT: return FailureKind::FileNotFound;
    case ENOTDIR: return FailureKind::PathNotFound;
    case EEXIST: return FailureKind::FileExists;
    case EACCES:
    case EPERM:
    case EROFS: return FailureKind::PermissionDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return FailureKind::DiskFull;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM: return FailureKind::DiskNotReady;
    default: return FailureKind::OtherIO;
  }
}

}  // namespace mirudanto
