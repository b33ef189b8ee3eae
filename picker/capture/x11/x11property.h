// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>
#include <span>

#include <X11/Xlib.h>

// Window properties and the window tree as Xlib reads them, with the memory Xlib hands back freed
// by the object that holds it. Plain Xlib, without Qt, for the capture backend and the tests'
// X11 helpers alike.

struct X11Free
{
    void operator()(void *data) const
    {
        if (data != nullptr)
            XFree(data);
    }
};

// One window property, read by XGetWindowProperty.
class X11Property
{
public:
    // Reads up to `length` 32-bit units of `property` from `window`, of type `type` (any type by
    // default). A length of 0 reads only whether the property is there, with its type and size.
    // With `remove` the property is deleted once it has been read to its end.
    X11Property(Display *display, Window window, Atom property, long length = 0,
                Atom type = AnyPropertyType, bool remove = false);

    // The server answered the request (the window exists).
    bool read() const { return m_read; }
    // The window has the property.
    bool exists() const { return m_read && m_type != None; }
    Atom type() const { return m_type; }
    int format() const { return m_format; }
    // Items read, of the property's format.
    unsigned long count() const { return m_count; }
    unsigned long bytesAfter() const { return m_after; }
    const unsigned char *data() const { return m_data.get(); }
    // The bytes of an 8-bit property.
    std::span<const unsigned char> bytes() const;
    // The first item of a 32-bit property of type `type` (a window, an atom, a number); 0 when
    // the property is not one.
    unsigned long first(Atom type) const;

private:
    bool m_read = false;
    Atom m_type = None;
    int m_format = 0;
    unsigned long m_count = 0;
    unsigned long m_after = 0;
    std::unique_ptr<unsigned char, X11Free> m_data;
};

// A window's place in the tree, read by XQueryTree.
class X11Tree
{
public:
    X11Tree(Display *display, Window window);

    // The server answered the request (the window exists).
    bool read() const { return m_read; }
    Window root() const { return m_root; }
    Window parent() const { return m_parent; }
    std::span<const Window> children() const { return {m_children.get(), m_count}; }

private:
    bool m_read = false;
    Window m_root = 0;
    Window m_parent = 0;
    std::unique_ptr<Window, X11Free> m_children;
    std::size_t m_count = 0;
};
