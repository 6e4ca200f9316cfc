#include "desktop/lookup_line.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOption>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QValidator>
#include <algorithm>
#include <iterator>

#include "converter/marking_keys.h"
#include "converter/modes.h"
#include "desktop/classic_style.h"
#include "desktop/control_widgets.h"
#include "desktop/form_widget.h"
#include "desktop/marking_picture.h"
#include "marking/typed_text.h"

namespace kalvori::desktop {

namespace {

// The line holds no more than the reader reads: kMaxTypedChars UTF-16 units, counted as the reader
// counts them, so that whatever can be typed or pasted is read and never refused as too long.
// Typing into a full line adds nothing; a paste (or a drop) that would overflow it is cut where the
// pasted text ends, after the last whole character that fits, and the text around it stays, as a
// maximum length would cut it.
constexpr qsizetype kMaxUnits = kMaxTypedChars;

// How much of `text`, from its start, fits in `units` and ends between two characters as a reader
// sees them (never inside a surrogate pair or between a letter and its accent).
qsizetype readablePrefix(const QString& text, qsizetype units) {
  if (text.size() <= units) return text.size();
  QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
  characters.setPosition(units);
  return characters.isAtBoundary() ? units : std::max<qsizetype>(0, characters.toPreviousBoundary());
}

// Cuts what was just put in before the cursor (typed, pasted or dropped), so that the whole line
// fits; what stands after the cursor was there before and fitted.
class ReadableLength : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& text, int& cursor) const override {
    if (text.size() <= kMaxUnits) return Acceptable;
    const QString after = text.mid(cursor);
    const qsizetype room = kMaxUnits - after.size();
    if (room < 0) {  // what follows the cursor does not fit by itself (never so after an edit): keep the start
      text.truncate(readablePrefix(text, kMaxUnits));
      cursor = static_cast<int>(text.size());
      return Acceptable;
    }
    const qsizetype kept = readablePrefix(text.left(cursor), room);
    text = text.left(kept) + after;
    cursor = static_cast<int>(kept);
    return Acceptable;
  }
};

// The window's nine-point Song face, as on the band buttons: the input and the answer.
const Font kTextFont{900, false};

// Inside the raised edge: from the edge to the first text, and between the two rows.
constexpr int kMargin = 4;
constexpr int kGap = 2;

bool lineBreak(QChar c) {
  return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// The first line of `text` that holds more than blanks, trimmed; the input cuts it to its length.
QString firstLine(const QString& text) {
  constexpr qsizetype kEnough = 4 * kMaxUnits;  // the line's length, and blanks
  qsizetype start = 0;
  while (start < text.size()) {
    qsizetype end = start;
    while (end < text.size() && !lineBreak(text[end])) ++end;
    const QString line = text.mid(start, std::min(end - start, kEnough)).trimmed();
    if (!line.isEmpty()) return line;
    start = end + 1;
  }
  return {};
}

// An answer may quote what was typed; control characters in it are shown as blanks.
QString printable(QString text) {
  for (QChar& c : text)
    if (c.category() == QChar::Other_Control) c = u' ';
  return text;
}

// `text` in at most `lines` lines of `width` pixels, broken where the text allows (between Chinese
// characters too), the last line cut short with "…" when the rest does not fit.
QString fitted(const QString& text, const QFont& font, int width, int lines) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  QStringList out;
  layout.beginLayout();
  for (int i = 0; i < lines; ++i) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(width);
    const bool more = line.textStart() + line.textLength() < text.size();
    if (i == lines - 1 && more)
      out << QFontMetrics(font).elidedText(text.mid(line.textStart()), Qt::ElideRight, width);
    else
      out << text.mid(line.textStart(), line.textLength()).trimmed();
  }
  layout.endLayout();
  return out.join(u'\n');
}

}  // namespace

