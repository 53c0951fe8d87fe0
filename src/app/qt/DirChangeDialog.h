#pragma once
#include <QDialog>

class QFileSystemModel;
class QTreeView;

namespace iex::qt {

// TfmDirChange: asks for the output folder when the default one is missing.
class DirChangeDialog : public QDialog {
 public:
  DirChangeDialog(const QString& startFolder, QWidget* parent);
  QString SelectedFolder() const;

 private:
  QFileSystemModel* model_;
  QTreeView* lbDir_;
  QString selected_;
};

}  // namespace iex::qt
