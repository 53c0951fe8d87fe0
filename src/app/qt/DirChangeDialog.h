#pragma once
#include <QDialog>

class QFileSystemModel;
class QLineEdit;
class QTimer;
class QTreeView;

namespace iex::qt {

// TfmDirChange: asks for the output folder when the default one is missing.
// It opens at the start folder with that folder selected and in view, shows
// the chosen path as text (a path may be typed or pasted there too), and can
// make a new folder below the chosen one.
class DirChangeDialog : public QDialog {
 public:
  DirChangeDialog(const QString& missingFolder, const QString& startFolder, QWidget* parent);
  QString SelectedFolder() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Select(const QString& folder);
  void Reveal();  // expands down to the selection and brings it into view
  void NewFolder();
  void FitScreen();
  void AcceptIfFolder();  // a typed path must name a folder
  QFileSystemModel* model_;
  QTreeView* lbDir_;
  QLineEdit* edPath_;
  QString selected_;
  QTimer* follow_ = nullptr;
  int followTicks_ = 0;
};

}  // namespace iex::qt
