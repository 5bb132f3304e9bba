#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

namespace kelvoro::test {

// Runs a script on a dialog of the given type as soon as it is up and modal, for commands
// that open it with exec().
template <typename Dialog> class WhenModalOpens {
public:
    explicit WhenModalOpens(std::function<void(Dialog*)> script) : m_script(std::move(script)) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                m_timer.stop();
                opened = true;
                m_script(d);
            }
        });
        m_timer.start();
    }

    bool opened = false;

private:
    std::function<void(Dialog*)> m_script;
    QTimer m_timer;
};

} // namespace kelvoro::test
