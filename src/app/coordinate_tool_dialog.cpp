#include "app/coordinate_tool_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qp {

void LayOutToolDialog(QDialog& dialog, QLayout* settings, std::initializer_list<QPushButton*> buttons,
                      CaptionedBox left, CaptionedBox right) {
  auto* buttonColumn = new QVBoxLayout;
  for (QPushButton* button : buttons) {
    if (button != *buttons.begin()) button->setAutoDefault(false);
    buttonColumn->addWidget(button);
  }
  (*buttons.begin())->setDefault(true);
  buttonColumn->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addLayout(settings, 1);
  top->addSpacing(12);
  top->addLayout(buttonColumn);

  auto* boxes = new QHBoxLayout;
  for (const CaptionedBox& b : {left, right}) {
    auto* group = new QGroupBox(QString::fromUtf8(b.caption), &dialog);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(b.box);
    boxes->addWidget(group, b.stretch);
  }

  auto* whole = new QVBoxLayout(&dialog);
  whole->addLayout(top);
  whole->addLayout(boxes, 1);
}

}  // namespace qp
