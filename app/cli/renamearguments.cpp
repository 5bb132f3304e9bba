#include "app/cli/renamearguments.h"

#include <QCoreApplication>

#include <limits>

namespace kelvoro::cli {

namespace {

class Text {
    Q_DECLARE_TR_FUNCTIONS(CliRenameArguments)
};

// A name's number cannot use more digits than its largest value has.
constexpr int kMaxDigits = std::numeric_limits<qint64>::digits10 + 1;

std::optional<NumberingOptions> parseNumbering(const QByteArray& value) {
    const QList<QByteArray> parts = value.split(':');
    if (parts.size() > 3)
        return std::nullopt;
    NumberingOptions numbering;
    numbering.enabled = true;
    bool ok = false;
    numbering.start = parts[0].toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    if (parts.size() > 1) {
        numbering.step = parts[1].toLongLong(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (parts.size() > 2) {
        numbering.digits = parts[2].toInt(&ok);
        if (!ok || numbering.digits < 1 || numbering.digits > kMaxDigits)
            return std::nullopt;
    }
    return numbering;
}

std::optional<NumberPosition> positionNamed(const QByteArray& value) {
    if (value == "before")
        return NumberPosition::BeforeName;
    if (value == "after")
        return NumberPosition::AfterName;
    if (value == "instead")
        return NumberPosition::InsteadOfName;
    return std::nullopt;
}

std::optional<LetterCase> caseNamed(const QByteArray& value) {
    if (value == "lower")
        return LetterCase::Lower;
    if (value == "upper")
        return LetterCase::Upper;
    if (value == "lower-ext")
        return LetterCase::ExtensionLower;
    return std::nullopt;
}

QString badValue(const QString& name, const QByteArray& value, const QString& allowed) {
    return Text::tr("%1 の値「%2」は使えません（%3）。")
        .arg(name, QString::fromLocal8Bit(value), allowed);
}

} // namespace

QString RenameChoice::setNameMode(unsigned mode, const QString& name) {
    if (!m_nameModeOption.isEmpty() && m_nameModeOption != name)
        return Text::tr("%1 と %2 は一緒に使えません。").arg(m_nameModeOption, name);
    m_nameModeOption = name;
    m_options.mode |= mode;
    return {};
}

QString RenameChoice::setText(QByteArray& field, const QString& name, const QByteArray& value,
                              bool required) {
    if (required && value.isEmpty())
        return Text::tr("%1 の値が空です。").arg(name);
    if (!isAllowedInName(value))
        return Text::tr("%1 の値にファイル名に使用できない文字が含まれています。").arg(name);
    field = value;
    return {};
}

QString RenameChoice::apply(RenameOption option, const QString& name, const QByteArray& value,
                            const QByteArray& second) {
    switch (option) {
    case RenameOption::Extension:
        m_options.mode |= renamemode::Extension;
        return setText(m_options.extension, name, value, true);
    case RenameOption::Replace:
        if (value.isEmpty())
            return Text::tr("%1 の検索する文字列が空です。").arg(name);
        m_options.find = value;
        if (QString error = setNameMode(renamemode::Replace, name); !error.isEmpty())
            return error;
        return setText(m_options.replacement, name, second, false);
    case RenameOption::Regex:
        m_options.regularExpression = true;
        m_patternDetailGiven = true;
        return {};
    case RenameOption::IgnoreCase:
        m_options.ignoreCase = true;
        m_patternDetailGiven = true;
        return {};
    case RenameOption::Front:
        if (QString error = setNameMode(renamemode::Front, name); !error.isEmpty())
            return error;
        return setText(m_options.front, name, value, true);
    case RenameOption::End:
        if (QString error = setNameMode(renamemode::End, name); !error.isEmpty())
            return error;
        return setText(m_options.end, name, value, true);
    case RenameOption::Number: {
        const std::optional<NumberingOptions> numbering = parseNumbering(value);
        if (!numbering)
            return badValue(name, value,
                            Text::tr("開始[:増分[:桁数]]、桁数は 1 から %1").arg(kMaxDigits));
        m_options.numbering.enabled = true;
        m_options.numbering.start = numbering->start;
        m_options.numbering.step = numbering->step;
        m_options.numbering.digits = numbering->digits;
        return {};
    }
    case RenameOption::NumberPosition:
        m_position = positionNamed(value);
        m_numberDetailGiven = true;
        return m_position ? QString()
                          : badValue(name, value, QStringLiteral("before|after|instead"));
    case RenameOption::Separator:
        m_numberDetailGiven = true;
        return setText(m_options.numbering.separator, name, value, false);
    case RenameOption::Name:
        m_numberDetailGiven = true;
        return setText(m_options.numbering.base, name, value, false);
    case RenameOption::Case:
        if (const std::optional<LetterCase> letterCase = caseNamed(value)) {
            m_options.letterCase = *letterCase;
            return {};
        }
        return badValue(name, value, QStringLiteral("lower|upper|lower-ext"));
    }
    return {};
}

QString RenameChoice::finish(RenameOptions& options) {
    if (m_patternDetailGiven && !(m_options.mode & renamemode::Replace))
        return Text::tr("--regex と --ignore-case は --replace と一緒に使います。");
    if (m_numberDetailGiven && !m_options.numbering.enabled)
        return Text::tr("--number-position、--separator、--name は --number と一緒に使います。");
    // A new title for the files only makes sense in place of their names.
    const bool named = !m_options.numbering.base.isEmpty();
    m_options.numbering.position =
        m_position.value_or(named ? NumberPosition::InsteadOfName : NumberPosition::AfterName);
    if (named && m_options.numbering.position != NumberPosition::InsteadOfName)
        return Text::tr("--name は --number-position instead のときに使います。");
    if (m_options.mode == 0 && !m_options.numbering.enabled &&
        m_options.letterCase == LetterCase::Unchanged)
        return Text::tr("名前の変え方を指定してください。");
    if (QString error = patternError(m_options); !error.isEmpty())
        return Text::tr("正規表現「%1」は使えません: %2")
            .arg(QString::fromLocal8Bit(m_options.find), error);
    options = m_options;
    return {};
}

} // namespace kelvoro::cli
