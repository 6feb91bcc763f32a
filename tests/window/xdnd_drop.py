#!/usr/bin/env python3
"""Drops a URL on a window the way a file manager does (the XDND protocol).

Usage: xdnd_drop.py WINDOW X Y URL
X, Y are in the window's coordinates. The drop offers text/uri-list and
text/plain. Prints "accepted" when the window took the drop (and has
finished with it) or "refused"; exits non-zero when the window does not answer.
"""

import ctypes
import sys
import time
from ctypes import POINTER, Structure, Union, byref, c_char_p, c_int, c_long, c_ulong, c_void_p

CLIENT_MESSAGE, SELECTION_REQUEST, SELECTION_NOTIFY = 33, 30, 31


class Header(Structure):
    _fields_ = [("type", c_int), ("serial", c_ulong), ("send_event", c_int), ("display", c_void_p)]


class ClientMessage(Structure):
    _fields_ = Header._fields_ + [("window", c_ulong), ("message_type", c_ulong), ("format", c_int),
                                  ("data", c_long * 5)]


class SelectionRequest(Structure):
    _fields_ = Header._fields_ + [("owner", c_ulong), ("requestor", c_ulong), ("selection", c_ulong),
                                  ("target", c_ulong), ("property", c_ulong), ("time", c_ulong)]


class SelectionNotify(Structure):
    _fields_ = Header._fields_ + [("requestor", c_ulong), ("selection", c_ulong), ("target", c_ulong),
                                  ("property", c_ulong), ("time", c_ulong)]


class Event(Union):
    _fields_ = [("type", c_int), ("client", ClientMessage), ("request", SelectionRequest),
                ("notify", SelectionNotify), ("pad", c_long * 24)]


x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = c_void_p
x11.XOpenDisplay.argtypes = [c_char_p]
x11.XInternAtom.restype = c_ulong
x11.XInternAtom.argtypes = [c_void_p, c_char_p, c_int]
x11.XDefaultRootWindow.restype = c_ulong
x11.XDefaultRootWindow.argtypes = [c_void_p]
x11.XCreateSimpleWindow.restype = c_ulong
x11.XCreateSimpleWindow.argtypes = [c_void_p, c_ulong] + [c_int] * 5 + [c_ulong, c_ulong]
x11.XSetSelectionOwner.argtypes = [c_void_p, c_ulong, c_ulong, c_ulong]
x11.XSendEvent.argtypes = [c_void_p, c_ulong, c_int, c_long, POINTER(Event)]
x11.XNextEvent.argtypes = [c_void_p, POINTER(Event)]
x11.XPending.argtypes = [c_void_p]
x11.XSync.argtypes = [c_void_p, c_int]
x11.XChangeProperty.argtypes = [c_void_p, c_ulong, c_ulong, c_ulong, c_int, c_int, c_char_p, c_int]
x11.XTranslateCoordinates.argtypes = [c_void_p, c_ulong, c_ulong, c_int, c_int,
                                      POINTER(c_int), POINTER(c_int), POINTER(c_ulong)]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
atom = lambda name: x11.XInternAtom(display, name.encode(), 0)
target, url = int(sys.argv[1]), sys.argv[4]
root = x11.XDefaultRootWindow(display)
root_x, root_y, child = c_int(), c_int(), c_ulong()
x11.XTranslateCoordinates(display, target, root, int(sys.argv[2]), int(sys.argv[3]),
                          byref(root_x), byref(root_y), byref(child))
source = x11.XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0)
x11.XSetSelectionOwner(display, atom("XdndSelection"), source, 0)


def send(kind, *data):
    event = Event()
    event.client.type, event.client.window = CLIENT_MESSAGE, target
    event.client.message_type, event.client.format = atom(kind), 32
    for i, value in enumerate((source,) + data):
        event.client.data[i] = value
    x11.XSendEvent(display, target, 0, 0, byref(event))
    x11.XSync(display, 0)


def hand_over(request):
    """Answers the window's request for the dragged data."""
    data = (url + "\r\n").encode()
    x11.XChangeProperty(display, request.requestor, request.property, request.target, 8, 0, data, len(data))
    answer = Event()
    answer.notify.type = SELECTION_NOTIFY
    for field in ("requestor", "selection", "target", "property", "time"):
        setattr(answer.notify, field, getattr(request, field))
    x11.XSendEvent(display, request.requestor, 0, 0, byref(answer))
    x11.XSync(display, 0)


def wait_for(kind, seconds=10.0):
    deadline = time.time() + seconds
    while time.time() < deadline:
        while x11.XPending(display):
            event = Event()
            x11.XNextEvent(display, byref(event))
            if event.type == SELECTION_REQUEST:
                hand_over(event.request)
            elif event.type == CLIENT_MESSAGE and event.client.message_type == atom(kind):
                return event.client
        time.sleep(0.02)
    sys.exit("the window sent no " + kind)


send("XdndEnter", 5 << 24, atom("text/uri-list"), atom("text/plain"), 0)
send("XdndPosition", 0, (root_x.value << 16) | root_y.value, 0, atom("XdndActionCopy"))
if wait_for("XdndStatus").data[1] & 1:
    send("XdndDrop", 0, 0)
    wait_for("XdndFinished")
    print("accepted")
else:
    send("XdndLeave", 0)
    print("refused")
