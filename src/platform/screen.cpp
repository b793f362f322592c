#include "platform/screen.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <stdexcept>

#include "core/failure.h"
#include "platform/desktop.h"

namespace mirudanto::platform {
namespace {

const QString kSystemTitle = QStringLiteral("ミルダント");

}  // namespace

ScreenWindow::ScreenWindow(Screen& screen) : QWidget(nullptr), screen_(&screen) {
  setObjectName(screen.Name());
  setWindowTitle(screen.Caption());
}

void ScreenWindow::closeEvent(QCloseEvent* event) {
  // The screen decides; the window never closes itself.
  event->ignore();
  if (screen_ != nullptr) screen_->CloseBox();
}

Screen::Screen(QString name, QString caption)
    : name_(std::move(name)), caption_(std::move(caption)) {}

Screen::~Screen() {
  if (window_) {
    window_->Detach();
    delete window_.data();
  }
}

bool Screen::IsShown() const { return window_ && window_->isVisible(); }

void Screen::Load() {
  if (window_) return;
  window_ = new ScreenWindow(*this);
  controls_.clear();
  Build();
  FormLoad();
}

void Screen::Unload() {
  if (!window_) return;
  ScreenWindow* window = window_.data();
  window_ = nullptr;
  controls_.clear();
  window->Detach();
  window->hide();
  // Until the event loop deletes it, the old window is nameless, so that the
  // screen's name finds its one live window.
  window->setObjectName(QString());
  window->deleteLater();
}

void Screen::Show() {
  Load();
  ScreenWindow& window = *window_;
  window.show();
  window.raise();
  window.activateWindow();
}

void Screen::Hide() {
  Load();
  window_->hide();
}

ScreenWindow& Screen::Window() {
  Load();
  return *window_;
}

QWidget& Screen::Control(const QString& name) {
  Load();
  const auto found = controls_.constFind(name);
  if (found == controls_.constEnd()) {
    throw std::logic_error(("no control " + name_ + "." + name).toStdString());
  }
  return **found;
}

bool Screen::HasControl(const QString& name) {
  Load();
  return controls_.contains(name);
}

TextBox& Screen::Box(const QString& name) { return ControlAs<TextBox>(name); }

QString Screen::Read(const QString& box) { return Box(box).Text(); }

void Screen::Write(const QString& box, const QString& text) { Box(box).SetText(text); }

void Screen::FocusAndSelect(const QString& box) {
  TextBox& target = Box(box);
  target.setFocus(Qt::OtherFocusReason);
  target.selectAll();
}

void Screen::Press(const QString& control) {
  Load();
  const auto found = operations_.find(control);
  if (found == operations_.end()) {
    throw std::logic_error(("no operation " + name_ + "." + control).toStdString());
  }
  // A copy: the operation may replace the screen's table while it runs.
  const std::function<void()> operation = found->second;
  operation();
}

void Screen::SetCaption(const QString& control, const QString& caption) {
  QWidget& widget = Control(control);
  if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
    button->setText(caption);
  } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
    label->setText(caption);
  } else if (auto* frame = qobject_cast<QGroupBox*>(&widget)) {
    frame->setTitle(caption);
  } else if (auto* box = qobject_cast<TextBox*>(&widget)) {
    box->SetText(caption);
  } else {
    throw std::logic_error(("no caption on " + name_ + "." + control).toStdString());
  }
}

QString Screen::CaptionOf(const QString& control) {
  QWidget& widget = Control(control);
  if (auto* button = qobject_cast<QAbstractButton*>(&widget)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(&widget)) return label->text();
  if (auto* frame = qobject_cast<QGroupBox*>(&widget)) return frame->title();
  if (auto* box = qobject_cast<TextBox*>(&widget)) return box->Text();
  throw std::logic_error(("no caption on " + name_ + "." + control).toStdString());
}

void Screen::SetVisible(const QString& control, bool visible) {
  Control(control).setVisible(visible);
}

bool Screen::IsControlVisible(const QString& control) {
  // Visible as the control's own setting, whether or not the window is shown.
  return !Control(control).isHidden();
}

void Screen::RunUserAction(const QString& control) {
  try {
    Press(control);
  } catch (...) {
    try {
      ReportError(kSystemTitle, CurrentFailure(std::current_exception()));
    } catch (...) {
      // Nothing may reach the event loop, not even a failing message box.
    }
  }
}

void Screen::CloseBox() { Unload(); }

void Screen::OnClick(const QString& control, std::function<void()> operation) {
  operations_[control] = std::move(operation);
}

void Screen::SetClientSizeTwips(int width, int height) {
  Load();
  window_->setFixedSize(PixelsFromTwips(width), PixelsFromTwips(height));
}

void Screen::SetWindowFont(const QFont& font) {
  Load();
  window_->setFont(font);
}

template <class T>
T& Screen::Place(T* control, const QString& name, QRect twips) {
  control->setObjectName(name);
  control->setGeometry(
      FromTwips(twips.left(), twips.top(), twips.width(), twips.height()));
  controls_.insert(name, control);
  return *control;
}

TextBox& Screen::AddTextBox(const QString& name, QRect twips, const QString& initialText,
                            QWidget* parent) {
  auto* box = new TextBox(parent != nullptr ? parent : window_.data(), name);
  box->SetText(initialText);
  return Place(box, name, twips);
}

