// What the dialogs share: the platform services the coordinate tools run with
// (a report the forms hand to the text editor opens in the built-in viewer
// instead, as a window of the dialog so that it can be read while the dialog
// is open), the table edit boxes, combos of a form's items, the naming of
// controls and their tips, and setters that leave a control alone when it
// already shows the text.
#pragma once

#include <QPlainTextEdit>
#include <QPointer>
#include <QString>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/rejected_line.h"
#include "app/report_viewer.h"
#include "app/table_edit.h"
#include "common/platform_services.h"

class QComboBox;
class QGridLayout;
class QLineEdit;
class QWidget;

namespace qp {

// The coordinate tools' platform: `base`, except that its text editor is the
// built-in report viewer.
class DialogPlatform : public PlatformServices {
 public:
  DialogPlatform(PlatformServices& base, QWidget* owner) : base_(base), owner_(owner) {}

  void ShowMessage(const std::string& text, Icon icon = Icon::None) override { base_.ShowMessage(text, icon); }
  Answer Ask(const std::string& text, Buttons buttons, Answer defaultAnswer, Icon icon = Icon::Question) override {
    return base_.Ask(text, buttons, defaultAnswer, icon);
  }
  void Beep() override { base_.Beep(); }
  std::time_t CurrentTime() override { return base_.CurrentTime(); }
  void BeginWait() override { base_.BeginWait(); }
  void EndWait() override { base_.EndWait(); }
  // The text editor with a report opens the report viewer; anything else
  // is started as usual.
  bool Launch(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& workingDirectory) override;

  // The viewer of the last report shown, if any (a window of the owner).
  ReportViewer* Viewer() const { return viewer_; }

 private:
  PlatformServices& base_;
  QWidget* owner_;
  QPointer<ReportViewer> viewer_;
};

// A combo with the form's items (GBK).
QComboBox* GbkCombo(QWidget* parent, const std::vector<std::string>& gbkItems);

// A line edit, and a combo with the form's items (GBK), with object name and tip.
QLineEdit* EditWithTip(QWidget* parent, const char* objectName, const char* tip);
QComboBox* ComboWithTip(QWidget* parent, const std::vector<std::string>& gbkItems, const char* objectName,
                        const char* tip);

// Gives each control its object name.
void SetObjectNames(std::initializer_list<std::pair<QWidget*, const char*>> names);

// Gives each control the tip a form's table keeps under the control's caption.
void SetToolTips(const std::vector<std::pair<const char*, const char*>>& tips,
                 const std::map<std::string, QWidget*>& controls);

// A control, its object name and its tip (UTF-8; nullptr: none).
struct NamedControl {
  QWidget* widget;
  const char* objectName;
  const char* tip;
};
// Gives each control its object name and its tip.
void NameControls(std::initializer_list<NamedControl> controls);

// A label with `caption` (UTF-8, a child of `parent`) in cell (row, column)
// of `grid`, and `control` in the cells after it.
void AddLabelled(QGridLayout* grid, QWidget* parent, int row, int column, const char* caption, QWidget* control,
                 int columnSpan = 1);

// Puts the cursor on `line` (zero-based) of `box`, selects the line and
// brings it into sight; nothing when the box has no such line.
void SelectBoxLine(QPlainTextEdit* box, int line);

void ShowText(QLineEdit* edit, const QString& text);
void ShowText(QPlainTextEdit* edit, const QString& text);

// A control that shows a text (GBK) or a combo index of a form: copied into
// the form before an action, shown again afterwards.
struct ControlBinding {
  std::function<void()> read;
  std::function<void()> show;
};
ControlBinding Bound(QLineEdit* edit, std::string& text);
ControlBinding Bound(QPlainTextEdit* box, std::string& text);
ControlBinding Bound(QComboBox* combo, int& index);

}  // namespace qp
