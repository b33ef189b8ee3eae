// SPDX-License-Identifier: MIT
#include "kolvane/kolvane.h"

#include "kolvane/classicpalette.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

// The button widget of one record: a push button or a separator.
class KolvaneButton : public QAbstractButton
{
public:
    KolvaneButton(KolvaneToolbar *toolbar, const ButtonRecord &record)
        : QAbstractButton(toolbar), m_toolbar(toolbar), m_record(record)
    {
        // Never trust the record's terminator: the copy always ends inside its buffer.
        m_record.label[sizeof(m_record.label) - 1] = '\0';
        setText(QString::fromLocal8Bit(m_record.label));
        // The label is shown as it is: an ampersand in it is no mnemonic, and gives the button
        // no hidden Alt shortcut (Alt+Space would then no longer open the window menu).
        setShortcut(QKeySequence());
        setAccessibleName(text());
        bool separator = isSeparator();
        setFocusPolicy(separator ? Qt::NoFocus : Qt::TabFocus);
        setEnabled(separator || (m_record.state & TBSTATE_ENABLED));
        if (!separator)
            connect(this, &QAbstractButton::clicked, this, [this] { activate(Gesture::Pick); });
    }

    bool isSeparator() const { return m_record.style & TBSTYLE_SEP; }
    const ButtonRecord &record() const { return m_record; }

    void setValueState(std::int32_t valueState)
    {
        if (m_record.valueState == valueState)
            return;
        m_record.valueState = valueState;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override;

    // The focus mark shows only once the keyboard has moved the focus, not when the window's
    // activation put it on the first button.
    void focusInEvent(QFocusEvent *event) override
    {
        Qt::FocusReason reason = event->reason();
        m_focusShown = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                       reason == Qt::ShortcutFocusReason;
        QAbstractButton::focusInEvent(event);
    }

    void keyReleaseEvent(QKeyEvent *event) override
    {
        if (!m_focusShown) {
            m_focusShown = true;
            update();
        }
        QAbstractButton::keyReleaseEvent(event);
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        // A click never leaves a button with the keyboard focus, where the next Return would
        // press it again: a button that Tab had reached gives the focus back to the control.
        if (QWidget *focus = window()->focusWidget();
            focus != nullptr && focus != m_toolbar && m_toolbar->isAncestorOf(focus))
            m_toolbar->setFocus(Qt::MouseFocusReason);
        // The pressed look is drawn with the next paint, not at once as QAbstractButton draws
        // it: a tap on a touchpad brings the press and the release together, and the pick that
        // the release starts would wait for that drawing.
        const Qt::MouseButton with = event->button();
        if (!isSeparator() && m_heldWith == Qt::NoButton &&
            (with == Qt::LeftButton || with == Qt::RightButton) &&
            hitButton(event->position().toPoint())) {
            m_heldWith = with;
            setDown(true);
            event->accept();
            return;
        }
        QAbstractButton::mousePressEvent(event);
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (m_heldWith != Qt::NoButton) {
            setDown(hitButton(event->position().toPoint()));
            event->accept();
            return;
        }
        QAbstractButton::mouseMoveEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (m_heldWith == Qt::NoButton || event->button() != m_heldWith) {
            QAbstractButton::mouseReleaseEvent(event);
            return;
        }
        m_heldWith = Qt::NoButton;
        // Released outside, or after the button lost its pressed state (the focus went to a
        // popup): nothing.
        const bool inside = isDown() && hitButton(event->position().toPoint());
        setDown(false);
        event->accept();
        if (!inside)
            return;
        if (event->button() == Qt::LeftButton)
            click();
        else
            activate(Gesture::Edit);
    }

    void contextMenuEvent(QContextMenuEvent *event) override
    {
        // The mouse's own way is the right click above; this is the Menu key.
        if (event->reason() == QContextMenuEvent::Keyboard && !isSeparator())
            activate(Gesture::Edit);
        event->accept();
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (isSeparator()) {
            QAbstractButton::keyPressEvent(event);
            return;
        }
        if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
            activate(Gesture::Edit);
            return;
        }
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            event->modifiers() == Qt::NoModifier) {
            animateClick();
            return;
        }
        QAbstractButton::keyPressEvent(event);
    }

