#include "app/qt/DirChangeDialog.h"

#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <QHBoxLayout>

namespace iex::qt {

DirChangeDialog::DirChangeDialog(const QString& startFolder, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Invoice Export Utility");
  setObjectName("fmDirChange");
  auto* layout = new QVBoxLayout(this);
  auto* lMsg = new QLabel("Can not find directory \\tovrane\\db. Please select new output directory.", this);
  lMsg->setObjectName("lMsg");
  lMsg->setWordWrap(true);
  layout->addWidget(lMsg);
  model_ = new QFileSystemModel(this);
  model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  model_->setRootPath("/");
  lbDir_ = new QTreeView(this);
  lbDir_->setObjectName("lbDir");
  lbDir_->setModel(model_);
  for (int c = 1; c < model_->columnCount(); ++c) lbDir_->hideColumn(c);
  lbDir_->setHeaderHidden(true);
  lbDir_->setAutoExpandDelay(0);
  const QModelIndex start = model_->index(startFolder);
  lbDir_->setCurrentIndex(start);
  lbDir_->scrollTo(start);
  lbDir_->expand(start);
  layout->addWidget(lbDir_);
  auto* buttons = new QHBoxLayout;
  auto* bOK = new QPushButton("OK", this);
  bOK->setObjectName("bOK");
  bOK->setDefault(true);
  auto* bCancel = new QPushButton("Cancel", this);
  bCancel->setObjectName("bCancel");
  buttons->addStretch();
  buttons->addWidget(bOK);
  buttons->addWidget(bCancel);
  layout->addLayout(buttons);
  connect(bOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);
  resize(420, 360);
  selected_ = startFolder;
  connect(lbDir_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& i) { selected_ = model_->filePath(i); });
}

QString DirChangeDialog::SelectedFolder() const { return selected_; }

}  // namespace iex::qt