QPushButton& Screen::AddButton(const QString& name, const QString& caption, QRect twips,
                               QWidget* parent) {
  auto* button = new QPushButton(caption, parent != nullptr ? parent : window_.data());
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, button, [this, name] { RunUserAction(name); });
  return Place(button, name, twips);
}

QLabel& Screen::AddLabel(const QString& name, const QString& caption, QRect twips,
                         QWidget* parent) {
  auto* label = new QLabel(caption, parent != nullptr ? parent : window_.data());
  return Place(label, name, twips);
}

QListWidget& Screen::AddListBox(const QString& name, QRect twips, QWidget* parent) {
  auto* list = new QListWidget(parent != nullptr ? parent : window_.data());
  return Place(list, name, twips);
}

QRadioButton& Screen::AddOptionButton(const QString& name, const QString& caption, QRect twips,
                                      QWidget* parent) {
  auto* option = new QRadioButton(caption, parent != nullptr ? parent : window_.data());
  return Place(option, name, twips);
}

QGroupBox& Screen::AddFrame(const QString& name, const QString& caption, QRect twips,
                            QWidget* parent) {
  auto* frame = new QGroupBox(caption, parent != nullptr ? parent : window_.data());
  return Place(frame, name, twips);
}

LineControl& Screen::AddLine(const QString& name, QPoint fromTwips, QPoint toTwips, int width,
                             QWidget* parent) {
  const QPoint from(PixelsFromTwips(fromTwips.x()), PixelsFromTwips(fromTwips.y()));
  const QPoint to(PixelsFromTwips(toTwips.x()), PixelsFromTwips(toTwips.y()));
  auto* line = new LineControl(parent != nullptr ? parent : window_.data(), name, from, to, width);
  controls_.insert(name, line);
  return *line;
}

QProgressBar& Screen::AddProgressBar(const QString& name, QRect twips, QWidget* parent) {
  auto* bar = new QProgressBar(parent != nullptr ? parent : window_.data());
  bar->setRange(0, 100);
  bar->setTextVisible(false);
  return Place(bar, name, twips);
}

void Screen::SetFocusOrder(const QStringList& controls) {
  for (qsizetype k = 1; k < controls.size(); ++k) {
    QWidget::setTabOrder(&Control(controls[k - 1]), &Control(controls[k]));
  }
}

QStringList Screen::ControlsInReadingOrder() {
  struct Placed {
    QString name;
    QRect rect;
  };
  std::vector<Placed> placed;
  QWidget& window = Window();
  for (auto it = controls_.constBegin(); it != controls_.constEnd(); ++it) {
    QWidget* control = it.value();
    if (control->isHidden() || !(control->focusPolicy() & Qt::TabFocus)) continue;
    placed.push_back({it.key(), QRect(control->mapTo(&window, QPoint(0, 0)), control->size())});
  }
  const auto byPosition = [](const Placed& a, const Placed& b) {
    if (a.rect.top() != b.rect.top()) return a.rect.top() < b.rect.top();
    if (a.rect.left() != b.rect.left()) return a.rect.left() < b.rect.left();
    return a.name < b.name;
  };
  std::sort(placed.begin(), placed.end(), byPosition);

  QStringList order;
  std::size_t first = 0;
  while (first < placed.size()) {
    const QRect& lead = placed[first].rect;
    std::size_t end = first + 1;
    while (end < placed.size() && placed[end].rect.top() < lead.top() + lead.height()) ++end;
    std::vector<Placed> line(placed.begin() + static_cast<std::ptrdiff_t>(first),
                             placed.begin() + static_cast<std::ptrdiff_t>(end));
    std::sort(line.begin(), line.end(), [](const Placed& a, const Placed& b) {
      if (a.rect.left() != b.rect.left()) return a.rect.left() < b.rect.left();
      return a.rect.top() < b.rect.top();
    });
    for (const Placed& p : line) order.append(p.name);
    first = end;
  }
  return order;
}

void Screen::SetOpeningFocus(const QString& control) { Control(control).setFocus(); }

void Screen::PassByOnTab(const QString& box) { Control(box).setFocusPolicy(Qt::ClickFocus); }

ScreenSet& ScreenSet::Instance() {
  static ScreenSet set;
  return set;
}

void ScreenSet::Adopt(std::unique_ptr<Screen> screen) {
  if (Find(screen->Name()) != nullptr) {
    throw std::logic_error(("screen twice: " + screen->Name()).toStdString());
  }
  screens_.push_back(std::move(screen));
}

Screen* ScreenSet::Find(const QString& name) const {
  for (const auto& screen : screens_) {
    if (screen->Name() == name) return screen.get();
  }
  return nullptr;
}

Screen& ScreenSet::Get(const QString& name) const {
  Screen* screen = Find(name);
  if (screen == nullptr) throw std::logic_error(("no screen " + name).toStdString());
  return *screen;
}

void ScreenSet::Clear() {
  for (const auto& screen : screens_) screen->Unload();
  DeleteDiscardedWindows();
  screens_.clear();
}

void DeleteDiscardedWindows() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace mirudanto::platform