private:
    void activate(Gesture gesture) { emit m_toolbar->commandActivated(m_record.command, gesture); }

    void paintSeparator(QPainter &p);

    KolvaneToolbar *m_toolbar;
    ButtonRecord m_record;
    // The mouse button that holds the button down, from its press until its release.
    Qt::MouseButton m_heldWith = Qt::NoButton;
    bool m_focusShown = false;
};

namespace {

const QColor Face = QColor::fromRgb(ClassicPalette::ButtonFace);
const QColor Light = QColor::fromRgb(ClassicPalette::ButtonHighlight);
const QColor Shadow = QColor::fromRgb(ClassicPalette::ButtonShadow);
const QColor Dark = QColor::fromRgb(ClassicPalette::ButtonDarkShadow);
const QColor Navy = QColor::fromRgb(ClassicPalette::Highlight);
// The look of a field that holds a value.
const QColor FilledFace(170, 222, 160);
const QColor FilledMark(32, 112, 32);

// The largest bold or normal font, from 12 pixels down to 7, in which `text` fits `width`.
QFont fittingFont(const QFont &base, const QString &text, int width, bool bold)
{
    QFont font = base;
    font.setBold(bold);
    for (int pixels = 12; pixels >= 7; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(text) <= width)
            return font;
    }
    font.setStretch(QFont::Condensed);
    return font;
}

void bevel(QPainter &p, const QRect &r, bool sunken)
{
    const QColor &upperLeft = sunken ? Shadow : Light;
    const QColor &lowerRight = sunken ? Light : Dark;
    const QColor &innerLowerRight = sunken ? Face : Shadow;
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), upperLeft);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), upperLeft);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), lowerRight);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), lowerRight);
    p.fillRect(QRect(r.left() + 1, r.bottom() - 1, r.width() - 2, 1), innerLowerRight);
    p.fillRect(QRect(r.right() - 1, r.top() + 1, 1, r.height() - 2), innerLowerRight);
}

// A position handed in a message; one beyond an int's range lies past the end.
int position(quintptr wParam)
{
    return static_cast<int>(std::min<quintptr>(wParam, INT_MAX));
}

// An orientation handed in a message or to createToolbar(): 0 is a column, anything else a row.
Orientation orientationOf(quintptr number)
{
    return number != 0 ? Orientation::Row : Orientation::Column;
}

} // namespace

void KolvaneButton::paintSeparator(QPainter &p)
{
    QRect r = rect();
    if (m_toolbar->orientation() == Orientation::Column) {
        int y = r.center().y();
        p.fillRect(QRect(r.left() + 2, y, r.width() - 4, 1), Shadow);
        p.fillRect(QRect(r.left() + 2, y + 1, r.width() - 4, 1), Light);
    } else {
        int x = r.center().x();
        p.fillRect(QRect(x, r.top() + 2, 1, r.height() - 4), Shadow);
        p.fillRect(QRect(x + 1, r.top() + 2, 1, r.height() - 4), Light);
    }
}

void KolvaneButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (isSeparator()) {
        paintSeparator(p);
        return;
    }

    QRect r = rect();
    bool sunken = isDown() || isChecked();
    QRect inside = r.adjusted(2, 2, -2, -2);

    // The face: the button's image from the strip, or the look of the value state.
    QColor ink = Dark;
    bool bold = false;
    switch (m_record.valueState) {
    case TBFILL_FILLED:
        p.fillRect(r, FilledFace);
        p.fillRect(QRect(inside.left(), inside.bottom() - 1, inside.width(), 2), FilledMark);
        bold = true;
        break;
    case TBFILL_ENTER:
        p.fillRect(r, Face);
        if (QPixmap image = m_toolbar->image(m_record.image); !image.isNull())
            p.drawPixmap(r, image);
        p.fillRect(QRect(inside.left(), inside.top(), inside.width(), 1), Navy);
        p.fillRect(QRect(inside.left(), inside.bottom(), inside.width(), 1), Navy);
        p.fillRect(QRect(inside.left(), inside.top(), 1, inside.height()), Navy);
        p.fillRect(QRect(inside.right(), inside.top(), 1, inside.height()), Navy);
        ink = Navy;
        bold = true;
        break;
    case TBFILL_ENTER2:
        p.fillRect(r, Navy);
        ink = Light;
        bold = true;
        break;
    default:
        p.fillRect(r, Face);
        if (QPixmap image = m_toolbar->image(m_record.image); !image.isNull())
            p.drawPixmap(r, image);
        break;
    }
    bevel(p, r, sunken);

    if (!isEnabled())
        ink = Shadow;
    QRect textRect = r.adjusted(3, 2, -3, -3);
    if (sunken)
        textRect.translate(1, 1);
    p.setFont(fittingFont(font(), this->text(), textRect.width(), bold));
    p.setPen(ink);
    p.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, this->text());

    if (hasFocus() && m_focusShown) {
        p.setPen(QPen(m_record.valueState == TBFILL_ENTER2 ? Light : Dark, 1, Qt::DotLine));
        p.drawRect(r.adjusted(3, 3, -4, -4));
    }
}

