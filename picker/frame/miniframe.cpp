// SPDX-License-Identifier: MIT
#include "picker/frame/miniframe.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QWindow>

#include <cstdlib>
#include <utility>

namespace {

constexpr const char *CommandProperty = "miniframeCommand";

QRect toQRect(const FrameRect &r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

void fillRect(QPainter &p, const FrameRect &r, const QColor &colour)
{
    if (!r.isEmpty())
        p.fillRect(toQRect(r), colour);
}

void paintSystemFrame(QPainter &p, const FramePicture &pic)
{
    FrameRect window{0, 0, pic.width, pic.height};
    FrameSize inset = frameInset(pic.style);
    if (inset.width == 0 && inset.height == 0)
        return;
    // The frame ring: a line in the frame colour outside, the face colour within.
    fillRect(p, window, pic.colours.windowFrame);
    if (inset.width > 1 || inset.height > 1) {
        FrameRect inner{1, 1, pic.width - 1, pic.height - 1};
        fillRect(p, inner, pic.colours.buttonFace);
    }
    fillRect(p, {inset.width, inset.height, pic.width - inset.width, pic.height - inset.height},
             pic.colours.window);
}

void paintGlyph(QPainter &p, const std::vector<GlyphRow> &rows, const QColor &colour)
{
    for (const GlyphRow &row : rows)
        fillRect(p, {row.left, row.y, row.right, row.y + 1}, colour);
}

void paintButton(QPainter &p, const FramePicture &pic, const FrameRect &buttonInWindow, int which)
{
    CaptionKind kind = captionKindOf(pic.style);
    bool pressed = pic.pressedButton == which;
    ButtonFace face = captionButtonFace(buttonInWindow, kind, pic.s, pressed);
    const FrameColours &c = pic.colours;
    fillRect(p, face.separator, c.windowFrame);
    fillRect(p, face.face, c.buttonFace);
    const QColor &upperLeft = pressed ? c.buttonShadow : c.buttonHighlight;
    const QColor &lowerRight = pressed ? c.buttonHighlight : c.buttonShadow;
    for (const FrameRect &r : face.upperLeft)
        fillRect(p, r, upperLeft);
    for (const FrameRect &r : face.lowerRight)
        fillRect(p, r, lowerRight);
    if (which == HTMINBUTTON)
        paintGlyph(p, minimizeGlyph(face.glyphBox), c.glyph);
    else if (pic.maximized)
        paintGlyph(p, restoreGlyph(face.glyphBox), c.glyph);
    else
        paintGlyph(p, maximizeGlyph(face.glyphBox), c.glyph);
}

void paintTitle(QPainter &p, const FramePicture &pic, const FrameRect &textArea,
                const QColor &colour)
{
    if (pic.title.isEmpty() || textArea.isEmpty())
        return;
    CaptionKind kind = captionKindOf(pic.style);
    QFont font = captionFont(pic.s);
    QFontMetrics metrics(font);
    int w = metrics.horizontalAdvance(pic.title);
    int h = metrics.height();
    TitlePlacement at = placeTitle(textArea, kind, w, h, fontTurns(font));
    if (!at.draw)
        return;
    p.save();
    p.setClipRect(toQRect(textArea));
    p.setFont(font);
    p.setPen(colour);
    p.translate(at.x, at.y);
    if (kind == CaptionKind::Vertical)
        p.rotate(-90); // the text runs upward from (x, y) with its top to the left
    p.drawText(QPoint(0, metrics.ascent()), pic.title);
    p.restore();
}

} // namespace

QFont captionFont(int s)
{
    // Liberation Sans has Arial's measures, so the title keeps the size and place that the
    // caption's geometry is made for; other faces that stand in for Arial are taller.
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    // A character height of s - 2 pixels; at 0 the toolkit's own size, and below it (a caption
    // of 0 or 1 pixels) a height of 2 - s for the whole character cell.
    const int height = captionFontHeight(s);
    if (height != 0)
        font.setPixelSize(std::abs(height));
    font.setWeight(QFont::Bold);
    return font;
}

bool fontTurns(const QFont &font)
{
    QFontInfo info(font);
    return QFontDatabase::isScalable(info.family(), info.styleName());
}

void paintMiniFrame(QPainter &p, const FramePicture &pic)
{
    paintSystemFrame(p, pic);
    CaptionKind kind = captionKindOf(pic.style);
    if (kind == CaptionKind::None)
        return;

    FrameRect window{0, 0, pic.width, pic.height};
    int s = pic.s;
    const FrameColours &c = pic.colours;
    const QColor &fill = pic.active ? c.activeCaption : c.inactiveCaption;
    const QColor &text = pic.active ? c.captionText : c.inactiveCaptionText;

    fillRect(p, separatorLine(window, pic.style, s), c.windowFrame);
    fillRect(p, textAreaFill(window, pic.style, s), fill);
    paintTitle(p, pic, textAreaRect(window, pic.style, s), text);

    FrameRect box = sysMenuRect(window, pic.style, s);
    if (!box.isEmpty()) {
        // Behind the icon, and the line between the box and the title, in the caption colour.
        FrameRect cell{box.left, box.top, box.left + s, box.top + s};
        if (kind == CaptionKind::Vertical)
            cell.right -= 1;
        else
            cell.bottom -= 1;
        fillRect(p, cell, fill);
        if (sysMenuShowsIcon(s) && !pic.icon.isNull()) {
            // Stretched to the box: an icon gives no pixmap larger than its own pictures.
            QRect target = toQRect(box);
            p.drawPixmap(target, pic.icon.pixmap(target.size()));
        }
        if (pic.sysMenuInverted) {
            p.save();
            p.setCompositionMode(QPainter::RasterOp_NotDestination);
            p.fillRect(toQRect(box), Qt::black);
            p.restore();
        }
    }
    FrameRect minButton = minButtonRect(window, pic.style, s);
    if (!minButton.isEmpty())
        paintButton(p, pic, minButton, HTMINBUTTON);
    FrameRect maxButton = maxButtonRect(window, pic.style, s);
    if (!maxButton.isEmpty())
        paintButton(p, pic, maxButton, HTMAXBUTTON);
}

MiniFrame::MiniFrame(std::uint32_t style, QWidget *parent, Qt::WindowFlags extraFlags)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | extraFlags),
      m_style(normalizeFrameStyle(style))
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("clientArea"));
    m_client->installEventFilter(this);

    m_menu = new QMenu(this);
    m_menu->installEventFilter(this);
    addStandardItem(SC_RESTORE, tr("&Restore"));
    addStandardItem(SC_MOVE, tr("&Move"));
    addStandardItem(SC_SIZE, tr("&Size"));
    addStandardItem(SC_MINIMIZE, tr("Mi&nimize"));
    addStandardItem(SC_MAXIMIZE, tr("Ma&ximize"));
    m_menu->addSeparator();
    addStandardItem(SC_CLOSE, tr("&Close\tAlt+F4"));
    connect(m_menu, &QMenu::triggered, this, &MiniFrame::onMenuTriggered);
    connect(m_menu, &QMenu::aboutToHide, this, &MiniFrame::onMenuHidden);

    // Alt+Space opens this frame's own menu wherever the focus is inside the window.
    m_menuShortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    m_menuShortcut->setContext(Qt::WindowShortcut);
    connect(m_menuShortcut, &QShortcut::activated, this, [this] {
        if (captionKindOf(m_style) != CaptionKind::None)
            showWindowMenu();
    });

    FrameSize minimum = minimumTrackingSize(windowFrameRect(), m_style, m_captionThickness);
    setMinimumSize(minimum.width, minimum.height);
    relayout();
}

