#include "app/company_register.h"

#include <QLabel>
#include <QPushButton>
#include <array>
#include <limits>

#include "core/amount.h"
#include "core/sequential_value_file.h"
#include "core/statement_files.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/period_boxes.h"
#include "platform/value_files.h"

namespace mirudanto::app {
namespace {

using platform::ConfirmBox;
using platform::InputMode;
using platform::ReportError;

constexpr auto Px = platform::PixelTwips;

constexpr int kLineHeight = 26;
int Line(int n) { return 10 + (n - 1) * 34; }

std::int32_t ReadNumberBox(platform::Screen& screen, const char* box) {
  return ReadNumberOrFail(screen.Read(box), NumberWidth::Bits32);
}

// The register's text boxes, in the order their texts are stored.
std::array<std::pair<QString, QString*>, 8> TextBoxesOf(CompanyRecord& record) {
  return {{{QStringLiteral("Text2"), &record.nameKana},
           {QStringLiteral("Text3"), &record.name},
           {QStringLiteral("Text5"), &record.taxPlace},
           {QStringLiteral("Text6"), &record.representativeKana},
           {QStringLiteral("Text7"), &record.representativeAddress},
           {QStringLiteral("Text8"), &record.businessType},
           {QStringLiteral("Text9"), &record.taxOffice},
           {QStringLiteral("Text12"), &record.phone}}};
}

std::int32_t Checked(std::int64_t value) {
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    throw Failure(FailureKind::Overflow);
  }
  return static_cast<std::int32_t>(value);
}

// Heisei years divisible by four are the leap years of the era.
int MonthLength(std::int64_t heiseiYear, std::int64_t month) {
  switch (month) {
    case 1: case 3: case 5: case 7: case 8: case 10: case 12: return 31;
    case 4: case 6: case 9: case 11: return 30;
    case 2: return heiseiYear % 4 == 0 ? 29 : 28;
    default: return 0;
  }
}

const char* const kEntryBoxes[] = {"Text1",  "Text11", "Text2",  "Text3",  "Text5",  "Text6",
                                   "Text7",  "Text8",  "Text9",  "Text13", "Text14", "Text17",
                                   "Text18", "Text19", "Text12", "Text21", "Text20", "Text4"};

}  // namespace

CompanyRegister::CompanyRegister() : Screen(QStringLiteral("Form10"), QStringLiteral("会社登録")) {
  OnClick("Command4", [this] { Register(); });
  OnClick("Command6", [this] { Call(); });
  OnClick("Command9", [this] { CallHandedOver(); });
  OnClick("Command3", [this] { FiscalYear(); });
  OnClick("Command5", [this] { CapitalInMillions(); });
  OnClick("Command7", [this] { ClearForNewCompany(); });
  OnClick("Command8", [this] {
    for (const char* box : {"Text21", "Text20", "Text4"}) Write(box, QString());
  });
  OnClick("Command1", [this] { Write("Text3", QStringLiteral("株式会社")); });
  OnClick("Command2", [this] { Write("Text3", QStringLiteral("有限会社")); });
  OnClick("Command10", [] { platform::ScreenNamed(QStringLiteral("Form1")).Show(); });
}

