#include "printing/preprinted/preprinted_screen.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <vector>

#include "core/amount.h"
#include "core/company_code.h"
#include "core/failure.h"
#include "platform/desktop.h"
#include "printing/preprinted/preprinted_layout.h"
#include "printing/printer.h"

namespace mirudanto::printing {
namespace {

using platform::Twips;
using S = PrintStatement;

const QString kTitle = QStringLiteral("印刷");
const QString kSystemTitle = QStringLiteral("ミルダント");
// The commonest reason a load stops: page 2 of ② was never saved.
const QString kLoadTitle = QStringLiteral("受取手形②を実行してください");
const QString kMarkCaption = QStringLiteral("要");
const QString kOffsetX = QStringLiteral("Text9");
const QString kOffsetY = QStringLiteral("Text10");
const QString kBlankA4Screen = QStringLiteral("Form23");

using platform::kLightRed;
using platform::kLightYellow;

// One statement's row on the right: its mark and its print button (none for
// ⑧, which prints only on blank A4). Positions in twips.
struct StatementRow {
  PrintStatement statement;
  QString label;
  int labelTop;
  QString button;  // empty: no button
  QString caption;
  int buttonTop;
  int buttonWidth;
  int buttonHeight;
};

const std::vector<StatementRow>& Rows() {
  static const std::vector<StatementRow> rows = {
      {S::Deposits, "Label1", 240, "Command12", "預貯金", 120, 855, 375},
      {S::NotesReceivable, "Label2", 600, "Command1", "受取手形", 480, 855, 375},
      {S::NotesReceivable2nd, "Label27", 960, "Command2", "②受取手形", 840, 1095, 375},
      {S::Receivables, "Label3", 1320, "Command4", "売掛金", 1200, 855, 375},
      {S::AdvancesAndLoans, "Label4", 1800, "Command5", "仮払金貸付金", 1560, 855, 615},
      {S::Inventories, "Label5", 2280, "Command6", "棚卸商品", 2160, 855, 375},
      {S::FixedAssets, "Label6", 2640, "Command7", "固定資産", 2520, 855, 375},
      {S::NotesPayable, "Label7", 3000, {}, {}, 0, 0, 0},
      {S::Payables, "Label8", 3480, "Command8", "買掛金未払金", 3240, 855, 615},
      {S::SuspenseReceipts, "Label9", 3960, "Command16", "仮受金", 3840, 855, 375},
      {S::Borrowings, "Label10", 4320, "Command17", "借入金", 4200, 855, 375},
      {S::OfficerPay, "Label11", 4680, "Command18", "役員報酬", 4560, 855, 375},
      {S::Rents, "Label12", 5040, "Command20", "地代家賃", 4920, 855, 375},
      {S::MiscGainsLosses, "Label13", 5520, "Command19", "雑　益雑　損", 5280, 855, 615},
  };
  return rows;
}

const StatementRow& RowOf(PrintStatement statement) {
  for (const StatementRow& row : Rows()) {
    if (row.statement == statement) return row;
  }
  throw std::logic_error("no such statement on the preprinted-sheet screen");
}

// A caption too wide for its button goes on two lines, as the button's own
// text cannot: a label over the button shows it wrapped, and the button keeps
// the caption as its text, drawn invisibly.
void WrapCaption(QPushButton& button) {
  auto* shown = new QLabel(button.text(), &button);
  shown->setWordWrap(true);
  shown->setAlignment(Qt::AlignCenter);
  shown->setAttribute(Qt::WA_TransparentForMouseEvents);
  shown->setGeometry(button.rect().adjusted(3, 3, -3, -3));
  // The button's own text colour goes; the label keeps the window's.
  shown->setForegroundRole(QPalette::WindowText);
  QPalette hidden = button.palette();
  hidden.setColor(QPalette::ButtonText, Qt::transparent);
  button.setPalette(hidden);
}

}  // namespace

PreprintedScreen::PreprintedScreen() : Screen(QStringLiteral("Form18"), kTitle) {
  OnClick(QStringLiteral("Command3"), [this] { LoadPrintData(); });
  OnClick(QStringLiteral("Command35"), [this] { OpenBlankA4Printing(); });
  for (const StatementRow& row : Rows()) {
    if (row.button.isEmpty()) continue;
    const PrintStatement statement = row.statement;
    OnClick(row.button, [this, statement] { PrintOnPreprintedForm(statement); });
  }
}

void PreprintedScreen::Build() {
  SetWindowFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 10));
  SetClientSizeTwips(5940, 6660);

  // The offsets and the fixed texts around them, which nothing reads.
  struct Fixed {
    const char* name;
    const char* text;
    QRect twips;
    bool right;
  };
  const Fixed fixed[] = {
      {"Text1", "上段", Twips(360, 120, 615, 330), false},
      {"Text3", "24", Twips(960, 120, 495, 330), true},
      {"Text5", "mm", Twips(1440, 120, 495, 330), false},
      {"Text2", "左側", Twips(360, 480, 615, 330), false},
      {"Text4", "27", Twips(960, 480, 495, 330), true},
      {"Text6", "mm", Twips(1440, 480, 495, 330), false},
      {"Text7", "上方へ", Twips(360, 840, 855, 330), false},
      {"Text9", "0", Twips(1200, 840, 495, 330), true},
      {"Text11", "mm移動する", Twips(1680, 840, 1455, 330), false},
      {"Text8", "左方へ", Twips(360, 1200, 855, 330), false},
      {"Text10", "0", Twips(1200, 1200, 495, 330), true},
      {"Text12", "移動するmm", Twips(1680, 1200, 1455, 330), false},
  };
  for (const Fixed& box : fixed) {
    const QString name = QString::fromUtf8(box.name);
    platform::TextBox& text = AddTextBox(name, box.twips, QString::fromUtf8(box.text));
    if (box.right) text.setAlignment(Qt::AlignRight);
    const bool offset = name == kOffsetX || name == kOffsetY;
    platform::Paint(text, offset ? QColor(Qt::white) : kLightRed, QPalette::Base);
    if (!offset) PassByOnTab(name);
  }

  AddTextBox(QStringLiteral("Text146"), Twips(1920, 120, 615, 330)).setVisible(false);
  AddButton(QStringLiteral("Command3"), QStringLiteral("DATA"), Twips(1920, 480, 1095, 375))
      .setVisible(false);

  for (const StatementRow& row : Rows()) {
    if (row.button.isEmpty()) continue;
    QPushButton& button = AddButton(
        row.button, row.caption, Twips(3480, row.buttonTop, row.buttonWidth, row.buttonHeight));
    if (row.buttonHeight > 375) WrapCaption(button);
  }
  for (const StatementRow& row : Rows()) {
    QLabel& mark = AddLabel(row.label, kMarkCaption, Twips(3240, row.labelTop, 255, 255));
    mark.setVisible(false);
  }

  QPushButton& blankA4 = AddButton(QStringLiteral("Command35"), QStringLiteral("A4白紙用紙印刷"),
                                   Twips(120, 5400, 2415, 375));
  platform::Paint(blankA4, kLightYellow, QPalette::Button);
  // Like the main menu's openings: a screen this build lacks is offered greyed.
  if (platform::ScreenSet::Instance().Find(kBlankA4Screen) == nullptr) blankA4.setEnabled(false);

  QLabel& warning = AddLabel(QStringLiteral("Label28"), QStringLiteral("A4白紙用紙印刷用じゃないよ"),
                             Twips(120, 6000, 5655, 495));
  platform::StyleCaption(warning, 20.25, Qt::red);

  // The screen opens in its first entry, where a stray key prints nothing.
  SetOpeningFocus(kOffsetX);
}

