#include "properties/timetoolsdialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kelvoro {

namespace {

constexpr const char* kContext = "kelvoro::CTimeTools";

constexpr std::array<const char*, kTimeFieldCount> kFieldNames = {
    QT_TRANSLATE_NOOP("kelvoro::CTimeTools", "作成日時"),
    QT_TRANSLATE_NOOP("kelvoro::CTimeTools", "更新日時"),
    QT_TRANSLATE_NOOP("kelvoro::CTimeTools", "アクセス日時"),
};
constexpr std::array<const char*, kTimeFieldCount> kFieldKeys = {"created", "modified", "accessed"};

struct SourceItem {
    TimeSource source;
    const char* text;
};
constexpr SourceItem kSources[] = {
    {TimeSource::Keep, QT_TRANSLATE_NOOP("kelvoro::CTimeTools", "変更しない")},
    {TimeSource::Shift, QT_TRANSLATE_NOOP("kelvoro::CTimeTools", "ずらす")},
    {TimeSource::CopyCreated, QT_TRANSLATE_NOOP("kelvoro::CTimeTools", "作成日時をコピー")},
    {TimeSource::CopyModified, QT_TRANSLATE_NOOP("kelvoro::CTimeTools", "更新日時をコピー")},
    {TimeSource::CopyAccessed, QT_TRANSLATE_NOOP("kelvoro::CTimeTools", "アクセス日時をコピー")},
    {TimeSource::PhotoDate, QT_TRANSLATE_NOOP("kelvoro::CTimeTools", "撮影日時 (Exif)")},
    {TimeSource::NameDate, QT_TRANSLATE_NOOP("kelvoro::CTimeTools", "ファイル名の日付")},
};

struct ShiftUnit {
    const char* key;
    const char* suffix;
    int limit;
};
constexpr std::array<ShiftUnit, 4> kShiftUnits = {{
    {"Days", QT_TRANSLATE_NOOP("kelvoro::CTimeTools", " 日"), 99999},
    {"Hours", QT_TRANSLATE_NOOP("kelvoro::CTimeTools", " 時間"), 99999},
    {"Minutes", QT_TRANSLATE_NOOP("kelvoro::CTimeTools", " 分"), 999999},
    {"Seconds", QT_TRANSLATE_NOOP("kelvoro::CTimeTools", " 秒"), 9999999},
}};

QString translated(const char* text) {
    return QCoreApplication::translate(kContext, text);
}

// A field never copies itself.
bool isOwnCopy(TimeSource source, std::size_t field) {
    return (source == TimeSource::CopyCreated && field == 0) ||
           (source == TimeSource::CopyModified && field == 1) ||
           (source == TimeSource::CopyAccessed && field == 2);
}

} // namespace

