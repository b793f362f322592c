// Every preprinted layout on the recording backend: which values each sheet
// prints, and where, in which size, moved by the offsets.
#include <gtest/gtest.h>

#include <algorithm>

#include "printing/preprinted/preprinted_layout.h"
#include "printing/preprinted_fixture.h"

namespace mirudanto::printing {
namespace {

using testing::Edit;
using testing::Is;
using testing::WriteCompany;
using M = StatementMark;
constexpr FileRole A = FileRole::Amounts;
constexpr double kMm = 25.4 / 72;

int OrderIndex(M mark, FileRole role) {
  const auto& order = PrintDataSetOrder();
  for (std::size_t k = 0; k < order.size(); ++k) {
    if (order[k].mark == mark && order[k].role == role) return static_cast<int>(k);
  }
  return -1;
}

// Every amount of the company differs from every other, so that each printed
// figure tells where it came from: value n of the k-th file is (k + 1)·1000 + n,
// between 1000 and 999,999, so a nudged amount moves 1 mm.
Amount Value(M mark, int n) { return (OrderIndex(mark, A) + 1) * 1000 + n; }

Edit UniqueAmounts(const Edit& more = {}) {
  return [more](const StatementFile& file, QStringList& lines) {
    if (file.role == A) {
      for (int n = 1; n <= lines.size(); ++n) lines[n - 1] = QString::number(Value(file.mark, n));
    }
    if (more) more(file, lines);
  };
}

QString Tag(M mark, int n) { return MarkText(mark) + QChar('#') + QString::number(n); }

struct Expected {
  QString text;
  double x;
  double y;
  double points;
};

Expected T(M mark, int n, double x, double y, double points) {
  return {Tag(mark, n), x, y, points};
}
Expected L(const QString& text, double x, double y, double points) { return {text, x, y, points}; }
// An amount placed by its plain digits at 0.5 em each, plus its nudge.
Expected Am(std::int64_t value, double right, double y, double points, double nudge) {
  const double width = QString::number(value).size() * 0.5 * points * kMm;
  return {FormatWideAmount(value), right - width + nudge, y, points};
}

using Runs = std::initializer_list<std::pair<int, int>>;
void AddTexts(QStringList& texts, M mark, Runs runs) {
  for (const auto& [first, last] : runs) {
    for (int n = first; n <= last; ++n) texts.append(Tag(mark, n));
  }
}
void AddAmounts(QStringList& texts, M mark, Runs runs) {
  for (const auto& [first, last] : runs) {
    for (int n = first; n <= last; ++n) texts.append(FormatAmount(Value(mark, n)));
  }
}

struct LayoutCase {
  QString button;
  QString label;
  QStringList texts;  // every text the sheet prints, in any order
  std::vector<Expected> places;  // at offsets 0
};

std::vector<LayoutCase> Cases() {
  std::vector<LayoutCase> cases;
  {
    LayoutCase c{"Command12", "Label1"};
    AddTexts(c.texts, M::Deposits, {{1, 75}});
    AddAmounts(c.texts, M::Deposits, {{1, 16}});
    c.places = {T(M::Deposits, 1, 27, 32, 11),  T(M::Deposits, 2, 47, 35, 11),
                T(M::Deposits, 3, 66, 32, 11),  T(M::Deposits, 4, 90, 32, 11),
                T(M::Deposits, 5, 152, 32, 11), Am(Value(M::Deposits, 1), 143, 33, 15, 1),
                T(M::Deposits, 71, 27, 158, 11), T(M::Deposits, 72, 47, 161, 11),
                Am(Value(M::Deposits, 15), 143, 159, 15, 1),
                Am(Value(M::Deposits, 16), 143, 239, 15, 1)};
    cases.push_back(c);
  }
  for (const auto& [button, label, page] :
       {std::tuple{"Command1", "Label2", M::NotesReceivable},
        std::tuple{"Command2", "Label27", M::NotesReceivable2nd}}) {
    LayoutCase c{button, label};
    AddTexts(c.texts, page, {{1, 104}});
    AddAmounts(c.texts, page, {{1, 14}});
    c.places = {T(page, 1, 27, 32, 11),   T(page, 14, 59, 31, 11),  T(page, 15, 59, 35, 11),
                T(page, 40, 76, 31, 11),  T(page, 53, 87, 35, 11),  T(page, 66, 131, 31, 11),
                T(page, 79, 143, 34, 11), T(page, 92, 157, 32, 11), Am(Value(page, 1), 125, 32, 15, 1),
                // The rows pulled up: 0 to row 3, −2 to 9, −4 to 11, −5 to 13.
                T(page, 3, 27, 50, 11),   T(page, 4, 27, 57, 11),   T(page, 9, 27, 102, 11),
                T(page, 10, 27, 109, 11), T(page, 11, 27, 118, 11), T(page, 12, 27, 126, 11),
                T(page, 13, 27, 135, 11), T(page, 38, 59, 135 - 1, 11), T(page, 104, 157, 135, 11),
                Am(Value(page, 4), 125, 57, 15, 1), Am(Value(page, 13), 125, 135, 15, 1),
                // The total line is not pulled up.
                Am(Value(page, 14), 125, 230, 15, 1)};
    cases.push_back(c);
  }
  {
    LayoutCase c{"Command4", "Label3"};
    AddTexts(c.texts, M::Receivables, {{1, 56}});
    AddAmounts(c.texts, M::Receivables, {{1, 15}});
    c.places = {T(M::Receivables, 1, 27, 36, 11),   T(M::Receivables, 15, 46, 36, 11),
                T(M::Receivables, 29, 83, 36, 11),  T(M::Receivables, 43, 170, 36, 11),
                Am(Value(M::Receivables, 1), 162, 36, 15, 1),
                T(M::Receivables, 14, 27, 140, 11), T(M::Receivables, 56, 170, 140, 11),
                Am(Value(M::Receivables, 14), 162, 140, 15, 1),
                Am(Value(M::Receivables, 15), 162, 244, 15, 1)};
    cases.push_back(c);
  }
  {
    constexpr M P = M::AdvancePayments;
    constexpr M Lo = M::LoansReceivable;
    LayoutCase c{"Command5", "Label4"};
    AddTexts(c.texts, P, {{1, 55}});
    AddAmounts(c.texts, P, {{1, 11}});
    AddTexts(c.texts, Lo, {{1, 49}});
    AddAmounts(c.texts, Lo, {{1, 7}});
    std::int64_t loans = 0;
    for (int n = 1; n <= 7; ++n) loans += Value(Lo, n);
    c.texts.append(QStringLiteral("計"));
    c.texts.append(FormatWideAmount(loans));
    c.places = {T(P, 1, 24, 38, 11),   T(P, 12, 46, 38, 11),  T(P, 23, 79, 38, 11),
                T(P, 34, 125, 38, 11), T(P, 45, 166, 38, 11), Am(Value(P, 1), 163, 38, 15, 0),
                T(P, 11, 24, 108, 11), Am(Value(P, 11), 163, 108, 15, 0),
                L(QStringLiteral("計"), 32, 112, 11),
                T(Lo, 1, 27, 152, 11),  T(Lo, 2, 65, 152, 11),  T(Lo, 3, 27, 159, 11),
                T(Lo, 4, 115, 152, 11), T(Lo, 5, 115, 158, 11), T(Lo, 6, 134, 155, 11),
                T(Lo, 7, 157, 155, 11), Am(Value(Lo, 1), 111, 155, 15, 0),
                T(Lo, 8, 27, 163.5, 11), T(Lo, 43, 27, 221, 11), Am(Value(Lo, 7), 111, 224, 15, 0),
                // The sum of the seven balances, not the stored total.
                Am(loans, 111, 234, 15, 0)};
    cases.push_back(c);
  }
  {
    constexpr M I = M::Inventories;
    LayoutCase c{"Command6", "Label5"};
    AddTexts(c.texts, I, {{7, 31}});
    AddAmounts(c.texts, I, {{1, 6}});
    c.texts << QStringLiteral("〇") << QStringLiteral(" 19") << QStringLiteral(" 3")
            << QStringLiteral("-1");
    c.places = {T(I, 7, 27, 31, 11),   T(I, 8, 50, 31, 11),  T(I, 9, 84, 31, 11),
                T(I, 10, 103, 31, 11), T(I, 11, 157, 31, 11), Am(Value(I, 1), 148, 31, 15, 1),
                T(I, 27, 27, 63, 11),  Am(Value(I, 5), 148, 63, 15, 1),
                Am(Value(I, 6), 148, 218, 15, 1),
                L(QStringLiteral("〇"), 47, 237, 11),  L(QStringLiteral(" 19"), 87, 244, 11),
                L(QStringLiteral(" 3"), 100, 244, 11), L(QStringLiteral("-1"), 112, 244, 11)};
    cases.push_back(c);
  }
  {
    constexpr M F = M::FixedAssets;
    LayoutCase c{"Command7", "Label6"};
    AddTexts(c.texts, F, {{1, 45}});
    AddAmounts(c.texts, F, {{1, 17}});
    c.texts.append(QStringLiteral("合　　計"));
    c.places = {T(F, 1, 24, 46, 10),  T(F, 2, 42, 46, 10),  T(F, 3, 64, 46, 10),
                T(F, 4, 25, 56, 10),  T(F, 5, 95, 46, 10),  T(F, 6, 95, 56, 10),
                T(F, 7, 134, 46, 10), T(F, 8, 134, 56, 10), T(F, 9, 174, 51, 10),
                Am(Value(F, 11), 132, 46, 10, 0), Am(Value(F, 6), 132, 56, 10, 0),
                Am(Value(F, 1), 92, 51, 10, 0),   T(F, 37, 24, 126, 10),
                Am(Value(F, 5), 92, 131, 10, 0),  L(QStringLiteral("合　　計"), 40, 234, 10),
                Am(Value(F, 16), 92, 234, 10, 0), Am(Value(F, 17), 132, 234, 10, 0)};
    cases.push_back(c);
  }
  {
    constexpr M P = M::Payables;
    constexpr M O = M::OtherPayables;
    LayoutCase c{"Command8", "Label8"};
    // 11 of 13 and 9 of 11 rows; the stored totals cover all of them.
    AddTexts(c.texts, P, {{1, 11}, {14, 24}, {27, 37}, {40, 50}});
    AddAmounts(c.texts, P, {{1, 11}, {14, 14}});
    AddTexts(c.texts, O, {{1, 9}, {12, 20}, {23, 31}, {34, 42}});
    AddAmounts(c.texts, O, {{1, 9}, {12, 12}});
    c.texts << QStringLiteral("合　　計") << QStringLiteral("合　　計");
    c.places = {T(P, 1, 26, 36, 11),   T(P, 14, 44, 36, 11),  T(P, 27, 81, 36, 11),
                T(P, 40, 166, 36, 11), Am(Value(P, 1), 161, 36, 15, 1),
                T(P, 2, 26, 43.75, 11), T(P, 11, 26, 113.5, 11), Am(Value(P, 11), 161, 113.5, 15, 1),
                L(QStringLiteral("合　　計"), 93, 121, 15), Am(Value(P, 14), 161, 121, 15, 1),
                T(O, 1, 26, 136, 11),  T(O, 12, 44, 136, 11), T(O, 23, 81, 136, 11),
                T(O, 34, 166, 136, 11), Am(Value(O, 1), 161, 136, 15, 1),
                T(O, 9, 26, 198, 11),  Am(Value(O, 9), 161, 198, 15, 1),
                L(QStringLiteral("合　　計"), 93, 207, 15), Am(Value(O, 12), 161, 207, 15, 1)};
    cases.push_back(c);
  }
  {
    constexpr M R = M::SuspenseReceipts;
    LayoutCase c{"Command16", "Label9"};
    AddTexts(c.texts, R, {{1, 10}, {12, 21}, {23, 32}, {34, 43}, {45, 54}, {56, 91}});
    AddAmounts(c.texts, R, {{1, 23}});
    c.texts.append(QStringLiteral("合　　計"));
    c.places = {T(R, 1, 23, 39, 11),   T(R, 12, 44, 39, 11),  T(R, 23, 73, 39, 11),
                T(R, 34, 115, 39, 11), T(R, 45, 167, 39, 11), Am(Value(R, 1), 161, 38, 15, 1),
                T(R, 10, 23, 102, 11), Am(Value(R, 10), 161, 101, 15, 1),
                L(QStringLiteral("合　　計"), 81, 139, 15), Am(Value(R, 11), 161, 139, 15, 1),
                T(R, 56, 29, 213, 11), T(R, 62, 41, 213, 11), T(R, 68, 55, 213, 11),
                Am(Value(R, 12), 102, 213, 15, 0),  // the left list takes no nudge
                T(R, 74, 113, 213, 11), T(R, 80, 125, 213, 11), T(R, 86, 140, 213, 11),
                Am(Value(R, 18), 184, 213, 15, 1),
                T(R, 61, 29, 258, 11), Am(Value(R, 17), 102, 258, 15, 0),
                T(R, 91, 140, 258, 11), Am(Value(R, 23), 184, 258, 15, 1)};
    cases.push_back(c);
  }
  {
    constexpr M P1 = M::Borrowings1;
    constexpr M P2 = M::Borrowings2;
    LayoutCase c{"Command17", "Label10"};
    AddTexts(c.texts, P1, {{1, 42}});
    AddTexts(c.texts, P2, {{1, 42}});
    AddAmounts(c.texts, P1, {{1, 7}, {9, 15}});
    AddAmounts(c.texts, P2, {{1, 7}, {10, 16}});
    // Page 1's stored totals and page 2's rows.
    std::int64_t interest = Value(P1, 16);
    std::int64_t balance = Value(P1, 8);
    for (int n = 10; n <= 16; ++n) interest += Value(P2, n);
    for (int n = 1; n <= 7; ++n) balance += Value(P2, n);
    c.texts << FormatWideAmount(interest) << FormatWideAmount(balance);
    c.places = {T(P1, 1, 27, 36, 11),   T(P1, 2, 59, 36, 11),   T(P1, 3, 27, 42, 11),
                Am(Value(P1, 9), 125, 36, 11, 1), T(P1, 4, 110, 42, 11),
                T(P1, 5, 134, 39, 11),  T(P1, 6, 158, 39, 11),  Am(Value(P1, 1), 102, 39, 15, 1),
                T(P2, 1, 27, 124, 11),  T(P2, 2, 59, 124, 11),  T(P2, 3, 27, 131, 11),
                Am(Value(P2, 10), 125, 124, 11, 1), T(P2, 4, 110, 129, 11),
                T(P2, 5, 134, 128, 11), T(P2, 6, 158, 128, 11), Am(Value(P2, 1), 102, 128, 15, 1),
                T(P1, 37, 27, 114, 11), Am(Value(P1, 7), 102, 117, 15, 1),
                T(P2, 37, 27, 202, 11), Am(Value(P2, 7), 102, 206, 15, 1),
                Am(interest, 125, 213, 11, 1), Am(balance, 102, 219, 15, 1)};
    cases.push_back(c);
  }
  {
    constexpr M O = M::OfficerPay;
    LayoutCase c{"Command18", "Label11"};
    for (int r = 1; r <= 6; ++r) AddTexts(c.texts, O, {{5 * r - 4, 5 * r - 1}});
    AddAmounts(c.texts, O, {{1, 7}, {8, 13}, {15, 20}, {22, 28}, {29, 36}, {37, 42}, {44, 49}});
    c.texts << QStringLiteral("〇") << QStringLiteral("〇");
    c.places = {T(O, 1, 26, 52, 11),  T(O, 2, 41, 47, 11), T(O, 3, 67, 47, 11),
                T(O, 4, 41, 53, 11),  Am(Value(O, 1), 115, 53, 11, 0),
                Am(Value(O, 8), 140, 53, 11, 0),  Am(Value(O, 15), 163, 53, 11, 0),
                Am(Value(O, 22), 186, 53, 11, 0), Am(Value(O, 37), 140, 47, 11, 0),
                Am(Value(O, 44), 187, 47, 11, 0), T(O, 26, 26, 112, 11),
                Am(Value(O, 6), 115, 113, 11, 0), Am(Value(O, 7), 115, 172, 11, 0),
                Am(Value(O, 28), 186, 172, 11, 0),
                // Officer 1 is "常勤", officer 2 "非常勤"; the others are near misses.
                L(QStringLiteral("〇"), 83, 49, 11), L(QStringLiteral("〇"), 90, 63, 11),
                Am(Value(O, 29), 135, 201, 15, 0), Am(Value(O, 33), 182, 201, 15, 0),
                Am(Value(O, 32), 135, 231, 15, 0), Am(Value(O, 36), 182, 231, 15, 0)};
    cases.push_back(c);
  }
  {
    constexpr M R = M::Rents;
    LayoutCase c{"Command20", "Label12"};
    AddTexts(c.texts, R, {{1, 49}});
    AddAmounts(c.texts, R, {{1, 8}});
    c.texts.append(QStringLiteral("合　　　計"));
    c.places = {T(R, 1, 29, 49, 11),  T(R, 2, 47, 44, 11),  T(R, 3, 47, 49, 11),
                T(R, 4, 90, 44, 11),  T(R, 5, 90, 49, 11),  T(R, 6, 132, 44, 11),
                T(R, 7, 158, 49, 11), Am(Value(R, 1), 152, 49, 11, 0),
                T(R, 43, 29, 115, 11), Am(Value(R, 7), 152, 115, 11, 0),
                L(QStringLiteral("合　　　計"), 97, 125, 11), Am(Value(R, 8), 152, 125, 11, 0)};
    cases.push_back(c);
  }
  {
    constexpr M G = M::MiscGains;
    constexpr M Lo = M::MiscLosses;
    LayoutCase c{"Command19", "Label13"};
    AddTexts(c.texts, G, {{1, 40}});
    AddTexts(c.texts, Lo, {{1, 40}});
    // No total on the sheet.
    AddAmounts(c.texts, G, {{1, 10}});
    AddAmounts(c.texts, Lo, {{1, 10}});
    c.places = {T(G, 1, 38, 37, 11),    T(G, 2, 58, 37, 11),  T(G, 3, 90, 37, 11),
                T(G, 4, 122, 37, 11),   Am(Value(G, 1), 186, 37, 15, 1),
                T(G, 37, 38, 136, 11),  Am(Value(G, 10), 186, 136, 15, 1),
                T(Lo, 1, 38, 149, 11),  T(Lo, 4, 122, 149, 11), Am(Value(Lo, 1), 186, 149, 15, 1),
                T(Lo, 40, 122, 248, 11), Am(Value(Lo, 10), 186, 248, 15, 1)};
    cases.push_back(c);
  }
  return cases;
}

// The company of the layout tests: unique amounts, a stocktaking date of
// 19, 3, -1 and officers' attendance texts around "常勤" and "非常勤".
void WriteLayoutCompany(const testing::TempDrives& drives) {
  WriteCompany(drives, 7, UniqueAmounts([](const StatementFile& file, QStringList& lines) {
                 if (Is(file, M::Inventories, FileRole::Text)) {
                   lines[0] = QStringLiteral("19");
                   lines[1] = QStringLiteral("3");
                   lines[2] = QStringLiteral("-1");
                   lines[3] = QStringLiteral("0");  // the method is never read
                 }
                 if (Is(file, M::OfficerPay, FileRole::Text)) {
                   const QStringList attendance = {"\"常勤\"",  "\"非常勤\"", "\" 常勤\"",
                                                   "\"常勤 \"", "\"　\"",     "\"\""};
                   for (int r = 1; r <= 6; ++r) lines[5 * r - 1] = attendance[r - 1];
                 }
               }));
}

void ExpectSheet(const RecordingPrinter::Job& job, const LayoutCase& c, int offsetX, int offsetY) {
  const std::vector<Printed> printed = PrintedTexts(job);
  QStringList texts;
  for (const Printed& p : printed) texts.append(p.text);
  QStringList expected = c.texts;
  texts.sort();
  expected.sort();
  EXPECT_EQ(texts, expected);
  for (const Expected& want : c.places) {
    SCOPED_TRACE(want.text.toStdString());
    const auto found = std::find_if(printed.begin(), printed.end(), [&](const Printed& p) {
      return p.text == want.text && std::abs(p.x - (want.x + offsetX)) < 1e-4 &&
             std::abs(p.y - (want.y + offsetY)) < 1e-4 && p.points == want.points;
    });
    if (found != printed.end()) continue;
    std::string seen;
    for (const Printed& p : printed) {
      if (p.text == want.text) {
        seen += " (" + std::to_string(p.x) + ", " + std::to_string(p.y) + ", " +
                std::to_string(p.points) + ")";
      }
    }
    ADD_FAILURE() << "wanted (" << want.x + offsetX << ", " << want.y + offsetY << ", "
                  << want.points << "), printed at" << seen;
  }
}

TEST_F(PreprintedTest, EverySheetPrintsItsValuesAtTheirPlacesMovedRightAndUpByTheOffsets) {
  WriteLayoutCompany(drives);
  Open();
  Offsets(QStringLiteral("3"), QStringLiteral("-2"));
  for (const LayoutCase& c : Cases()) {
    SCOPED_TRACE(c.button.toStdString());
    ASSERT_EQ(screen->CaptionOf(c.label), QStringLiteral("要"));
    printer.jobs.clear();
    Click(c.button);
    ASSERT_EQ(printer.jobs.size(), 1u);
    ExpectSheet(printer.jobs[0], c, 3, -2);
    EXPECT_EQ(screen->CaptionOf(c.label), QString());
  }
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(PreprintedTest, WithBothOffsetsZeroEveryItemPrintsAtItsBasePosition) {
  WriteLayoutCompany(drives);
  Open();
  for (const LayoutCase& c : Cases()) {
    SCOPED_TRACE(c.button.toStdString());
    printer.jobs.clear();
    Click(c.button);
    ASSERT_EQ(printer.jobs.size(), 1u);
    ExpectSheet(printer.jobs[0], c, 0, 0);
  }
}

}  // namespace
}  // namespace mirudanto::printing
