#pragma once

#include <QLineEdit>
#include <QString>

namespace gasmixer {

// What the integer and real fields share: the last accepted text, the caret
// kept across focus changes, the key filter with its beep, validation when
// the field is left or Enter is pressed, and the change signal.
//
// The value is authoritative; while the field has the focus it shows the
// last accepted text as typed, without the focus a display text fitted to
// its width.
class TRtNumericEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TRtNumericEdit(QWidget* parent = nullptr);

signals:
    void OnValueChanged(QObject* Sender);
    void OnDblClick(QObject* Sender);  // double click, and Enter after validation
    void OnClick(QObject* Sender);     // mouse click on the text

protected:
    // Width in pixels the display text may take.
    virtual int TextRoom() const = 0;
    // Text typed or pasted (not written by the field itself).
    virtual void ProcessEdit(const QString& text) = 0;
    // Clamp the typed value into the limits; reformat and announce a change.
    virtual void ValidateText() = 0;
    virtual void RefreshDisplay() = 0;
    virtual bool AcceptsChar(char32_t c) const = 0;
    virtual void RefreshAfterResize() = 0;

    // Width of the text area inside the frame and the line edit's own
    // inner margins, before any text margins.
    int ClientWidth() const;
    // The style's text rectangle inside the frame.
    QRect ContentsRect() const;
    int TextWidth(const QString& text) const;
    static QString Hashes();

    // The focus, counting the time a context menu of the field is open.
    bool HasEditFocus() const;

    // Writes text that must not be processed as an edit.
    void WriteOwnText(const QString& text);

    // Handler failures propagate to the caller.
    void AnnounceValueChange();
    // Handler failures are swallowed.
    void AnnounceValueChangeQuietly();

    const QString& LastValid() const { return FLastValid; }
    void SetLastValid(const QString& text) { FLastValid = text; }
    void RequestSelectAll() { FNeedSelectAll = true; }

    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void TextChanged(const QString& text);
    void PressEnter();

    int FLastCursorPos = 0;
    int FLastSelLength = 0;
    bool FSetting = false;
    bool FNeedSelectAll = false;
    bool FInPopup = false;
    QString FLastValid;
};

}  // namespace gasmixer
