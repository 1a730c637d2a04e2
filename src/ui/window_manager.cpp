#include "ui/window_manager.h"

#include <QGuiApplication>

#if defined(SOLMEA_HAVE_XCB) && QT_CONFIG(xcb)
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

bool windowManagerRuns()
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return true; // not X11: the compositor does it
    xcb_connection_t* c = x11->connection();
    // A window manager of today names itself on the root window.
    const char name[] = "_NET_SUPPORTING_WM_CHECK";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr), &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE) return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> property(
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr),
        &std::free);
    return property && xcb_get_property_value_length(property.get()) > 0;
}
#else
bool windowManagerRuns() { return true; }
#endif
