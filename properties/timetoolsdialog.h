#pragma once

#include "properties/photodatescan.h"
#include "properties/stagetimes.h"
#include "properties/timetools.h"

#include <QDialog>
#include <QTimer>

#include <array>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace kelvoro {

// "日時の一括変更": for each of the three times, where its new value comes from. Before OK it
// tells how many rows each choice changes and how many have no source; photo dates are read
// on background threads the first time they are chosen, and OK waits for them.
class CTimeTools : public QDialog {
    Q_OBJECT

public:
    CTimeTools(TimeToolsInput input, PhotoDateScan::Reader photoReader, QWidget* parent = nullptr);
    ~CTimeTools() override;

    TimeChoices choices() const;
    // What OK decided, over the rows handed in, in their order.
    const TimeToolPlan& plan() const { return m_plan; }

private:
    struct FieldControls {
        QComboBox* source;
        std::array<QSpinBox*, 4> shift; // days, hours, minutes, seconds
        QLabel* count;
    };

    QWidget* makeField(std::size_t field);
    void refresh();
    void prepareSources(const TimeChoices& choices);
    bool photoDatesPending() const;
    void takePhotoDates();
    QString countText(std::size_t field, const FieldCount& count, bool pending) const;
    void onOk();

    TimeToolsInput m_input;
    std::vector<TimeToolRow> m_rows;
    PhotoDateScan::Reader m_photoReader;
    std::unique_ptr<PhotoDateScan> m_scan;
    bool m_photoDatesRead = false;
    bool m_nameDatesRead = false;
    QTimer m_scanPoll;
    std::array<FieldControls, kTimeFieldCount> m_fields{};
    QLabel* m_summary;
    QPushButton* m_ok;
    TimeToolPlan m_plan;
};

} // namespace kelvoro
