#include "app/aboutdlg.h"

#include "platform/shell.h"
#include "presentation/artwork.h"

#include <QCursor>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>

namespace kelvoro {

namespace {

const QString kLinkFamily = QStringLiteral("Noto Sans CJK JP");

QLabel* plainLabel(const QString& text, const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    // Shown as written, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

// The link reached by Tab shows the keyboard's focus as a dotted frame around its text.
class LinkLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 0, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// The link's own font: 12 pixels, underlined, in a Japanese UI face when one is installed.
QFont linkFont() {
    QFont font;
    if (QFontDatabase::families().contains(kLinkFamily))
        font.setFamily(kLinkFamily);
    font.setPixelSize(12);
    font.setUnderline(true);
    return font;
}

} // namespace

CAboutDlg::CAboutDlg(platform::Shell& shell, const QUrl& supportUrl, QWidget* parent)
    : QDialog(parent), m_shell(shell), m_supportUrl(supportUrl) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(tr("バージョン情報"));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("iconLabel"));
    icon->setPixmap(applicationIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    QLabel* version =
        plainLabel(QStringLiteral("Kelvoro Version ") + QLatin1String(KELVORO_VERSION),
                   QStringLiteral("versionLabel"), this);
    QLabel* copyright = plainLabel(QStringLiteral("Copyright (C) 2026 Hollenby"),
                                   QStringLiteral("copyrightLabel"), this);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    QLabel* support = plainLabel(tr("サポート"), QStringLiteral("supportLabel"), this);

    m_link = new LinkLabel(this);
    m_link->setObjectName(QStringLiteral("linkLabel"));
    m_link->setTextFormat(Qt::PlainText);
    m_link->setText(m_supportUrl.toString());
    // Tab reaches the link and Enter or Space opens it, as a click does.
    m_link->setFocusPolicy(Qt::TabFocus);
    m_link->setAccessibleDescription(tr("リンク: Enter キーで開きます"));
    m_link->setFont(linkFont());
    QPalette linkPalette = m_link->palette();
    linkPalette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_link->setPalette(linkPalette);
    m_link->setCursor(QCursor(QPixmap(QStringLiteral(":/art/cursor-hand.png")), 12, 1));
    m_link->installEventFilter(this);

    m_editNotice = new QPlainTextEdit(this);
    m_editNotice->setObjectName(QStringLiteral("noticeEdit"));
    m_editNotice->setReadOnly(true);
    m_editNotice->setAccessibleName(tr("ライセンス"));
    m_editNotice->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editNotice->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_editNotice->setPlainText(tr("Kelvoro はフリーソフトウェアです。\n"
                                  "GNU GPL バージョン 3 以降の条件で再配布・改変できます。"));
    // Wide enough for the longest line, so the notice reads without scrolling sideways.
    const QFontMetrics metrics = m_editNotice->fontMetrics();
    int longest = 0;
    for (const QString& line : m_editNotice->toPlainText().split(u'\n'))
        longest = std::max(longest, metrics.horizontalAdvance(line));
    const int chrome =
        2 * (m_editNotice->frameWidth() + qCeil(m_editNotice->document()->documentMargin())) +
        m_editNotice->verticalScrollBar()->sizeHint().width() + metrics.averageCharWidth();
    m_editNotice->setMinimumWidth(longest + chrome);
    m_editNotice->setFixedHeight(metrics.lineSpacing() * 4);

    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(copyright);
    auto* okColumn = new QVBoxLayout;
    okColumn->addWidget(ok);
    okColumn->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(6);
    top->addLayout(texts, 1);
    top->addSpacing(12);
    top->addLayout(okColumn);

    auto* linkRow = new QHBoxLayout;
    linkRow->addWidget(support);
    linkRow->addSpacing(6);
    linkRow->addWidget(m_link);
    linkRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(linkRow);
    layout->addSpacing(4);
    layout->addWidget(m_editNotice);
    // A fixed frame, sized to its contents, like a dialog template.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(ok, m_link);
    setTabOrder(m_link, m_editNotice);
    ok->setFocus();
}

bool CAboutDlg::eventFilter(QObject* watched, QEvent* event) {
    // The link acts when the button goes down, like a static control that notifies its parent;
    // the second press of a double click arrives as a double-click event and opens nothing.
    if (watched == m_link && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        OnClickedLink();
        return true;
    }
    if (watched == m_link && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            OnClickedLink();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CAboutDlg::OnClickedLink() {
    m_shell.openUrl(m_supportUrl);
}

} // namespace kelvoro
