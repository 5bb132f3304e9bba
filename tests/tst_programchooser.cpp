#include "platform/linux/desktopentry.h"
#include "platform/linux/programchooser.h"
#include "platform/linux/spawn.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

using namespace kelvoro;
using namespace kelvoro::platform;
using namespace Qt::Literals::StringLiterals;

using Argv = std::vector<std::string>;
Q_DECLARE_METATYPE(std::optional<Argv>)

namespace {

std::string s(const QByteArray& b) {
    return test::toStd(b);
}

// Readable in a failure message; nullopt shows as one "(malformed)".
QList<QByteArray> shown(const std::optional<Argv>& argv) {
    if (!argv)
        return {"(malformed)"};
    QList<QByteArray> result;
    for (const std::string& a : *argv)
        result.append(QByteArray::fromStdString(a));
    return result;
}

QByteArray readAll(const QByteArray& path) {
    QFile f(QFile::decodeName(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

} // namespace

class TestProgramChooser : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_home;   // XDG_DATA_HOME
    QString m_system; // XDG_DATA_DIRS: the applications, then the MIME database alone
    QString m_mimeOnly;
    QByteArray m_recorder;
    QByteArray m_record;

    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }

    void writeEntry(const QString& dataDir, const QString& relative, const QByteArray& body) {
        writeFile(dataDir + u"/applications/"_s + relative, "[Desktop Entry]\n" + body);
    }

    // Waits for the recorder to write the argument bytes it got, one NUL after each.
    QList<QByteArray> recordedArguments() {
        if (!QTest::qWaitFor([this] { return QFile::exists(QFile::decodeName(m_record)); }, 10000))
            return {};
        QList<QByteArray> args = readAll(m_record).split('\0');
        args.removeLast();
        QFile::remove(QFile::decodeName(m_record));
        return args;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_home = m_dir.path() + u"/home-data"_s;
        m_system = m_dir.path() + u"/system-data"_s;
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home));
        // The MIME database lives in the data directories too; take only it from the system.
        m_mimeOnly = m_dir.path() + u"/mime-data"_s;
        QVERIFY(QDir().mkpath(m_mimeOnly));
        QVERIFY(QFile::link(u"/usr/share/mime"_s, m_mimeOnly + u"/mime"_s));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_system + u':' + m_mimeOnly));
        qputenv("XDG_CURRENT_DESKTOP", "X-Test:GNOME");

        // Writes its working directory, parent process and arguments, NUL-separated.
        m_record = dir() + "/record";
        m_recorder = dir() + "/recorder";
        writeFile(
            QFile::decodeName(m_recorder),
            "#!/bin/sh\n"
            "for a in \"$(pwd)\" \"$PPID\" \"$@\"; do printf '%s' \"$a\"; printf '\\000'; done"
            " > '" +
                m_record + ".tmp'\nmv '" + m_record + ".tmp' '" + m_record + "'\n");
        QCOMPARE(::chmod(m_recorder.constData(), 0755), 0);

        const QByteArray exec = "Exec=" + m_recorder;
        writeEntry(m_system, u"editor.desktop"_s,
                   "Type=Application\nName=Zed Editor\nName[ja]=テキストエディター\n" + exec +
                       " --open %f\nMimeType=text/plain;\nPath=" + dir() + "\n");
        writeEntry(m_system, u"viewer.desktop"_s,
                   "Type=Application\nName=Any Viewer\n" + exec +
                       " %U\nMimeType=application/octet-stream;\n");
        writeEntry(m_system, u"csource.desktop"_s,
                   "Type=Application\nName=C Helper\n" + exec + "\nMimeType=text/x-c;\n");
        writeEntry(m_system, u"kde/sub.desktop"_s,
                   "Type=Application\nName=Beta\n" + exec + " %f\nMimeType=text/plain;\n");
        writeEntry(m_system, u"masked.desktop"_s,
                   "Type=Application\nName=Masked\n" + exec + " %f\nMimeType=text/plain;\n");
        writeEntry(m_home, u"masked.desktop"_s, "Type=Application\nHidden=true\n");
        writeEntry(m_system, u"overridden.desktop"_s,
                   "Type=Application\nName=Old Name\n" + exec + " %f\nMimeType=text/plain;\n");
        writeEntry(m_home, u"overridden.desktop"_s,
                   "Type=Application\nName=New Name\n" + exec + " %f\nMimeType=text/plain;\n");
        writeEntry(m_system, u"hidden.desktop"_s,
                   "Type=Application\nName=Hidden\nHidden=true\n" + exec +
                       " %f\nMimeType=text/plain;\n");
        writeEntry(m_system, u"nodisplay.desktop"_s,
                   "Type=Application\nName=No Display\nNoDisplay=true\n" + exec +
                       " %f\nMimeType=text/plain;\n");
        writeEntry(m_system, u"png.desktop"_s,
                   "Type=Application\nName=Png Only\n" + exec + " %f\nMimeType=image/png;\n");
        writeEntry(m_system, u"link.desktop"_s,
                   "Type=Link\nName=A Link\nURL=https://example.org/\nMimeType=text/plain;\n");
        writeEntry(m_system, u"kdeonly.desktop"_s,
                   "Type=Application\nName=Kde Only\nOnlyShowIn=KDE;\n" + exec +
                       " %f\nMimeType=text/plain;\n");
        writeEntry(m_system, u"notgnome.desktop"_s,
                   "Type=Application\nName=Not Gnome\nNotShowIn=GNOME;\n" + exec +
                       " %f\nMimeType=text/plain;\n");
        writeEntry(m_system, u"tryexec.desktop"_s,
                   "Type=Application\nName=Not Installed\nTryExec=/nonexistent/prog\n" + exec +
                       " %f\nMimeType=text/plain;\n");
        writeEntry(m_system, u"missing.desktop"_s,
                   "Type=Application\nName=Missing Program\nExec=/nonexistent/prog "
                   "%f\nMimeType=text/plain;\n");
        writeEntry(m_system, u"badexec.desktop"_s,
                   "Type=Application\nName=Bad Exec\n" + exec + " %z\nMimeType=text/plain;\n");
    }

    void desktopEntryFields() {
        const QByteArray content = "# comment\n"
                                   "[Other Group]\nName=Wrong\n"
                                   "[Desktop Entry]\n"
                                   "Type = Application\n"
                                   "Name=Plain\n"
                                   "Name[de]=Deutsch\n"
                                   "Name[ja]=日本語\n"
                                   "Icon=/usr/share/icons/x.png\n"
                                   "Exec=prog\\s--flag %F\n"
                                   "MimeType=text/plain;text/x-odd\\;name;;\n"
                                   "NoDisplay=true\n"
                                   "Terminal=false\n"
                                   "OnlyShowIn=GNOME;KDE;\n"
                                   "[Desktop Action new]\nName=Not this one\nExec=other\n";
        const std::optional<DesktopEntry> e = parseDesktopEntry(content);
        QVERIFY(e);
        QCOMPARE(e->type, u"Application"_s);
        QCOMPARE(e->name, u"日本語"_s);
        QCOMPARE(e->icon, u"/usr/share/icons/x.png"_s);
        QCOMPARE(e->exec, u"prog --flag %F"_s);
        QCOMPARE(e->mimeTypes, (QStringList{u"text/plain"_s, u"text/x-odd;name"_s}));
        QCOMPARE(e->onlyShowIn, (QStringList{u"GNOME"_s, u"KDE"_s}));
        QVERIFY(e->noDisplay);
        QVERIFY(!e->terminal);
        QVERIFY(!e->hidden);

        // The most specific translation wins; without one, the plain name.
        const QByteArray names = "[Desktop Entry]\nName=Plain\nName[ja]=ja\nName[ja_JP]=ja_JP\n";
        QCOMPARE(parseDesktopEntry(names)->name, u"ja_JP"_s);
        QCOMPARE(parseDesktopEntry(names, {u"fr"_s})->name, u"Plain"_s);
        QVERIFY(!parseDesktopEntry("[Something Else]\nName=x\n"));
    }

    void execFieldCodes_data() {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<std::optional<Argv>>("argv");
        const QByteArray path = "/data/a b/\x93\xfa \"$(x)`.txt"; // Shift_JIS, quotes, shell
        const std::string p = s(path);
        const std::string url = "file:///data/a%20b/%93%FA%20%22%24%28x%29%60.txt";
        QTest::newRow("%f") << u"app %f"_s << std::optional<Argv>(Argv{"app", p});
        QTest::newRow("%F") << u"app %F"_s << std::optional<Argv>(Argv{"app", p});
        QTest::newRow("inside an argument")
            << u"app --file=%f"_s << std::optional<Argv>(Argv{"app", "--file=" + p});
        QTest::newRow("%u") << u"app %u"_s << std::optional<Argv>(Argv{"app", url});
        QTest::newRow("%U") << u"app %U"_s << std::optional<Argv>(Argv{"app", url});
        QTest::newRow("quoted arguments")
            << u"\"/opt/my app/run\" \"--title=a b\" %F"_s
            << std::optional<Argv>(Argv{"/opt/my app/run", "--title=a b", p});
        QTest::newRow("escapes inside quotes")
            << u"sh -c \"echo \\\"\\$1\\\" \\\\ \\`\" sh %f"_s
            << std::optional<Argv>(Argv{"sh", "-c", "echo \"$1\" \\ `", "sh", p});
        QTest::newRow("empty quoted argument")
            << u"app \"\" %f"_s << std::optional<Argv>(Argv{"app", "", p});
        QTest::newRow("dropped codes leave no argument")
            << u"app %i %c %k --x=%i %u"_s << std::optional<Argv>(Argv{"app", "--x=", url});
        QTest::newRow("deprecated codes")
            << u"app %d %D %n %N %v %m %f"_s << std::optional<Argv>(Argv{"app", p});
        QTest::newRow("percent") << u"app 100%% %f"_s
                                 << std::optional<Argv>(Argv{"app", "100%", p});
        // A code inside quotes is not expanded: the name must never become shell text.
        QTest::newRow("code inside quotes")
            << u"sh -c \"cat %f\""_s << std::optional<Argv>(Argv{"sh", "-c", "cat %f", p});
        QTest::newRow("no file code: the file comes last")
            << u"app  --new-window"_s << std::optional<Argv>(Argv{"app", "--new-window", p});
        QTest::newRow("unknown code") << u"app %z"_s << std::optional<Argv>();
        QTest::newRow("open quote") << u"app \"%f"_s << std::optional<Argv>();
        QTest::newRow("lone percent") << u"app %"_s << std::optional<Argv>();
        QTest::newRow("nothing to run") << u" %i "_s << std::optional<Argv>();
    }

    void execFieldCodes() {
        QFETCH(QString, exec);
        QFETCH(std::optional<Argv>, argv);
        const QByteArray path = "/data/a b/\x93\xfa \"$(x)`.txt";
        QCOMPARE(shown(expandExec(exec, path)), shown(argv));
    }

    // A terminal that joins what follows -e into one shell line gets each argument quoted,
    // so the line splits back into exactly these bytes; one that takes them one by one gets
    // them as they are.
    void terminalCommands_data() {
        QTest::addColumn<QByteArray>("terminal");
        QTest::addColumn<QByteArray>("expectedHead"); // what comes after the terminal
        QTest::addColumn<bool>("joined");
        QTest::newRow("xterm") << "xterm"_ba
                               << "-e"_ba << false;
        QTest::newRow("konsole") << "konsole"_ba
                                 << "-e"_ba << false;
        QTest::newRow("gnome-terminal") << "gnome-terminal"_ba
                                        << "--"_ba << false;
        QTest::newRow("gnome-terminal.wrapper") << "gnome-terminal.wrapper"_ba
                                                << "-e"_ba << true;
        QTest::newRow("xfce4-terminal") << "xfce4-terminal.wrapper"_ba
                                        << "-e"_ba << true;
        QTest::newRow("lxterminal") << "lxterminal"_ba
                                    << "-e"_ba << true;
        QTest::newRow("unknown") << "some-new-terminal"_ba
                                 << "-e"_ba << true;
    }
    void terminalCommands() {
        QFETCH(QByteArray, terminal);
        QFETCH(QByteArray, expectedHead);
        QFETCH(bool, joined);
        const Argv argv = {"vim", "-R", "/d/it's a \"$(rm -rf ~)\"; `x` \x93\xfa*.txt", "", "a\nb"};
        const Argv command = terminalCommand("/usr/bin/x-terminal-emulator", s(terminal), argv);
        QCOMPARE(command.size(), argv.size() + 2);
        QCOMPARE(command[0], std::string("/usr/bin/x-terminal-emulator"));
        QCOMPARE(command[1], s(expectedHead));
        const Argv rest(command.begin() + 2, command.end());
        if (!joined) {
            QCOMPARE(shown(rest), shown(argv));
            return;
        }
        // A shell reads the joined line back as the same words.
        QByteArray line = "printf '%s\\0'";
        for (const std::string& word : rest)
            line += ' ' + QByteArray::fromStdString(word);
        QByteArray out;
        std::FILE* shell = ::popen(line.constData(), "r");
        QVERIFY(shell != nullptr);
        char buffer[512];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, shell)) > 0;)
            out.append(buffer, qsizetype(n));
        QCOMPARE(::pclose(shell), 0);
        QByteArrayList words = out.split('\0');
        words.removeLast();
        QCOMPARE(words, shown(argv));
        QCOMPARE(rest[0], std::string("vim")); // a plain word stays as it is
    }

    void mimeTypesComeFromNameAndContent() {
        const QByteArray c = test::makeFile(dir(), "\x93\xfa.c", "int main() {}\n");
        QStringList types = mimeTypesOf(c);
        QCOMPARE(types.value(0), u"text/x-csrc"_s);
        QVERIFY(types.contains(u"text/plain"_s));
        // No extension and a name that is not UTF-8: the bytes of the file decide.
        const QByteArray png = test::makeFile(dir(), "\x93\xfa\x96\x7b",
                                              QByteArray::fromHex("89504e470d0a1a0a0000000d"));
        QCOMPARE(mimeTypesOf(png).value(0), u"image/png"_s);
        ::unlink(c.constData());
        ::unlink(png.constData());
    }

    void applicationsForAType() {
        auto names = [](const std::vector<DesktopEntry>& entries) {
            QStringList result;
            for (const DesktopEntry& e : entries)
                result.append(e.name + u" ("_s + e.id + u")"_s);
            return result;
        };
        QCOMPARE(dataDirectories(), (QStringList{m_home, m_system, m_mimeOnly}));
        const QStringList text = {u"text/plain"_s, u"application/octet-stream"_s};
        QCOMPARE(names(applicationsFor(text)),
                 (QStringList{u"Any Viewer (viewer.desktop)"_s, u"Beta (kde-sub.desktop)"_s,
                              u"New Name (overridden.desktop)"_s,
                              u"テキストエディター (editor.desktop)"_s}));
        // Declared under an alias of the file's type, or for a type it derives from.
        QCOMPARE(names(applicationsFor(mimeTypesOf(test::makeFile(dir(), "prog.c")))),
                 (QStringList{u"Any Viewer (viewer.desktop)"_s, u"Beta (kde-sub.desktop)"_s,
                              u"C Helper (csource.desktop)"_s, u"New Name (overridden.desktop)"_s,
                              u"テキストエディター (editor.desktop)"_s}));
        QCOMPARE(names(applicationsFor({u"image/png"_s})),
                 QStringList{u"Png Only (png.desktop)"_s});
    }

    void spawnKeepsTheBytesAndDetaches() {
        const QByteArray odd = "\x93\xfa \"$(touch x)`\n\t.txt";
        QVERIFY(spawnDetached({s(m_recorder), "", s(odd)}));
        const QList<QByteArray> args = recordedArguments();
        QCOMPARE(args.size(), 4);
        QCOMPARE(args[2], QByteArray());
        QCOMPARE(args[3], odd);
        // Nobody waits: the program is not our child, and we keep no child behind.
        QVERIFY(args[1].toInt() != ::getpid());
        int status = 0;
        QCOMPARE(::waitpid(-1, &status, WNOHANG), -1);
        QCOMPARE(errno, ECHILD);

        QVERIFY(!spawnDetached({"/nonexistent/program"}));
        QVERIFY(!spawnDetached({s(m_recorder)}, "/nonexistent/dir"));
        QVERIFY(!spawnDetached({}));
    }

    void chooserStartsTheChosenProgramWithTheFile() {
        const QByteArray file = test::makeFile(dir(), "\x93\xfa \"it's\".txt", "text\n");
        AppChooserDialog* dialog = showAppChooser(file, nullptr);
        QPointer<AppChooserDialog> alive(dialog);
        QVERIFY(dialog->isVisible());
        auto* list = dialog->findChild<QListWidget*>(u"applications"_s);
        auto* buttons = dialog->findChild<QDialogButtonBox*>(u"buttons"_s);
        QVERIFY(list && buttons);
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown.append(list->item(i)->text());
        QCOMPARE(shown,
                 (QStringList{u"Any Viewer"_s, u"Beta"_s, u"New Name"_s, u"テキストエディター"_s}));
        QVERIFY(dialog->findChild<QLabel*>(u"prompt"_s)->text().contains(u"it's"_s));
        QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        QVERIFY(!ok->isEnabled()); // nothing chosen yet

        list->setCurrentRow(3);
        QVERIFY(ok->isEnabled());
        ok->click();
        const QList<QByteArray> args = recordedArguments();
        QCOMPARE(args.value(0), dir()); // the entry's working directory
        QCOMPARE(args.mid(2), (QList<QByteArray>{"--open", file}));
        QTRY_VERIFY(!alive); // closed and gone

        // A URL code gets the file's URL, made from the same bytes.
        dialog = showAppChooser(file, nullptr);
        list = dialog->findChild<QListWidget*>(u"applications"_s);
        list->setCurrentRow(0);
        dialog->accept();
        QCOMPARE(recordedArguments().mid(2), QList<QByteArray>{fileUrl(file)});
        ::unlink(file.constData());
    }

    void chooserWithoutApplications() {
        const QByteArray file = test::makeFile(dir(), "data.zzqqx", QByteArray(8, '\0'));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_mimeOnly));
        AppChooserDialog* dialog = showAppChooser(file, nullptr);
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_system + u':' + m_mimeOnly));
        QCOMPARE(dialog->findChild<QListWidget*>(u"applications"_s)->count(), 0);
        QVERIFY(dialog->findChild<QLabel*>(u"noApplications"_s));
        QVERIFY(!dialog->findChild<QDialogButtonBox*>(u"buttons"_s)
                     ->button(QDialogButtonBox::Ok)
                     ->isEnabled());
        dialog->accept(); // nothing to start; the dialog stays for the user to cancel
        QVERIFY(dialog->isVisible());
        dialog->reject();
    }
};

QTEST_MAIN(TestProgramChooser)
#include "tst_programchooser.moc"
