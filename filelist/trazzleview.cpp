#include "filelist/trazzleview.h"

#include "platform/filesystem.h"
#include "platform/folderreader.h"
#include "presentation/prompt.h"
#include "presentation/rowdelegate.h"
#include "presentation/rowprogress.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>

#include <string>

namespace kelvoro {

namespace {

const std::string kIniFile = "./quib.ini";
const std::string kColumnSection = "column";
const char* const kNoCurrentDirectory = QT_TRANSLATE_NOOP(
    "kelvoro::CTrazzleView",
    "現在のフォルダの場所を確かめられないため、相対パスで指定されたファイルは追加できません。");

} // namespace

CTrazzleView::CTrazzleView(Prompt& prompt, platform::FileSystem& fileSystem, QWidget* parent)
    : QTableView(parent), m_prompt(prompt), m_fileSystem(fileSystem), m_ini(kIniFile),
      m_progressFactory([](QWidget* window, const QString& text) {
          return std::make_unique<RowProgress>(window, text);
      }),
      m_folderReader(&platform::nativeFolderReader()) {
    readColumnWidths();
    setModel(&m_model);
    setItemDelegate(new RowDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSortingEnabled(false);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* rowsHeader = verticalHeader();
    rowsHeader->hide();
    rowsHeader->setMinimumSectionSize(RowDelegate::kRowHeight);
    rowsHeader->setDefaultSectionSize(RowDelegate::kRowHeight);
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* columns = horizontalHeader();
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setHighlightSections(false);
    // The header paints no selection, yet asks on every repaint whether each column is
    // selected, a walk over every row; a selection of its own that stays empty spares it.
    columns->setSelectionModel(new QItemSelectionModel(&m_model, columns));
    columns->setSectionsMovable(false);
    columns->setStretchLastSection(false);
    columns->setMinimumSectionSize(0);
    for (int c = 0; c < ColumnCount; ++c)
        columns->resizeSection(c, m_nColumnWidth[static_cast<std::size_t>(c)]);
    connect(columns, &QHeaderView::sectionResized, this, [this](int c, int, int width) {
        if (c >= 0 && c < ColumnCount)
            m_nColumnWidth[static_cast<std::size_t>(c)] = width;
    });
    // The rows themselves are sorted, by the model: rename numbers them in this order.
    columns->setSectionsClickable(true);
    columns->setSortIndicatorShown(true);
    columns->setSortIndicator(-1, Qt::AscendingOrder);
    connect(columns, &QHeaderView::sectionClicked, this, &CTrazzleView::sortByHeader);
    connect(&m_model, &FileListModel::sortStateChanged, this, &CTrazzleView::showSortIndicator);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CTrazzleView::commandStateChanged);
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, &CTrazzleView::commandStateChanged);
    connect(&m_model, &QAbstractItemModel::rowsRemoved, this, &CTrazzleView::commandStateChanged);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &CTrazzleView::commandStateChanged);
    connect(&m_model, &FileListModel::stagedCountChanged, this, &CTrazzleView::commandStateChanged);
    retranslate();
}

void CTrazzleView::retranslate() {
    setAccessibleName(tr("ファイル一覧"));
    m_model.retranslate();
}

void CTrazzleView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QTableView::changeEvent(event);
}

CTrazzleView::~CTrazzleView() {
    writeColumnWidths();
}

void CTrazzleView::readColumnWidths() {
    for (int c = 0; c < ColumnCount; ++c)
        m_nColumnWidth[static_cast<std::size_t>(c)] =
            m_ini.getInt(kColumnSection, std::to_string(c), FileListModel::defaultColumnWidth(c));
}

void CTrazzleView::writeColumnWidths() {
    std::vector<std::pair<std::string, std::string>> widths;
    for (int c = 0; c < ColumnCount; ++c)
        widths.emplace_back(std::to_string(c),
                            std::to_string(m_nColumnWidth[static_cast<std::size_t>(c)]));
    m_ini.setStrings(kColumnSection, widths);
}

