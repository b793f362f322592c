#include "core/company_record.h"

#include <array>

#include "core/sequential_value_file.h"

namespace mirudanto {
namespace {

// One entry per value of the file, in file order.
struct Field {
  std::int32_t* number = nullptr;
  QString* text = nullptr;
};

std::array<Field, kCompanyRecordValues> FieldsOf(CompanyRecord& r) {
  return {{{&r.code},
           {&r.capital},
           {&r.periodStart.year},
           {&r.periodStart.month},
           {&r.periodStart.day},
           {&r.periodEnd.year},
           {&r.periodEnd.month},
           {&r.periodEnd.day},
           {nullptr, &r.nameKana},
           {nullptr, &r.name},
           {nullptr, &r.taxPlace},
           {nullptr, &r.representativeKana},
           {nullptr, &r.representativeAddress},
           {nullptr, &r.businessType},
           {nullptr, &r.taxOffice},
           {nullptr, &r.phone},
           {&r.settlementDate.year},
           {&r.settlementDate.month},
           {&r.settlementDate.day}}};
}

}  // namespace

void ReadCompanyRecord(ValueReader& reader, CompanyRecord& record, int count) {
  const auto fields = FieldsOf(record);
  for (int k = 0; k < count && k < kCompanyRecordValues; ++k) {
    if (fields[k].number != nullptr) {
      *fields[k].number = reader.ReadInt32();
    } else {
      *fields[k].text = reader.ReadText();
    }
  }
}

ValueWriter CompanyRecordWriter(const CompanyRecord& record) {
  CompanyRecord copy = record;
  ValueWriter writer;
  for (const Field& field : FieldsOf(copy)) {
    if (field.number != nullptr) {
      writer.WriteNumber(*field.number);
    } else {
      writer.WriteText(*field.text);
    }
  }
  return writer;
}

}  // namespace mirudanto
