#pragma once

#include "common/timetext.h"

#include <QDate>
#include <QDialog>
#include <QTime>

#include <optional>

class QCheckBox;
class QDateEdit;
class QTimeEdit;

namespace kelvoro {

// The property edit dialog: three times and four flags, in the list's own text forms. It knows
// nothing of files; the caller hands texts in and reads the results after OK.
class CChange : public QDialog {
    Q_OBJECT

public:
    explicit CChange(QWidget* parent = nullptr);

    // Time texts as the list shows them ("%Y/%m/%d %H:%M:%S"); a text that does not parse
    // leaves its date picker at today and its time picker at the fields read as numbers.
    // With the instant the text was made from, OK gives back that exact instant while the
    // pickers still show what the text set: the text alone may name two instants (the hour
    // repeated when daylight saving ends) or a date the pickers cannot show.
    void setCreatedText(const QString& text, std::optional<CalendarTime> instant = {});
    void setModifiedText(const QString& text, std::optional<CalendarTime> instant = {});
    void setAccessedText(const QString& text, std::optional<CalendarTime> instant = {});
    // Flag texts: non-empty means set.
    void setReadOnlyText(const QString& text);
    void setHiddenText(const QString& text);
    void setArchiveText(const QString& text);
    void setIndexText(const QString& text);

    // Given only when OK ended the dialog with "タイムスタンプを変更する" checked.
    std::optional<CalendarTime> created() const { return m_timeCreated; }
    std::optional<CalendarTime> modified() const { return m_timeModified; }
    std::optional<CalendarTime> accessed() const { return m_timeAccessed; }
    // The boxes' states after OK with "属性を変更する" checked; else the texts handed in.
    QString readOnlyText() const { return m_szReadOnly; }
    QString hiddenText() const { return m_szHidden; }
    QString archiveText() const { return m_szArchive; }
    QString indexText() const { return m_szIndex; }

private:
    void OnBnClickedOk();
    void OnBnClickedChangeAttr();
    void OnBnClickedChangeTime();

    // An instant handed in with its text, and what its pickers showed then.
    struct KeptTime {
        std::optional<CalendarTime> instant;
        QDate date;
        QTime time;
    };
    static KeptTime keep(std::optional<CalendarTime> instant, const QDateEdit* date,
                         const QTimeEdit* time);
    static std::optional<CalendarTime> readTime(const KeptTime& kept, const QDateEdit* date,
                                                const QTimeEdit* time);
    KeptTime m_keptCreated;
    KeptTime m_keptModified;
    KeptTime m_keptAccessed;

    std::optional<CalendarTime> m_timeCreated;
    std::optional<CalendarTime> m_timeModified;
    std::optional<CalendarTime> m_timeAccessed;
    QString m_szReadOnly;
    QString m_szHidden;
    QString m_szArchive;
    QString m_szIndex;

    QDateEdit* m_dtCreatedDate;
    QDateEdit* m_dtModifiedDate;
    QDateEdit* m_dtAccessedDate;
    QTimeEdit* m_dtCreatedTime;
    QTimeEdit* m_dtModifiedTime;
    QTimeEdit* m_dtAccessedTime;
    QCheckBox* m_chkReadOnly;
    QCheckBox* m_chkHidden;
    QCheckBox* m_chkArchive;
    QCheckBox* m_chkIndex;
    QCheckBox* m_chkChangeAttr;
    QCheckBox* m_chkChangeTime;
};

} // namespace kelvoro
