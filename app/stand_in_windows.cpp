#include "app/stand_in_windows.h"

#include <QLabel>
#include <QVBoxLayout>

namespace stand_in {

StandInWindow::StandInWindow(const QString& formName, const QString& caption, QWidget* parent)
    : QDialog(parent) {
  setObjectName(formName);
  setWindowTitle(caption);
}

Tsaverepform::Tsaverepform() : StandInWindow(QStringLiteral("saverepform"), QString()) {
  auto* column = new QVBoxLayout(this);
  column->addWidget(new QLabel(QStringLiteral("Saving report data to file"), this));
}

}  // namespace stand_in