LookupLine::LookupLine(FormWidget* window, MarkingKeys& keys, const QRect& area)
    : QWidget(window->canvas()), window_(window), keys_(keys) {
  hide();
  setGeometry(area);
  // A classic panel in the button face, black text, the input a white box.
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, drawnColour(sys::buttonFace));
  palette.setColor(QPalette::Button, drawnColour(sys::buttonFace));
  palette.setColor(QPalette::WindowText, drawnColour(sys::buttonText));
  palette.setColor(QPalette::Base, drawnColour(sys::window));
  palette.setColor(QPalette::Text, drawnColour(sys::windowText));
  setPalette(palette);

  title_ = new QLabel(QStringLiteral("查数值："), this);
  input_ = new QLineEdit(this);
  input_->setObjectName(QStringLiteral("lookupInput"));
  input_->setFont(fontFor(kTextFont));
  input_->setValidator(new ReadableLength(input_));
  input_->setAccessibleName(QStringLiteral("查数值"));
  title_->setBuddy(input_);
  hint_ = new QLabel(QStringLiteral("回车：在窗口上显示　Esc：关闭"), this);
  answerLabel_ = new QLabel(this);
  answerLabel_->setObjectName(QStringLiteral("lookupAnswer"));
  answerLabel_->setFont(fontFor(kTextFont));
  answerLabel_->setTextFormat(Qt::PlainText);  // what was typed may hold '<'
  answerLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  picture_ = new MarkingPictureView(this);
  picture_->setObjectName(QStringLiteral("lookupPicture"));

  connect(input_, &QLineEdit::textChanged, this, &LookupLine::answerFor);
  // Another control took the keyboard (a click on a button, say): the line gives way, so that it
  // never stands over a panel that the click opened.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (isVisible() && now && !holds(now) && window_->isAncestorOf(now)) hide();
  });
  answerFor({});
}

LookupLine::~LookupLine() {
  // The window's children go before QObject would drop this connection: hear no focus change meanwhile.
  disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void LookupLine::open() {
  if (!isVisible()) {
    QWidget* had = QApplication::focusWidget();
    returnTo_ = had && window_->isAncestorOf(had) ? had : nullptr;
    answerFor(input_->text());  // the mode may have changed since it last answered
    raise();
    show();
  }
  input_->setFocus(Qt::ShortcutFocusReason);
  input_->selectAll();
}

void LookupLine::paste(const QString& text) {
  const QString line = firstLine(text);
  if (isVisible() && input_->hasFocus()) {
    input_->insert(line);
    return;
  }
  open();
  input_->setText(line);
}

void LookupLine::dismiss() {
  if (!isVisible()) return;
  if (returnTo_ && returnTo_->isVisible()) returnTo_->setFocus(Qt::OtherFocusReason);
  else input_->clearFocus();  // nothing had the keyboard: nothing has it again
  hide();
}

void LookupLine::copyAnswer() const {
  if (!answer_.isEmpty()) QGuiApplication::clipboard()->setText(answer_);
}

bool LookupLine::hasSelectedText() const { return input_->hasSelectedText(); }

// Enter and Esc: the input leaves both to its parent.
void LookupLine::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) dismiss();
  else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) showOnWindow();
  // Other keys the input leaves alone stay here too: the line's keys are its own.
  event->accept();
}

void LookupLine::paintEvent(QPaintEvent*) {
  paintRaisedPanel(this);
}

// The input and its title and hint in the first row, the answer below, all inside the raised edge;
// at the right end, the height of both rows, the picture of the marking. Its place is kept while
// there is none, so that the input does not move as the answer changes; only the answer, in the
// second row, takes the room then.
void LookupLine::resizeEvent(QResizeEvent*) {
  const int rowHeight = QFontMetrics(input_->font()).height() + 6;  // the text, its margins, the bevel
  const int left = kMargin + 2;
  const int right = width() - kMargin - 2;
  const int pictureHeight = std::max(0, height() - 2 * kMargin);
  const int pictureWidth = std::min(pictureHeight * 27 / 10, (right - left) / 4);
  picture_->setGeometry(right + 1 - pictureWidth, kMargin, pictureWidth, pictureHeight);
  const int rowRight = picture_->x() - 3 * kMargin;
  const int titleWidth = title_->sizeHint().width();
  const int hintWidth = hint_->sizeHint().width();
  title_->setGeometry(left, kMargin, titleWidth, rowHeight);
  // The hint gives way to the input where the line is narrow.
  const bool roomForHint = rowRight - left - titleWidth - hintWidth > 240;
  hint_->setVisible(roomForHint);
  hint_->setGeometry(rowRight - hintWidth, kMargin, hintWidth, rowHeight);
  const int inputRight = roomForHint ? rowRight - hintWidth - 3 * kMargin : rowRight;
  input_->setGeometry(left + titleWidth, kMargin, inputRight - left - titleWidth, rowHeight);
  const int answerTop = kMargin + rowHeight + kGap;
  answerRow_ = QRect(left, answerTop, right - left, std::max(0, height() - answerTop - kMargin + 1));
  layOutAnswer();
}

