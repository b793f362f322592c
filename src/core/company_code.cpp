#include "core/company_code.h"

#include "core/amount.h"

namespace mirudanto {

CompanyCode ReadCompanyCode32(const QString& text) {
  return ReadNumberOrFail(text, NumberWidth::Bits32);
}

CompanyCode ReadCompanyCode16(const QString& text) {
  return ReadNumberOrFail(text, NumberWidth::Bits16);
}

QString CodeText(CompanyCode code) { return QString::number(code); }

}  // namespace mirudanto
