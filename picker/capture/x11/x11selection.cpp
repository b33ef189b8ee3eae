// SPDX-License-Identifier: MIT
#include "picker/capture/x11/x11selection.h"

#include <algorithm>
#include <span>
#include <utility>

#include <X11/Xatom.h>
#include <X11/extensions/Xfixes.h>

#include "picker/capture/x11/x11property.h"

namespace x11 {

namespace {

// Appends bytes up to the first NUL and up to `limit` in all, as UTF-8 (Latin-1 converted).
// Returns false once a NUL has ended the text.
bool appendText(std::string &text, std::span<const unsigned char> bytes, bool latin1,
                std::size_t limit)
{
    for (const unsigned char c : bytes) {
        if (c == 0)
            return false;
        if (text.size() >= limit)
            continue;
        if (!latin1 || c < 0x80) {
            text.push_back(static_cast<char>(c));
        } else {
            text.push_back(static_cast<char>(0xC0 | (c >> 6)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return true;
}

} // namespace

Receiver::Receiver(Display *connection, std::vector<Atom> answerProperties)
    : display(connection), properties(std::move(answerProperties))
{
    renew();
}

void Receiver::renew()
{
    if (window != 0)
        XDestroyWindow(display, window);
    window = createListener(display); // property changes for texts sent in pieces
}

void Receiver::ask(Atom selection, Atom target)
{
    turn = (turn + 1) % properties.size();
    property = properties[turn];
    XDeleteProperty(display, window, property);
    XConvertSelection(display, selection, target, property, window, CurrentTime);
}

bool Receiver::isAnswer(const XEvent &e) const
{
    return e.xany.window == window && e.type == SelectionNotify &&
           (e.xselection.property == property || e.xselection.property == None);
}

Receiver::Answer Receiver::receive(Atom target, Atom incr, std::string &text, std::size_t limit,
                                   Clock::duration wait, bool finish)
{
    text.clear();
    XEvent event{};
    Clock::time_point deadline = Clock::now() + wait;
    // Changes of the property before the answer (the owner writes it, then answers) are not the
    // pieces that follow.
    do {
        if (!waitForEvent(display, deadline, event, [this](const XEvent &e) {
                return isAnswer(e) || (e.xany.window == window && e.type == PropertyNotify &&
                                       e.xproperty.atom == property);
            })) {
            renew();
            return Answer::Missing;
        }
    } while (event.type != SelectionNotify);
    if (event.xselection.property == None)
        return Answer::Refused;

    const bool latin1 = target == XA_STRING;
    const long units = static_cast<long>(limit / 4 + 1);
    X11Property answer(display, window, property, units, AnyPropertyType, true);
    if (!answer.read())
        return Answer::Missing;
    if (answer.type() != incr) {
        if (answer.type() != target || answer.format() != 8 || answer.data() == nullptr)
            return Answer::Other;
        appendText(text, answer.bytes(), latin1, limit);
        return Answer::Text;
    }
    // Deleting the property asks for the next piece; an empty piece ends the text.
    const Clock::time_point end = Clock::now() + std::chrono::seconds(5);
    bool open = true;
    for (;;) {
        if (!finish && text.size() >= limit)
            return Answer::Text;
        deadline = std::min(Clock::now() + wait, end);
        if (deadline <= Clock::now() ||
            !waitForEvent(display, deadline, event, [this](const XEvent &e) {
                return e.type == PropertyNotify && e.xproperty.window == window &&
                       e.xproperty.atom == property && e.xproperty.state == PropertyNewValue;
            })) {
            renew();
            return text.empty() ? Answer::Missing : Answer::Text;
        }
        X11Property piece(display, window, property, 0x1000000, AnyPropertyType, true);
        if (!piece.read())
            return Answer::Missing;
        if (piece.count() == 0)
            return Answer::Text;
        if (open)
            open = appendText(text, piece.bytes(), latin1, limit);
    }
}

bool Receiver::answered()
{
    XEvent event{};
    if (!waitForEvent(display, Clock::now(), event,
                      [this](const XEvent &e) { return isAnswer(e); }))
        return false;
    XPutBackEvent(display, &event);
    return true;
}

bool Receiver::receiveTime(Time &time, Clock::duration wait)
{
    XEvent event{};
    if (!waitForEvent(display, Clock::now() + wait, event,
                      [this](const XEvent &e) { return isAnswer(e); })) {
        renew();
        return false;
    }
    if (event.xselection.property == None)
        return false;
    const X11Property answer(display, window, property, 1, AnyPropertyType, true);
    if (!answer.read() || answer.format() != 32 || answer.count() < 1 || answer.data() == nullptr)
        return false;
    time = static_cast<Time>(*reinterpret_cast<const unsigned long *>(answer.data()));
    return true;
}

Selections::Selections(Display *display, Window listener)
    : m_display(display), m_listener(listener),
      m_clipboard(XInternAtom(display, "CLIPBOARD", False)),
      m_utf8String(XInternAtom(display, "UTF8_STRING", False)),
      m_incr(XInternAtom(display, "INCR", False)),
      m_timestamp(XInternAtom(display, "TIMESTAMP", False)),
      m_current(display, {XInternAtom(display, "QUILLON_CAPTURE", False)}),
      m_stamps(display, {XInternAtom(display, "QUILLON_SELECTION_TIME", False)}),
      m_before(display, {XInternAtom(display, "QUILLON_BEFORE_0", False),
                         XInternAtom(display, "QUILLON_BEFORE_1", False),
                         XInternAtom(display, "QUILLON_BEFORE_2", False)})
{
    int fixesError = 0;
    m_fixes = XFixesQueryExtension(display, &m_fixesEvent, &fixesError) != 0;
}

void Selections::takeTextBeforeIfAnswered()
{
    if (m_beforeState == Before::Asked && m_beforeLimit != 0 && m_before.answered())
        receiveTextBefore(m_beforeLimit);
}

void Selections::emptyClipboard()
{
    // The text the clipboard holds now is asked for first, so that its owner answers before it
    // learns that it has lost the clipboard; the answer is taken only if it is needed. Both
    // requests go out with the focus request and the keys that follow, in this order. Only stale
    // answers are dropped: a focus request may be on its way.
    dropEvents(m_display, [this](const XEvent &e) { return e.xany.window == m_before.window; });
    m_before.ask(m_clipboard, m_utf8String);
    m_beforeState = Before::Asked;
    XSetSelectionOwner(m_display, m_clipboard, None, CurrentTime);
    m_heardOwner = 0; // an owner heard before is none now
}

void Selections::receiveTextBefore(std::size_t limit)
{
    // Its owner answered at the emptying; one that sends it in pieces waits for us to take them,
    // and some programs do nothing else meanwhile (Tk). So the answer is taken at the first look
    // at the clipboard after the emptying, whether it is needed or not, or earlier while the
    // focus is awaited.
    m_beforeLimit = limit;
    if (m_beforeState != Before::Asked)
        return;
    const bool known =
        m_before.receive(m_utf8String, m_incr, m_beforeText, limit, std::chrono::milliseconds(250),
                         false) == Receiver::Answer::Text;
    m_beforeState = known ? Before::Known : Before::Unknown;
}

bool Selections::textBeforeEmptying(std::string &text, std::size_t limit)
{
    receiveTextBefore(limit);
    if (m_beforeState != Before::Known)
        return false;
    text.assign(m_beforeText, 0, std::min(limit, m_beforeText.size()));
    return true;
}

void Selections::hearCopy()
{
    if (m_fixes && !m_hearingCopy) {
        XFixesSelectSelectionInput(m_display, m_listener, m_clipboard,
                                   XFixesSetSelectionOwnerNotifyMask);
        m_hearingCopy = true;
    }
}

bool Selections::waitForCopy(std::chrono::milliseconds wait)
{
    if (!m_hearingCopy)
        return false;
    XEvent event{};
    const int notify = m_fixesEvent + XFixesSelectionNotify;
    const bool arrived =
        waitForEvent(m_display, Clock::now() + wait, event, [this, notify](const XEvent &e) {
            if (e.type != notify)
                return false;
            const auto &owner = reinterpret_cast<const XFixesSelectionNotifyEvent &>(e);
            return owner.window == m_listener && owner.owner != None;
        });
    m_heardOwner = arrived ? reinterpret_cast<const XFixesSelectionNotifyEvent &>(event).owner : 0;
    XFixesSelectSelectionInput(m_display, m_listener, m_clipboard, 0);
    XFlush(m_display);
    m_hearingCopy = false;
    return arrived;
}

Selections::ClipboardRead Selections::readClipboardText(std::string &text, std::size_t limit)
{
    receiveTextBefore(limit);
    dropEventsBut(m_display, 0);
    // An owner just heard of need not be asked for.
    m_textOwner = std::exchange(m_heardOwner, 0);
    return readText(m_clipboard, text, limit, m_textOwner);
}

Selections::ClipboardRead Selections::readSelectionText(std::string &text, std::size_t limit)
{
    // An answer about the clipboard still on its way is kept for whoever waits for it.
    dropEventsBut(m_display, m_before.window);
    // The time at which the owner took the selection is asked for together with the text, and
    // arrives before it.
    m_stamps.ask(XA_PRIMARY, m_timestamp);
    m_selectionTime = 0;
    m_selectionOwner = 0;
    const ClipboardRead read = readText(XA_PRIMARY, text, limit, m_selectionOwner);
    if (read == ClipboardRead::NoOwner)
        m_selectionOwner = 0;
    else if (read != ClipboardRead::NoText)
        m_stamps.receiveTime(m_selectionTime, std::chrono::milliseconds(250));
    return read;
}

Selections::ClipboardRead Selections::readText(Atom selection, std::string &text, std::size_t limit,
                                               Window &owner)
{
    // UTF-8 first; Latin-1 from owners that offer nothing else. `owner` is asked for unless it is
    // known already.
    bool first = true;
    for (Atom target : {m_utf8String, static_cast<Atom>(XA_STRING)}) {
        m_current.ask(selection, target);
        if (first && owner == 0) {
            // Asked right behind the request, so that both travel together.
            owner = XGetSelectionOwner(m_display, selection);
            if (owner == None) {
                text.clear();
                return ClipboardRead::NoOwner;
            }
        }
        first = false;
        XFlush(m_display);
        switch (m_current.receive(target, m_incr, text, limit, std::chrono::seconds(2), true)) {
        case Receiver::Answer::Text:
            return ClipboardRead::Text;
        case Receiver::Answer::Refused:
            continue;
        case Receiver::Answer::Other:
            // Some owners send whatever they hold: the toolkit looks at the forms on offer and
            // decides.
            return ClipboardRead::Unsupported;
        case Receiver::Answer::Missing:
            // An owner that does not answer ends the request like one without text.
            return ClipboardRead::NoText;
        }
    }
    return ClipboardRead::NoText;
}

} // namespace x11
