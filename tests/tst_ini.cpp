#include "platform/ini.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
