#include "app/qt/MainWindow.h"

#include "app/ProgressText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QThread>
#include <QTimer>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/TravelTypeGrid.h"
#include "app/qt/DirChangeDialog.h"
#include "app/qt/QtText.h"
#include "util/NumberText.h"

namespace iex::qt {

namespace {

// Each letter field has its Alt mnemonic; none clashes with the page's
// others (Map by, Map, Export, Close, Stop).
const std::pair<TElement, const char*> kLetterLabels[10] = {
    {TElement::eAir, "&Air"},   {TElement::eHotel, "&Hotel"},         {TElement::eCar, "Ca&r"},
    {TElement::eCruise, "Cr&uise"}, {TElement::eTour, "&Tour"},        {TElement::eRail, "Rai&l"},
    {TElement::eTrans, "Tra&nsportation"}, {TElement::eIns, "&Insurance"}, {TElement::eServ, "Service &Fee"},
    {TElement::eOther, "&Other"}};

// Alt mnemonics of the buttons; the controller reads and writes the plain texts.
QString WithMnemonic(const std::string& text) {
  if (text == "Next") return "&Next";
  if (text == "Export") return "&Export";
  if (text == "Close") return "&Close";
  if (text == "Stop") return "&Stop";
  return Q(text);
}

// The travel-type grid asks for a dozen rows where the screen has room for
// them (the window is never made taller than the screen; the grid then
// shrinks to its minimum of a few rows and scrolls).
class TravelTypeTable : public QTableWidget {
 public:
  using QTableWidget::QTableWidget;
  QSize sizeHint() const override {
    constexpr int kRowsShown = 12;
    const int rows = std::min(rowCount(), kRowsShown);
    return {QTableWidget::sizeHint().width(),
            horizontalHeader()->sizeHint().height() + rows * verticalHeader()->defaultSectionSize() + 2 * frameWidth()};
  }
};

// The revenue-type cells take one letter, as the category fields do.
class OneLetterDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setMaxLength(1);
    return editor;
  }
  // Tab leaves the grid from an open edit too, the letter kept, as it does
  // without one (the toolkit's own Tab opens the next row's edit instead).
  bool eventFilter(QObject* object, QEvent* event) override {
    auto* editor = qobject_cast<QWidget*>(object);
    auto* view = qobject_cast<QWidget*>(parent());
    if (editor && view && event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        QKeyEvent again(QEvent::KeyPress, key->key(), key->modifiers());
        QCoreApplication::sendEvent(view, &again);
        return true;
      }
    }
    return QStyledItemDelegate::eventFilter(object, event);
  }
};

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
    case TElement::bStop: return "bStop";
    default: return "fmMain";
  }
}

}  // namespace

