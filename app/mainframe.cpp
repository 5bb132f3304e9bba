#include "app/mainframe.h"

#include "app/aboutdlg.h"
#include "app/commandhandlers.h"
#include "app/guide.h"
#include "app/languagemenu.h"
#include "app/services.h"
#include "app/settingsstore.h"
#include "common/urilist.h"
#include "filelist/trazzleview.h"
#include "platform/filesystem.h"
#include "platform/keystate.h"
#include "presentation/menulook.h"
#include "presentation/prompt.h"
#include "properties/propertycommands.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>
#include <QUrl>

#include <algorithm>

namespace kelvoro {

namespace {

const QString kWindowSection = QStringLiteral("Window");
const QString kListSection = QStringLiteral("List");

enum ShowState { ShowNormal = 1, ShowMinimized = 2, ShowMaximized = 3 };

QIcon imageIcon(const char* prefix, std::string_view name) {
    if (name.empty())
        return {};
    return QIcon(QStringLiteral(":/art/%1%2.png")
                     .arg(QLatin1String(prefix))
                     .arg(QLatin1String(name.data(), static_cast<qsizetype>(name.size()))));
}

// The stored edges (right and bottom exclusive) as a rectangle; an empty one for edges that
// are crossed or beyond any screen, worked out without overflowing whatever the file holds.
QRect placementRect(int left, int top, int right, int bottom) {
    constexpr std::int64_t kLimit = QWIDGETSIZE_MAX;
    const std::int64_t width = std::int64_t(right) - left;
    const std::int64_t height = std::int64_t(bottom) - top;
    for (const std::int64_t v : {std::int64_t(left), std::int64_t(top), width, height})
        if (v < -kLimit || v > kLimit)
            return {};
    if (width <= 0 || height <= 0)
        return {};
    return QRect(left, top, int(width), int(height));
}

} // namespace

CMainFrame::CMainFrame(Services& services, QWidget* parent)
    : QMainWindow(parent), m_services(services) {
    // The placeholder shows the unsaved state the desktop's way.
    setWindowTitle(QStringLiteral("Kelvoro[*]"));
    setAcceptDrops(true);

    m_view = new CTrazzleView(services.prompt, services.fileSystem, this);
    setCentralWidget(m_view);
    m_undoStack = std::make_unique<QUndoStack>();
    m_undoStack->setUndoLimit(kUndoLimit);
    m_context = std::make_unique<CommandContext>(
        CommandContext{*m_view, this, services.prompt, services.fileSystem, services.shell,
                       [this] { return QuerySaveChanges(); }, m_undoStack.get()});

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    createContextMenu();
    retranslate();
    restoreWindowPlacement();

    connect(m_view, &CTrazzleView::commandStateChanged, this, &CMainFrame::updateCommandStates);
    connect(&m_view->rows(), &FileListModel::stagedCountChanged, this,
            [this](int staged) { setWindowModified(staged > 0); });
    connect(m_view, &CTrazzleView::editRequested, m_actions.value(ID_EDIT_PROPERTIES),
            &QAction::trigger);
    connect(m_view, &CTrazzleView::statusMessage, this,
            [this](const QString& message) { statusBar()->showMessage(message, 10000); });
    connect(&m_view->rows(), &FileListModel::sortStateChanged, this, &CMainFrame::sortStateChanged);
    connect(m_undoStack.get(), &QUndoStack::indexChanged, this, &CMainFrame::updateUndoTexts);
    connect(m_undoStack.get(), &QUndoStack::cleanChanged, this, &CMainFrame::updateUndoTexts);
    restoreSortKey();
    updateCommandStates();
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
}

void CMainFrame::createActions() {
    for (const CommandInfo& info : commandTable()) {
        auto* action = new QAction(this);
        if (!info.shortcut.empty())
            action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(
                info.shortcut.data(), static_cast<qsizetype>(info.shortcut.size()))));
        action->setIcon(imageIcon("mi-", toolBarImage(info.id)));
        const int id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        m_actions.insert(id, action);
        // Keys reach the command even when no menu shows it.
        addAction(action);
    }
    for (const MenuIcon& icon : contextMenuIcons())
        m_actions.value(icon.id)->setIcon(imageIcon("mi-", icon.image));
    m_actions.value(ID_VIEW_TOOLBAR)->setCheckable(true);
    m_actions.value(ID_VIEW_STATUS_BAR)->setCheckable(true);
}

