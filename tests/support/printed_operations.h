#pragma once

#include <ostream>

#include "printing/page_plan.h"
#include "support/qt_printers.h"

// Readable operations in failing assertions; found by argument-dependent
// lookup, so in the layer's own namespace.
namespace mirudanto::printing {

inline void PrintTo(const SetFont& font, std::ostream* os) {
  *os << "SetFont{\"" << font.name.toStdString() << "\", " << font.points << "}";
}

inline void PrintTo(const PutText& text, std::ostream* os) {
  *os << "PutText{" << text.x << ", " << text.y << ", \"" << text.text.toStdString() << "\"}";
}

inline void PrintTo(const DrawLine& line, std::ostream* os) {
  *os << "DrawLine{" << line.x1 << ", " << line.y1 << ", " << line.x2 << ", " << line.y2 << ", "
      << line.dots << " dots}";
}

}  // namespace mirudanto::printing
