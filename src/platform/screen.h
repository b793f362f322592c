#pragma once

#include <QFont>
#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "core/screen_contract.h"
#include "platform/controls.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QGroupBox;

namespace mirudanto::platform {

class Screen;

// The top-level window of a screen while it is loaded.
class ScreenWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ScreenWindow(Screen& screen);
  void Detach() { screen_ = nullptr; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Screen* screen_;
};

// One screen of the system: one object for the whole run. Its window and
// controls exist while it is loaded; its own values (arrays, flags) live in
// the object and survive an unload.
//
// Touching a control of a screen that is not loaded (writing or reading a box,
// pressing a button) loads it hidden first, which runs its load-time step.
// Pressing a button from code runs its operation at once and to its end,
// nested in the presser's operation; a failure it does not report itself goes
// on to the presser. A click by the user is an entry point: whatever escapes
// its operation is reported under "ミルダント" and goes no further.
class Screen {
 public:
  Screen(QString name, QString caption);
  virtual ~Screen();
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  const QString& Name() const { return name_; }
  const QString& Caption() const { return caption_; }

  bool IsLoaded() const { return window_ != nullptr; }
  bool IsShown() const;
  // Creates the window hidden and runs the load-time step; nothing when loaded.
  void Load();
  // Discards the window at once, also while one of the screen's own operations
  // is still running: the old widgets are deleted only when control returns
  // to the event loop, and the next touch creates a fresh window.
  void Unload();
  // Modeless, top-level, without owner, in front of every other window.
  void Show();
  void Hide();
  ScreenWindow& Window();

  // Controls, by their names.
  TextBox& Box(const QString& name);
  QString Read(const QString& box);
  void Write(const QString& box, const QString& text);
  void Press(const QString& control);
  // Gives the box the focus with its whole text selected.
  void FocusAndSelect(const QString& box);
  void SetCaption(const QString& control, const QString& caption);
  QString CaptionOf(const QString& control);
  void SetVisible(const QString& control, bool visible);
  bool IsControlVisible(const QString& control);
  QWidget& Control(const QString& name);
  template <class T>
  T& ControlAs(const QString& name) {
    T* control = qobject_cast<T*>(&Control(name));
    if (control == nullptr) throw std::logic_error("control of another kind");
    return *control;
  }
  bool HasControl(const QString& name);

  // The entry point of a user's click on a control.
  void RunUserAction(const QString& control);

  // The window's close box.
  virtual void CloseBox();

  // What the screen offers to its opener; nothing by default.
  virtual ScreenContract Contract() const { return {}; }

 protected:
  // Creates the controls of a fresh window.
  virtual void Build() = 0;
  // The load-time step, run once the controls exist.
  virtual void FormLoad() {}

  // The operation a control runs when it is clicked or pressed.
  void OnClick(const QString& control, std::function<void()> operation);

  // Builders for Build(); positions in twips, relative to the parent (the
  // window when none is given).
  void SetClientSizeTwips(int width, int height);
  void SetWindowFont(const QFont& font);
  TextBox& AddTextBox(const QString& name, QRect twips, const QString& initialText = QString(),
                      QWidget* parent = nullptr);
  QPushButton& AddButton(const QString& name, const QString& caption, QRect twips,
                         QWidget* parent = nullptr);
  QLabel& AddLabel(const QString& name, const QString& caption, QRect twips,
                   QWidget* parent = nullptr);
  QListWidget& AddListBox(const QString& name, QRect twips, QWidget* parent = nullptr);
  QRadioButton& AddOptionButton(const QString& name, const QString& caption, QRect twips,
                                QWidget* parent = nullptr);
  QGroupBox& AddFrame(const QString& name, const QString& caption, QRect twips,
                      QWidget* parent = nullptr);
  LineControl& AddLine(const QString& name, QPoint fromTwips, QPoint toTwips, int width = 1,
                       QWidget* parent = nullptr);
  QProgressBar& AddProgressBar(const QString& name, QRect twips, QWidget* parent = nullptr);

  // The Tab key visits the named controls in this order.
  void SetFocusOrder(const QStringList& controls);
  // The visible controls that Tab can reach, as a reader meets them: line by
  // line from the top (a control joins the line of the first control it
  // stands beside), each line from left to right.
  QStringList ControlsInReadingOrder();
  // The control that holds the focus when the window is shown.
  void SetOpeningFocus(const QString& control);
  // A box that nothing reads, such as a heading, can still be clicked and
  // typed into, but Tab passes it by: the keyboard goes from entry to entry.
  void PassByOnTab(const QString& box);

 private:
  template <class T>
  T& Place(T* control, const QString& name, QRect twips);

  QString name_;
  QString caption_;
  QPointer<ScreenWindow> window_;
  QHash<QString, QWidget*> controls_;
  std::map<QString, std::function<void()>> operations_;
};

// A rectangle in twips: left, top, width, height.
inline QRect Twips(int left, int top, int width, int height) {
  return QRect(left, top, width, height);
}

// A rectangle laid out on a grid of pixels, in the twips the builders take.
inline QRect PixelTwips(int left, int top, int width, int height) {
  return QRect(left * kTwipsPerPixel, top * kTwipsPerPixel, width * kTwipsPerPixel,
               height * kTwipsPerPixel);
}

// Every screen of the run, found by its name.
class ScreenSet {
 public:
  static ScreenSet& Instance();

  template <class T, class... Args>
  T& Add(Args&&... args) {
    auto screen = std::make_unique<T>(std::forward<Args>(args)...);
    T& ref = *screen;
    Adopt(std::move(screen));
    return ref;
  }
  void Adopt(std::unique_ptr<Screen> screen);
  Screen* Find(const QString& name) const;
  Screen& Get(const QString& name) const;
  // Unloads every screen and forgets them (the end of a run, or of a test).
  void Clear();

 private:
  std::vector<std::unique_ptr<Screen>> screens_;
};

inline Screen& ScreenNamed(const QString& name) { return ScreenSet::Instance().Get(name); }

// Deletes the windows of unloaded screens now; the event loop does this by
// itself, code that runs without one (tests) calls it.
void DeleteDiscardedWindows();

}  // namespace mirudanto::platform
