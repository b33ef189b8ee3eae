// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QIcon>
#include <QList>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <cstdint>

#include "kolvane/classicpalette.h"
#include "picker/frame/miniframegeometry.h"

class QAction;
class QMenu;
class QPainter;
class QShortcut;

// The colours the frame paints with: the classic palette the toolbar paints with as well.
struct FrameColours
{
    QColor activeCaption = QColor::fromRgb(ClassicPalette::ActiveCaption);
    QColor inactiveCaption = QColor::fromRgb(ClassicPalette::InactiveCaption);
    QColor captionText = QColor::fromRgb(ClassicPalette::CaptionText);
    QColor inactiveCaptionText = QColor::fromRgb(ClassicPalette::InactiveCaptionText);
    QColor windowFrame = QColor::fromRgb(ClassicPalette::WindowFrame);
    QColor buttonFace = QColor::fromRgb(ClassicPalette::ButtonFace);
    QColor buttonHighlight = QColor::fromRgb(ClassicPalette::ButtonHighlight);
    QColor buttonShadow = QColor::fromRgb(ClassicPalette::ButtonShadow);
    QColor glyph = QColor::fromRgb(ClassicPalette::ButtonText);
    QColor window = QColor::fromRgb(ClassicPalette::Window);
};

// Everything the frame's picture depends on.
struct FramePicture
{
    int width = 0;
    int height = 0;
    std::uint32_t style = 0;
    int s = DefaultCaptionThickness;
    QString title;
    QIcon icon;
    bool active = true;
    bool maximized = false;
    int pressedButton = HTNOWHERE; // HTMINBUTTON or HTMAXBUTTON while drawn pressed
    bool sysMenuInverted = false;  // the window menu is open
    FrameColours colours;
};

// Paints the frame and caption of a window of the picture's size, in window coordinates.
void paintMiniFrame(QPainter &painter, const FramePicture &picture);

// Whether a caption title drawn in `font` can be turned by 90 degrees.
bool fontTurns(const QFont &font);

// The title font for a caption of thickness s: Arial, or the face made to its measure (Liberation
// Sans) where Arial is missing, bold, s - 2 pixels high; the toolkit's own size when that is 0.
QFont captionFont(int s);

// A frameless top-level window with a narrow caption of its own, down its left edge
// (IBS_VERTCAPTION) or along its top (IBS_HORZCAPTION), as its style bits say. The caption holds
// the window-menu box with the caption icon, the title in small bold type, and the minimize and
// maximize buttons the style asks for. Dragging the caption moves the window, the edges of a
// sizing frame size it. Content goes into clientArea().
//
// The box shows the window's icon (by default the application's, QGuiApplication::windowIcon).
// The window menu opens from the box, by Alt+Space, or by showWindowMenu(). Its standard items
// are, by position: Restore, Move, Size, Minimize, Maximize, a separator, Close, each carrying its
// system command (SC_*) as its identifier. Owners add their own items with insertMenuCommand();
// every chosen item is announced by menuCommand(), and system commands are then carried out by
// systemCommand(), which owners may override.
class MiniFrame : public QWidget
{
    Q_OBJECT

public:
    explicit MiniFrame(std::uint32_t style, QWidget *parent = nullptr,
                       Qt::WindowFlags extraFlags = {});
    ~MiniFrame() override;

    std::uint32_t styleBits() const { return m_style; }
    // Takes new style bits (a caption bit removes WS_DLGFRAME), moves the caption and the client
    // area accordingly and applies the minimum tracking size.
    void setStyleBits(std::uint32_t style);

    // The caption thickness in pixels.
    int captionThickness() const { return m_captionThickness; }

    // The widget that fills the client area; its geometry follows the frame's.
    QWidget *clientArea() const { return m_client; }

    // The client area and the frame's parts in window coordinates.
    FrameRect windowFrameRect() const;
    int hitTest(QPoint windowPos) const;

    // Keeps the window above others, or not, keeping its visibility.
    void setAlwaysOnTop(bool onTop);
    bool isAlwaysOnTop() const;

    // The window menu.
    QMenu *windowMenu() const { return m_menu; }
    // Inserts an item with identifier `id` before position `position` (-1: at the end).
    QAction *insertMenuCommand(int position, int id, const QString &text);
    QAction *insertMenuSeparator(int position);
    void removeMenuItemAt(int position);
    // The item with identifier `id`, or null.
    QAction *menuAction(int id) const;
    // Identifier of a menu item, -1 for separators and foreign actions.
    static int menuCommandId(const QAction *action);

    // Opens the window menu (with WS_SYSMENU and a caption bit); false when it was not shown.
    bool showWindowMenu();
    bool isWindowMenuOpen() const { return m_sysMenuInverted; }

    // The button drawn pressed right now (HTMINBUTTON, HTMAXBUTTON or HTNOWHERE).
    int pressedButton() const { return m_pressedDrawn ? m_trackedButton : HTNOWHERE; }

    // True from the press on the window-menu box that opened the menu until the mouse is seen
    // over anything else; a second press on the box meanwhile closes the menu without reopening.
    bool sysMenuFlag() const { return m_sysMenuFlag; }

    // Enables or greys the standard items by the window's state.
    void enableMenuItems();

signals:
    // An item of the window menu was chosen.
    void menuCommand(int id);

protected:
    // Carries out a system command (SC_MINIMIZE, SC_CLOSE, ...). Called after menuCommand for
    // items with an identifier of 0xF000 or more, and for the caption's buttons.
    virtual void systemCommand(int command);

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend int ibSetCaptionSize(MiniFrame *frame, int size);

    void setCaptionThickness(int thickness);
    void relayout();
    void noteHit(int hit);
    void updateCursor(int hit);
    FrameState frameState() const;
    FrameRect buttonRectInWindow(int hit) const;
    void addStandardItem(int id, const QString &text);
    void insertMenuAction(int position, QAction *action);
    void onMenuTriggered(QAction *action);
    void onMenuHidden();
    bool endBoxPress(ulong timestamp);
    // A left press on the frame's part `hit`.
    void framePress(int hit, ulong timestamp);

    std::uint32_t m_style = 0;
    int m_captionThickness = DefaultCaptionThickness;
    QWidget *m_client = nullptr;
    QMenu *m_menu = nullptr;
    QShortcut *m_menuShortcut = nullptr;
    bool m_sysMenuFlag = false;
    bool m_sysMenuInverted = false;
    qint64 m_menuOpenedAt = -1;     // time stamp of the press that opened the menu
    qint64 m_pressTakenAt = -1;     // time stamp of the press that closed the menu, passed on
    qint64 m_boxPressClosedAt = -1; // time stamp of a press on the box that closed the window
    // The last left press that the open menu received outside itself.
    struct MenuPress
    {
        bool seen = false;
        QPoint globalPos;
        ulong timestamp = 0;
    };
    MenuPress m_menuPress;
    int m_trackedButton = HTNOWHERE;
    bool m_pressedDrawn = false;
};

// The caption size as the window's owner counts it: one more than the thickness.
int ibGetCaptionSize(const MiniFrame *frame);
// Sets the thickness to size - 1 and lays the frame out anew; 0 is refused with result 0.
int ibSetCaptionSize(MiniFrame *frame, int size);