MainWindow::MainWindow(const Env& env, const RegionalSettings& settings, const DateOrder& order, TSettingsStore& store,
                       const std::string& version)
    : env_(env),
      uiCalls_([this](std::function<void()> task) { QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection); }) {
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

  // The phase and its count on a line of their own, the bar below at full
  // width: its place never moves with a label's length, and the count is
  // drawn while the bar is busy too (a busy bar draws no text).
  auto* phaseRow = new QHBoxLayout;
  lPhase_ = new QLabel(this);
  lPhase_->setObjectName("lPhase");
  lCount_ = new QLabel(this);
  lCount_->setObjectName("lCount");
  lCount_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  phaseRow->addWidget(lPhase_);
  phaseRow->addStretch();
  phaseRow->addWidget(lCount_);
  layout->addLayout(phaseRow);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("pbProgress");
  progress_->setTextVisible(false);
  layout->addWidget(progress_);
  lPhase_->hide();
  lCount_->hide();
  progress_->hide();

  auto* buttons = new QHBoxLayout;
  auto* bStop = new QPushButton(WithMnemonic("Stop"), this);
  // Only a deliberate click or Alt+S stops a run: never the focus or the
  // default, so a stray Enter or Space does nothing to it.
  bStop->setFocusPolicy(Qt::NoFocus);
  bStop->setAutoDefault(false);
  bStop->setDefault(false);
  bStop->setEnabled(false);
  bStop->hide();
  auto* bExport = new QPushButton(WithMnemonic("Next"), this);
  auto* bExit = new QPushButton(WithMnemonic("Close"), this);
  // The button Enter presses in the page's fields, marked as such: bold,
  // apart from the focus frame any button may have.
  bExport->setDefault(true);
  QFont bold = bExport->font();
  bold.setBold(true);
  bExport->setFont(bold);
  buttons->addWidget(bStop);
  buttons->addStretch();
  buttons->addWidget(bExport);
  buttons->addWidget(bExit);
  layout->addLayout(buttons);
  elements_[TElement::bExport] = bExport;
  elements_[TElement::bExit] = bExit;
  elements_[TElement::bStop] = bStop;
  connect(bExport, &QPushButton::clicked, this, [this] { fm_->bExportClick(); });
  connect(bExit, &QPushButton::clicked, this, [this] { fm_->bExitClick(); });
  connect(bStop, &QPushButton::clicked, this, [this] { fm_->bStopClick(); });
  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(100);
  connect(progressTimer_, &QTimer::timeout, this, [this] { ShowProgress(); });

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

MainWindow::~MainWindow() {
  if (!worker_.joinable()) return;
  // The run may be waiting for this thread (the folder chooser, the
  // settings): keep serving it until the run has ended.
  fm_->bStopClick();
  while (fm_->ExportRunning() && worker_.joinable()) QApplication::processEvents(QEventLoop::AllEvents, 50);
  if (worker_.joinable()) worker_.join();
}

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
  // Each typed character shows as "*", whatever the style's own mark.
  edPassword->setStyleSheet("lineedit-password-character: 42");
  // Fields keep a readable width when the window is maximised.
  for (QWidget* field : std::initializer_list<QWidget*>{cbAlias, edPath, edUserName, edPassword}) field->setMaximumWidth(520);
  form->addRow("&Alias Name", cbAlias);
  form->addRow("Alias &Path", edPath);
  form->addRow("&User Name", edUserName);
  form->addRow("Pass&word", edPassword);
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
  auto label = [&](const char* text, QWidget* buddy, int row, int column) {
    auto* l = new QLabel(text, filter);
    // The underlined mnemonic splits "To" into two runs drawn without their
    // kerning, wider than the label measures it: measure it unkerned too.
    QFont unkerned = l->font();
    unkerned.setKerning(false);
    l->setFont(unkerned);
    l->setBuddy(buddy);
    grid->addWidget(l, row, column);
  };
  label("Invoice &Date", startDate->Edit(), 0, 0);
  grid->addWidget(startDate, 0, 1);
  label("T&o", endDate->Edit(), 0, 2);
  grid->addWidget(endDate, 0, 3);
  label("&Invoice No.", startNo, 1, 0);
  grid->addWidget(startNo, 1, 1);
  label("&To", endNo, 1, 2);
  grid->addWidget(endNo, 1, 3);
  label("&Branch", cbBranch, 2, 0);
  grid->addWidget(cbBranch, 2, 1, 1, 3);
  grid->setColumnStretch(4, 1);
  elements_[TElement::edStartInvDate] = startDate->Edit();
  elements_[TElement::edEndInvDate] = endDate->Edit();
  elements_[TElement::edStartInvNo] = startNo;
  elements_[TElement::edEndInvNo] = endNo;
  elements_[TElement::cbBranch] = cbBranch;
  form->addRow(filter);
  layout->addWidget(gbVersion);
  auto enter = [this] { PressDefaultButton(); };
  auto escape = [this] {
    if (!fm_->ExportRunning()) close();
  };
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
  auto* lMapBy = new QLabel("&Map by", gbMapping);
  lMapBy->setBuddy(cbMapBy);
  mapByRow->addWidget(lMapBy);
  mapByRow->addWidget(cbMapBy);
  mapByRow->addStretch();
  mapping->addLayout(mapByRow);
  elements_[TElement::cbMapBy] = cbMapBy;
  connect(cbMapBy, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int) { fm_->cbMapByChange(); });

  pTravelCat_ = new QWidget(gbMapping);
  pTravelCat_->setObjectName("pTravelCat");
  // Two columns of label and field; each label stands just left of its own
  // field, a gap parts the columns, and the fields keep their small width.
  auto* letters = new QGridLayout(pTravelCat_);
  letters->setHorizontalSpacing(6);
  for (int i = 0; i < 10; ++i) {
    auto* edit = new QLineEdit(pTravelCat_);
    edit->setMaxLength(1);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("WW") + 16);
    auto* l = new QLabel(kLetterLabels[i].second, pTravelCat_);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setBuddy(edit);
    const int column = (i / 5) * 3;
    letters->addWidget(l, i % 5, column);
    letters->addWidget(edit, i % 5, column + 1);
    elements_[kLetterLabels[i].first] = edit;
  }
  letters->setColumnMinimumWidth(2, 32);
  letters->setColumnStretch(5, 1);
  letters->setRowStretch(5, 1);
  mapping->addWidget(pTravelCat_);

  pTravelType_ = new QWidget(gbMapping);
  pTravelType_->setObjectName("pTravelType");
  auto* typeLayout = new QVBoxLayout(pTravelType_);
  gTravelType_ = new TravelTypeTable(kTravelTypeRows, 2, pTravelType_);
  gTravelType_->setObjectName("gTravelType");
  gTravelType_->setHorizontalHeaderLabels({"MOVRA Travel Type", "Revenue Type"});
  gTravelType_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  gTravelType_->verticalHeader()->hide();
  gTravelType_->setItemDelegateForColumn(1, new OneLetterDelegate(gTravelType_));
  // The part that scrolls: a few rows at least, the rest on a scroll bar, so
  // the buttons stay on a small or scaled screen.
  gTravelType_->setMinimumHeight(gTravelType_->verticalHeader()->defaultSectionSize() * 5 +
                                 gTravelType_->horizontalHeader()->sizeHint().height() + 4);
  // Tab leaves the grid; the arrows move within it.
  gTravelType_->setTabKeyNavigation(false);
  gTravelType_->installEventFilter(this);
  elements_[TElement::gTravelType] = gTravelType_;
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
  auto* lItin = new QLabel("Ma&p", gbItin);
  lItin->setBuddy(cbItinMap);
  itin->addWidget(lItin);
  itin->addWidget(cbItinMap);
  itin->addStretch();
  gbItin->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
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
  if (auto* b = qobject_cast<QPushButton*>(w)) return S(b->text().remove('&'));
  if (auto* l = qobject_cast<QLabel*>(w)) return S(l->text());
  if (auto* g = qobject_cast<QGroupBox*>(w)) return S(g->title());
  return std::string();
}

