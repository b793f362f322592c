#include "app/printer_screen.h"

#include <QFont>
#include <QLabel>
#include <QListWidget>

#include "core/failure.h"
#include "platform/desktop.h"
#include "platform/printers.h"

namespace mirudanto::app {
namespace {

using platform::Twips;

const QString kTitle = QStringLiteral("プリンターの変更");

}  // namespace

PrinterScreen::PrinterScreen() : Screen(QStringLiteral("Form25"), kTitle) {
  OnClick(QStringLiteral("Command1"), [this] { SetDefaultPrinterAndReturn(); });
  OnClick(QStringLiteral("Command2"), [this] { ReturnToMenu(); });
}

void PrinterScreen::Build() {
  SetWindowFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 10));
  SetClientSizeTwips(7200, 3540);

  AddLabel(QStringLiteral("Label1"), QStringLiteral("プリンタ："), Twips(240, 300, 1200, 300));
  // Made before the buttons: the list comes first in the focus order.
  QListWidget& list = AddListBox(QStringLiteral("List1"), Twips(1440, 240, 3960, 2280));
  list.setSelectionMode(QAbstractItemView::SingleSelection);
  AddButton(QStringLiteral("Command1"), QStringLiteral("設  定"), Twips(5640, 240, 1320, 480));
  AddButton(QStringLiteral("Command2"), QStringLiteral("閉じる"), Twips(5640, 840, 1320, 480));
  QLabel& caution = AddLabel(
      QStringLiteral("Label2"),
      QStringLiteral(
          "（注意事項）　　ここで変更したプリンターはパソコンの標準設定をも変更してしまいます。"),
      Twips(240, 2760, 6720, 600));
  caution.setWordWrap(true);
  caution.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont bold = caution.font();
  bold.setBold(true);
  caution.setFont(bold);
}

void PrinterScreen::FormLoad() {
  auto& list = ControlAs<QListWidget>(QStringLiteral("List1"));
  for (const QString& name : platform::InstalledPrinters()) list.addItem(name);
  if (list.count() > 0) list.setCurrentRow(0);
}

void PrinterScreen::SetDefaultPrinterAndReturn() {
  const QList<QListWidgetItem*> selected =
      ControlAs<QListWidget>(QStringLiteral("List1")).selectedItems();
  // With no printer to choose there is nothing to set: the button only closes.
  if (!selected.isEmpty()) {
    try {
      platform::SetDefaultPrinter(selected.front()->text());
    } catch (...) {
      // The print system refused (a printer removed since the list was made):
      // the screen stays, so the user can pick another.
      platform::ReportError(kTitle, CurrentFailure(std::current_exception()));
      return;
    }
  }
  ReturnToMenu();
}

void PrinterScreen::ReturnToMenu() {
  platform::ScreenNamed(QStringLiteral("Form1")).Show();
  Hide();
}

}  // namespace mirudanto::app
