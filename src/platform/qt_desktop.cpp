#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include "platform/desktop.h"

namespace mirudanto::platform {
namespace {

class QtDesktop final : public Desktop {
 public:
  void Beep() override { QApplication::beep(); }

  int ShowMessageBox(const MessageBoxRequest& request) override {
    QMessageBox box(request.icon == BoxIcon::Question ? QMessageBox::Question
                                                      : QMessageBox::Warning,
                    request.title, request.text, QMessageBox::NoButton);
    box.setWindowModality(Qt::ApplicationModal);
    std::vector<QPushButton*> buttons;
    for (qsizetype k = 0; k < request.buttons.size(); ++k) {
      const bool last = k + 1 == request.buttons.size() && k > 0;
      buttons.push_back(box.addButton(request.buttons[k], last ? QMessageBox::RejectRole
                                                               : QMessageBox::AcceptRole));
    }
    if (!buttons.empty()) {
      box.setDefaultButton(buttons.front());
      box.setEscapeButton(buttons.back());
    }
    box.exec();
    for (std::size_t k = 0; k < buttons.size(); ++k) {
      if (box.clickedButton() == buttons[k]) return static_cast<int>(k);
    }
    return static_cast<int>(buttons.size()) - 1;
  }

  void EndProgram() override {
    for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    QApplication::quit();
  }
};

QtDesktop& QtInstance() {
  static QtDesktop desktop;
  return desktop;
}

Desktop* installed = nullptr;

}  // namespace

Desktop& CurrentDesktop() { return installed != nullptr ? *installed : QtInstance(); }

void InstallDesktop(Desktop* desktop) { installed = desktop; }

}  // namespace mirudanto::platform