void MainWindow::SetText(TElement e, const std::string& text) {
  const QString q = Q(e == TElement::edUserName ? UpperAscii(text) : text);
  if (e == TElement::Caption) return setWindowTitle(q);
  QWidget* w = Widget(e);
  if (auto* l = qobject_cast<QLineEdit*>(w)) l->setText(q);
  else if (auto* b = qobject_cast<QPushButton*>(w)) b->setText(WithMnemonic(S(q)));
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
  FitToPage();
  // The keyboard goes on where the page begins.
  if (page == TPage::tsMapping) Widget(TElement::cbMapBy)->setFocus(Qt::OtherFocusReason);
}

void MainWindow::ShowPanel(TPanel panel, bool visible) {
  (panel == TPanel::pTravelCat ? pTravelCat_ : pTravelType_)->setVisible(visible);
  if (isVisible()) FitToPage();
}

void MainWindow::FitToPage() {
  // The window takes the size of the page shown, not of the largest page,
  // and of the panel shown: hidden ones leave no empty area.
  for (QWidget* page : {tsVersion_, tsMapping_})
    page->setSizePolicy(page == pcMain_->currentWidget() ? QSizePolicy::Preferred : QSizePolicy::Ignored,
                        page == pcMain_->currentWidget() ? QSizePolicy::Preferred : QSizePolicy::Ignored);
  // Every layout asked anew: one that still counts a panel just hidden
  // would keep its height.
  for (QLayout* l : findChildren<QLayout*>()) l->invalidate();
  pcMain_->updateGeometry();
  layout()->invalidate();
  layout()->activate();
  // Never larger than the screen: the buttons, the progress and Stop stay reachable.
  const QRect screenArea = screen() ? screen()->availableGeometry() : QRect(0, 0, 4096, 4096);
  const QSize frame = frameGeometry().size() - geometry().size();
  const int maxHeight = screenArea.height() - std::max(frame.height(), 0);
  const QSize least = minimumSizeHint();
  setMinimumSize(least.width(), std::min(least.height(), maxHeight));
  if (isMaximized() || isFullScreen()) return;  // the user's choice stays
  const int width = std::max(this->width(), 560);
  resize(std::min(std::max(width, sizeHint().width()), screenArea.width()), std::min(sizeHint().height(), maxHeight));
  // A window grown below the screen's edge moves up, its buttons in reach.
  const QRect placed = frameGeometry();
  const int over = placed.bottom() - screenArea.bottom();
  if (over > 0) move(placed.left(), std::max(screenArea.top(), placed.top() - over));
}

