#include "backup/data_screen.h"

#include <QPalette>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <cmath>

#include "backup/company_copies.h"
#include "backup/company_files.h"
#include "core/failure.h"
#include "core/statement_files.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/period_boxes.h"

namespace mirudanto::backup {
namespace {

using platform::ReportError;

constexpr auto Px = platform::PixelTwips;

const QString kDataTitle = QStringLiteral("データ");
const QString kCallTitle = QStringLiteral("会社呼出");
// The title of every failure of the five file operations.
const QString kCodeTitle = QStringLiteral("法人コードの入力");

using platform::kLightCyan;
using platform::kLightYellow;
const QColor kMagenta(255, 0, 255);

constexpr int kLineHeight = 26;
constexpr int kWindowWidth = 600;
constexpr int kWindowHeight = 292;

// The progress bar for the length of one operation: shown from 0 when the
// operation starts writing, and hidden when it ends, however it ends.
class ProgressShown {
 public:
  explicit ProgressShown(QProgressBar& bar) : bar_(&bar) {
    bar.setValue(0);
    bar.setVisible(true);
    bar.repaint();
  }
  ~ProgressShown() {
    if (bar_) bar_->setVisible(false);
  }
  ProgressShown(const ProgressShown&) = delete;
  ProgressShown& operator=(const ProgressShown&) = delete;

  // After the k-th of n files: k × 100 / n, to the nearest whole step. The
  // operation runs without yielding, so the bar paints itself at once.
  void Set(int done, int total) {
    if (!bar_ || total <= 0) return;
    bar_->setValue(static_cast<int>(std::lround(done * 100.0 / total)));
    bar_->repaint();
  }

 private:
  QPointer<QProgressBar> bar_;
};

}  // namespace

DataScreen::DataScreen() : Screen(QStringLiteral("Form21"), QStringLiteral("データ")) {
  OnClick("Command5", [this] { TakeHandedCode(); });
  OnClick("Command4", [this] { CallCompany(); });
  OnClick("Command9", [this] { ClearCompanyBoxes(); });
  OnClick("Command1", [this] { CopyCompanyToFloppy(); });
  OnClick("Command2", [this] { RestoreCompanyFromFloppy(); });
  OnClick("Command3", [this] { DeleteCompanyFromFloppy(); });
  OnClick("Command18", [this] { CopyCompanyToCode(); });
  OnClick("Command19", [this] { DeleteCompanyFromDisk(); });
  OnClick("Command6", [this] { ReturnToMenu(); });
}

void DataScreen::Build() {
  SetWindowFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 10));
  SetClientSizeTwips(Px(0, 0, kWindowWidth, kWindowHeight).width(),
                     Px(0, 0, kWindowWidth, kWindowHeight).height());
  const int h = kLineHeight;
  auto right = [](platform::TextBox& box) -> platform::TextBox& {
    box.setAlignment(Qt::AlignRight);
    return box;
  };

  // Row 1: the code, its call, the company's name.
  right(AddTextBox("Text6", Px(8, 10, 100, h)));
  AddButton("Command4", "会社呼出", Px(114, 10, 88, h));
  platform::Paint(AddTextBox("Text5", Px(208, 10, 384, h), QStringLiteral("　")), kLightYellow);

  // Row 2: clearing, the handed code, the fiscal period.
  QPushButton& clear = AddButton("Command9", "会社コードクリア", Px(8, 44, 120, h));
  QFont smaller = clear.font();
  smaller.setPointSize(9);
  clear.setFont(smaller);
  AddButton("Command5", "DATA", Px(134, 44, 60, h));
  int x = 212;
  for (const char* era : {"Text10", "Text16"}) {
    const bool start = QLatin1String(era) == QLatin1String("Text10");
    platform::Paint(AddTextBox(era, Px(x, 44, 56, h), start ? QStringLiteral("自平成")
                                                  : QStringLiteral("至平成")),
          kLightCyan);
    x += 58;
    const QStringList dateBoxes = start ? QStringList{"Text13", "Text14", "Text15"}
                                        : QStringList{"Text17", "Text18", "Text19"};
    for (const QString& box : dateBoxes) {
      platform::Paint(right(AddTextBox(box, Px(x, 44, 40, h))), kLightCyan);
      x += 42;
    }
    x += 8;
  }

  // Row 3: the progress of the floppy copy and the floppy deletion.
  AddProgressBar("ProgressBar1", Px(8, 80, 584, 20));

  // Row 4: the target code of the copy to another code, read with its caption.
  right(AddTextBox("Text39", Px(8, 110, 100, h)));
  AddButton("Command18", "へ、リストアする", Px(114, 110, 150, h));

  // Rows 5 to 8: the four file buttons, one below the other.
  const int buttonWidth = 236;
  AddButton("Command1", "フロッピーへコピーする", Px(8, 152, buttonWidth, 28));
  AddButton("Command2", "フロッピーよりHDDへ戻す", Px(8, 184, buttonWidth, 28));
  AddButton("Command3", "フロッピーより削除する", Px(8, 216, buttonWidth, 28));
  AddButton("Command19", "HDDより削除する", Px(8, 248, buttonWidth, 28));
  platform::TextBox& handed = AddTextBox("Text1", Px(300, 250, 60, h));
  platform::Paint(handed, kMagenta);
  handed.setVisible(false);
  QPushButton& menu = AddButton("Command6", "menu", Px(472, 246, 120, 32));
  QFont italic = menu.font();
  italic.setPointSize(12);
  italic.setItalic(true);
  menu.setFont(italic);

  // The keyboard goes through the controls as they are read, from the code on.
  SetFocusOrder(ControlsInReadingOrder());
  SetOpeningFocus("Text6");
}

