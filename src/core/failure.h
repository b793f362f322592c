#pragma once

#include <QString>
#include <exception>
#include <string>

namespace mirudanto {

// Every failure the system can meet, each worded once in Failure::Describe.
enum class FailureKind {
  FileNotFound,
  PathNotFound,
  TooFewValues,
  TypeMismatch,
  Overflow,
  FileExists,
  PermissionDenied,
  DiskFull,
  DiskNotReady,
  OtherIO,
  UnstorableText,
  InvalidPrinterName,
  NoDefaultPrinter,
  InvalidArgument,
};

// A failure travels as an exception that carries its description; the
// operation that reports it shows that description under its own title.
class Failure : public std::exception {
 public:
  explicit Failure(FailureKind kind);
  // The description of the kind, then on a second line what it concerns (the
  // name of the file that failed, for instance).
  Failure(FailureKind kind, const QString& subject);
  FailureKind Kind() const { return kind_; }
  const QString& Description() const { return description_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

  static QString Describe(FailureKind kind);

 private:
  FailureKind kind_;
  QString description_;
  std::string utf8_;
};

// Maps the exception in flight to a Failure, so that whatever escapes an
// operation can be reported with a description of the same table.
Failure CurrentFailure(std::exception_ptr error);

// Maps an errno value met while writing or reading a file.
FailureKind FailureKindFromErrno(int error);

}  // namespace mirudanto