void MainWindow::EnableButton(TElement e, bool enabled) {
  if (QWidget* w = Widget(e)) w->setEnabled(enabled);
}

void MainWindow::Focus(TElement e) {
  if (QWidget* w = Widget(e)) w->setFocus(Qt::OtherFocusReason);
}

void MainWindow::ProcessMessages() { QApplication::processEvents(); }

TMsgResult MainWindow::ShowMessage(const TMessage& m) {
  if (MessageBoxHook) return MessageBoxHook(m.kind, m.text, m.buttons);
  QMessageBox box(m.kind == TMsgKind::Information ? QMessageBox::Information
                  : m.kind == TMsgKind::Warning   ? QMessageBox::Warning
                                                  : QMessageBox::Critical,
                  windowTitle(), Q(m.text), QMessageBox::NoButton, this);
  if (!m.details.empty()) box.setDetailedText(Q(m.details));
  const auto yesOrNo = m.defaultNo ? QMessageBox::No : QMessageBox::Yes;
  if (m.buttons == TMsgButtons::OK) {
    box.setStandardButtons(QMessageBox::Ok);
  } else if (m.buttons == TMsgButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(yesOrNo);
  } else {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(yesOrNo);
  }
  // Wide enough for the title: a narrow box cuts "Invoice Export Utility" short.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
    grid->addItem(new QSpacerItem(box.fontMetrics().horizontalAdvance(windowTitle()) + 160, 0, QSizePolicy::Minimum,
                                  QSizePolicy::Expanding),
                  grid->rowCount(), 0, 1, grid->columnCount());
  switch (box.exec()) {
    case QMessageBox::Yes: return TMsgResult::Yes;
    case QMessageBox::No: return TMsgResult::No;
    case QMessageBox::Cancel: return TMsgResult::Cancel;
    default: return TMsgResult::OK;
  }
}

bool MainWindow::ChooseFolder(const std::string& startFolder, std::string& chosen) {
  if (FolderHook) return FolderHook(startFolder, chosen);
  DirChangeDialog dialog(QPath(env_.FileSystemRoot() + TExportRun::kDefaultOutputDir), QPath(startFolder), this);
  if (dialog.exec() != QDialog::Accepted) return false;
  chosen = PathOfQ(dialog.SelectedFolder());
  return true;
}