// The words of the answer wrap beside the picture, or take the whole row when there is none.
void LookupLine::layOutAnswer() {
  QRect words = answerRow_;
  if (picture_->picture()) words.setRight(picture_->x() - 3 * kMargin);
  answerLabel_->setGeometry(words);
  showAnswer();
}

std::string LookupLine::currentMode() const {
  return std::string(selectedMode(window_->form()).value_or(""));
}

void LookupLine::answerFor(const QString& text) {
  if (text.trimmed().isEmpty()) {
    answer_.clear();
    presses_ = {};
    picture_->setPicture(std::nullopt);
  } else {
    const LookupAnswer a = lookUp(text.toStdString(), currentMode());
    answer_ = printable(QString::fromStdString(a.line));
    presses_ = a.understood ? a.presses : LookupPresses{};
    picture_->setPicture(a.understood ? a.picture : std::nullopt);
  }
  layOutAnswer();
  // Screen readers hear each new answer: it describes the input, which has the keyboard, and names
  // the answer line. Qt tells them of both changes itself.
  const QString said = shownAnswer();
  answerLabel_->setAccessibleName(said);
  input_->setAccessibleDescription(said);
}

// With nothing typed, what may be typed.
QString LookupLine::shownAnswer() const {
  return answer_.isEmpty() ? QStringLiteral("输入数值或标记，如 4k7 5%、22pF、01C、黄紫红金") : answer_;
}

// As much of the answer as the line has room for: two lines, the second cut short if need be.
void LookupLine::showAnswer() {
  // The example stands in dark grey (still easily read on the face), an answer in black.
  QPalette palette = answerLabel_->palette();
  palette.setColor(QPalette::WindowText, answer_.isEmpty() ? QColor(80, 80, 80) : drawnColour(sys::buttonText));
  answerLabel_->setPalette(palette);
  const int lines = std::max(1, answerLabel_->height() / QFontMetrics(answerLabel_->font()).lineSpacing());
  answerLabel_->setText(fitted(shownAnswer(), answerLabel_->font(), answerLabel_->width(), lines));
  // The tooltip is rich text, so that a long answer wraps, yet shows every character as it stands:
  // an answer may quote what was typed, and "<img src=…>" there is text, never a picture.
  answerLabel_->setToolTip(answer_.isEmpty() ? QString()
                                             : QStringLiteral("<p style=\"white-space:pre-wrap\">") +
                                                   answer_.toHtmlEscaped() + QStringLiteral("</p>"));
}

// Chooses the mode and types the marking's keys, as the user would, then hands the keyboard to
// the last button pressed, where typing a marking would leave it. What no mode's buttons can show
// changes nothing: the answer already says so, and the line stays open.
void LookupLine::showOnWindow() {
  const bool aMode = isMode(presses_.option);
  if (!aMode || !keys_.inView()) return;
  const LookupPresses presses = presses_;
  dismiss();
  window_->form().click(presses.option);
  QWidget* last = window_->widgetFor(presses.option);
  for (char key : presses.keys) {
    const Control* pressed = keys_.type(key);
    // A key that names no button there presses nothing; the keys after it would land in the wrong
    // band. (The answer never plans two leading blacks, so no press is refused with a message.)
    if (!pressed) break;
    last = window_->widgetFor(pressed->name);
  }
  last->setFocus(Qt::OtherFocusReason);
}

}  // namespace kalvori::desktop
