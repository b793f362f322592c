#include <gtest/gtest.h>

#include <functional>

#include "platform/screen.h"
#include "statements/borrowings_and_expenses/borrowings_screen.h"
#include "statements/borrowings_and_expenses/officer_pay_screen.h"
#include "statements/general/advance_payments_screen.h"
#include "statements/general/deposits_screen.h"
#include "statements/general/fixed_assets_screen.h"
#include "statements/general/inventories_screen.h"
#include "statements/general/loans_receivable_screen.h"
#include "statements/general/suspense_receipts_screen.h"
#include "statements/notes/notes_screen.h"
#include "support/screen_test.h"

namespace mirudanto::statements {
namespace {

using platform::ScreenSet;

// The controls that Tab visits from `first`, in order.
QStringList TabOrderFrom(platform::Screen& screen, const QString& first, int count) {
  QStringList order;
  QWidget* widget = &screen.Control(first);
  while (order.size() < count) {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisible() && widget->isEnabled()) {
      order.append(widget->objectName());
    }
    widget = widget->nextInFocusChain();
  }
  return order;
}

struct FocusCase {
  const char* screen;
  std::function<platform::Screen&()> add;
  // The first row's cells left to right (both lines of a two-line entry),
  // then the first cell of the next row.
  QStringList firstRow;
};

template <class T>
std::function<platform::Screen&()> Adder() {
  return [] { return std::ref(static_cast<platform::Screen&>(ScreenSet::Instance().Add<T>())); };
}

class EntryScreenFocus : public testing::ScreenTest {};

TEST_F(EntryScreenFocus, ANewScreenOpensInItsFirstCellAndTabRunsAlongEachRowThenDown) {
  const QStringList notesRow = {"Text7", "Text8", "Text1", "Text9", "Text10", "Text11",
                                "Text3", "Text2", "Text4", "Text14"};
  const QStringList counterpartyRow = {"Text7", "Text8", "Text9", "Text10", "Text11", "Text12",
                                       "Text17"};
  // The word buttons stand on a row's first line, before its second.
  const QStringList borrowingsRow = {"Text9",  "Text10", "Text12", "Command6", "Command5",
                                     "Command1", "Command28", "Text11", "Text1", "Text13",
                                     "Text14", "Text15", "Text17"};
  const FocusCase cases[] = {
      // The deposit-kind words stand beside row 1.
      {"Form2", Adder<DepositsScreen>(),
       {"Text7", "Text8", "Text9", "Text10", "Text11", "Text12", "Text5", "Text13"}},
      {"Form3", Adder<NotesReceivablePage1Screen>(), notesRow},
      {"Form22", Adder<NotesReceivablePage2Screen>(), notesRow},
      {"Form8", Adder<NotesPayableScreen>(),
       {"Text7", "Text8", "Text1", "Text9", "Text10", "Text11", "Text4", "Text14"}},
      {"Form5", Adder<AdvancePaymentsScreen>(), counterpartyRow},
      {"Form12", Adder<SuspenseReceiptsScreen>(), counterpartyRow},
      {"Form20", Adder<LoansReceivableScreen>(),
       {"Text9", "Text10", "Text12", "Text11", "Text1", "Text13", "Text14", "Text15", "Text17"}},
      {"Form6", Adder<InventoriesScreen>(),
       {"Text7", "Text8", "Text9", "Text10", "Text11", "Text12", "Text5"}},
      {"Form7", Adder<FixedAssetsScreen>(),
       {"Text20", "Text21", "Text22", "Text24", "Text72", "Text26", "Text23", "Text1", "Text25",
        "Text6", "Text27", "Text28", "Text29"}},
      {"Form13", Adder<BorrowingsPage1Screen>(), borrowingsRow},
      {"Form17", Adder<BorrowingsPage2Screen>(), borrowingsRow},
      // The officer's name first: its position box stands on the second line.
      {"Form14", Adder<OfficerPayScreen>(),
       {"Text27", "Text28", "Command7", "Command8", "Text72", "Text61", "Text26", "Text29",
        "Text30", "Text1", "Text7", "Text12", "Text17", "Command26"}},
  };
  for (const FocusCase& c : cases) {
    platform::Screen& screen = c.add();
    screen.Show();
    QWidget* focus = screen.Window().focusWidget();
    ASSERT_NE(focus, nullptr) << c.screen;
    EXPECT_EQ(focus->objectName(), c.firstRow.front()) << c.screen;
    EXPECT_EQ(TabOrderFrom(screen, c.firstRow.front(), static_cast<int>(c.firstRow.size())),
              c.firstRow)
        << c.screen;
    screen.Unload();
  }
}

}  // namespace
}  // namespace mirudanto::statements