void MainWindow::CommitEdits() {
  // An open cell editor holds the focus inside the grid: it gives its value
  // to the grid before anything reads it.
  QWidget* editor = QApplication::focusWidget();
  if (!editor || editor == gTravelType_ || !gTravelType_->isAncestorOf(editor)) return;
  QMetaObject::invokeMethod(gTravelType_, "commitData", Qt::DirectConnection, Q_ARG(QWidget*, editor));
  QMetaObject::invokeMethod(gTravelType_, "closeEditor", Qt::DirectConnection, Q_ARG(QWidget*, editor),
                            Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
}

void MainWindow::GridChanged() {
  filling_ = true;
  for (int row = 1; row <= kTravelTypeRows; ++row) {
    auto* name = new QTableWidgetItem(Q(fm_->gTravelType.Cell(0, row)));
    name->setFlags(name->flags() & ~Qt::ItemIsEditable);
    gTravelType_->setItem(row - 1, 0, name);
    auto* letter = new QTableWidgetItem(Q(fm_->gTravelType.Cell(1, row)));
    if (fm_->gTravelType.Cell(0, row).empty()) letter->setFlags(letter->flags() & ~Qt::ItemIsEditable);
    gTravelType_->setItem(row - 1, 1, letter);
  }
  filling_ = false;
}

void MainWindow::AbandonRun(int ms) {
  if (!worker_.joinable()) return;
  fm_->bStopClick();
  uiCalls_.Abandon();  // nothing serves the run's calls any more
  for (int waited = 0; !workerDone_ && waited < ms; waited += 5) QThread::msleep(5);
  // A thread still waiting for this one (which no longer serves it) is left to the process's end.
  if (workerDone_) worker_.join();
  else worker_.detach();
}

void MainWindow::Start(db::TdmMain& dm) {
  fm_->AttachDataModule(dm);
  FitToPage();
  if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  // The focus frame shows from the start, not only after the first Tab.
  setAttribute(Qt::WA_KeyboardFocusChange, true);
  show();
  fm_->FormShow();
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (fm_->FormCloseQuery())
    e->accept();
  else
    e->ignore();
}

void MainWindow::PressDefaultButton() {
  auto* b = qobject_cast<QPushButton*>(Widget(TElement::bExport));
  if (b && b->isEnabled()) b->click();
}

void MainWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    // A focused button is pressed itself; elsewhere the page's default button.
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget())) {
      if (focused->isEnabled()) focused->click();
    } else {
      PressDefaultButton();
    }
    return;
  }
  if (e->key() == Qt::Key_Escape) {
    if (!fm_->ExportRunning()) close();  // asks nothing: a run is stopped with Stop or by closing
    return;
  }
  QWidget::keyPressEvent(e);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // The first Tab into the grid lands on the first letter a user may type.
  if (watched == gTravelType_ && event->type() == QEvent::FocusIn) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && gTravelType_->currentColumn() != 1)
      gTravelType_->setCurrentCell(std::max(gTravelType_->currentRow(), 0), 1);
  }
  // Enter in the grid moves to the next row (an open cell edit ends first); it never exports.
  if (watched == gTravelType_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      // After the view has finished with the key (an open editor commits and
      // closes itself first), the next row.
      QTimer::singleShot(0, this, [this] {
        const int row = gTravelType_->currentRow();
        if (row + 1 < gTravelType_->rowCount()) gTravelType_->setCurrentCell(row + 1, gTravelType_->currentColumn());
      });
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::RunInBackground(std::function<void()> work, std::function<void(std::exception_ptr)> done) {
  if (worker_.joinable()) worker_.join();
  ShowProgress();
  progressTimer_->start();
  workerDone_ = false;
  worker_ = std::thread([this, work = std::move(work), done = std::move(done)] {
    std::exception_ptr error;
    try {
      work();
    } catch (...) {
      error = std::current_exception();
    }
    workerDone_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, done, error] {
          worker_.join();
          progressTimer_->stop();
          ShowProgress();  // the run's last state: done, stopped or failed
          done(error);
        },
        Qt::QueuedConnection);
  });
}

void MainWindow::CallOnUiThread(const std::function<void()>& f) {
  if (QThread::currentThread() == thread()) return f();
  // Unmade when the window ends first: the run is being stopped then.
  (void)uiCalls_.Call(f);
}

void MainWindow::LockInputs(bool locked) {
  pcMain_->setEnabled(!locked);
  Widget(TElement::bExport)->setEnabled(!locked);
  QWidget* stop = Widget(TElement::bStop);
  stop->setVisible(locked);
  if (locked) {
    lPhase_->show();
    lCount_->show();
    lCount_->clear();
    progress_->show();
    progress_->setRange(0, 0);
    progress_->setValue(0);
    // The keyboard rests on the window itself, where Enter and Space do nothing.
    setFocus(Qt::OtherFocusReason);
  } else {
    Widget(TElement::bExport)->setFocus(Qt::OtherFocusReason);
  }
  FitToPage();
}

void MainWindow::ShowProgress() {
  const TRunProgress p = fm_->Progress();
  const TProgressDisplay d = DescribeProgress(p.run);
  SetText(TElement::lStatus, d.statusText);
  SetText(TElement::lStatusNo, d.statusNumber);
  lPhase_->setText(Q(PhaseWithClock(d.phase, p.elapsedSeconds)));
  lCount_->setText(Q(d.count));
  const bool ended = p.run.phase == TExportPhase::Done || p.run.phase == TExportPhase::Failed ||
                     p.run.phase == TExportPhase::Stopped;
  if (d.busy && ended) {  // an end draws a still bar, also before the size was known
    progress_->setRange(0, 1);
    progress_->setValue(p.run.phase == TExportPhase::Done ? 1 : 0);
    return;
  }
  if (d.busy) {
    progress_->setRange(0, 0);
    return;
  }
  const long maximum = std::min<long>(d.maximum, 1L << 30);
  progress_->setRange(0, static_cast<int>(maximum));
  progress_->setValue(static_cast<int>(std::min(d.value, maximum)));
}

}  // namespace iex::qt
