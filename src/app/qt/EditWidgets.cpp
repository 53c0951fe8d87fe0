#include "app/qt/EditWidgets.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateTime>
#include <QDate>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include "app/qt/QtText.h"
#include "util/DateValue.h"

namespace iex::qt {

BoundLineEdit::BoundLineEdit(TBaseEdit& logic, TErrorDisplay showError, QWidget* parent)
    : QLineEdit(parent), logic_(logic), showError_(std::move(showError)) {
  logic_.Box.OnTextSet = [this](const std::string& text) {
    const QString q = Q(text);
    if (this->text() != q) setText(q);
  };
  connect(this, &QLineEdit::textEdited, this, [this](const QString& t) { logic_.Box.UserTyped(S(t)); });
}

bool BoundLineEdit::Check() {
  if (checking_) return true;
  checking_ = true;
  const bool ok = logic_.ExitWith(S(text()), showError_);
  checking_ = false;
  return ok;
}

void BoundLineEdit::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    if (Check() && OnEnter) OnEnter();
    return;
  }
  if (e->key() == Qt::Key_Escape) {
    if (OnEscape) OnEscape();
    return;
  }
  if (OnDropDownKey && (e->key() == Qt::Key_F4 || (e->key() == Qt::Key_Down && (e->modifiers() & Qt::AltModifier)))) {
    OnDropDownKey();
    return;
  }
  const QString t = e->text();
  if (!t.isEmpty() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && !Accept(t[0])) return;
  QLineEdit::keyPressEvent(e);
}

void BoundLineEdit::focusInEvent(QFocusEvent* e) {
  logic_.Enter();
  QLineEdit::focusInEvent(e);
}

void BoundLineEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  if (e->reason() == Qt::PopupFocusReason || e->reason() == Qt::ActiveWindowFocusReason) return;
  if (!Check()) QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
}

DateEditWidget::DateEditWidget(TMvDateEdit& logic, TErrorDisplay showError, QWidget* parent)
    : QWidget(parent), logic_(logic), showError_(showError) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  edit_ = new BoundLineEdit(logic, std::move(showError), this);
  button_ = new QToolButton(this);
  button_->setText(QStringLiteral("\u25BE"));
  button_->setFocusPolicy(Qt::NoFocus);
  button_->setVisible(!logic.ReadOnly);
  layout->addWidget(edit_);
  layout->addWidget(button_);
  setFocusProxy(edit_);
  connect(button_, &QToolButton::clicked, this, [this] { DropDown(); });
  if (!logic.ReadOnly) edit_->OnDropDownKey = [this] { DropDown(); };
  // Room for a whole date at any width of the window: never "026" for 2026.
  edit_->setMinimumWidth(edit_->fontMetrics().horizontalAdvance("00/00/0000") + 16);
}

void DateEditWidget::DropDown() {
  if (popup_ || !logic_.MayOpenCalendar()) return;
  double start = 0;
  try {
    logic_.Box.UserTyped(S(edit_->text()));
    start = logic_.CalendarStartDate();
  } catch (const std::exception& e) {
    showError_(e.what());
    return;
  }
  popup_ = new QFrame(this, Qt::Popup);
  popup_->setFrameShape(QFrame::Box);
  auto* layout = new QHBoxLayout(popup_);
  layout->setContentsMargins(1, 1, 1, 1);
  calendar_ = new QCalendarWidget(popup_);
  calendar_->setGridVisible(true);
  const CivilDate d = DecodeDate(start);
  calendar_->setSelectedDate(QDate(d.year, d.month, d.day));
  layout->addWidget(calendar_);
  calendar_->installEventFilter(this);
  for (QWidget* child : calendar_->findChildren<QWidget*>()) child->installEventFilter(this);
  popup_->installEventFilter(this);
  connect(calendar_, &QCalendarWidget::activated, this, [this] { Pick(); });
  connect(calendar_, &QCalendarWidget::clicked, this, [this] { Pick(); });  // one click picks the day
  popup_->adjustSize();
  // Below the field, or above it and to the left where the screen ends.
  QPoint at = mapToGlobal(QPoint(0, height()));
  const QRect screen = this->screen() ? this->screen()->geometry() : QRect(0, 0, 1920, 1080);
  if (at.x() + popup_->width() > screen.right()) at.setX(screen.right() - popup_->width());
  if (at.y() + popup_->height() > screen.bottom()) at.setY(mapToGlobal(QPoint(0, 0)).y() - popup_->height());
  popup_->move(at);
  popup_->show();
  calendar_->setFocus();
}

