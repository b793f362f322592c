#pragma once

#include <QString>
#include <cstdint>

#include "core/company_code.h"
#include "core/heisei_date.h"

namespace mirudanto {

class ValueReader;
class ValueWriter;

// A client company's master data, held in its company master file as 19
// values in this order.
struct CompanyRecord {
  CompanyCode code = 0;
  std::int32_t capital = 0;
  HeiseiDate periodStart;
  HeiseiDate periodEnd;
  QString nameKana;
  QString name;
  QString taxPlace;
  QString representativeKana;
  QString representativeAddress;
  QString businessType;
  QString taxOffice;
  QString phone;
  HeiseiDate settlementDate;
};

inline constexpr int kCompanyRecordValues = 19;
// The values the company calls take: everything but the settlement date.
inline constexpr int kCompanyCallValues = 16;

// Reads the first `count` values of the record from the reader into `record`,
// each replacing its field as soon as it is read, so a read that fails part-way
// leaves the values read so far and the older ones after them.
void ReadCompanyRecord(ValueReader& reader, CompanyRecord& record, int count);

// All 19 values in file order.
ValueWriter CompanyRecordWriter(const CompanyRecord& record);

}  // namespace mirudanto
