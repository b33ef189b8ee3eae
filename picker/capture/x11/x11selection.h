// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include <X11/Xlib.h>

#include "picker/capture/capturebackend.h"
#include "picker/capture/x11/x11wait.h"

namespace x11 {

// A window of ours that the owner of a selection writes its answer to. After an owner has not
// answered in time a new one takes its place, so that a late answer cannot pass for the next
// request's.
struct Receiver
{
    Display *display = nullptr;
    Window window = 0;
    // The property that answers go to; with more than one, each request takes the next, so that
    // an answer still on its way to an earlier one cannot mix with this one's.
    std::vector<Atom> properties;
    std::size_t turn = 0;
    Atom property = 0;

    Receiver(Display *connection, std::vector<Atom> answerProperties);
    void renew();
    // Asks the owner of `selection` for it as `target`, without waiting.
    void ask(Atom selection, Atom target);

    enum class Answer
    {
        Text,    // `text` holds what arrived
        Refused, // not in the form asked for
        Other,   // an answer in another form than asked for
        Missing, // no answer, or a broken one
    };
    // Takes the answer to ask(..., target): sent whole, or in pieces, each within `wait`. With
    // `finish`, pieces past `limit` are taken and dropped so that the owner finishes, but an owner
    // that goes on sending for longer than a few seconds is left there with what has arrived, so
    // that nobody waits on it for ever; without, the rest is left unread once `limit` is passed.
    Answer receive(Atom target, Atom incr, std::string &text, std::size_t limit,
                   Clock::duration wait, bool finish);
    // Whether the answer to the last ask() has arrived; it stays queued.
    bool answered();
    // Takes the answer to ask(..., TIMESTAMP): the server time at which the owner took the
    // selection. False when the owner refuses or does not answer within `wait`.
    bool receiveTime(Time &time, Clock::duration wait);

private:
    bool isAnswer(const XEvent &e) const;
};

// The selection transfer protocol on our connection: the plain text of the clipboard and of the
// selection (PRIMARY) asked of their owners, whole or in pieces (INCR); the clipboard emptied
// with the text it held fetched on the side; the clipboard's new owner heard after the copy keys.
class Selections
{
public:
    using ClipboardRead = CaptureBackend::ClipboardRead;

    // `listener` is a window of ours, through which new owners of the clipboard are heard.
    Selections(Display *display, Window listener);

    // The window at which the text the clipboard held before the emptying arrives: whoever drops
    // events leaves its own queued.
    Window beforeWindow() const { return m_before.window; }
    // Takes that text, while there is time, if it has arrived and its limit is known.
    void takeTextBeforeIfAnswered();
    // The backend's calls of the same names.
    void emptyClipboard();
    bool textBeforeEmptying(std::string &text, std::size_t limit);
    bool waitForCopy(std::chrono::milliseconds wait);
    ClipboardRead readClipboardText(std::string &text, std::size_t limit);
    ClipboardRead readSelectionText(std::string &text, std::size_t limit);
    // From now until waitForCopy(), a new owner of the clipboard is heard.
    void hearCopy();

    // The owner of the clipboard text last read.
    Window textOwner() const { return m_textOwner; }
    // The owner of the selection last read and the time at which it took it (0: not told).
    Window selectionOwner() const { return m_selectionOwner; }
    Time selectionTime() const { return m_selectionTime; }

private:
    // Takes the answer to the question that emptyClipboard() asked the clipboard's owner.
    void receiveTextBefore(std::size_t limit);
    // Reads the plain text of `selection` and tells who owned it.
    ClipboardRead readText(Atom selection, std::string &text, std::size_t limit, Window &owner);

    Display *m_display;
    Window m_listener;
    Atom m_clipboard;
    Atom m_utf8String;
    Atom m_incr;
    Atom m_timestamp;
    Receiver m_current; // receives the clipboard's text
    Receiver m_stamps;  // receives the time at which the selection's owner took it
    Receiver m_before;  // receives the text the clipboard held before it was emptied
    // XFixes tells of new clipboard owners; heard from the copy keys until the copy has come.
    bool m_fixes = false;
    int m_fixesEvent = 0;
    bool m_hearingCopy = false;
    // The clipboard's new owner as XFixes told it, until its text is read.
    Window m_heardOwner = 0;
    // The text the clipboard held when it was last emptied: asked for, then known or not.
    enum class Before
    {
        Unknown,
        Asked,
        Known,
    };
    Before m_beforeState = Before::Unknown;
    std::string m_beforeText;
    // The most of it that the caller takes, once it has said (0 before).
    std::size_t m_beforeLimit = 0;
    Window m_textOwner = 0;
    Window m_selectionOwner = 0;
    Time m_selectionTime = 0;
};

} // namespace x11