void CMainFrame::createMenus() {
    for (const MenuLayout& layout : mainMenuLayout()) {
        QMenu* menu = menuBar()->addMenu(QString());
        m_menus.append(menu);
        applyMenuLook(menu);
        for (int id : layout.items) {
            if (id == ID_SEPARATOR)
                menu->addSeparator();
            else
                menu->addAction(m_actions.value(id));
        }
        if (std::ranges::find(layout.items, int(ID_VIEW_STATUS_BAR)) != layout.items.end()) {
            menu->addSeparator();
            menu->addMenu(new LanguageMenu(m_services.settings, menu));
        }
    }
}

// Every text the frame shows, in the interface's language; again on each change of it.
void CMainFrame::retranslate() {
    for (const CommandInfo& info : commandTable()) {
        QAction* action = m_actions.value(info.id);
        action->setText(commandText(info.menuText));
        action->setStatusTip(commandText(info.prompt));
        // An empty tip falls back to the text.
        action->setToolTip(commandText(info.toolTip));
    }
    const std::span<const MenuLayout> layouts = mainMenuLayout();
    for (qsizetype i = 0; i < m_menus.size(); ++i)
        m_menus[i]->setTitle(commandText(layouts[std::size_t(i)].title));
    for (QAction* button : m_toolBar->actions()) {
        if (const QAction* action = m_actions.value(button->data().toInt())) {
            button->setText(action->toolTip());
            button->setToolTip(action->toolTip());
            button->setStatusTip(action->statusTip());
        }
    }
    m_toolBar->setWindowTitle(tr("ツール バー"));
    // Qt's button for the buttons that do not fit has no name of its own.
    if (auto* more = m_toolBar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(tr("その他のボタン"));
    const QString ready = readyText();
    if (statusBar()->currentMessage().isEmpty() || statusBar()->currentMessage() == m_ready)
        statusBar()->showMessage(ready);
    m_ready = ready;
    m_unsortedIndicator->setText(tr("未整列"));
    m_unsortedIndicator->setToolTip(tr("並べ替えた後に加わった行や変わった行があります。列見出しを"
                                       "クリックすると並べ替え直します。"));
}

QString CMainFrame::readyText() {
    return tr("レディ");
}

void CMainFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void CMainFrame::createContextMenu() {
    auto* menu = new QMenu(m_view);
    menu->setObjectName(QStringLiteral("contextMenu"));
    for (int id : contextMenuLayout()) {
        if (id == ID_SEPARATOR)
            menu->addSeparator();
        else
            menu->addAction(m_actions.value(id));
    }
    m_view->setContextMenu(menu);
}

void CMainFrame::createToolBar() {
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(true);
    m_toolBar->setIconSize(QSize(19, 18));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int id : toolBarLayout()) {
        if (id == ID_SEPARATOR) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = m_actions.value(id);
        // The toolbar images are drawn for the toolbar's own size.
        auto* button = new QAction(imageIcon("tb-", toolBarImage(id)), QString(), this);
        button->setData(id);
        button->setEnabled(action->isEnabled());
        // Undo and redo name their step in the tool tip too.
        connect(action, &QAction::changed, button, [button, action] {
            button->setEnabled(action->isEnabled());
            button->setToolTip(action->toolTip());
        });
        connect(button, &QAction::triggered, action, &QAction::trigger);
        m_toolBar->addAction(button);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    QAction* toggle = m_actions.value(ID_VIEW_TOOLBAR);
    toggle->setChecked(true);
    connect(m_toolBar, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& message) {
        if (message.isEmpty())
            bar->showMessage(readyText());
    });

    auto indicator = [bar](const QString& label) {
        auto* l = new QLabel(label, bar);
        l->setAlignment(Qt::AlignCenter);
        l->setVisible(false);
        bar->addPermanentWidget(l);
        return l;
    };
    m_capsIndicator = indicator(QStringLiteral("CAP"));
    m_numIndicator = indicator(QStringLiteral("NUM"));
    m_scrollIndicator = indicator(QStringLiteral("SCRL"));
    updateLockIndicators();
    m_unsortedIndicator = new QLabel(bar);
    m_unsortedIndicator->setObjectName(QStringLiteral("unsortedIndicator"));
    m_unsortedIndicator->setVisible(false);
    bar->insertPermanentWidget(0, m_unsortedIndicator);

    QAction* toggle = m_actions.value(ID_VIEW_STATUS_BAR);
    toggle->setChecked(true);
}