void CTrazzleView::AddFile(const QByteArray& path) {
    if (FileListModel::absolutePath(path).isEmpty())
        m_prompt.exclamation(this, tr(kNoCurrentDirectory));
    else if (!m_model.addFile(path, m_fileSystem))
        m_prompt.information(this, tr("既に存在します。"));
}

void CTrazzleView::addFiles(const QList<QByteArray>& paths,
                            const std::function<bool(qsizetype)>& accept) {
    addPaths(paths, {accept});
}

AddResult CTrazzleView::addPaths(const QList<QByteArray>& given, const AddOptions& options,
                                 RowProgress* shared) {
    std::unique_ptr<RowProgress> own;
    if (!shared)
        own = startProgress(tr("追加しています…"));
    RowProgress& progress = shared ? *shared : *own;
    AddResult result;
    const int before = m_model.rowCount();
    // Rows keep absolute paths, and the statuses are read through the same paths.
    const QList<QByteArray> paths = FileListModel::absolutePaths(given);
    bool unplaced = false;
    const int total = static_cast<int>(paths.size());
    m_model.reserve(m_model.rowCount() + total);
    // Statuses are read a block ahead, many files at a time; a cancel only wastes the reads
    // of the rest of its block.
    constexpr int kBlock = 2048;
    std::vector<std::string> block;
    std::vector<platform::FileStatus> statuses;
    for (int i = 0; i < total; ++i) {
        const QByteArray& path = paths[i];
        if (progress.due()) {
            // The list shows what the count says.
            m_model.publishPending();
            if (!progress.refresh(i, total, path)) {
                result.cancelled = true;
                break;
            }
        }
        if (i % kBlock == 0) {
            block.clear();
            for (int j = i; j < std::min(total, i + kBlock); ++j)
                block.push_back(paths[j].toStdString());
            statuses = m_fileSystem.readStatuses(block);
        }
        if (options.accept && !options.accept(i))
            continue;
        const platform::FileStatus& status = statuses[static_cast<std::size_t>(i % kBlock)];
        if (options.skipHidden && status.ok && !status.directory &&
            (status.attributes & platform::attr::Hidden) != 0)
            continue;
        if (path.isEmpty()) {
            unplaced = true;
            continue;
        }
        if (!m_model.queueFile(path, status)) {
            if (options.countDuplicates) {
                ++result.duplicates;
                continue;
            }
            m_model.publishPending();
            m_prompt.information(this, tr("既に存在します。"));
            progress.restartDelay();
        }
    }
    m_model.publishPending();
    if (unplaced)
        m_prompt.exclamation(this, tr(kNoCurrentDirectory));
    result.added = m_model.rowCount() - before;
    return result;
}

void CTrazzleView::addCommandLineFiles(const QList<CommandLineEntry>& entries) {
    QList<QByteArray> paths;
    paths.reserve(entries.size());
    for (const CommandLineEntry& entry : entries)
        paths.append(entry.path);
    addFiles(paths, [this, &entries](qsizetype i) {
        const CommandLineEntry& entry = entries[i];
        return !entry.mustOpen || m_fileSystem.isReadableRegularFile(entry.path.toStdString());
    });
}

std::unique_ptr<RowProgress> CTrazzleView::startProgress(const QString& text) {
    return m_progressFactory(window(), text);
}

bool CTrazzleView::HasSelection() const {
    return selectionModel()->hasSelection();
}

int CTrazzleView::selectedCount() const {
    int count = 0;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        count += range.height();
    return count;
}

std::vector<int> CTrazzleView::selectedRows() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

RowLoopProgress CTrazzleView::rowProgress(RowProgress& progress) const {
    return [this, &progress](int done, int total, int row) {
        return progress.next(done, total, [&] { return m_model.row(row).path(); });
    };
}

} // namespace kelvoro
