#include "presentation/rowprogress.h"

#include "common/fileerrortext.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>

namespace kelvoro {

namespace {

// Room for the path, in average characters; longer paths lose their middle.
constexpr int kPathChars = 64;

std::chrono::milliseconds steadyNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

} // namespace

RowProgress::RowProgress(QWidget* window, const QString& text, ProgressTiming timing)
    : m_window(window), m_text(text), m_timing(std::move(timing)),
      m_now(m_timing.now ? m_timing.now : ProgressTiming::Clock(steadyNow)),
      m_nextAt(m_now() + m_timing.showAfter) {}

RowProgress::~RowProgress() {
    delete m_dialog.data();
}

void RowProgress::restartDelay() {
    if (!m_dialog)
        m_nextAt = m_now() + m_timing.showAfter;
}

void RowProgress::createDialog(int total) {
    m_dialog = new QProgressDialog(m_window);
    m_dialog->setWindowTitle(QStringLiteral("Kelvoro"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    auto* label = new QLabel(m_dialog);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    m_dialog->setLabel(label);
    m_dialog->setCancelButtonText(tr("キャンセル"));
    // A fixed width, so that the dialog does not jump with the length of each path.
    const QStyle* style = m_dialog->style();
    m_dialog->setMinimumWidth(QFontMetrics(label->font()).averageCharWidth() * kPathChars +
                              style->pixelMetric(QStyle::PM_LayoutLeftMargin) +
                              style->pixelMetric(QStyle::PM_LayoutRightMargin));
    m_dialog->setRange(0, total);
    // The cancel button, Escape and the close box all end up here.
    connect(m_dialog, &QProgressDialog::canceled, this, [this] { m_cancelled = true; });
    m_dialog->show();
}

bool RowProgress::refresh(int done, int total, const QByteArray& path) {
    if (m_cancelled)
        return false;
    if (!m_dialog)
        createDialog(total);
    const QFontMetrics metrics(m_dialog->font());
    const QString shownPath = metrics.elidedText(displayPath(path), Qt::ElideMiddle,
                                                 metrics.averageCharWidth() * kPathChars);
    const QString count =
        total > 0 ? QStringLiteral("%1 / %2").arg(done + 1).arg(total) : tr("%1 件").arg(done);
    m_dialog->setLabelText(QStringLiteral("%1\n%2\n%3").arg(m_text, count, shownPath));
    // An unknown total shows as a busy bar.
    if (m_dialog->maximum() != total)
        m_dialog->setRange(0, total);
    m_dialog->setValue(done);
    m_nextAt = m_now() + m_timing.refreshEvery;
    Q_EMIT refreshed(done, total);
    QCoreApplication::processEvents();
    return !m_cancelled;
}

} // namespace kelvoro
