#include "properties/change.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <initializer_list>

namespace kelvoro {

namespace {

const QDate kFirstDate(1970, 1, 1);
const QDate kLastDate(2999, 12, 31);

QCheckBox* checkBox(const QString& text, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QDateEdit* datePicker(const char* name, QWidget* parent) {
    auto* picker = new QDateEdit(QDate::currentDate(), parent);
    picker->setObjectName(QLatin1String(name));
    picker->setDateRange(kFirstDate, kLastDate);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    return picker;
}

QTimeEdit* timePicker(const char* name, QWidget* parent) {
    auto* picker = new QTimeEdit(QTime(0, 0), parent);
    picker->setObjectName(QLatin1String(name));
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return picker;
}

// The date goes through the calendar at midnight, the clock through 2000-01-01, both by
// mktime, so out-of-range fields are normalised the way the list's own times are.
void setPickers(const QString& text, QDateEdit* date, QTimeEdit* time) {
    const LocalFields f = timeTextFields(text.toStdString());
    if (const auto midnight = makeLocalTime(f.year, f.month, f.day, 0, 0, 0)) {
        if (const auto local = breakDownLocal(*midnight)) {
            const QDate day(local->year, local->month, local->day);
            if (day >= kFirstDate && day <= kLastDate)
                date->setDate(day);
        }
    }
    if (const auto clock = makeLocalTime(2000, 1, 1, f.hour, f.minute, f.second)) {
        if (const auto local = breakDownLocal(*clock))
            time->setTime(QTime(local->hour, local->minute, local->second));
    }
}

void chainTabOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* w : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

std::optional<CalendarTime> readPickers(const QDateEdit* date, const QTimeEdit* time) {
    const QDate d = date->date();
    const QTime t = time->time();
    return makeLocalTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

} // namespace

CChange::CChange(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CChange"));
    setWindowTitle(tr("ファイルプロパティの編集"));

    m_chkChangeTime = checkBox(tr("タイムスタンプを変更する"), "changeTime", this);
    auto* timeGroup = new QGroupBox(this);
    timeGroup->setAccessibleName(tr("タイムスタンプ"));
    auto* times = new QGridLayout(timeGroup);
    m_dtCreatedDate = datePicker("createdDate", timeGroup);
    m_dtModifiedDate = datePicker("modifiedDate", timeGroup);
    m_dtAccessedDate = datePicker("accessedDate", timeGroup);
    m_dtCreatedTime = timePicker("createdTime", timeGroup);
    m_dtModifiedTime = timePicker("modifiedTime", timeGroup);
    m_dtAccessedTime = timePicker("accessedTime", timeGroup);
    const struct {
        QString label;
        QDateEdit* date;
        QTimeEdit* time;
    } rows[] = {{tr("作成日時"), m_dtCreatedDate, m_dtCreatedTime},
                {tr("最終更新日時"), m_dtModifiedDate, m_dtModifiedTime},
                {tr("最終アクセス日時"), m_dtAccessedDate, m_dtAccessedTime}};
    int line = 0;
    for (const auto& row : rows) {
        row.date->setAccessibleName(tr("%1の日付").arg(row.label));
        row.time->setAccessibleName(tr("%1の時刻").arg(row.label));
        times->addWidget(new QLabel(row.label, timeGroup), line, 0);
        times->addWidget(row.date, line, 1);
        times->addWidget(row.time, line, 2);
        ++line;
    }

    m_chkChangeAttr = checkBox(tr("属性を変更する"), "changeAttr", this);
    auto* attrGroup = new QGroupBox(this);
    attrGroup->setAccessibleName(tr("属性"));
    auto* attrs = new QVBoxLayout(attrGroup);
    m_chkReadOnly = checkBox(tr("読み取り専用"), "readOnly", attrGroup);
    m_chkHidden = checkBox(tr("隠しファイル"), "hidden", attrGroup);
    m_chkArchive = checkBox(tr("ファイルをアーカイブ可能にする"), "archive", attrGroup);
    m_chkIndex =
        checkBox(tr("検索を早くするため、ファイルにインデックスを付ける"), "index", attrGroup);
    for (QCheckBox* box : {m_chkReadOnly, m_chkHidden, m_chkArchive, m_chkIndex})
        attrs->addWidget(box);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancel"));

    auto* fields = new QVBoxLayout;
    fields->addWidget(m_chkChangeTime);
    fields->addWidget(timeGroup);
    fields->addWidget(m_chkChangeAttr);
    fields->addWidget(attrGroup);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    m_chkChangeAttr->setChecked(false);
    m_chkChangeTime->setChecked(true);
    OnBnClickedChangeAttr();
    OnBnClickedChangeTime();

    // The template's order: the buttons, the attributes, the dates, the clocks, the switch of
    // the times last.
    chainTabOrder({ok, cancel, m_chkReadOnly, m_chkHidden, m_chkArchive, m_chkIndex,
                   m_chkChangeAttr, m_dtCreatedDate, m_dtModifiedDate, m_dtAccessedDate,
                   m_dtCreatedTime, m_dtModifiedTime, m_dtAccessedTime, m_chkChangeTime});

    connect(ok, &QPushButton::clicked, this, &CChange::OnBnClickedOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_chkChangeAttr, &QCheckBox::toggled, this, &CChange::OnBnClickedChangeAttr);
    connect(m_chkChangeTime, &QCheckBox::toggled, this, &CChange::OnBnClickedChangeTime);
}

CChange::KeptTime CChange::keep(std::optional<CalendarTime> instant, const QDateEdit* date,
                                const QTimeEdit* time) {
    return {instant, date->date(), time->time()};
}

std::optional<CalendarTime> CChange::readTime(const KeptTime& kept, const QDateEdit* date,
                                              const QTimeEdit* time) {
    if (kept.instant && date->date() == kept.date && time->time() == kept.time)
        return kept.instant;
    return readPickers(date, time);
}

void CChange::setCreatedText(const QString& text, std::optional<CalendarTime> instant) {
    setPickers(text, m_dtCreatedDate, m_dtCreatedTime);
    m_keptCreated = keep(instant, m_dtCreatedDate, m_dtCreatedTime);
}

void CChange::setModifiedText(const QString& text, std::optional<CalendarTime> instant) {
    setPickers(text, m_dtModifiedDate, m_dtModifiedTime);
    m_keptModified = keep(instant, m_dtModifiedDate, m_dtModifiedTime);
}

void CChange::setAccessedText(const QString& text, std::optional<CalendarTime> instant) {
    setPickers(text, m_dtAccessedDate, m_dtAccessedTime);
    m_keptAccessed = keep(instant, m_dtAccessedDate, m_dtAccessedTime);
}

void CChange::setReadOnlyText(const QString& text) {
    m_szReadOnly = text;
    m_chkReadOnly->setChecked(!text.isEmpty());
}

void CChange::setHiddenText(const QString& text) {
    m_szHidden = text;
    m_chkHidden->setChecked(!text.isEmpty());
}

void CChange::setArchiveText(const QString& text) {
    m_szArchive = text;
    m_chkArchive->setChecked(!text.isEmpty());
}

void CChange::setIndexText(const QString& text) {
    m_szIndex = text;
    m_chkIndex->setChecked(!text.isEmpty());
}

void CChange::OnBnClickedChangeTime() {
    const bool on = m_chkChangeTime->isChecked();
    const std::initializer_list<QWidget*> pickers = {m_dtCreatedDate,  m_dtModifiedDate,
                                                     m_dtAccessedDate, m_dtCreatedTime,
                                                     m_dtModifiedTime, m_dtAccessedTime};
    for (QWidget* picker : pickers)
        picker->setEnabled(on);
}

void CChange::OnBnClickedChangeAttr() {
    const bool on = m_chkChangeAttr->isChecked();
    for (QCheckBox* box : {m_chkReadOnly, m_chkHidden, m_chkArchive, m_chkIndex})
        box->setEnabled(on);
}

void CChange::OnBnClickedOk() {
    if (m_chkChangeTime->isChecked()) {
        m_timeCreated = readTime(m_keptCreated, m_dtCreatedDate, m_dtCreatedTime);
        m_timeModified = readTime(m_keptModified, m_dtModifiedDate, m_dtModifiedTime);
        m_timeAccessed = readTime(m_keptAccessed, m_dtAccessedDate, m_dtAccessedTime);
    }
    if (m_chkChangeAttr->isChecked()) {
        auto mark = [](const QCheckBox* box) {
            return box->isChecked() ? QStringLiteral(" ") : QString();
        };
        m_szReadOnly = mark(m_chkReadOnly);
        m_szHidden = mark(m_chkHidden);
        m_szArchive = mark(m_chkArchive);
        m_szIndex = mark(m_chkIndex);
    }
    accept();
}

} // namespace kelvoro
