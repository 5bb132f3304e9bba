#include "platform/keystate.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

namespace kelvoro::platform {

namespace {

bool indicator(Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None)
        return false;
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return false;
    return on;
}

} // namespace

std::optional<LockKeys> readLockKeys() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (display == nullptr)
        return std::nullopt;
    return LockKeys{indicator(display, "Caps Lock"), indicator(display, "Num Lock"),
                    indicator(display, "Scroll Lock")};
}

} // namespace kelvoro::platform
