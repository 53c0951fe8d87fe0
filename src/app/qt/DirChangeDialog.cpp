#include "app/qt/DirChangeDialog.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QScreen>
#include <QSignalBlocker>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace iex::qt {

DirChangeDialog::DirChangeDialog(const QString& missingFolder, const QString& startFolder, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle("Invoice Export Utility");
  setObjectName("fmDirChange");
  auto* layout = new QVBoxLayout(this);
  auto* lMsg = new QLabel("Can not find directory " + QDir::toNativeSeparators(missingFolder) +
                              ". Please select new output directory.",
                          this);
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
  layout->addWidget(lbDir_);
  auto* pathRow = new QHBoxLayout;
  auto* lPath = new QLabel("&Folder:", this);
  edPath_ = new QLineEdit(this);
  edPath_->setObjectName("edPath");
  lPath->setBuddy(edPath_);
  // A typed or pasted path is the choice, once it names a folder.
  connect(edPath_, &QLineEdit::textEdited, this, [this](const QString& text) {
    follow_->stop();
    selected_ = QDir::cleanPath(QDir::fromNativeSeparators(text.trimmed()));
    const QModelIndex index = model_->index(selected_);
    if (index.isValid() && QFileInfo(selected_).isDir() && lbDir_->currentIndex() != index) {
      const QSignalBlocker quiet(lbDir_->selectionModel());  // the text stays as typed
      lbDir_->setCurrentIndex(index);
      lbDir_->scrollTo(index);
    }
  });
  pathRow->addWidget(lPath);
  pathRow->addWidget(edPath_, 1);
  layout->addLayout(pathRow);
  auto* buttons = new QHBoxLayout;
  auto* bNew = new QPushButton("&New Folder...", this);
  bNew->setObjectName("bNewFolder");
  bNew->setAutoDefault(false);
  auto* bOK = new QPushButton("OK", this);
  bOK->setObjectName("bOK");
  bOK->setDefault(true);
  auto* bCancel = new QPushButton("Cancel", this);
  bCancel->setObjectName("bCancel");
  buttons->addWidget(bNew);
  buttons->addStretch();
  buttons->addWidget(bOK);
  buttons->addWidget(bCancel);
  layout->addLayout(buttons);
  connect(bOK, &QPushButton::clicked, this, [this] { AcceptIfFolder(); });
  connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(bNew, &QPushButton::clicked, this, [this] { NewFolder(); });
  FitScreen();
  connect(lbDir_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& i) {
    selected_ = model_->filePath(i);
    edPath_->setText(QDir::toNativeSeparators(selected_));
  });
  // The model reads folders as they are needed: keep the selection in view
  // while the folders above it arrive.
  // The model reads folders in the background and may lay the tree out anew
  // as they arrive: keep the selection open and in view until the user
  // takes the tree over, or for a few seconds.
  auto* follow = new QTimer(this);
  follow->setInterval(100);
  connect(follow, &QTimer::timeout, this, [this, follow] {
    Reveal();
    if (++followTicks_ >= 30) follow->stop();
  });
  follow->start();
  lbDir_->viewport()->installEventFilter(this);
  lbDir_->installEventFilter(this);
  follow_ = follow;
  Select(startFolder);
}

void DirChangeDialog::Select(const QString& folder) {
  selected_ = QDir::cleanPath(folder);
  edPath_->setText(QDir::toNativeSeparators(selected_));
  Reveal();
}

void DirChangeDialog::Reveal() {
  const QModelIndex index = model_->index(selected_);
  if (!index.isValid()) return;
  // From the root down: a folder opens only below an open one.
  std::vector<QModelIndex> above;
  for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) above.push_back(up);
  for (auto it = above.rbegin(); it != above.rend(); ++it) lbDir_->expand(*it);
  if (lbDir_->currentIndex() != index) lbDir_->setCurrentIndex(index);
  lbDir_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

bool DirChangeDialog::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if (type == QEvent::MouseButtonPress || type == QEvent::KeyPress || type == QEvent::Wheel) follow_->stop();
  return QDialog::eventFilter(watched, event);
}

void DirChangeDialog::NewFolder() {
  bool ok = false;
  const QString name = QInputDialog::getText(this, windowTitle(), "New folder in " + QDir::toNativeSeparators(selected_) + ":",
                                             QLineEdit::Normal, QString(), &ok);
  if (!ok || name.trimmed().isEmpty()) return;
  QDir parent(selected_);
  if (!parent.mkdir(name.trimmed())) {
    QMessageBox::warning(this, windowTitle(), "The folder " + name.trimmed() + " cannot be made in " +
                                                  QDir::toNativeSeparators(selected_) + ".");
    return;
  }
  Select(parent.filePath(name.trimmed()));
  followTicks_ = 0;
  follow_->start();
}

void DirChangeDialog::FitScreen() {
  // Its usual size, but never past the screen's edge: OK, Cancel and the
  // folder field stay in reach on a small or scaled screen.
  QSize size(480, 400);
  if (const QScreen* s = (parentWidget() ? parentWidget()->screen() : screen())) {
    const QRect area = s->availableGeometry();
    constexpr int kFrame = 48;  // the title bar and borders a window manager adds
    size = size.boundedTo(QSize(area.width() - kFrame, area.height() - kFrame)).expandedTo(minimumSizeHint());
  }
  resize(size);
}

void DirChangeDialog::AcceptIfFolder() {
  if (!selected_.isEmpty() && QDir::isAbsolutePath(selected_) && QFileInfo(selected_).isDir()) {
    accept();
    return;
  }
  QMessageBox::warning(this, windowTitle(),
                       "There is no folder " + QDir::toNativeSeparators(selected_) +
                           ". Choose a folder in the list, or type the whole path of one.");
  edPath_->setFocus();
}

QString DirChangeDialog::SelectedFolder() const { return selected_; }

}  // namespace iex::qt
