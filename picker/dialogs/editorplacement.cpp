// SPDX-License-Identifier: MIT
#include "picker/dialogs/editorplacement.h"

namespace {

int rightOf(const QRect &r)
{
    return r.x() + r.width();
}

int bottomOf(const QRect &r)
{
    return r.y() + r.height();
}

} // namespace

QPoint valueEditorPosition(const EditorPlacement &placement)
{
    const QRect &d = placement.desktop;
    const QRect &p = placement.window;
    const QRect &b = placement.button;
    const int w = placement.editor.width();
    const int h = placement.editor.height();

    if (placement.orientation != 0) {
        int x = b.x() - (w - b.width()) / 2;
        if (x + w > rightOf(d))
            x = rightOf(d) - w;
        else if (x < d.x())
            x = d.x();
        return QPoint(x, placement.clientTopLeft.y());
    }

    int y = b.y() - (h - b.height()) / 2;
    if (y <= d.y())
        y = d.y();
    if (y >= bottomOf(d) - h)
        y = bottomOf(d) - h;
    const int x = rightOf(d) - rightOf(p) >= w - EditorOverlap ? rightOf(p) - EditorOverlap
                                                               : p.x() + EditorOverlap - w;
    return QPoint(x, y);
}
