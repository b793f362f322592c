#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

// GoogleTest would print a QString as a list of QChar and a QByteArray as a
// list of chars; a failing comparison of file names or file bytes has to be
// readable. Found by argument-dependent lookup, so Qt's own namespace: include
// this before any assertion on these types.
QT_BEGIN_NAMESPACE

inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os) {
  *os << '{';
  for (qsizetype k = 0; k < list.size(); ++k) {
    if (k > 0) *os << ", ";
    PrintTo(list[k], os);
  }
  *os << '}';
}

// Hex, because the bytes are cp932 and CR LF matters.
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
  *os << '[' << bytes.toHex(' ').toStdString() << ']';
}

QT_END_NAMESPACE