void CompanyRegister::Build() {
  SetWindowFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 10));
  SetClientSizeTwips(Px(0, 0, 640, 420).width(), Px(0, 0, 640, 420).height());
  const int h = kLineHeight;
  const int x = 132;
  auto right = [](platform::TextBox& box) { box.setAlignment(Qt::AlignRight); };
  auto word = [](platform::TextBox& box, InputMode mode) { box.SetInputMode(mode); };

  AddButton("Command7", "法人コード", Px(8, Line(1), 116, h));
  right(AddTextBox("Text1", Px(x, Line(1), 80, h), QStringLiteral("　")));
  AddButton("Command6", "会社呼出", Px(x + 88, Line(1), 88, h));
  AddButton("Command9", "DATA", Px(x + 184, Line(1), 64, h));
  auto& handedOver = AddTextBox("Text100", Px(x + 256, Line(1), 60, h), QStringLiteral(" "));
  right(handedOver);
  handedOver.setVisible(false);

  AddLabel("Label5", "フリガナ", Px(8, Line(2), 116, h));
  word(AddTextBox("Text2", Px(x, Line(2), 420, h), QStringLiteral(" ")), InputMode::Katakana);

  AddLabel("Label1", "法人名", Px(8, Line(3), 116, h));
  AddButton("Command1", "㈱", Px(x, Line(3), 34, h));
  AddButton("Command2", "㈲", Px(x + 38, Line(3), 34, h));
  word(AddTextBox("Text3", Px(x + 76, Line(3), 344, h), QStringLiteral(" ")),
       InputMode::Hiragana);

  AddButton("Command3", "事業年度", Px(8, Line(4), 116, h));
  AddTextBox("Text10", Px(x, Line(4), 56, h), QStringLiteral("自平成"));
  right(AddTextBox("Text13", Px(x + 58, Line(4), 40, h)));
  right(AddTextBox("Text14", Px(x + 100, Line(4), 40, h)));
  right(AddTextBox("Text15", Px(x + 142, Line(4), 40, h), QStringLiteral("1")));
  AddTextBox("Text16", Px(x + 196, Line(4), 56, h), QStringLiteral("至平成"));
  right(AddTextBox("Text17", Px(x + 254, Line(4), 40, h)));
  right(AddTextBox("Text18", Px(x + 296, Line(4), 40, h)));
  right(AddTextBox("Text19", Px(x + 338, Line(4), 40, h)));

  AddLabel("Label4", "納税地", Px(8, Line(5), 116, h));
  word(AddTextBox("Text5", Px(x, Line(5), 480, h), QStringLiteral(" ")), InputMode::Hiragana);
  AddLabel("Label3", "電話番号", Px(8, Line(6), 116, h));
  AddTextBox("Text12", Px(x, Line(6), 200, h), QStringLiteral(" "));
  AddLabel("Label6", "代表者フリガナ", Px(8, Line(7), 116, h));
  word(AddTextBox("Text6", Px(x, Line(7), 420, h), QStringLiteral(" ")), InputMode::Katakana);
  AddLabel("Label7", "代表者住所", Px(8, Line(8), 116, h));
  word(AddTextBox("Text7", Px(x, Line(8), 480, h), QStringLiteral(" ")), InputMode::Hiragana);
  AddLabel("Label8", "事業種目", Px(8, Line(9), 116, h));
  auto& business = AddTextBox("Text8", Px(x, Line(9), 240, h), QStringLiteral(" "));
  word(business, InputMode::Hiragana);
  business.SetTypingLimit(9);
  AddLabel("Label9", "税務署名", Px(8, Line(10), 116, h));
  word(AddTextBox("Text9", Px(x, Line(10), 200, h), QStringLiteral(" ")), InputMode::Hiragana);
  AddLabel("Label10", "税務署", Px(x + 206, Line(10), 60, h));

  AddLabel("Label12", "資本金額", Px(8, Line(11), 116, h));
  right(AddTextBox("Text11", Px(x, Line(11), 160, h)));
  // The second label of the same name, after the capital.
  AddLabel("Label10", "円", Px(x + 166, Line(11), 24, h));
  AddButton("Command5", "百万", Px(x + 196, Line(11), 64, h));
  AddButton("Command10", "menu", Px(x + 400, Line(11), 80, h));

  AddButton("Command8", "決算確定日", Px(8, Line(12), 116, h));
  AddTextBox("Text22", Px(x, Line(12), 56, h), QStringLiteral("平成"));
  right(AddTextBox("Text21", Px(x + 58, Line(12), 40, h)));
  right(AddTextBox("Text20", Px(x + 100, Line(12), 40, h)));
  right(AddTextBox("Text4", Px(x + 142, Line(12), 40, h)));
  AddButton("Command4", "登　録　実　行", Px(x + 300, Line(12), 180, h));

  // The keyboard goes through the boxes as they are read, from the code on:
  // a Space typed into a button that had the focus would empty the screen.
  SetFocusOrder(ControlsInReadingOrder());
  SetOpeningFocus("Text1");
}

CompanyRecord CompanyRegister::RecordFromBoxes(QString& refusedBox) {
  auto number = [&](const char* box) {
    refusedBox = QString::fromLatin1(box);
    return ReadNumberBox(*this, box);
  };
  // In the order the boxes are taken, which decides the failure reported.
  record_.code = number("Text1");
  record_.capital = number("Text11");
  for (const auto& [box, text] : TextBoxesOf(record_)) *text = Read(box);
  record_.settlementDate.year = number("Text21");
  record_.settlementDate.month = number("Text20");
  record_.settlementDate.day = number("Text4");
  record_.periodStart.year = number("Text13");
  record_.periodStart.month = number("Text14");
  record_.periodStart.day = number("Text15");
  record_.periodEnd.year = number("Text17");
  record_.periodEnd.month = number("Text18");
  record_.periodEnd.day = number("Text19");
  refusedBox.clear();
  return record_;
}

