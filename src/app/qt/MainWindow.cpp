#include "app/qt/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/TravelTypeGrid.h"
#include "app/qt/DirChangeDialog.h"
#include "app/qt/QtText.h"
#include "util/NumberText.h"

namespace iex::qt {

namespace {

const std::pair<TElement, const char*> kLetterLabels[10] = {
    {TElement::eAir, "Air"},   {TElement::eHotel, "Hotel"},         {TElement::eCar, "Car"},
    {TElement::eCruise, "Cruise"}, {TElement::eTour, "Tour"},        {TElement::eRail, "Rail"},
    {TElement::eTrans, "Transportation"}, {TElement::eIns, "Insurance"}, {TElement::eServ, "Service Fee"},
    {TElement::eOther, "Other"}};

const char* ElementName(TElement e) {
  switch (e) {
    case TElement::cbAlias: return "cbAlias";
    case TElement::edPath: return "edPath";
    case TElement::edUserName: return "edUserName";
    case TElement::edPassword: return "edPassword";
    case TElement::gbVersion: return "gbVersion";
    case TElement::bExport: return "bExport";
    case TElement::bExit: return "bExit";
    case TElement::lStatus: return "lStatus";
    case TElement::lStatusNo: return "lStatusNo";
    case TElement::cbMapBy: return "cbMapBy";
    case TElement::cbItinMap: return "cbItinMap";
    case TElement::eAir: return "eAir";
    case TElement::eHotel: return "eHotel";
    case TElement::eCar: return "eCar";
    case TElement::eCruise: return "eCruise";
    case TElement::eTour: return "eTour";
    case TElement::eRail: return "eRail";
    case TElement::eTrans: return "eTrans";
    case TElement::eIns: return "eIns";
    case TElement::eServ: return "eServ";
    case TElement::eOther: return "eOther";
    default: return "fmMain";
  }
}

}  // namespace

MainWindow::MainWindow(const Env& env, const RegionalSettings& settings, const DateOrder& order, TSettingsStore& store,
                       const std::string& version) {
  setObjectName("fmMain");
  setWindowTitle("Invoice Export Utility");
  fm_ = std::make_unique<TfmMain>(*this, env, settings, order, store, version);
  auto* layout = new QVBoxLayout(this);
  pcMain_ = new QStackedWidget(this);
  tsVersion_ = new QWidget;
  tsVersion_->setObjectName("tsVersion");
  tsMapping_ = new QWidget;
  tsMapping_->setObjectName("tsMapping");
  BuildFirstPage(tsVersion_);
  BuildSecondPage(tsMapping_);
  pcMain_->addWidget(tsVersion_);
  pcMain_->addWidget(tsMapping_);
  layout->addWidget(pcMain_);

  auto* buttons = new QHBoxLayout;
  auto* bExport = new QPushButton("Next", this);
  auto* bExit = new QPushButton("Close", this);
  buttons->addStretch();
  buttons->addWidget(bExport);
  buttons->addWidget(bExit);
  layout->addLayout(buttons);
  elements_[TElement::bExport] = bExport;
  elements_[TElement::bExit] = bExit;
  connect(bExport, &QPushButton::clicked, this, [this] { fm_->bExportClick(); });
  connect(bExit, &QPushButton::clicked, this, [this] { fm_->bExitClick(); });

  auto* pStatus = new QFrame(this);
  pStatus->setObjectName("pStatus");
  pStatus->setFrameShape(QFrame::StyledPanel);
  auto* statusLayout = new QHBoxLayout(pStatus);
  statusLayout->setContentsMargins(6, 2, 6, 2);
  auto* lStatus = new QLabel(pStatus);
  auto* lStatusNo = new QLabel(pStatus);
  statusLayout->addWidget(lStatus);
  statusLayout->addWidget(lStatusNo);
  statusLayout->addStretch();
  layout->addWidget(pStatus);
  elements_[TElement::lStatus] = lStatus;
  elements_[TElement::lStatusNo] = lStatusNo;
  for (auto& [e, w] : elements_) w->setObjectName(ElementName(e));

  fm_->FormCreate();
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildFirstPage(QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  auto* gbVersion = new QGroupBox("Version ", page);
  elements_[TElement::gbVersion] = gbVersion;
  auto* form = new QFormLayout(gbVersion);
  auto* cbAlias = new DropDownComboBox(gbVersion);
  cbAlias->setEditable(false);
  cbAlias->OnDropDown = [this] { fm_->cbAliasDropDown(); };
  connect(cbAlias, QOverload<int>::of(&QComboBox::activated), this, [this](int) { fm_->cbAliasChange(); });
  auto* edPath = new QLineEdit(gbVersion);
  edPath->setReadOnly(true);
  edPath->setFocusPolicy(Qt::ClickFocus);
  auto* edUserName = new QLineEdit(gbVersion);
  edUserName->setReadOnly(true);
  edUserName->setFocusPolicy(Qt::ClickFocus);
  auto* edPassword = new QLineEdit(gbVersion);
  edPassword->setEchoMode(QLineEdit::Password);
  form->addRow("Alias Name", cbAlias);
  form->addRow("Alias Path", edPath);
  form->addRow("User Name", edUserName);
  form->addRow("Password", edPassword);
  elements_[TElement::cbAlias] = cbAlias;
  elements_[TElement::edPath] = edPath;
  elements_[TElement::edUserName] = edUserName;
  elements_[TElement::edPassword] = edPassword;

  auto* filter = new QGroupBox("Filter", gbVersion);
  auto* grid = new QGridLayout(filter);
  auto error = [this](const std::string& text) { ShowError(text); };
  auto* startDate = new DateEditWidget(fm_->edStartInvDate, error, filter);
  auto* endDate = new DateEditWidget(fm_->edEndInvDate, error, filter);
  auto* startNo = new NumEditWidget(fm_->edStartInvNo, error, filter);
  auto* endNo = new NumEditWidget(fm_->edEndInvNo, error, filter);
  startDate->setObjectName("edStartInvDate");
  endDate->setObjectName("edEndInvDate");
  startNo->setObjectName("edStartInvNo");
  endNo->setObjectName("edEndInvNo");
  auto* cbBranch = new BranchComboWidget(fm_->cbBranch, error, filter);
  cbBranch->setObjectName("cbBranch");
  grid->addWidget(new QLabel("Invoice Date", filter), 0, 0);
  grid->addWidget(startDate, 0, 1);
  grid->addWidget(new QLabel("To", filter), 0, 2);
  grid->addWidget(endDate, 0, 3);
  grid->addWidget(new QLabel("Invoice No.", filter), 1, 0);
  grid->addWidget(startNo, 1, 1);
  grid->addWidget(new QLabel("To", filter), 1, 2);
  grid->addWidget(endNo, 1, 3);
  grid->addWidget(new QLabel("Branch", filter), 2, 0);
  grid->addWidget(cbBranch, 2, 1, 1, 3);
  form->addRow(filter);
  layout->addWidget(gbVersion);
  layout->addStretch();
  auto enter = [this] { fm_->bExportClick(); };
  auto escape = [this] { close(); };
  for (BoundLineEdit* e : {startDate->Edit(), endDate->Edit(), static_cast<BoundLineEdit*>(startNo), static_cast<BoundLineEdit*>(endNo)}) {
    e->OnEnter = enter;
    e->OnEscape = escape;
  }
}

void MainWindow::BuildSecondPage(QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  auto* gbMapping = new QGroupBox("Revenue Type Mapping ", page);
  gbMapping->setObjectName("gbMapping");
  auto* mapping = new QVBoxLayout(gbMapping);
  auto* mapByRow = new QHBoxLayout;
  auto* cbMapBy = new QComboBox(gbMapping);
  cbMapBy->addItems({"Travel Category", "Travel Type"});
  mapByRow->addWidget(new QLabel("Map by", gbMapping));
  mapByRow->addWidget(cbMapBy);
  mapByRow->addStretch();
  mapping->addLayout(mapByRow);
  elements_[TElement::cbMapBy] = cbMapBy;
  connect(cbMapBy, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int) { fm_->cbMapByChange(); });

  pTravelCat_ = new QWidget(gbMapping);
  pTravelCat_->setObjectName("pTravelCat");
  auto* letters = new QGridLayout(pTravelCat_);
  for (int i = 0; i < 10; ++i) {
    auto* edit = new QLineEdit(pTravelCat_);
    edit->setMaxLength(1);
    edit->setMaximumWidth(40);
    letters->addWidget(new QLabel(kLetterLabels[i].second, pTravelCat_), i % 5, (i / 5) * 2);
    letters->addWidget(edit, i % 5, (i / 5) * 2 + 1);
    elements_[kLetterLabels[i].first] = edit;
  }
  mapping->addWidget(pTravelCat_);

  pTravelType_ = new QWidget(gbMapping);
  pTravelType_->setObjectName("pTravelType");
  auto* typeLayout = new QVBoxLayout(pTravelType_);
  gTravelType_ = new QTableWidget(kTravelTypeRows, 2, pTravelType_);
  gTravelType_->setObjectName("gTravelType");
  gTravelType_->setHorizontalHeaderLabels({"MOVRA Travel Type", "Revenue Type"});
  gTravelType_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  gTravelType_->verticalHeader()->hide();
  typeLayout->addWidget(gTravelType_);
  mapping->addWidget(pTravelType_);
  connect(gTravelType_, &QTableWidget::cellChanged, this, [this](int row, int col) {
    if (filling_ || col != 1) return;
    fm_->gTravelType.SetCell(1, row + 1, S(gTravelType_->item(row, col)->text()));
  });

  auto* gbItin = new QGroupBox("Itinerary/ProvName ", page);
  gbItin->setObjectName("gbItin");
  auto* itin = new QHBoxLayout(gbItin);
  auto* cbItinMap = new QComboBox(gbItin);
  cbItinMap->addItems({"Varies by Travel Category", "Vendor Name"});
  itin->addWidget(new QLabel("Map", gbItin));
  itin->addWidget(cbItinMap);
  itin->addStretch();
  elements_[TElement::cbItinMap] = cbItinMap;
  layout->addWidget(gbMapping);
  layout->addWidget(gbItin);
}

QWidget* MainWindow::Widget(TElement e) const {
  const auto it = elements_.find(e);
  return it == elements_.end() ? nullptr : it->second;
}

std::string MainWindow::Text(TElement e) {
  if (e == TElement::Caption) return S(windowTitle());
  QWidget* w = Widget(e);
  if (auto* l = qobject_cast<QLineEdit*>(w)) return S(l->text());
  if (auto* c = qobject_cast<QComboBox*>(w)) return S(c->currentText());
  if (auto* b = qobject_cast<QPushButton*>(w)) return S(b->text());
  if (auto* l = qobject_cast<QLabel*>(w)) return S(l->text());
  if (auto* g = qobject_cast<QGroupBox*>(w)) return S(g->title());
  return std::string();
}

void MainWindow::SetText(TElement e, const std::string& text) {
  const QString q = Q(e == TElement::edUserName ? UpperAscii(text) : text);
  if (e == TElement::Caption) return setWindowTitle(q);
  QWidget* w = Widget(e);
  if (auto* l = qobject_cast<QLineEdit*>(w)) l->setText(q);
  else if (auto* b = qobject_cast<QPushButton*>(w)) b->setText(q);
  else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(q);
  else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(q);
}

int MainWindow::ItemIndex(TElement e) {
  auto* c = qobject_cast<QComboBox*>(Widget(e));
  return c ? c->currentIndex() : -1;
}

void MainWindow::SetItemIndex(TElement e, int index) {
  if (auto* c = qobject_cast<QComboBox*>(Widget(e))) c->setCurrentIndex(index);
}

std::vector<std::string> MainWindow::Items(TElement e) {
  std::vector<std::string> items;
  if (auto* c = qobject_cast<QComboBox*>(Widget(e)))
    for (int i = 0; i < c->count(); ++i) items.push_back(S(c->itemText(i)));
  return items;
}

void MainWindow::SetItems(TElement e, const std::vector<std::string>& items) {
  auto* c = qobject_cast<QComboBox*>(Widget(e));
  if (!c) return;
  c->clear();
  for (const auto& item : items) c->addItem(Q(item));
  c->setCurrentIndex(-1);
}

void MainWindow::SetHint(TElement e, const std::string& hint) {
  if (QWidget* w = Widget(e)) w->setToolTip(Q(hint));
}

TPage MainWindow::CurrentPage() { return pcMain_->currentWidget() == tsMapping_ ? TPage::tsMapping : TPage::tsVersion; }

void MainWindow::ShowPage(TPage page) {
  pcMain_->setCurrentWidget(page == TPage::tsMapping ? tsMapping_ : tsVersion_);
  // The keyboard goes on where the page begins.
  if (page == TPage::tsMapping) Widget(TElement::cbMapBy)->setFocus(Qt::OtherFocusReason);
}

void MainWindow::ShowPanel(TPanel panel, bool visible) { (panel == TPanel::pTravelCat ? pTravelCat_ : pTravelType_)->setVisible(visible); }

void MainWindow::EnableButton(TElement e, bool enabled) {
  if (QWidget* w = Widget(e)) w->setEnabled(enabled);
}

void MainWindow::Focus(TElement e) {
  if (QWidget* w = Widget(e)) w->setFocus(Qt::OtherFocusReason);
}

void MainWindow::ProcessMessages() { QApplication::processEvents(); }

TMsgResult MainWindow::ShowMessageBox(TMsgKind kind, const std::string& text, TMsgButtons buttons) {
  if (MessageBoxHook) return MessageBoxHook(kind, text, buttons);
  QMessageBox box(kind == TMsgKind::Information ? QMessageBox::Information
                  : kind == TMsgKind::Warning   ? QMessageBox::Warning
                                                : QMessageBox::Critical,
                  windowTitle(), Q(text), QMessageBox::NoButton, this);
  if (buttons == TMsgButtons::OK) {
    box.setStandardButtons(QMessageBox::Ok);
  } else if (buttons == TMsgButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
  } else {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
  }
  switch (box.exec()) {
    case QMessageBox::Yes: return TMsgResult::Yes;
    case QMessageBox::No: return TMsgResult::No;
    case QMessageBox::Cancel: return TMsgResult::Cancel;
    default: return TMsgResult::OK;
  }
}

bool MainWindow::ChooseFolder(const std::string& startFolder, std::string& chosen) {
  if (FolderHook) return FolderHook(startFolder, chosen);
  DirChangeDialog dialog(Q(startFolder), this);
  if (dialog.exec() != QDialog::Accepted) return false;
  chosen = S(dialog.SelectedFolder());
  return true;
}

void MainWindow::GridChanged() {
  filling_ = true;
  for (int row = 1; row <= kTravelTypeRows; ++row) {
    auto* name = new QTableWidgetItem(Q(fm_->gTravelType.Cell(0, row)));
    name->setFlags(name->flags() & ~Qt::ItemIsEditable);
    gTravelType_->setItem(row - 1, 0, name);
    gTravelType_->setItem(row - 1, 1, new QTableWidgetItem(Q(fm_->gTravelType.Cell(1, row))));
  }
  filling_ = false;
}

void MainWindow::Start(db::TdmMain& dm) {
  fm_->AttachDataModule(dm);
  adjustSize();
  resize(qMax(width(), 560), height());
  if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  show();
  fm_->FormShow();
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (fm_->FormCloseQuery())
    e->accept();
  else
    e->ignore();
}

void MainWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    auto* b = qobject_cast<QPushButton*>(Widget(TElement::bExport));
    if (b && b->isEnabled()) b->click();
    return;
  }
  if (e->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(e);
}

}  // namespace iex::qt