MiniFrame::~MiniFrame() = default;

void MiniFrame::addStandardItem(int id, const QString &text)
{
    insertMenuCommand(-1, id, text);
}

void MiniFrame::setStyleBits(std::uint32_t style)
{
    m_style = normalizeFrameStyle(style);
    FrameSize minimum = minimumTrackingSize(windowFrameRect(), m_style, m_captionThickness);
    setMinimumSize(minimum.width, minimum.height);
    relayout();
    update();
}

void MiniFrame::setCaptionThickness(int thickness)
{
    m_captionThickness = thickness;
    FrameSize minimum = minimumTrackingSize(windowFrameRect(), m_style, m_captionThickness);
    setMinimumSize(minimum.width, minimum.height);
    relayout();
    update();
}

FrameRect MiniFrame::windowFrameRect() const
{
    return {0, 0, width(), height()};
}

int MiniFrame::hitTest(QPoint pos) const
{
    return frameHitTest(windowFrameRect(), m_style, m_captionThickness, pos.x(), pos.y(),
                        frameState());
}

FrameState MiniFrame::frameState() const
{
    return {isMinimized(), isMaximized()};
}

FrameRect MiniFrame::buttonRectInWindow(int hit) const
{
    if (hit == HTMINBUTTON)
        return minButtonRect(windowFrameRect(), m_style, m_captionThickness);
    if (hit == HTMAXBUTTON)
        return maxButtonRect(windowFrameRect(), m_style, m_captionThickness);
    return {};
}

