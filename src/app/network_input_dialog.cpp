#include "app/network_input_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <initializer_list>

#include "app/tool_dialog_support.h"

namespace qp {

NameListColumn BuildNameListColumn(QWidget* dialog, const std::vector<std::string>& gbkInsertModes,
                                   const NameListTips& tips, int width) {
  NameListColumn c{};
  c.insertMode = ComboWithTip(dialog, gbkInsertModes, "insertModeCombo", tips.insertMode);
  c.list = new QListWidget(dialog);
  c.list->setObjectName(QStringLiteral("nameList"));
  c.list->setToolTip(QString::fromUtf8(tips.list));
  c.newName = EditWithTip(dialog, "newNameEdit", tips.newName);
  c.add = new QPushButton(QStringLiteral("点名增加&A"), dialog);
  c.add->setObjectName(QStringLiteral("addNameButton"));
  c.add->setAutoDefault(false);
  for (QWidget* w : std::initializer_list<QWidget*>{c.insertMode, c.list, c.newName, c.add}) w->setFixedWidth(width);
  c.layout = new QVBoxLayout;
  c.layout->addWidget(c.insertMode);
  c.layout->addWidget(c.list, 1);
  c.layout->addWidget(c.newName);
  c.layout->addWidget(c.add);
  return c;
}

ConfirmRow BuildConfirmRow(QWidget* dialog) {
  ConfirmRow r{};
  r.fileName = new QLineEdit(dialog);
  r.fileName->setObjectName(QStringLiteral("fileNameEdit"));
  r.fileName->setReadOnly(true);
  r.ok = new QPushButton(QStringLiteral("确定"), dialog);
  r.ok->setObjectName(QStringLiteral("okButton"));
  r.ok->setDefault(true);
  r.cancel = new QPushButton(QStringLiteral("取消"), dialog);
  r.cancel->setObjectName(QStringLiteral("cancelButton"));
  r.cancel->setAutoDefault(false);
  r.layout = new QHBoxLayout;
  r.layout->addWidget(new QLabel(QStringLiteral("文件名称"), dialog));
  r.layout->addWidget(r.fileName, 1);
  r.layout->addSpacing(16);
  r.layout->addWidget(r.ok);
  r.layout->addWidget(r.cancel);
  return r;
}

}  // namespace qp