CTimeTools::CTimeTools(TimeToolsInput input, PhotoDateScan::Reader photoReader, QWidget* parent)
    : QDialog(parent), m_input(std::move(input)), m_rows(timeToolRows(m_input.times)),
      m_photoReader(std::move(photoReader)) {
    setObjectName(QStringLiteral("CTimeTools"));
    setWindowTitle(tr("日時の一括変更"));

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    for (std::size_t f = 0; f < kTimeFieldCount; ++f)
        layout->addWidget(makeField(f));

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);

    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(tr("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &CTimeTools::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_scanPoll.setInterval(100);
    connect(&m_scanPoll, &QTimer::timeout, this, &CTimeTools::refresh);
    refresh();
}

CTimeTools::~CTimeTools() = default;

QWidget* CTimeTools::makeField(std::size_t field) {
    auto* group = new QGroupBox(translated(kFieldNames[field]), this);
    const QString key = QLatin1String(kFieldKeys[field]);
    FieldControls& controls = m_fields[field];

    controls.source = new QComboBox(group);
    controls.source->setObjectName(key + QStringLiteral("Source"));
    for (const SourceItem& item : kSources)
        if (!isOwnCopy(item.source, field))
            controls.source->addItem(translated(item.text), static_cast<int>(item.source));
    connect(controls.source, &QComboBox::currentIndexChanged, this, &CTimeTools::refresh);

    auto* shiftRow = new QHBoxLayout;
    for (std::size_t u = 0; u < kShiftUnits.size(); ++u) {
        auto* spin = new QSpinBox(group);
        spin->setObjectName(key + QLatin1String(kShiftUnits[u].key));
        spin->setRange(-kShiftUnits[u].limit, kShiftUnits[u].limit);
        spin->setSuffix(translated(kShiftUnits[u].suffix));
        connect(spin, &QSpinBox::valueChanged, this, &CTimeTools::refresh);
        controls.shift[u] = spin;
        shiftRow->addWidget(spin);
    }

    controls.count = new QLabel(group);
    controls.count->setObjectName(key + QStringLiteral("Count"));

    auto* box = new QVBoxLayout(group);
    box->addWidget(controls.source);
    box->addLayout(shiftRow);
    box->addWidget(controls.count);
    return group;
}

TimeChoices CTimeTools::choices() const {
    TimeChoices result;
    for (std::size_t f = 0; f < kTimeFieldCount; ++f) {
        const FieldControls& c = m_fields[f];
        result[f].source = static_cast<TimeSource>(c.source->currentData().toInt());
        if (result[f].source == TimeSource::Shift)
            result[f].shiftSeconds = shiftSeconds(c.shift[0]->value(), c.shift[1]->value(),
                                                  c.shift[2]->value(), c.shift[3]->value());
    }
    return result;
}

// The dates in names are quick to find and found once; photo dates are read in the
// background the first time they are asked for.
void CTimeTools::prepareSources(const TimeChoices& chosen) {
    if (usesSource(chosen, TimeSource::NameDate) && !m_nameDatesRead) {
        for (std::size_t i = 0; i < m_rows.size(); ++i)
            m_rows[i].nameDate = nameDate(m_input.names[i]);
        m_nameDatesRead = true;
    }
    if (usesSource(chosen, TimeSource::PhotoDate) && !m_photoDatesRead && !m_scan) {
        m_scan = std::make_unique<PhotoDateScan>(m_input.paths, m_photoReader);
        m_scanPoll.start();
    }
    if (m_scan && m_scan->finished())
        takePhotoDates();
}

void CTimeTools::takePhotoDates() {
    m_scan->wait();
    const auto& dates = m_scan->dates();
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i].photoDate = dates[i];
    m_scan.reset();
    m_scanPoll.stop();
    m_photoDatesRead = true;
}

bool CTimeTools::photoDatesPending() const {
    return m_scan != nullptr;
}

QString CTimeTools::countText(std::size_t field, const FieldCount& count, bool pending) const {
    const TimeSource source =
        static_cast<TimeSource>(m_fields[field].source->currentData().toInt());
    if (source == TimeSource::Keep)
        return tr("変更しません");
    if (pending && source == TimeSource::PhotoDate)
        return tr("撮影日時を読み取っています…");
    QString text = tr("%1 件を変更します").arg(count.changed);
    if (count.noSource > 0)
        text += tr("（元になる日時がない %1 件はそのまま）").arg(count.noSource);
    return text;
}

void CTimeTools::refresh() {
    const TimeChoices chosen = choices();
    for (std::size_t f = 0; f < kTimeFieldCount; ++f)
        for (QSpinBox* spin : m_fields[f].shift)
            spin->setEnabled(chosen[f].source == TimeSource::Shift);
    prepareSources(chosen);
    const bool pending = photoDatesPending();
    m_plan = planTimeChanges(m_rows, chosen);
    for (std::size_t f = 0; f < kTimeFieldCount; ++f)
        m_fields[f].count->setText(countText(f, m_plan.counts[f], pending));
    if (pending) {
        m_summary->setText(
            tr("撮影日時を読み取っています… %1 / %2").arg(m_scan->done()).arg(m_scan->total()));
    } else {
        QString text = tr("選択した %1 件のうち %2 件の日時を変更します。")
                           .arg(m_rows.size())
                           .arg(m_plan.changes.size());
        if (!m_plan.skipped.empty())
            text += QLatin1Char('\n') + tr("元になる日時がない %1 件は、その日時を変更しません。")
                                            .arg(m_plan.skipped.size());
        m_summary->setText(text);
    }
    m_ok->setEnabled(!pending);
}

void CTimeTools::onOk() {
    refresh();
    if (photoDatesPending())
        return;
    accept();
}

} // namespace kelvoro