void MiniFrame::relayout()
{
    FrameRect client = clientRect(windowFrameRect(), m_style, m_captionThickness);
    m_client->setGeometry(client.isEmpty() ? QRect() : toQRect(client));
}

void MiniFrame::setAlwaysOnTop(bool onTop)
{
    if (isAlwaysOnTop() == onTop)
        return;
    bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible)
        show();
}

bool MiniFrame::isAlwaysOnTop() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

QAction *MiniFrame::insertMenuCommand(int position, int id, const QString &text)
{
    auto *action = new QAction(text, m_menu);
    action->setProperty(CommandProperty, id);
    insertMenuAction(position, action);
    return action;
}

QAction *MiniFrame::insertMenuSeparator(int position)
{
    auto *action = new QAction(m_menu);
    action->setSeparator(true);
    insertMenuAction(position, action);
    return action;
}

void MiniFrame::insertMenuAction(int position, QAction *action)
{
    QList<QAction *> actions = m_menu->actions();
    QAction *before = position >= 0 && position < actions.size() ? actions.at(position) : nullptr;
    m_menu->insertAction(before, action);
}

void MiniFrame::removeMenuItemAt(int position)
{
    QList<QAction *> actions = m_menu->actions();
    if (position < 0 || position >= actions.size())
        return;
    QAction *action = actions.at(position);
    m_menu->removeAction(action);
    if (action->parent() == m_menu)
        delete action;
}

QAction *MiniFrame::menuAction(int id) const
{
    for (QAction *action : m_menu->actions())
        if (menuCommandId(action) == id)
            return action;
    return nullptr;
}

int MiniFrame::menuCommandId(const QAction *action)
{
    if (!action || action->isSeparator())
        return -1;
    QVariant id = action->property(CommandProperty);
    return id.isValid() ? id.toInt() : -1;
}

void MiniFrame::enableMenuItems()
{
    MenuItemStates states = sysMenuItemStates(m_style, frameState());
    const std::pair<int, bool> items[] = {
        {SC_MOVE, states.move},         {SC_SIZE, states.size},
        {SC_MINIMIZE, states.minimize}, {SC_MAXIMIZE, states.maximize},
        {SC_RESTORE, states.restore},
    };
    for (const auto &[id, enabled] : items)
        if (QAction *action = menuAction(id))
            action->setEnabled(enabled);
}

bool MiniFrame::showWindowMenu()
{
    if (!(m_style & WS_SYSMENU))
        return false;
    m_sysMenuInverted = true;
    m_menuPress = {};
    update();
    enableMenuItems();
    FramePoint origin = sysMenuOrigin(windowFrameRect(), m_style, m_captionThickness);
    m_menu->popup(mapToGlobal(QPoint(origin.x, origin.y)));
    return true;
}

