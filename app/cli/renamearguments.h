#pragma once

#include "rename/newname.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kelvoro::cli {

enum class RenameOption {
    Extension,
    Replace,
    Regex,
    IgnoreCase,
    Front,
    End,
    Number,
    NumberPosition,
    Separator,
    Name,
    Case,
};

// The rename operations as the options chose them, checked once all are read.
class RenameChoice {
public:
    // Empty when the option and its values were taken. `name` is the option as typed.
    QString apply(RenameOption option, const QString& name, const QByteArray& value,
                  const QByteArray& second);
    // Why the operations cannot run as chosen; empty when they can.
    QString finish(RenameOptions& options);

private:
    QString setNameMode(unsigned mode, const QString& name);
    QString setText(QByteArray& field, const QString& name, const QByteArray& value, bool required);

    RenameOptions m_options;
    QString m_nameModeOption; // the option that chose replace, front or end
    std::optional<NumberPosition> m_position;
    bool m_numberDetailGiven = false;
    bool m_patternDetailGiven = false;
};

} // namespace kelvoro::cli
