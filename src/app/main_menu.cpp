#include "app/main_menu.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <optional>

#include "core/amount.h"
#include "core/sequential_value_file.h"
#include "core/statement_files.h"
#include "platform/desktop.h"
#include "platform/file_transaction.h"
#include "platform/files.h"
#include "platform/period_boxes.h"
#include "platform/value_files.h"

namespace mirudanto::app {
namespace {

using platform::ReportError;
using platform::Twips;

const QString kTitle = QStringLiteral("ミルダント");
const QStringList kSetupButtons = {"Command25", "Command24", "Command26", "Command27",
                                   "Command28"};

constexpr auto Px = platform::PixelTwips;

}  // namespace

MainMenu::MainMenu() : Screen(QStringLiteral("Form1"), QStringLiteral("ミルダントシステム")) {
  OnClick("Command32", [this] { RefreshCompanyList(); });
  OnClick("Command33", [this] { RefreshCompanyList(); });
  OnClick("Command31", [this] { BuildCompanyList(); });
  OnClick("List1", [this] { PickCompany(); });
  OnClick("Command2", [this] { CallCompany(); });
  OnClick("Command9", [this] { ClearCompanyBoxes(); });
  // Every data file is read or written whole and closed within its operation,
  // so no file is ever left open for this button to close.
  OnClick("Command10", [] { platform::Beep(); });
  OnClick("Command11", [this] { CloseBox(); });
  OnClick("Command23", [this] { UnloadScreens(); });
  OnClick("Command25", [this] { InitialSetup(); });
  OnClick("Command24", [this] { SetupStep(2); });
  OnClick("Command26", [this] { SetupStep(3); });
  OnClick("Command27", [this] { SetupStep(4); });
  OnClick("Command28", [this] { SetupStep(5); });
  for (const MenuOpening& opening : MenuOpenings()) {
    OnClick(opening.menuButton, [this, &opening] { Open(opening); });
  }
}

void MainMenu::CloseBox() {
  platform::Beep();
  platform::CurrentDesktop().EndProgram();
}

void MainMenu::Build() {
  SetWindowFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 10));
  SetClientSizeTwips(Px(0, 0, 872, 672).width(), Px(0, 0, 872, 672).height());

  // The top line: code, call, name, list, period.
  AddTextBox("Text1", Px(8, 8, 56, 26)).setAlignment(Qt::AlignRight);
  AddButton("Command2", "会社呼出", Px(68, 8, 84, 26));
  AddTextBox("Text2", Px(156, 8, 260, 26), QStringLiteral("　"));
  AddButton("Command32", "法人税の目次", Px(420, 8, 104, 26));
  AddTextBox("Text10", Px(532, 8, 52, 26), QStringLiteral("自平成"));
  AddTextBox("Text13", Px(584, 8, 30, 26)).setAlignment(Qt::AlignRight);
  AddTextBox("Text14", Px(614, 8, 30, 26)).setAlignment(Qt::AlignRight);
  AddTextBox("Text15", Px(644, 8, 30, 26)).setAlignment(Qt::AlignRight);
  AddTextBox("Text16", Px(682, 8, 52, 26), QStringLiteral("至平成"));
  AddTextBox("Text17", Px(734, 8, 30, 26)).setAlignment(Qt::AlignRight);
  AddTextBox("Text18", Px(764, 8, 30, 26)).setAlignment(Qt::AlignRight);
  AddTextBox("Text19", Px(794, 8, 30, 26)).setAlignment(Qt::AlignRight);

  // The left column: clear, the 21 openings of the column, quit.
  QStringList column = {"Command9"};
  for (const MenuOpening& opening : MenuOpenings()) {
    if (opening.menuButton != "Command37" && opening.menuButton != "Command35") {
      column.append(opening.menuButton);
    }
  }
  column.append("Command11");
  int y = 44;
  for (const QString& name : column) {
    QString caption;
    if (name == "Command9") {
      caption = QStringLiteral("会社コードクリア");
    } else if (name == "Command11") {
      caption = QStringLiteral("終　了");
    } else {
      for (const MenuOpening& opening : MenuOpenings()) {
        if (opening.menuButton == name) caption = opening.caption;
      }
    }
    AddButton(name, caption, Px(8, y, 148, 25));
    y += 26;
  }

  auto& list = AddListBox("List1", Px(164, 44, 380, 622));
  list.setSortingEnabled(false);
  QObject::connect(&list, &QListWidget::itemClicked, &list,
                   [this] { RunUserAction(QStringLiteral("List1")); });

  // Right of the list: progress and set-up, the hidden helpers, the note.
  AddProgressBar("ProgressBar1", Px(556, 44, 300, 20)).setVisible(false);
  AddButton("Command25", "初期設定", Px(556, 74, 120, 28)).setVisible(false);
  auto& registered = AddLabel("Label1", "登録済", Px(684, 74, 80, 28));
  registered.setAlignment(Qt::AlignCenter);
  registered.setVisible(false);
  AddButton("Command24", "2", Px(556, 108, 28, 28)).setVisible(false);
  AddButton("Command26", "3", Px(588, 108, 28, 28)).setVisible(false);
  AddButton("Command27", "4", Px(620, 108, 28, 28)).setVisible(false);
  AddButton("Command28", "5", Px(652, 108, 28, 28)).setVisible(false);
  AddButton("Command23", "メモリーエラーの解除", Px(556, 146, 160, 26)).setVisible(false);
  AddButton("Command31", "法人税の目次", Px(556, 176, 160, 26)).setVisible(false);
  AddLabel("Label2", "注意書き", Px(556, 220, 300, 22));
  auto& note = AddLabel(
      "Label3", "これは法人税ミルダントの抄であり、全部をカバーするものではありません。",
      Px(556, 244, 300, 64));
  note.setWordWrap(true);
  note.setAlignment(Qt::AlignLeft | Qt::AlignTop);

  // The bottom right: list, file, printer and blank-A4 buttons.
  AddButton("Command10", "ファイル閉鎖", Px(676, 512, 180, 30));
  AddButton("Command33", "法人税の目次", Px(676, 546, 180, 30));
  AddButton("Command37", "プリンターの設定変更", Px(676, 598, 180, 30));
  AddButton("Command35", "A4白紙用紙印刷", Px(676, 632, 180, 30));

  // An opening whose screen is not part of this build stays visible, greyed.
  for (const MenuOpening& opening : MenuOpenings()) {
    if (platform::ScreenSet::Instance().Find(opening.screen) == nullptr) {
      Control(opening.menuButton).setEnabled(false);
    }
  }
}

