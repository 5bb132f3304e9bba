#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

#include <chrono>
#include <functional>

namespace kelvoro {

// When the progress of a loop shows, and how often it is redrawn.
struct ProgressTiming {
    using Clock = std::function<std::chrono::milliseconds()>;

    std::chrono::milliseconds showAfter{500};
    // Redrawing and handling events for every row would cost more than the rows do.
    std::chrono::milliseconds refreshEvery{50};
    Clock now; // a steady clock when empty
};

// Progress of a loop over many files. Once the loop has run for a while, a dialog modal to
// the window shows the count and the current file, with a button that stops the loop at the
// next row. Until then a row costs one clock reading.
class RowProgress : public QObject {
    Q_OBJECT

public:
    // `text` says what is being done; it stands above the count.
    RowProgress(QWidget* window, const QString& text, ProgressTiming timing = {});
    ~RowProgress() override;

    // True when the next row should go through refresh(): the display is due, or the user
    // has cancelled.
    bool due() const { return m_cancelled || m_now() >= m_nextAt; }
    // Shows that row `done` of `total`, the file at `path`, comes next, and handles the
    // events that came in meanwhile; a total of 0 means not known yet (a folder walk: `done`
    // counts what was found). False when the user has cancelled.
    bool refresh(int done, int total, const QByteArray& path);
    // Before row `done` of `total`; `pathOf()` gives that row's path and is called only when
    // the display is due. False when the user has cancelled.
    template <typename PathOf> bool next(int done, int total, PathOf&& pathOf) {
        return !due() || refresh(done, total, pathOf());
    }
    // Time spent waiting for the user's answer to a message does not make the work long.
    void restartDelay();
    // What is being done now, for work of several stages under one display.
    void setText(const QString& text) { m_text = text; }

    // Null until the work has taken long enough to show it.
    QProgressDialog* dialog() const { return m_dialog; }

Q_SIGNALS:
    // The dialog shows row `done` of `total`; the pending events are handled next.
    void refreshed(int done, int total);

private:
    void createDialog(int total);

    QWidget* m_window;
    QString m_text;
    ProgressTiming m_timing;
    ProgressTiming::Clock m_now;
    std::chrono::milliseconds m_nextAt;
    QPointer<QProgressDialog> m_dialog;
    bool m_cancelled = false;
};

} // namespace kelvoro