void MiniFrame::onMenuHidden()
{
    m_sysMenuInverted = false;
    update();
    // Where a click outside a menu only closes it (X11), the press that closed the menu never
    // reaches the frame. A press on the frame's own parts is passed on here, once the menu has
    // gone: on the box it follows the flag rule, on the caption it starts a move, on an edge a
    // sizing, on a button its tracking. On platforms that pass the press on themselves, their
    // copy of it is then left alone.
    MenuPress press = std::exchange(m_menuPress, {});
    if (!press.seen)
        return;
    const int hit = hitTest(mapFromGlobal(press.globalPos));
    if (hit == HTNOWHERE || hit == HTCLIENT)
        return;
    m_pressTakenAt = static_cast<qint64>(press.timestamp);
    QMetaObject::invokeMethod(
        this, [this, hit, timestamp = press.timestamp] { framePress(hit, timestamp); },
        Qt::QueuedConnection);
}

// The press on the box while the menu it opened is up closes the menu and does not reopen it.
// Quick after the press that opened it (by the presses' own time stamps, however late they are
// handled), it is the second half of a double click: the result says so.
bool MiniFrame::endBoxPress(ulong timestamp)
{
    m_sysMenuFlag = false;
    qint64 since = static_cast<qint64>(timestamp) - m_menuOpenedAt;
    m_menuOpenedAt = -1;
    return since >= 0 && since <= QApplication::doubleClickInterval();
}

void MiniFrame::onMenuTriggered(QAction *action)
{
    int id = menuCommandId(action);
    if (id < 0)
        return;
    emit menuCommand(id);
    if (id >= 0xF000) {
        // Carried out once the menu has gone, as a posted command.
        QMetaObject::invokeMethod(
            this, [this, id] { systemCommand(id); }, Qt::QueuedConnection);
    }
}

void MiniFrame::systemCommand(int command)
{
    QWindow *window = windowHandle();
    switch (command) {
    case SC_MINIMIZE:
        showMinimized();
        break;
    case SC_MAXIMIZE:
        showMaximized();
        break;
    case SC_RESTORE:
        showNormal();
        break;
    case SC_CLOSE:
        close();
        break;
    case SC_MOVE:
        if (window)
            window->startSystemMove();
        break;
    case SC_SIZE:
        if (window)
            window->startSystemResize(Qt::RightEdge | Qt::BottomEdge);
        break;
    default:
        break;
    }
}

void MiniFrame::noteHit(int hit)
{
    if (hit != HTSYSMENU)
        m_sysMenuFlag = false;
}

namespace {

Qt::Edges edgesOf(int hit)
{
    switch (hit) {
    case HTLEFT:
        return Qt::LeftEdge;
    case HTRIGHT:
        return Qt::RightEdge;
    case HTTOP:
        return Qt::TopEdge;
    case HTBOTTOM:
        return Qt::BottomEdge;
    case HTTOPLEFT:
        return Qt::TopEdge | Qt::LeftEdge;
    case HTTOPRIGHT:
        return Qt::TopEdge | Qt::RightEdge;
    case HTBOTTOMLEFT:
        return Qt::BottomEdge | Qt::LeftEdge;
    case HTBOTTOMRIGHT:
        return Qt::BottomEdge | Qt::RightEdge;
    default:
        return {};
    }
}

} // namespace

void MiniFrame::updateCursor(int hit)
{
    const Qt::Edges edges = edgesOf(hit);
    if (edges == Qt::LeftEdge || edges == Qt::RightEdge)
        setCursor(Qt::SizeHorCursor);
    else if (edges == Qt::TopEdge || edges == Qt::BottomEdge)
        setCursor(Qt::SizeVerCursor);
    else if (edges == (Qt::TopEdge | Qt::LeftEdge) || edges == (Qt::BottomEdge | Qt::RightEdge))
        setCursor(Qt::SizeFDiagCursor);
    else if (edges)
        setCursor(Qt::SizeBDiagCursor);
    else
        unsetCursor();
}

void MiniFrame::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    // The press that closed the window menu has been passed on when the menu closed.
    if (static_cast<qint64>(event->timestamp()) == std::exchange(m_pressTakenAt, -1))
        return;
    framePress(hitTest(event->position().toPoint()), event->timestamp());
}

