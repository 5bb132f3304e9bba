#include "filelist/trazzleview.h"

#include "common/fileerrortext.h"
#include "presentation/prompt.h"
#include "presentation/rowprogress.h"

#include <QGuiApplication>
#include <QHeaderView>

#include <cerrno>
#include <cstring>

namespace kelvoro {

namespace {

// Folders named in the message; the rest are counted.
constexpr std::size_t kNamedProblems = 10;

} // namespace

void CTrazzleView::addFolder(const QByteArray& folder, const FolderOptions& options) {
    m_folderOptions = options;
    const std::unique_ptr<RowProgress> progress = startProgress(tr("フォルダーを読んでいます…"));
    const FolderListing listing = listFolder(
        folder, options, *m_folderReader, [&progress](int found, const QByteArray& current) {
            return progress->next(found, 0, [&current] { return current; });
        });
    if (listing.cancelled)
        return;
    progress->setText(tr("追加しています…"));
    const AddResult added =
        addPaths(listing.paths, {{}, !options.includeHidden, true}, progress.get());
    reportFolder(listing, added);
}

void CTrazzleView::reportFolder(const FolderListing& listing, const AddResult& added) {
    QStringList parts;
    if (added.duplicates > 0)
        parts << tr("%1 件は既に一覧にあります。").arg(added.duplicates);
    if (!listing.problems.empty()) {
        QStringList lines{
            tr("%1 個のフォルダーを読み込めませんでした。").arg(listing.problems.size())};
        for (std::size_t i = 0; i < listing.problems.size() && i < kNamedProblems; ++i) {
            const FolderProblem& p = listing.problems[i];
            const QString reason =
                p.error == EACCES || p.error == EPERM ? tr("アクセスが拒否されました")
                : p.error == ELOOP                    ? tr("既に読んだフォルダーです")
                : p.error == ENOENT                   ? tr("見つかりません")
                : p.error == ENOTDIR                  ? tr("フォルダーではありません")
                                     : QString::fromLocal8Bit(std::strerror(p.error));
            lines << tr("%1（%2）").arg(displayPath(p.path), reason);
        }
        if (listing.problems.size() > kNamedProblems)
            lines << tr("ほか %1 個").arg(listing.problems.size() - kNamedProblems);
        parts << lines.join(u'\n');
    }
    if (!listing.problems.empty())
        m_prompt.exclamation(this, parts.join(QStringLiteral("\n\n")));
    else if (!parts.isEmpty())
        m_prompt.information(this, parts.join(QStringLiteral("\n\n")));
    if (added.added == 0 && added.duplicates == 0 && listing.problems.empty() && !added.cancelled)
        Q_EMIT statusMessage(tr("追加するファイルはありませんでした。"));
}

void CTrazzleView::sortByHeader(int column) {
    Qt::SortOrder order = Qt::AscendingOrder;
    // Rows added since the last sort: the same column sorts again before it reverses.
    if (column == m_model.sortColumn())
        order = !m_model.isSorted()                         ? m_model.sortOrder()
                : m_model.sortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder
                                                            : Qt::AscendingOrder;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_model.sort(column, order);
    QGuiApplication::restoreOverrideCursor();
    showSortIndicator();
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

void CTrazzleView::showSortIndicator() {
    horizontalHeader()->setSortIndicator(m_model.sortColumn(), m_model.sortOrder());
}

} // namespace kelvoro
