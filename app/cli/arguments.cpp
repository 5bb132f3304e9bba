#include "app/cli/arguments.h"

#include "app/cli/renamearguments.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <string_view>

namespace kelvoro::cli {

namespace {

class Text {
    Q_DECLARE_TR_FUNCTIONS(CliArguments)
};

enum class Option {
    Help,
    Json,
    DryRun,
    Null,
    Created,
    Modified,
    Accessed,
    ReadOnly,
    Hidden,
    Archive,
    Index,
    Recursive,
    Rename, // one of the rename's operations: OptionInfo::rename says which
};

constexpr unsigned bit(Command c) {
    return 1u << static_cast<unsigned>(c);
}
constexpr unsigned kAnyCommand = bit(Command::Show) | bit(Command::Set) | bit(Command::Rename);
constexpr unsigned kRename = bit(Command::Rename);

struct OptionInfo {
    std::string_view longName;
    char shortName; // '\0' when there is none
    int values;     // how many arguments follow the option
    unsigned commands;
    Option id;
    RenameOption rename = {};
};

constexpr std::array<OptionInfo, 23> kOptions{{
    {"help", 'h', 0, kAnyCommand, Option::Help},
    {"json", '\0', 0, bit(Command::Show), Option::Json},
    {"dry-run", 'n', 0, bit(Command::Set) | kRename, Option::DryRun},
    {"null", '0', 0, kAnyCommand, Option::Null},
    {"recursive", 'r', 0, kAnyCommand, Option::Recursive},
    {"created", '\0', 1, bit(Command::Set), Option::Created},
    {"modified", '\0', 1, bit(Command::Set), Option::Modified},
    {"accessed", '\0', 1, bit(Command::Set), Option::Accessed},
    {"readonly", '\0', 1, bit(Command::Set), Option::ReadOnly},
    {"hidden", '\0', 1, bit(Command::Set), Option::Hidden},
    {"archive", '\0', 1, bit(Command::Set), Option::Archive},
    {"index", '\0', 1, bit(Command::Set), Option::Index},
    {"ext", '\0', 1, kRename, Option::Rename, RenameOption::Extension},
    {"replace", '\0', 2, kRename, Option::Rename, RenameOption::Replace},
    {"regex", '\0', 0, kRename, Option::Rename, RenameOption::Regex},
    {"ignore-case", '\0', 0, kRename, Option::Rename, RenameOption::IgnoreCase},
    {"front", '\0', 1, kRename, Option::Rename, RenameOption::Front},
    {"end", '\0', 1, kRename, Option::Rename, RenameOption::End},
    {"number", '\0', 1, kRename, Option::Rename, RenameOption::Number},
    {"number-position", '\0', 1, kRename, Option::Rename, RenameOption::NumberPosition},
    {"separator", '\0', 1, kRename, Option::Rename, RenameOption::Separator},
    {"name", '\0', 1, kRename, Option::Rename, RenameOption::Name},
    {"case", '\0', 1, kRename, Option::Rename, RenameOption::Case},
}};

QString shown(const QByteArray& bytes) {
    return QString::fromLocal8Bit(bytes);
}

std::optional<Command> commandNamed(const QByteArray& word) {
    if (word == "show")
        return Command::Show;
    if (word == "set")
        return Command::Set;
    if (word == "rename")
        return Command::Rename;
    if (word == "help" || word == "--help" || word == "-h")
        return Command::Help;
    if (word == "--version" || word == "-V")
        return Command::Version;
    return std::nullopt;
}

class Parser {
public:
    explicit Parser(Request& request) : m_request(request) {}

    // Empty when the option and its value were taken.
    QString apply(const OptionInfo& option, const QByteArray& value,
                  const QByteArray& second = {}) {
        if (option.id == Option::Rename)
            return m_rename.apply(option.rename, optionName(option), value, second);
        const std::string_view text(value.constData(), static_cast<std::size_t>(value.size()));
        switch (option.id) {
        case Option::Help:
            m_request.helpFor = m_request.command;
            m_request.command = Command::Help;
            return {};
        case Option::Json:
            m_request.json = true;
            return {};
        case Option::DryRun:
            m_request.dryRun = true;
            return {};
        case Option::Null:
            m_request.nullSeparated = true;
            return {};
        case Option::Created:
            return setTime(TimeField::Created, option, text);
        case Option::Modified:
            return setTime(TimeField::Modified, option, text);
        case Option::Accessed:
            return setTime(TimeField::Accessed, option, text);
        case Option::ReadOnly:
            return setFlag(m_request.flags.readOnly, option, value);
        case Option::Hidden:
            return setFlag(m_request.flags.hidden, option, value);
        case Option::Archive:
            return setFlag(m_request.flags.archive, option, value);
        case Option::Index:
            return setFlag(m_request.flags.index, option, value);
        case Option::Recursive:
            m_request.recursive = true;
            return {};
        default:
            break;
        }
        return {};
    }

    // Why the rename's operations cannot run together; empty when they can.
    QString finish() {
        if (m_request.command != Command::Rename)
            return {};
        return m_rename.finish(m_request.rename);
    }

private:
    static QString optionName(const OptionInfo& option) {
        return QStringLiteral("--") +
               QLatin1StringView(option.longName.data(), qsizetype(option.longName.size()));
    }

