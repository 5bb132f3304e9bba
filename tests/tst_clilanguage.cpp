// kelvoro-cli speaks the session's language: its own texts, the texts it shares with the
// window and its help, while what scripts read stays the same in every language.
#include "clirunner.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kelvoro;
using namespace kelvoro::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// The locale variables given, every other one unset.
QProcessEnvironment session(const QList<std::pair<QString, QString>>& variables) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : {u"LANGUAGE"_s, u"LC_ALL"_s, u"LC_MESSAGES"_s, u"LANG"_s})
        env.remove(name);
    for (const auto& [name, value] : variables)
        env.insert(name, value);
    return env;
}

QProcessEnvironment english() {
    return session({{u"LANG"_s, u"en_US.UTF-8"_s}});
}

QProcessEnvironment japanese() {
    return session({{u"LANG"_s, u"ja_JP.UTF-8"_s}});
}

QProcessEnvironment plain() {
    return session({{u"LANG"_s, u"C.UTF-8"_s}});
}

} // namespace

class TestCliLanguage : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_base;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_base = QFile::encodeName(m_dir.path());
    }

    void messagesFollowTheSession_data() {
        QTest::addColumn<QProcessEnvironment>("env");
        QTest::addColumn<bool>("english");
        QTest::newRow("LANG=en_US") << english() << true;
        QTest::newRow("LANG=ja_JP") << japanese() << false;
        QTest::newRow("LANG=C.UTF-8") << plain() << false;
        QTest::newRow("no locale") << session({}) << false;
        QTest::newRow("LANG=POSIX") << session({{u"LANG"_s, u"POSIX"_s}}) << false;
        QTest::newRow("LC_ALL over LANG")
            << session({{u"LANG"_s, u"ja_JP.UTF-8"_s}, {u"LC_ALL"_s, u"en_GB.UTF-8"_s}}) << true;
        QTest::newRow("LC_MESSAGES over LANG")
            << session({{u"LANG"_s, u"en_US.UTF-8"_s}, {u"LC_MESSAGES"_s, u"C"_s}}) << false;
        QTest::newRow("LANGUAGE asks for Japanese")
            << session({{u"LANG"_s, u"en_US.UTF-8"_s}, {u"LANGUAGE"_s, u"ja:en"_s}}) << false;
        QTest::newRow("LANGUAGE without a locale") << session({{u"LANGUAGE"_s, u"en"_s}}) << false;
        QTest::newRow("German session") << session({{u"LANG"_s, u"de_DE.UTF-8"_s}}) << true;
    }

    // A usage error (the tool's own texts), a missing file (a text shared with the window) and
    // the help.
    void messagesFollowTheSession() {
        QFETCH(QProcessEnvironment, env);
        QFETCH(bool, english);
        const CliResult usage = runCli({"set", "--bogus", "x"}, {}, env);
        QCOMPARE(usage.code, 2);
        QCOMPARE(usage.out, QByteArray());
        QCOMPARE(usage.err, english ? "kelvoro-cli: There is no option --bogus.\n"
                                      "kelvoro-cli: See kelvoro-cli --help for the usage.\n"_ba
                                    : "kelvoro-cli: --bogus というオプションはありません。\n"
                                      "kelvoro-cli: 使い方は kelvoro-cli --help "
                                      "で確かめてください。\n"_ba);

        const QByteArray missing = m_base + "/missing.txt";
        const CliResult show = runCli({"show", missing}, {}, env);
        QCOMPARE(show.code, 1);
        QCOMPARE(show.err,
                 "kelvoro-cli: " + missing +
                     (english ? " was not found.\n"_ba : " が見つかりませんでした。\n"_ba));

        const CliResult help = runCli({"--help"}, {}, env);
        QCOMPARE(help.code, 0);
        QCOMPARE(help.err, QByteArray());
        QVERIFY2(help.out.startsWith(english ? "Usage: kelvoro-cli COMMAND"_ba
                                             : "使い方: kelvoro-cli コマンド"_ba),
                 help.out.left(80).constData());
        QCOMPARE(help.out.contains("Exit status:"), english);
        // Every option is named in both languages.
        for (const QByteArray& option : {"--created"_ba, "--number-position"_ba, "--null"_ba})
            QVERIFY2(help.out.contains(option), option.constData());
        // No Japanese is left in the English help.
        if (english)
            QCOMPARE(QString::fromUtf8(help.out).toLatin1(), help.out);
    }

    // A rename refused for a taken name: the reason comes from the window's translation.
    void renameReasonFollowsTheSession() {
        const QByteArray folder = m_base + "/taken";
        QVERIFY(QDir().mkpath(QFile::decodeName(folder)));
        const QByteArray mine = makeFile(folder, "a.txt");
        makeFile(folder, "a-new.txt");
        for (const bool inEnglish : {true, false}) {
            const CliResult r = runCli({"rename", "-n", "--end", "-new", mine}, {},
                                       inEnglish ? english() : japanese());
            QCOMPARE(r.code, 1);
            QCOMPARE(r.err, "kelvoro-cli: " + mine +
                                (inEnglish ? ": A file of that name exists\n"_ba
                                           : ": 既に存在します\n"_ba));
        }
    }

    // What scripts read: JSON, rows, the dry run's lines and the version.
    void outputForScriptsIsTheSameInEveryLanguage_data() {
        QTest::addColumn<QByteArrayList>("arguments");
        QTest::newRow("show --json") << QByteArrayList{"show", "--json"};
        QTest::newRow("show") << QByteArrayList{"show"};
        QTest::newRow("set -n") << QByteArrayList{"set",      "-n", "--modified", "-1h",
                                                  "--hidden", "on", "--created",  "copy:modified"};
        QTest::newRow("rename -n") << QByteArrayList{"rename", "-n", "--case", "upper"};
    }

    void outputForScriptsIsTheSameInEveryLanguage() {
        QFETCH(QByteArrayList, arguments);
        const QByteArray path = makeFile(m_base, "same.txt");
        setTimes(path, 1704164645, 1704168245);
        arguments.append(path);
        const CliResult inJapanese = runCli(arguments, {}, japanese());
        QCOMPARE(inJapanese.err, QByteArray());
        QCOMPARE(inJapanese.code, 0);
        QVERIFY(!inJapanese.out.isEmpty());
        for (const QProcessEnvironment& env : {english(), plain()}) {
            const CliResult other = runCli(arguments, {}, env);
            QCOMPARE(other.err, QByteArray());
            QCOMPARE(other.code, 0);
            QCOMPARE(other.out, inJapanese.out);
        }
        QVERIFY(runCli({"--version"}, {}, english()).out ==
                runCli({"--version"}, {}, japanese()).out);
    }
};

QTEST_GUILESS_MAIN(TestCliLanguage)
#include "tst_clilanguage.moc"
