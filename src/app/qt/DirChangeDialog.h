#pragma once
#include <QDialog>

class QFileSystemModel;
class QLineEdit;
class QTreeView;

namespace iex::qt {

// TfmDirChange: asks for the output folder when the default one is missing.
// It opens at the start folder with that folder selected and in view, shows
// the chosen path as text, and can make a new folder below the chosen one.
class DirChangeDialog : public QDialog {
 public:
  DirChangeDialog(const QString& missingFolder, const QString& startFolder, QWidget* parent);
  QString SelectedFolder() const;

 private:
  void Select(const QString& folder);
  void NewFolder();
  QFileSystemModel* model_;
  QTreeView* lbDir_;
  QLineEdit* edPath_;
  QString selected_;
};

}  // namespace iex::qt