KolvaneToolbar::KolvaneToolbar(QWidget *parent, int controlId, QPixmap strip, int imageCount,
                               Orientation orientation)
    : QWidget(parent), m_controlId(controlId), m_orientation(orientation),
      m_imageCount(std::max(0, imageCount)), m_strip(std::move(strip))
{
    setObjectName(QStringLiteral("kolvaneToolbar"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The control itself comes first in the Tab order: a window that becomes active gives it
    // the focus, not its first button, so a Return typed then presses nothing. Tab goes on to
    // the buttons.
    setFocusPolicy(Qt::TabFocus);
    // The control follows its parent's size on its own as well, so that a size given to a
    // hidden parent (applied only when it is shown) is not missed.
    if (parent)
        parent->installEventFilter(this);
}

KolvaneToolbar::~KolvaneToolbar() = default;

ButtonRecord KolvaneToolbar::record(int position) const
{
    if (position < 0 || position >= buttonCount())
        return {};
    return m_buttons.at(position)->record();
}

QWidget *KolvaneToolbar::buttonWidget(int position) const
{
    if (position < 0 || position >= buttonCount())
        return nullptr;
    return m_buttons.at(position);
}

void KolvaneToolbar::setStripSource(const QString &path)
{
    m_stripSource = path;
    m_strip = QPixmap();
}

QPixmap KolvaneToolbar::image(int index) const
{
    if (!m_stripSource.isEmpty())
        m_strip.load(std::exchange(m_stripSource, QString()));
    if (index < 0 || index >= m_imageCount || m_strip.isNull())
        return {};
    int width = m_strip.width() / m_imageCount;
    if (width <= 0)
        return {};
    return m_strip.copy(index * width, 0, width, m_strip.height());
}

void KolvaneToolbar::insertButton(int position, const ButtonRecord &record)
{
    position = std::clamp(position, 0, buttonCount());
    auto *button = new KolvaneButton(this, record);
    m_buttons.insert(position, button);
    // Tab order follows the buttons' order.
    for (int i = 1; i < buttonCount(); ++i)
        setTabOrder(m_buttons.at(i - 1), m_buttons.at(i));
    layoutButtons();
    button->show();
}

bool KolvaneToolbar::deleteButton(int position)
{
    if (position < 0 || position >= buttonCount())
        return false;
    KolvaneButton *button = m_buttons.takeAt(position);
    button->hide();
    // The button may be the one whose click is being handled right now.
    button->deleteLater();
    layoutButtons();
    return true;
}

bool KolvaneToolbar::setFillState(int command, std::int32_t valueState)
{
    bool found = false;
    for (KolvaneButton *button : m_buttons) {
        if (!button->isSeparator() && button->record().command == command) {
            button->setValueState(valueState);
            found = true;
        }
    }
    return found;
}

void KolvaneToolbar::setOrientation(Orientation orientation)
{
    m_orientation = orientation;
    layoutButtons();
    for (KolvaneButton *button : m_buttons)
        button->update();
}

void KolvaneToolbar::fitToParent()
{
    if (QWidget *parent = parentWidget())
        setGeometry(parent->contentsRect());
    layoutButtons();
}

qintptr KolvaneToolbar::sendMessage(unsigned message, quintptr wParam, qintptr lParam)
{
    switch (message) {
    case TBM_INSERTBUTTON: {
        const auto *record = reinterpret_cast<const ButtonRecord *>(lParam);
        if (!record)
            return 0;
        insertButton(position(wParam), *record);
        return 1;
    }
    case TBM_DELETEBUTTON:
        return deleteButton(position(wParam)) ? 1 : 0;
    case TBM_SETFILLSTATE:
        return setFillState(static_cast<int>(wParam), static_cast<std::int32_t>(lParam)) ? 1 : 0;
    case TBM_SETORIENTATION:
        setOrientation(orientationOf(wParam));
        return 1;
    case WM_SIZE:
        fitToParent();
        return 1;
    default:
        return 0;
    }
}

QSize KolvaneToolbar::sizeHint() const
{
    int length = 2 * KolvaneMargin;
    for (KolvaneButton *button : m_buttons)
        length += button->isSeparator() ? KolvaneSeparatorSize
                                        : (m_orientation == Orientation::Column ? KolvaneColumnPitch
                                                                                : KolvaneRowPitch);
    if (m_orientation == Orientation::Column)
        return {KolvaneRowPitch + 2 * KolvaneMargin, length};
    return {length, KolvaneColumnPitch + 2 * KolvaneMargin};
}

void KolvaneToolbar::layoutButtons()
{
    int along = KolvaneMargin;
    for (KolvaneButton *button : m_buttons) {
        bool separator = button->isSeparator();
        if (m_orientation == Orientation::Column) {
            int pitch = separator ? KolvaneSeparatorSize : KolvaneColumnPitch;
            int height = separator ? pitch : pitch - KolvaneButtonGap;
            button->setGeometry(KolvaneMargin, along, std::max(1, width() - 2 * KolvaneMargin),
                                height);
            along += pitch;
        } else {
            int pitch = separator ? KolvaneSeparatorSize : KolvaneRowPitch;
            int width = separator ? pitch : pitch - KolvaneButtonGap;
            button->setGeometry(along, KolvaneMargin, width,
                                std::max(1, height() - 2 * KolvaneMargin));
            along += pitch;
        }
    }
    updateGeometry();
}

bool KolvaneToolbar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        fitToParent();
    return QWidget::eventFilter(watched, event);
}

void KolvaneToolbar::resizeEvent(QResizeEvent *event)
{
    layoutButtons();
    QWidget::resizeEvent(event);
}

void KolvaneToolbar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Face);
}

KolvaneToolbar *createToolbar(QWidget *parent, quint32 style, int controlId, int imageCount,
                              void *moduleHandle, int bitmapResource, const ButtonRecord *records,
                              int count, int orientation)
{
    // Resources are found by name in the process's resource tree, whichever module holds them.
    (void)moduleHandle;
    auto *toolbar = new KolvaneToolbar(parent, controlId, QPixmap(), imageCount,
                                       orientationOf(static_cast<quintptr>(orientation)));
    toolbar->setStripSource(QStringLiteral(":/bitmaps/%1").arg(bitmapResource));
    for (int i = 0; records && i < count; ++i)
        toolbar->insertButton(i, records[i]);
    toolbar->fitToParent();
    toolbar->setVisible((style & TBS_VISIBLE) != 0);
    return toolbar;
}

qintptr sendToolbarMessage(QWidget *control, unsigned message, quintptr wParam, qintptr lParam)
{
    auto *toolbar = qobject_cast<KolvaneToolbar *>(control);
    if (!toolbar)
        return 0;
    return toolbar->sendMessage(message, wParam, lParam);
}
