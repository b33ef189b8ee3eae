// SPDX-License-Identifier: MIT
#include "picker/capture/x11/x11property.h"

X11Property::X11Property(Display *display, Window window, Atom property, long length, Atom type,
                         bool remove)
{
    unsigned char *data = nullptr;
    m_read = XGetWindowProperty(display, window, property, 0, length, remove ? True : False, type,
                                &m_type, &m_format, &m_count, &m_after, &data) == Success;
    m_data.reset(data);
    if (!m_read)
        m_type = None;
}

std::span<const unsigned char> X11Property::bytes() const
{
    if (m_format != 8 || m_data == nullptr)
        return {};
    return {m_data.get(), m_count};
}

unsigned long X11Property::first(Atom type) const
{
    if (m_type != type || m_format != 32 || m_count < 1 || m_data == nullptr)
        return 0;
    // Xlib hands 32-bit items over as longs.
    return *reinterpret_cast<const unsigned long *>(m_data.get());
}

X11Tree::X11Tree(Display *display, Window window)
{
    Window *children = nullptr;
    unsigned int count = 0;
    m_read = XQueryTree(display, window, &m_root, &m_parent, &children, &count) != 0;
    m_children.reset(children);
    m_count = m_read ? count : 0;
}
