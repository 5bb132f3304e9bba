#include "platform/ini.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using kelvoro::platform::IniFile;

class TestIni : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    std::string file(const char* name) const {
        return QFile::encodeName(m_dir.filePath(QString::fromLatin1(name))).toStdString();
    }
    static void write(const std::string& path, const QByteArray& content) {
        QFile f(QFile::decodeName(QByteArray::fromStdString(path)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    static QByteArray read(const std::string& path) {
        QFile f(QFile::decodeName(QByteArray::fromStdString(path)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private Q_SLOTS:
    void readsLikeAnEightByteBuffer() {
        const std::string path = file("read.ini");
        write(path, "; widths\n[other]\n1=999\n[Column]\n 0 = 250 \n1=abc\n2=12345678\n3=-7\n"
                    "4=\"60\"\n");
        IniFile ini(path);
        QCOMPARE(ini.getInt("column", "0", 140), 250); // names match without case, blanks trimmed
        QCOMPARE(ini.getInt("column", "1", 100), 0);   // not a number
        QCOMPARE(ini.getInt("column", "2", 80), 1234567); // at most 7 characters
        QCOMPARE(ini.getInt("column", "3", 80), -7);
        QCOMPARE(ini.getInt("column", "4", 80), 60);
        QCOMPARE(ini.getInt("column", "5", 40), 40); // missing key
        QCOMPARE(ini.getInt("missing", "1", 41), 41);
        QCOMPARE(ini.getString("column", "2", "", 4), std::string("123"));
        QCOMPARE(IniFile(file("absent.ini")).getInt("column", "0", 140), 140);
    }

    void writingKeepsEverythingElse() {
        const std::string path = file("write.ini");
        write(path, "; keep me\n[other]\n0=zzz\n\n[column]\n0=1\n1=2\n\n[last]\nk=v\n");
        IniFile ini(path);
        QVERIFY(ini.setString("column", "1", "250"));
        QVERIFY(ini.setString("column", "8", "44"));
        QVERIFY(ini.setString("new", "a", "b"));
        QCOMPARE(read(path), QByteArray("; keep me\n[other]\n0=zzz\n\n[column]\n0=1\n1=250\n8=44\n"
                                        "\n[last]\nk=v\n[new]\na=b\n"));
        QCOMPARE(ini.getInt("other", "0", 5), 0);
        QCOMPARE(ini.getInt("column", "1", 5), 250);
    }

    void writingCreatesTheFile() {
        const std::string path = file("created.ini");
        IniFile ini(path);
        for (int c = 0; c < 9; ++c)
            QVERIFY(ini.setString("column", std::to_string(c), std::to_string(c * 10)));
        for (int c = 0; c < 9; ++c)
            QCOMPARE(ini.getInt("column", std::to_string(c), -1), c * 10);
        QVERIFY(!IniFile(file("no/such/dir.ini")).setString("column", "0", "1"));
    }

    void writingKeepsLineEndings_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("CRLF") << QByteArray("[column]\r\n0=1\r\n")
                              << QByteArray("[column]\r\n0=1\r\n1=7\r\n");
        QTest::newRow("LF") << QByteArray("[column]\n0=1\n") << QByteArray("[column]\n0=1\n1=7\n");
        QTest::newRow("each line its own") << QByteArray("; a\r\n[column]\n1=2\r\n[x]\n")
                                           << QByteArray("; a\r\n[column]\n1=7\r\n[x]\n");
        QTest::newRow("no ending at the end")
            << QByteArray("[column]\r\n0=1") << QByteArray("[column]\r\n0=1\r\n1=7");
        QTest::newRow("a corrupt file keeps its bytes")
            << QByteArray("\xff\0[colu\n\x01=\n", 11)
            << QByteArray("\xff\0[colu\n\x01=\n[column]\n1=7\n", 24);
    }
    void writingKeepsLineEndings() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const std::string path = file("endings.ini");
        write(path, before);
        QVERIFY(IniFile(path).setStrings("column", {{"1", "7"}}));
        QCOMPARE(read(path), after);
    }

    // The temporary file cannot be planted, and the file keeps what it is: a symbolic link
    // stays a link to the file it names, permissions stay as they were.
    void writingReplacesOnlyTheFile() {
        QTemporaryDir dir;
        const std::string victim =
            QFile::encodeName(dir.filePath(QStringLiteral("victim"))).toStdString();
        const std::string target =
            QFile::encodeName(dir.filePath(QStringLiteral("target.ini"))).toStdString();
        const std::string link =
            QFile::encodeName(dir.filePath(QStringLiteral("quib.ini"))).toStdString();
        write(victim, "precious\n");
        write(target, "[column]\n0=1\n");
        QCOMPARE(::chmod(target.c_str(), 0640), 0);
        QCOMPARE(::symlink("target.ini", link.c_str()), 0);
        QCOMPARE(::symlink(victim.c_str(), (link + ".tmp").c_str()), 0);
        IniFile ini(link);
        QVERIFY(ini.setStrings("column", {{"0", "5"}, {"1", "6"}}));
        QCOMPARE(read(victim), QByteArray("precious\n"));
        QVERIFY(QFileInfo(QFile::decodeName(QByteArray::fromStdString(link))).isSymLink());
        QCOMPARE(read(target), QByteArray("[column]\n0=5\n1=6\n"));
        struct stat st {};
        QCOMPARE(::stat(target.c_str(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System).size(), 4);
    }

    // Root may write anywhere except where the file system itself says no.
    void failedWriteLeavesTheOldFile() {
        QTemporaryDir dir;
        const std::string path =
            QFile::encodeName(dir.filePath(QStringLiteral("quib.ini"))).toStdString();
        write(path, "[column]\n0=1\n");
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), dir.path()}) != 0)
            QSKIP("chattr +i is refused here; root cannot be denied a write otherwise");
        const bool written = IniFile(path).setStrings("column", {{"0", "5"}});
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), dir.path()});
        QVERIFY(!written);
        QCOMPARE(read(path), QByteArray("[column]\n0=1\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