void CMainFrame::restoreSortKey() {
    const SettingsStore& s = m_services.settings;
    const int column = s.getProfileInt(kListSection, QStringLiteral("sortColumn"), -1);
    const bool descending = s.getProfileInt(kListSection, QStringLiteral("sortOrder"), 0) != 0;
    m_view->rows().setSortKey(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

// The sort is remembered for the next run as soon as it is chosen.
void CMainFrame::sortStateChanged() {
    const FileListModel& rows = m_view->rows();
    m_unsortedIndicator->setVisible(rows.sortColumn() >= 0 && !rows.isSorted());
    if (rows.sortColumn() < 0)
        return;
    SettingsStore& s = m_services.settings;
    s.writeProfileInt(kListSection, QStringLiteral("sortColumn"), rows.sortColumn());
    s.writeProfileInt(kListSection, QStringLiteral("sortOrder"),
                      rows.sortOrder() == Qt::DescendingOrder ? 1 : 0);
}

void CMainFrame::updateLockIndicators() {
    const std::optional<platform::LockKeys> keys = platform::readLockKeys();
    m_capsIndicator->setVisible(keys && keys->capsLock);
    m_numIndicator->setVisible(keys && keys->numLock);
    m_scrollIndicator->setVisible(keys && keys->scrollLock);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // Lock keys change with a key press anywhere, or while another window had the focus.
    const bool keyInWindow = event->type() == QEvent::KeyRelease && watched->isWindowType();
    if (keyInWindow || event->type() == QEvent::ApplicationStateChange)
        updateLockIndicators();
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::updateUndoTexts() {
    // The label names the step: "元に戻す: 保存 (120 件)".
    auto name = [this](QAction* action, const QString& step, const QString& label,
                       const char* source) {
        const QString stepLabel = step.isEmpty() ? label : tr("%1: %2").arg(label, step);
        const QString plain = commandText(source);
        action->setText(stepLabel + plain.mid(plain.indexOf(QLatin1Char('\t'))));
        action->setToolTip(stepLabel);
    };
    name(m_actions.value(ID_EDIT_UNDO), m_undoStack->undoText(), tr("元に戻す"),
         findCommand(ID_EDIT_UNDO)->menuText);
    name(m_actions.value(ID_EDIT_REDO), m_undoStack->redoText(), tr("やり直し"),
         findCommand(ID_EDIT_REDO)->menuText);
    updateCommandStates();
}

void CMainFrame::updateCommandStates() {
    const CommandState state{m_view->rows().rowCount(), m_view->selectedCount(), IsChanged(),
                             m_undoStack->canUndo(), m_undoStack->canRedo()};
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        it.value()->setEnabled(isCommandEnabled(it.key(), state));
}

void CMainFrame::runCommand(int id) {
    switch (id) {
    case ID_APP_EXIT:
        close();
        break;
    case ID_EDIT_UNDO:
        m_undoStack->undo();
        break;
    case ID_EDIT_REDO:
        m_undoStack->redo();
        break;
    case ID_VIEW_TOOLBAR:
        m_toolBar->setVisible(m_actions.value(id)->isChecked());
        break;
    case ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(m_actions.value(id)->isChecked());
        break;
    case ID_APP_ABOUT: {
        CAboutDlg about(m_services.shell, guideUrl(), this);
        about.exec();
        break;
    }
    default:
        if (const CommandHandler handler = commandHandler(id))
            handler(*m_context);
        break;
    }
}

bool CMainFrame::IsChanged() const {
    return m_view->rows().stagedCount() > 0;
}

bool CMainFrame::QuerySaveChanges() {
    if (!IsChanged())
        return true;
    switch (m_services.prompt.yesNoCancel(this, tr("変更を保存しますか？"))) {
    case Prompt::Answer::Cancel:
        return false;
    case Prompt::Answer::Yes:
        return OnFileSave(*m_context);
    case Prompt::Answer::No:
        return true;
    }
    return false;
}

void CMainFrame::restoreWindowPlacement() {
    const SettingsStore& s = m_services.settings;
    const QRect rect = placementRect(s.getProfileInt(kWindowSection, QStringLiteral("left"), 0),
                                     s.getProfileInt(kWindowSection, QStringLiteral("top"), 0),
                                     s.getProfileInt(kWindowSection, QStringLiteral("right"), 0),
                                     s.getProfileInt(kWindowSection, QStringLiteral("bottom"), 0));
    m_startMaximized =
        s.getProfileInt(kWindowSection, QStringLiteral("show"), ShowNormal) == ShowMaximized;
    // A rectangle on no screen (a monitor since removed) would put the window out of reach.
    bool onScreen = false;
    for (const QScreen* screen : QGuiApplication::screens())
        onScreen = onScreen || screen->availableGeometry().intersects(rect);
    if (!rect.isEmpty() && onScreen) {
        setGeometry(rect);
        return;
    }
    // Room for every column at its default width.
    const QSize available = screen()->availableSize();
    resize(std::min(760, available.width()), std::min(480, available.height()));
}

void CMainFrame::showAsSaved() {
    if (m_startMaximized)
        showMaximized();
    else
        show();
}

void CMainFrame::SaveWindowPlacement() {
    SettingsStore& s = m_services.settings;
    const QRect rect = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    s.writeProfileInt(kWindowSection, QStringLiteral("left"), rect.left());
    s.writeProfileInt(kWindowSection, QStringLiteral("top"), rect.top());
    s.writeProfileInt(kWindowSection, QStringLiteral("right"), rect.right() + 1);
    s.writeProfileInt(kWindowSection, QStringLiteral("bottom"), rect.bottom() + 1);
    s.writeProfileInt(kWindowSection, QStringLiteral("show"),
                      isMinimized()   ? ShowMinimized
                      : isMaximized() ? ShowMaximized
                                      : ShowNormal);
    s.sync();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!QuerySaveChanges()) {
        event->ignore();
        return;
    }
    SaveWindowPlacement();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QMimeData* mime = event->mimeData();
    QByteArray uriList = mime->data(QStringLiteral("text/uri-list"));
    // A source that offers its URLs in another form passes the same checks.
    if (uriList.isEmpty()) {
        for (const QUrl& url : mime->urls())
            uriList += url.toEncoded() + "\r\n";
    }
    const QList<QByteArray> paths = localPathsFromUriList(uriList);
    event->acceptProposedAction();
    // The program the files come from waits until the drop returns: adding them, with its
    // progress and messages, runs after that.
    QMetaObject::invokeMethod(
        this, [this, paths] { addDroppedFiles(paths); }, Qt::QueuedConnection);
}

void CMainFrame::addDroppedFiles(const QList<QByteArray>& paths) {
    int folders = 0;
    const AddResult result =
        m_view->addPaths(paths, {[this, &paths, &folders](qsizetype i) {
                             const bool folder =
                                 m_services.fileSystem.isDirectory(paths[i].toStdString());
                             folders += folder ? 1 : 0;
                             return !folder;
                         }});
    // Dropped folders are skipped; say where they are taken.
    if (result.added == 0 && folders > 0 && folders == paths.size())
        statusBar()->showMessage(tr("フォルダーは [ファイル]-[フォルダーを開く] で追加できます"),
                                 10000);
}

} // namespace kelvoro
