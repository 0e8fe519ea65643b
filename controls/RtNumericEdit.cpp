#include "controls/RtNumericEdit.h"

#include "common/ScopedFlag.h"
#include "controls/Beep.h"
#include "controls/KeyFilter.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>

#include <optional>

namespace gasmixer {
namespace {

// QLineEdit keeps its text this many pixels clear of each side of the
// style's contents rectangle.
constexpr int LineEditInnerMargin = 2;

constexpr int HashCount = 45;

// The character a key press types, as the key filter sees it; none for keys
// that only move the caret or edit without typing (arrows, Delete, Escape).
std::optional<char32_t> TypedChar(const QKeyEvent& event)
{
    const int key = event.key();
    if (key == Qt::Key_Backspace) return BackspaceChar;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return EnterChar;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) && key >= Qt::Key_A
        && key <= Qt::Key_Z)
        return static_cast<char32_t>(key - Qt::Key_A + 1);
    const QList<uint> text = event.text().toUcs4();
    if (text.isEmpty() || text.front() < 32 || text.front() == 127) return std::nullopt;
    return static_cast<char32_t>(text.front());
}

}  // namespace

TRtNumericEdit::TRtNumericEdit(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &TRtNumericEdit::TextChanged);
}

QRect TRtNumericEdit::ContentsRect() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
}

int TRtNumericEdit::ClientWidth() const
{
    return ContentsRect().width() - 2 * LineEditInnerMargin;
}

int TRtNumericEdit::TextWidth(const QString& text) const
{
    return fontMetrics().horizontalAdvance(text);
}

QString TRtNumericEdit::Hashes() { return QString(HashCount, QLatin1Char('#')); }

bool TRtNumericEdit::HasEditFocus() const
{
    return hasFocus() || (FInPopup && QApplication::activePopupWidget() != nullptr);
}

void TRtNumericEdit::WriteOwnText(const QString& text)
{
    const ScopedFlag setting(FSetting);
    setText(text);
}

void TRtNumericEdit::AnnounceValueChange() { emit OnValueChanged(this); }

void TRtNumericEdit::AnnounceValueChangeQuietly()
{
    try {
        emit OnValueChanged(this);
    } catch (...) {
        // A failing handler must not undo an accepted edit.
    }
}

void TRtNumericEdit::TextChanged(const QString& text)
{
    if (!FSetting) ProcessEdit(text);
}

// A context menu takes the focus for a while; that is no exit, and getting it
// back no entry.
void TRtNumericEdit::focusInEvent(QFocusEvent* event)
{
    if (event->reason() == Qt::PopupFocusReason) {
        FInPopup = false;
    } else {
        setText(FLastValid);  // an edit like any other: may fire OnValueChanged
        setCursorPosition(FLastCursorPos);
        if (FLastSelLength > 0) setSelection(FLastCursorPos, FLastSelLength);
        if (FNeedSelectAll) {
            selectAll();
            FNeedSelectAll = false;
        }
    }
    QLineEdit::focusInEvent(event);
}

void TRtNumericEdit::focusOutEvent(QFocusEvent* event)
{
    if (event->reason() == Qt::PopupFocusReason) {
        FInPopup = true;
    } else {
        FLastCursorPos = hasSelectedText() ? selectionStart() : cursorPosition();
        FLastSelLength = selectionLength();
        ValidateText();
        RefreshDisplay();
        setCursorPosition(0);
    }
    QLineEdit::focusOutEvent(event);
}

void TRtNumericEdit::keyPressEvent(QKeyEvent* event)
{
    const std::optional<char32_t> typed = TypedChar(*event);
    if (!typed || AcceptsChar(*typed)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (*typed == EnterChar) PressEnter();
    Beep();
}

void TRtNumericEdit::PressEnter()
{
    ValidateText();
    emit OnDblClick(this);
}

void TRtNumericEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    emit OnDblClick(this);
}

void TRtNumericEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit OnClick(this);
}

void TRtNumericEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    RefreshAfterResize();
}

}  // namespace gasmixer