void MainMenu::FormLoad() { Press("Command32"); }

void MainMenu::RefreshCompanyList() {
  ControlAs<QListWidget>("List1").clear();
  Show();
  Press("Command31");
}

void MainMenu::BuildCompanyList() {
  auto& list = ControlAs<QListWidget>("List1");
  list.clear();
  // One hold for the whole list rather than one for each file; a disk that
  // cannot be held lists nothing, as its files could not be read.
  std::optional<platform::DriveLock> disk;
  try {
    disk.emplace(kDataRoot, platform::DriveLock::Mode::Shared);
  } catch (const Failure&) {
    return;
  }
  for (CompanyCode k = 1; k <= 999; ++k) {
    try {
      // Most codes have no company: looking first spares each a failed open.
      // Without the drive the look fails as the open would, and is skipped.
      const QString master = CompanyMasterFile(k);
      if (!platform::FileExists(master)) continue;
      ValueReader reader = platform::OpenValueFile(master);
      ReadCompanyRecord(reader, record_, kCompanyRecordValues);
    } catch (const Failure&) {
      continue;
    }
    const QString code = (record_.code < 100 ? QStringLiteral("0") : QString()) +
                         CodeText(record_.code);
    list.addItem(code + QStringLiteral(" : ") + record_.name + QStringLiteral("  [平成") +
                 QString::number(record_.periodStart.year) + QChar('.') +
                 QString::number(record_.periodStart.month) + QChar('.') +
                 QString::number(record_.periodStart.day) + QChar(']'));
  }
}

void MainMenu::PickCompany() {
  QListWidgetItem* item = ControlAs<QListWidget>("List1").currentItem();
  if (item == nullptr) return;
  // The code stands before " : "; a code of four digits must not be cut.
  const QString text = item->text();
  const qsizetype separator = text.indexOf(QStringLiteral(" : "));
  Write("Text1", FormatAmount(ReadAmountCell(separator < 0 ? text : text.left(separator))));
  Press("Command2");
}

void MainMenu::CallCompany() {
  try {
    const CompanyCode code = CodeFromMenu();
    record_.code = code;
    auto& bar = ControlAs<QProgressBar>("ProgressBar1");
    bar.setVisible(true);
    bar.setValue(20);
    Press("Command23");
    ShowSetupButtons(true);
    if (!platform::FolderExists(StatementFolder())) platform::CreateFolder(StatementFolder());
  } catch (const Failure& failure) {
    ReportError(QStringLiteral("会社呼出"), failure);
    Write("Text1", QString());
    Write("Text2", QString());
    ShowSetupButtons(false);
    SetVisible("ProgressBar1", false);
    return;
  }

  try {
    ValueReader reader = platform::OpenValueFile(CompanyMasterFile(record_.code));
    ReadCompanyRecord(reader, record_, kCompanyCallValues);
  } catch (const Failure&) {
    Write("Text2", QString());
    Write("Text1", QString());
    if (platform::Screen* deposits = platform::ScreenSet::Instance().Find("Form2")) {
      deposits->Write(deposits->Contract().codeBox, QString());
    }
    if (record_.name.isEmpty()) {
      Show();
      platform::Beep();
    }
    platform::Beep();
    ShowSetupButtons(false);
    SetVisible("ProgressBar1", false);
    return;
  }

  Write("Text2", record_.name);
  platform::ShowFiscalPeriod(*this, record_.periodStart, record_.periodEnd);
  Press("Command25");
  platform::Beep();
}

