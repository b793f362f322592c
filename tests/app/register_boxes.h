#pragma once

#include <QString>
#include <utility>

#include "app/company_register.h"

namespace mirudanto::app {

// Company 7 as a user types it into the register, under the given name.
inline void FillRegisterBoxes(CompanyRegister& form10, const char* name) {
  const std::pair<const char*, const char*> values[] = {
      {"Text1", "7"},           {"Text11", "  10,000,000"}, {"Text2", "ミホン"},
      {"Text3", name},          {"Text5", "東京都千代田区１－１"}, {"Text6", "ヤマダ　タロウ"},
      {"Text7", "東京都港区"},   {"Text8", "卸売業"},        {"Text9", "麹町"},
      {"Text12", "03-1234-5678"}, {"Text13", "20"},        {"Text14", "4"},
      {"Text15", "1"},          {"Text17", "21"},           {"Text18", "3"},
      {"Text19", "31"},         {"Text21", "21"},           {"Text20", "5"},
      {"Text4", "13"}};
  for (const auto& [box, text] : values) form10.Write(box, QString::fromUtf8(text));
}

}  // namespace mirudanto::app