void DateEditWidget::Pick() {
  if (!calendar_) return;
  const QDate q = calendar_->selectedDate();
  logic_.Pick(EncodeDate(q.year(), q.month(), q.day()));
  CloseCalendar();
}

void DateEditWidget::CloseCalendar() {
  if (!popup_) return;
  QFrame* p = popup_;
  popup_ = nullptr;
  calendar_ = nullptr;
  logic_.CalendarClosed();
  p->hide();
  p->deleteLater();
  edit_->setFocus();
}

bool DateEditWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == popup_ && event->type() == QEvent::Hide) {
    if (popup_) {
      popup_ = nullptr;
      calendar_ = nullptr;
      logic_.CalendarClosed();
    }
    return false;
  }
  if (event->type() != QEvent::KeyPress || !calendar_) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    Pick();
    return true;
  }
  if (key->key() == Qt::Key_Escape) {
    CloseCalendar();
    return true;
  }
  TCalendarKey k = TCalendarKey::Other;
  switch (key->key()) {
    case Qt::Key_Left: k = TCalendarKey::Left; break;
    case Qt::Key_Right: k = TCalendarKey::Right; break;
    case Qt::Key_Up: k = TCalendarKey::Up; break;
    case Qt::Key_Down: k = TCalendarKey::Down; break;
    case Qt::Key_PageUp: k = TCalendarKey::PageUp; break;
    case Qt::Key_PageDown: k = TCalendarKey::PageDown; break;
    default: return false;
  }
  const QDate q = calendar_->selectedDate();
  const Qt::KeyboardModifiers m = key->modifiers();
  const double moved = TMvDateEdit::CalendarMove(EncodeDate(q.year(), q.month(), q.day()), k, m & Qt::ControlModifier,
                                                 m & Qt::ShiftModifier, m & Qt::AltModifier);
  const CivilDate d = DecodeDate(moved);
  calendar_->setSelectedDate(QDate(d.year, d.month, d.day));
  return true;
}

BranchComboWidget::BranchComboWidget(TIBBranchComboBox& logic, TErrorDisplay showError, QWidget* parent)
    : QComboBox(parent), logic_(logic), showError_(std::move(showError)) {
  connect(this, QOverload<int>::of(&QComboBox::activated), this, [this](int i) {
    logic_.Change(i);
    setToolTip(Q(logic_.Hint));
  });
  logic_.TextWidth = [this](const std::string& t) { return fontMetrics().horizontalAdvance(Q(t)); };
  logic_.ScrollBarWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

void BranchComboWidget::Sync() {
  clear();
  for (const auto& line : logic_.Items) addItem(Q(line.text), line.tag);
  setCurrentIndex(logic_.ItemIndex);
}

void BranchComboWidget::showPopup() {
  logic_.ItemIndex = currentIndex();
  logic_.Width = width();
  logic_.DropDownCount = maxVisibleItems();
  try {
    logic_.DropDown();
  } catch (const std::exception& e) {
    // A branch that the refilled list no longer holds: say so, open what there is.
    showError_(e.what());
  }
  Sync();
  QComboBox::showPopup();
  if (view()) view()->setMinimumWidth(logic_.DropDownWidth);
}

DropDownComboBox::DropDownComboBox(QWidget* parent) : QComboBox(parent) {
  setMaxVisibleItems(20);  // hundreds of aliases scroll; the list never fills the screen
}

void DropDownComboBox::keyPressEvent(QKeyEvent* e) {
  const QString t = e->text();
  const bool printable = !t.isEmpty() && t[0].isPrint() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (!printable) return QComboBox::keyPressEvent(e);
  const qint64 now = QDateTime::currentMSecsSinceEpoch();
  if (now - lastKey_ > QApplication::keyboardInputInterval()) typed_.clear();
  lastKey_ = now;
  typed_ += t;
  const int found = findText(typed_, Qt::MatchStartsWith);
  if (found >= 0 && found != currentIndex()) {
    setCurrentIndex(found);
    emit activated(found);
  }
}

}  // namespace iex::qt