void PreprintedScreen::LoadPrintData() {
  try {
    data_.Load(Read(QStringLiteral("Text146")));
  } catch (...) {
    platform::ReportError(kLoadTitle, CurrentFailure(std::current_exception()));
    return;
  }
  platform::Beep();
  for (const StatementRow& row : Rows()) {
    if (data_.NeedsPrint(row.statement)) SetVisible(row.label, true);
  }
}

void PreprintedScreen::PrintOnPreprintedForm(PrintStatement statement) {
  const StatementRow& row = RowOf(statement);
  try {
    const int offsetX = ReadNumberOrFail(Read(kOffsetX), NumberWidth::Bits16);
    const int offsetY = ReadNumberOrFail(Read(kOffsetY), NumberWidth::Bits16);
    // Never another company's or stale figures on paper.
    data_.RequireWhole(statement);
    PrintPage(CurrentPrinter(), row.caption, [&](PagePlan& plan) {
      PlanPreprintedPage(plan, PreprintedLayoutOf(statement), data_, offsetX, offsetY);
    });
  } catch (...) {
    platform::ReportError(kSystemTitle, CurrentFailure(std::current_exception()));
    return;
  }
  // Only a page that went out takes its "要" away.
  SetCaption(row.label, QString());
}

void PreprintedScreen::OpenBlankA4Printing() {
  try {
    // Whatever can stop the hand-over before the blank-A4 screen is shown
    // stops it while this screen is still shown.
    const CompanyCode code = ReadCompanyCode16(Read(QStringLiteral("Text146")));
    platform::Screen& blankA4 = platform::ScreenNamed(kBlankA4Screen);
    Hide();
    const ScreenContract contract = blankA4.Contract();
    blankA4.Write(contract.codeBox, CodeText(code));
    blankA4.Load();
    blankA4.Show();
    blankA4.Press(contract.loadButton);
  } catch (...) {
    platform::ReportError(kSystemTitle, CurrentFailure(std::current_exception()));
  }
}

}  // namespace mirudanto::printing