void MiniFrame::framePress(int hit, ulong timestamp)
{
    noteHit(hit);
    QWindow *window = windowHandle();
    switch (hit) {
    case HTSYSMENU:
        if (!m_sysMenuFlag) {
            if (showWindowMenu()) {
                m_sysMenuFlag = true;
                m_menuOpenedAt = static_cast<qint64>(timestamp);
            }
        } else if (endBoxPress(timestamp)) {
            m_boxPressClosedAt = static_cast<qint64>(timestamp);
            close();
        }
        break;
    case HTMINBUTTON:
    case HTMAXBUTTON:
        m_trackedButton = hit;
        m_pressedDrawn = true;
        update();
        break;
    case HTCAPTION:
        // As the window menu's Move does.
        systemCommand(SC_MOVE);
        break;
    default:
        if (Qt::Edges edges = edgesOf(hit); edges && window)
            window->startSystemResize(edges);
        break;
    }
}

void MiniFrame::mouseMoveEvent(QMouseEvent *event)
{
    QPoint pos = event->position().toPoint();
    if (m_trackedButton != HTNOWHERE && !(event->buttons() & Qt::LeftButton)) {
        // The button was released where the frame could not see it (another grab took the
        // mouse): the press is over, without a click.
        m_trackedButton = HTNOWHERE;
        m_pressedDrawn = false;
        update();
    }
    if (m_trackedButton != HTNOWHERE) {
        bool inside = buttonRectInWindow(m_trackedButton).contains(pos.x(), pos.y());
        if (inside != m_pressedDrawn) {
            m_pressedDrawn = inside;
            update();
        }
        return;
    }
    int hit = hitTest(pos);
    noteHit(hit);
    updateCursor(hit);
}

void MiniFrame::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_trackedButton == HTNOWHERE) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    QPoint pos = event->position().toPoint();
    int button = m_trackedButton;
    bool inside = buttonRectInWindow(button).contains(pos.x(), pos.y());
    m_trackedButton = HTNOWHERE;
    m_pressedDrawn = false;
    update();
    if (!inside)
        return; // slid off before releasing: no click
    if (button == HTMINBUTTON)
        systemCommand(SC_MINIMIZE);
    else
        systemCommand(isMaximized() ? SC_RESTORE : SC_MAXIMIZE);
}

void MiniFrame::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && hitTest(event->position().toPoint()) == HTSYSMENU) {
        // Unless its second press (of the same time stamp) has already asked the window to
        // close.
        if (static_cast<qint64>(event->timestamp()) != std::exchange(m_boxPressClosedAt, -1)) {
            m_menu->hide();
            close();
        }
        return;
    }
    // Elsewhere the second press of a double click has already arrived as a press.
    event->accept();
}

bool MiniFrame::eventFilter(QObject *watched, QEvent *event)
{
    // The second press of a double click reaches an open menu as a double click.
    if (watched == m_menu && (event->type() == QEvent::MouseButtonPress ||
                              event->type() == QEvent::MouseButtonDblClick)) {
        auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::LeftButton &&
            !m_menu->rect().contains(press->position().toPoint()))
            m_menuPress = {true, press->globalPosition().toPoint(), press->timestamp()};
    }
    if (watched == m_client &&
        (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove))
        noteHit(HTCLIENT);
    return QWidget::eventFilter(watched, event);
}

bool MiniFrame::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        update();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void MiniFrame::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
    case QEvent::WindowStateChange:
    case QEvent::ActivationChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void MiniFrame::paintEvent(QPaintEvent *)
{
    FramePicture picture;
    picture.width = width();
    picture.height = height();
    picture.style = m_style;
    picture.s = m_captionThickness;
    picture.title = windowTitle();
    picture.icon = windowIcon();
    picture.active = isActiveWindow();
    picture.maximized = isMaximized();
    picture.pressedButton = pressedButton();
    picture.sysMenuInverted = m_sysMenuInverted;
    QPainter painter(this);
    paintMiniFrame(painter, picture);
}

void MiniFrame::resizeEvent(QResizeEvent *event)
{
    relayout();
    QWidget::resizeEvent(event);
}

int ibGetCaptionSize(const MiniFrame *frame)
{
    return captionSizeFromThickness(frame->captionThickness());
}

int ibSetCaptionSize(MiniFrame *frame, int size)
{
    // A size below 1 would give the caption no thickness or a negative one.
    if (size < 1)
        return 0;
    frame->setCaptionThickness(size - 1);
    return 1;
}