    QString setTime(TimeField field, const OptionInfo& option, std::string_view text) {
        std::optional<TimeValue>& value = m_request.times[static_cast<std::size_t>(field)];
        value = parseTimeValue(text);
        if (value)
            return {};
        return Text::tr("%1 の値「%2」は時刻として読めません。")
            .arg(optionName(option),
                 QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
    }

    QString setFlag(std::optional<bool>& flag, const OptionInfo& option, const QByteArray& value) {
        if (value == "on" || value == "off") {
            flag = value == "on";
            return {};
        }
        return Text::tr("%1 の値は on か off です（「%2」が指定されました）。")
            .arg(optionName(option), shown(value));
    }

    Request& m_request;
    RenameChoice m_rename;
};

const OptionInfo* findLong(std::string_view name) {
    for (const OptionInfo& option : kOptions) {
        if (option.longName == name)
            return &option;
    }
    return nullptr;
}

const OptionInfo* findShort(char name) {
    for (const OptionInfo& option : kOptions) {
        if (option.shortName == name)
            return &option;
    }
    return nullptr;
}

QString notForCommand(const QString& option) {
    return Text::tr("%1 はこのコマンドでは使えません。").arg(option);
}

// Reads the long option at arguments[i] and its values, moving i past them.
QString readLong(const QList<QByteArray>& arguments, qsizetype& i, unsigned commandBit,
                 Parser& parser) {
    const QByteArray& argument = arguments[i];
    const qsizetype equals = argument.indexOf('=');
    const QByteArray name = argument.mid(2, equals < 0 ? -1 : equals - 2);
    const OptionInfo* option =
        findLong(std::string_view(name.constData(), std::size_t(name.size())));
    if (!option)
        return Text::tr("%1 というオプションはありません。").arg(shown(argument));
    if ((option->commands & commandBit) == 0)
        return notForCommand(shown("--" + name));
    if (equals >= 0 && option->values == 0)
        return Text::tr("--%1 は値を取りません。").arg(shown(name));
    QByteArrayList values;
    if (equals >= 0)
        values.append(argument.mid(equals + 1));
    while (values.size() < option->values) {
        if (++i == arguments.size())
            return Text::tr("--%1 には値が %2 つ必要です。").arg(shown(name)).arg(option->values);
        values.append(arguments[i]);
    }
    values.resize(2);
    return parser.apply(*option, values[0], values[1]);
}

// Reads the options and paths after the command word.
QString readOptions(const QList<QByteArray>& arguments, Request& request) {
    Parser parser(request);
    const unsigned commandBit = bit(request.command);
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QByteArray& argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.startsWith('-')) {
            request.paths.append(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument.startsWith("--")) {
            if (const QString error = readLong(arguments, i, commandBit, parser); !error.isEmpty())
                return error;
        } else {
            // A cluster of one-letter switches, such as -0n.
            for (qsizetype k = 1; k < argument.size(); ++k) {
                const OptionInfo* option = findShort(argument[k]);
                const QString name = QStringLiteral("-") + QLatin1Char(argument[k]);
                if (!option || option->values > 0)
                    return Text::tr("%1 というオプションはありません。").arg(name);
                if ((option->commands & commandBit) == 0)
                    return notForCommand(name);
                parser.apply(*option, {});
            }
        }
    }
    return parser.finish();
}

QString checkComplete(Request& request) {
    const bool anyTime = std::any_of(request.times.begin(), request.times.end(),
                                     [](const auto& value) { return value.has_value(); });
    if (request.command == Command::Set && !anyTime && !request.flags.any())
        return Text::tr("変更する時刻か属性を指定してください。");
    if (request.paths.isEmpty()) {
        // find -print0 | kelvoro-cli set -0 ...: the list comes on standard input.
        if (!request.nullSeparated)
            return Text::tr("ファイルが指定されていません。");
        request.paths.append("-");
    }
    return {};
}

} // namespace

ParsedArguments parseArguments(const QList<QByteArray>& arguments) {
    if (arguments.isEmpty())
        return {std::nullopt, Text::tr("コマンドを指定してください。")};
    const std::optional<Command> command = commandNamed(arguments.front());
    if (!command)
        return {std::nullopt,
                Text::tr("%1 というコマンドはありません。").arg(shown(arguments.front()))};
    Request request;
    request.command = *command;
    if (*command == Command::Help || *command == Command::Version)
        return {request, {}};
    if (QString error = readOptions(arguments, request); !error.isEmpty())
        return {std::nullopt, error};
    if (request.command != Command::Help) {
        if (QString error = checkComplete(request); !error.isEmpty())
            return {std::nullopt, error};
    }
    return {request, {}};
}

QList<QByteArray> splitPathList(const QByteArray& input, bool nullSeparated) {
    QList<QByteArray> paths;
    const char separator = nullSeparated ? '\0' : '\n';
    qsizetype start = 0;
    while (start < input.size()) {
        qsizetype end = input.indexOf(separator, start);
        if (end < 0)
            end = input.size();
        if (end > start)
            paths.append(input.mid(start, end - start));
        start = end + 1;
    }
    return paths;
}

} // namespace kelvoro::cli