void MainMenu::ClearCompanyBoxes() {
  for (const char* box : {"Text1", "Text2", "Text13", "Text14", "Text15", "Text17", "Text18",
                          "Text19"}) {
    Write(box, QString());
  }
  SetVisible("Label1", false);
  SetVisible("ProgressBar1", false);
}

void MainMenu::InitialSetup() {
  try {
    const CompanyCode code = CodeFromMenu();
    record_.code = code;
    if (platform::FileExists(StatementTextFile(StatementMark::Deposits, code))) {
      ShowSetupButtons(false);
      Press("Command12");
      SetVisible("Label1", true);
      SetVisible("ProgressBar1", false);
      return;
    }
    SaveUntouched(SetupGroups()[0], code);
    SetVisible("Command25", false);
    for (const char* step : {"Command24", "Command26", "Command27", "Command28"}) {
      Press("Command23");
      Press(step);
      SetVisible(step, false);
    }
  } catch (...) {
    ReportError(kTitle, CurrentFailure(std::current_exception()));
  }
}

void MainMenu::SetupStep(int step) {
  try {
    ControlAs<QProgressBar>("ProgressBar1").setValue(step * 20);
    Press("Command23");
    const CompanyCode code = CodeFromMenu();
    record_.code = code;
    SaveUntouched(SetupGroups()[static_cast<std::size_t>(step - 1)], code);
    platform::Beep();
    if (step == 5) {
      Press("Command12");
      SetVisible("ProgressBar1", false);
    }
  } catch (...) {
    ReportError(kTitle, CurrentFailure(std::current_exception()));
  }
}

void MainMenu::SaveUntouched(const std::vector<QString>& screens, CompanyCode code) {
  // A company whose first file went missing must not have every other file
  // overwritten with blanks: a screen any of whose files exists is left alone.
  std::vector<std::pair<platform::Screen*, ScreenContract>> saves;
  for (const QString& name : screens) {
    platform::Screen* screen = platform::ScreenSet::Instance().Find(name);
    if (screen == nullptr) continue;
    ScreenContract contract = screen->Contract();
    bool anyExists = false;
    for (const StatementFile& file : contract.files) {
      anyExists = anyExists || platform::FileExists(PathOf(file, code));
    }
    if (!anyExists) saves.emplace_back(screen, std::move(contract));
  }
  for (const auto& [screen, contract] : saves) screen->Write(contract.codeBox, CodeText(code));
  for (const auto& [screen, contract] : saves) screen->Press(contract.saveButton);
}

void MainMenu::UnloadScreens() {
  for (const QString& name : UnloadedScreens()) {
    if (platform::Screen* screen = platform::ScreenSet::Instance().Find(name)) screen->Unload();
  }
}

void MainMenu::Open(const MenuOpening& opening) {
  platform::Screen* screen = platform::ScreenSet::Instance().Find(opening.screen);
  try {
    if (opening.opening == Opening::PrinterScreen) {
      if (screen != nullptr) screen->Show();
      return;
    }
    Press("Command23");
    if (screen == nullptr) return;
    const ScreenContract contract = screen->Contract();
    switch (opening.opening) {
      case Opening::Register:
        screen->Write(contract.codeBox, CodeText(record_.code));
        // The register's own "法人コード" empties the same 18 boxes.
        screen->Press(QStringLiteral("Command7"));
        screen->Show();
        return;
      case Opening::DataScreen:
        screen->Write(contract.codeBox, CodeText(record_.code));
        screen->Show();
        return;
      default: break;
    }

    const CompanyCode code = CodeFromMenu();
    record_.code = code;
    screen->Write(contract.codeBox, CodeText(code));
    switch (opening.opening) {
      case Opening::ShownFirst:
        screen->Show();
        screen->Press(contract.loadButton);
        break;
      case Opening::ClearedFirst:
        screen->Press(contract.clearButton);
        screen->Press(contract.loadButton);
        screen->Show();
        break;
      case Opening::BothPages: {
        screen->Press(contract.loadButton);
        if (platform::Screen* page1 = platform::ScreenSet::Instance().Find(kBorrowingsPage1)) {
          const ScreenContract page1Contract = page1->Contract();
          page1->Write(page1Contract.codeBox, CodeText(code));
          page1->Press(page1Contract.loadButton);
        }
        screen->Show();
        break;
      }
      default:
        screen->Press(contract.loadButton);
        screen->Show();
        break;
    }
  } catch (...) {
    ReportError(kTitle, CurrentFailure(std::current_exception()));
  }
}

void MainMenu::ShowSetupButtons(bool visible) {
  for (const QString& button : kSetupButtons) SetVisible(button, visible);
}

CompanyCode MainMenu::CodeFromMenu() { return ReadCompanyCode32(Read("Text1")); }

}  // namespace mirudanto::app