void CompanyRegister::Register() {
  CompanyRecord record;
  QByteArray bytes;
  QString refusedBox;
  try {
    record = RecordFromBoxes(refusedBox);
    for (const auto& [box, text] : TextBoxesOf(record)) {
      if (!IsStorableText(*text)) {
        refusedBox = box;
        break;
      }
    }
    bytes = CompanyRecordWriter(record).Encode();
    // Each folder on its own: a first registration cut short after the root
    // was made is mended by the next.
    for (const QString& folder : {kDataRoot, CompanyFolder(), ScheduleFolder(), StatementFolder()}) {
      if (!platform::FolderExists(folder)) platform::CreateFolder(folder);
    }
  } catch (const Failure& failure) {
    ReportError(QStringLiteral("会社登録"), failure);
    if (!refusedBox.isEmpty()) FocusAndSelect(refusedBox);
    return;
  }

  const QString path = CompanyMasterFile(record.code);
  try {
    platform::EnsureNewFile(path);
  } catch (const Failure& failure) {
    ReportError(QStringLiteral("同じコード名があります"), failure);
    if (!ConfirmBox(QStringLiteral("書き換えますか"))) {
      platform::Beep();
      return;
    }
  }
  try {
    platform::WriteFileAtomic(path, bytes);
  } catch (const Failure& failure) {
    ReportError(QStringLiteral("会社登録"), failure);
    return;
  }
  platform::Beep();
}

void CompanyRegister::Call() {
  CompanyRecord record = record_;
  try {
    const CompanyCode code = ReadNumberBox(*this, "Text1");
    ValueReader reader = platform::OpenValueFile(CompanyMasterFile(code));
    ReadCompanyRecord(reader, record, kCompanyRecordValues);
  } catch (const Failure& failure) {
    ReportError(QStringLiteral("会社呼出"), failure);
    Write("Text1", QString());
    return;
  }
  record_ = record;
  Write("Text1", CodeText(record.code));
  ShowCapital(record.capital);
  for (const auto& [box, text] : TextBoxesOf(record)) Write(box, *text);
  platform::ShowFiscalPeriod(*this, record.periodStart, record.periodEnd);
  platform::ShowHeiseiDate(*this, "Text21", "Text20", "Text4", record.settlementDate);
}

void CompanyRegister::CallHandedOver() {
  Write("Text1", CodeText(ReadNumberBox(*this, "Text100")));
  Press("Command6");
}

void CompanyRegister::FiscalYear() {
  try {
    const std::int64_t year = ReadNumberBox(*this, "Text13");
    const std::int64_t month = ReadNumberBox(*this, "Text14");
    const std::int64_t day = ReadNumberBox(*this, "Text15");
    if (day != 1) {
      // Only checks that the period end holds whole numbers.
      ReadNumberBox(*this, "Text17");
      ReadNumberBox(*this, "Text18");
      ReadNumberBox(*this, "Text19");
      return;
    }
    // Everything is worked out before a box changes.
    std::int64_t endYear = year + 1;
    const std::int64_t endMonth = month == 1 ? 12 : month - 1;
    if (month == 1) endYear = year;
    std::int64_t settlementMonth = endMonth + 2;
    std::int64_t settlementYear = endYear;
    if (settlementMonth == 13 || settlementMonth == 14) {
      // A settlement after December falls in the next year.
      settlementMonth -= 12;
      settlementYear += 1;
    }
    const std::int32_t shownEndYear = Checked(endYear);
    const std::int32_t shownEndMonth = Checked(endMonth);
    const std::int32_t shownSettlementYear = Checked(settlementYear);
    const std::int32_t shownSettlementMonth = Checked(settlementMonth);
    const int endDay = MonthLength(endYear, endMonth);

    Write("Text17", QString::number(shownEndYear));
    Write("Text18", QString::number(shownEndMonth));
    if (month != 1) {
      Write("Text21", QString::number(shownSettlementYear));
      Write("Text20", QString::number(shownSettlementMonth));
      Write("Text4", QStringLiteral("13"));
    }
    if (endDay != 0) Write("Text19", QString::number(endDay));
  } catch (const Failure& failure) {
    ReportError(QStringLiteral("事業年度入力"), failure);
  }
}

void CompanyRegister::CapitalInMillions() {
  const std::int64_t capital = ReadNumberBox(*this, "Text11");
  ShowCapital(Checked(capital * 1000000));
}

void CompanyRegister::ShowCapital(std::int32_t capital) {
  Write("Text11", QStringLiteral("  ") + FormatAmount(capital));
}

void CompanyRegister::ClearForNewCompany() {
  for (const char* box : kEntryBoxes) Write(box, QString());
}

}  // namespace mirudanto::app