void DataScreen::FormLoad() { SetVisible("ProgressBar1", false); }

CompanyCode DataScreen::CodeFromBox(const char* box) { return ReadCompanyCode32(Read(box)); }

void DataScreen::TakeHandedCode() {
  try {
    Write("Text6", CodeText(CodeFromBox("Text1")));
  } catch (const Failure& failure) {
    ReportError(kDataTitle, failure);
    return;
  }
  Press("Command4");
}

void DataScreen::CallCompany() {
  try {
    const CompanyCode code = CodeFromBox("Text6");
    const QByteArray bytes = platform::ReadFileBytes(CompanyMasterFile(code));
    bool nameRead = false;
    try {
      ReadCompanyValues(bytes, record_, kCompanyCallValues, nameRead);
    } catch (const Failure&) {
      // The values read before the failure are kept, the name among them.
      if (nameRead) calledCompanyName_ = record_.name;
      throw;
    }
    calledCompanyName_ = record_.name;
  } catch (const Failure& failure) {
    ReportError(kCallTitle, failure);
    return;
  }
  Write("Text5", record_.name);
  platform::ShowFiscalPeriod(*this, record_.periodStart, record_.periodEnd);
}

void DataScreen::ClearCompanyBoxes() {
  for (const char* box : {"Text6", "Text5", "Text39", "Text13", "Text14", "Text15", "Text17",
                          "Text18", "Text19"}) {
    Write(box, QString());
  }
}

void DataScreen::CopyCompanyToFloppy() {
  try {
    const PreparedCopies copies = PrepareBackupToFloppy(CodeFromBox("Text6"));
    ProgressShown bar(ControlAs<QProgressBar>("ProgressBar1"));
    copies.Write([&bar](int done, int total) { bar.Set(done, total); });
    platform::Beep();
  } catch (const Failure& failure) {
    ReportError(kCodeTitle, failure);
  }
}

void DataScreen::RestoreCompanyFromFloppy() {
  try {
    PrepareRestoreFromFloppy(CodeFromBox("Text6")).Write();
    platform::Beep();
  } catch (const Failure& failure) {
    ReportError(kCodeTitle, failure);
  }
}

void DataScreen::DeleteCompanyFromFloppy() {
  try {
    const CompanyCode code = CodeFromBox("Text6");
    const QStringList files = FloppyDeletion(code);
    if (!platform::ConfirmBox(DeletionQuestion(code, kFloppyDataRoot))) return;
    // A code never backed up, already deleted or mistyped: no success to claim.
    if (files.isEmpty()) throw Failure(FailureKind::FileNotFound);
    ProgressShown bar(ControlAs<QProgressBar>("ProgressBar1"));
    DeleteFiles(files, [&bar](int done, int total) { bar.Set(done, total); });
    platform::Beep();
  } catch (const Failure& failure) {
    ReportError(kCodeTitle, failure);
  }
}

void DataScreen::CopyCompanyToCode() {
  try {
    const CompanyCode source = CodeFromBox("Text6");
    const CompanyCode target = CodeFromBox("Text39");
    CodeCopy copy;
    try {
      PrepareCopyToCode(source, target, copy);
    } catch (const Failure&) {
      if (copy.nameRead) calledCompanyName_ = copy.source.name;
      throw;
    }
    calledCompanyName_ = copy.source.name;
    if (copy.targetExists && !platform::ConfirmBox(QStringLiteral("書き換えますか"))) return;
    copy.copies.Write();
    RefreshCompanyList();
    platform::Beep();
  } catch (const Failure& failure) {
    ReportError(kCodeTitle, failure);
  }
}

void DataScreen::DeleteCompanyFromDisk() {
  CompanyCode code = 0;
  try {
    code = CodeFromBox("Text6");
  } catch (const Failure&) {
    // A code box that is no number: no question, nothing at all.
    return;
  }
  try {
    if (platform::ConfirmBox(DeletionQuestion(code, kDataRoot))) DeleteFiles(DiskDeletion(code));
    RefreshCompanyList();
    platform::Beep();
  } catch (const Failure& failure) {
    ReportError(kCodeTitle, failure);
  }
}

void DataScreen::ReturnToMenu() {
  platform::ScreenNamed(QStringLiteral("Form1")).Show();
  Hide();
}

void DataScreen::RefreshCompanyList() {
  platform::ScreenNamed(QStringLiteral("Form1")).Press(QStringLiteral("Command33"));
}

}  // namespace mirudanto::backup
