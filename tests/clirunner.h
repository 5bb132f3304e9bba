#pragma once

// Runs the installed-to-be kelvoro-cli as a user's shell would, with arguments passed as raw
// bytes (QProcess can only pass valid UTF-8).
#include <QByteArray>
#include <QList>
#include <QProcess>

namespace kelvoro::test {

struct CliResult {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// A shell word that expands to exactly these bytes (every byte octal-escaped).
inline QByteArray shellBytes(const QByteArray& bytes) {
    QByteArray escaped;
    for (const char c : bytes)
        escaped += "\\0" + QByteArray::number(static_cast<unsigned char>(c), 8);
    return "\"$(printf '%b' '" + escaped + "')\"";
}

// Runs "script" in sh with $CLI set to the tool; standard input is `input`.
inline CliResult
runShell(const QByteArray& script, const QByteArray& input = {},
         const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    QProcessEnvironment withCli = env;
    withCli.insert(QStringLiteral("CLI"), QStringLiteral(KELVORO_CLI));
    process.setProcessEnvironment(withCli);
    process.start(QStringLiteral("sh"), {QStringLiteral("-c"), QString::fromUtf8(script)});
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    CliResult result;
    result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// kelvoro-cli with these arguments, byte for byte.
inline CliResult runCli(const QList<QByteArray>& arguments, const QByteArray& input = {},
                        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QByteArray script = "exec \"$CLI\"";
    for (const QByteArray& argument : arguments)
        script += ' ' + shellBytes(argument);
    return runShell(script, input, env);
}

} // namespace kelvoro::test
