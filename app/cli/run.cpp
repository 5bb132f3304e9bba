#include "app/cli/run.h"

#include "app/cli/arguments.h"
#include "app/cli/renamerun.h"
#include "app/cli/rowtext.h"
#include "app/cli/setplan.h"
#include "common/pathpieces.h"
#include "filelist/filelistmodel.h"
#include "filelist/folderlisting.h"
#include "platform/attributestore.h"
#include "platform/filesystem.h"
#include "platform/folderreader.h"
#include "platform/photodate.h"

#include <QCoreApplication>
#include <QSet>

namespace kelvoro::cli {

namespace {

class Text {
    Q_DECLARE_TR_FUNCTIONS(CliRun)
};

QString helpText() {
    return Text::tr(
        "使い方: kelvoro-cli コマンド [オプション] [--] パス...\n"
        "\n"
        "ファイルの作成日時・更新日時・アクセス日時と、読み取り専用・隠しファイル・\n"
        "アーカイブ・インデックスの属性を、Kelvoro と同じ方法で読み書きします。\n"
        "\n"
        "コマンド:\n"
        "  show [--json] パス...    一覧と同じ形で表示します (--json: 1 行に 1 つの JSON)\n"
        "  set [オプション] パス... 時刻と属性を変更します\n"
        "  rename [オプション] パス... 名前を一括で変更します\n"
        "\n"
        "set のオプション:\n"
        "  --created 値, --modified 値, --accessed 値\n"
        "      値: \"2024-01-02 03:04:05\"、ISO-8601 (2024-01-02T03:04:05+09:00)、\n"
        "          @秒 (1970-01-01 UTC から)、ずらす量 (+1h、-30m、+2d3h; w d h m s)、\n"
        "          copy:created|modified|accessed (変更前の別の時刻)、\n"
        "          exif (写真・動画の撮影日時)、name (ファイル名に書かれた日時)\n"
        "  --readonly on|off, --hidden on|off, --archive on|off, --index on|off\n"
        "  -n, --dry-run   変更内容を表示するだけで、何も変更しません\n"
        "\n"
        "rename のオプション (番号は指定した順、-r ではたどった順に振ります):\n"
        "  --ext 拡張子              拡張子を変えます\n"
        "  --replace 検索 置換       名前の中の文字列を置き換えます\n"
        "      --regex               検索を正規表現とします (置換の中で \\1 や $1)\n"
        "      --ignore-case         大文字と小文字を区別しません\n"
        "  --front 文字列            名前の前に付けます\n"
        "  --end 文字列              名前の後ろ (拡張子の前) に付けます\n"
        "  --number 開始[:増分[:桁数]]  番号を付けます\n"
        "      --number-position before|after|instead  番号の位置 (既定は after)\n"
        "      --separator 文字列    番号と名前の間の区切り\n"
        "      --name 文字列         名前の代わりに使う文字列 (instead のとき)\n"
        "  --case lower|upper|lower-ext  大文字・小文字をそろえます\n"
        "  -n, --dry-run             「元の名前 -> 新しい名前」を表示するだけで、変更しません\n"
        "  既にある名前には変更しません。入れ替えや連鎖は安全な順に行います。\n"
        "\n"
        "共通のオプション:\n"
        "  -r, --recursive フォルダの中のファイルを、サブフォルダもたどって処理します\n"
        "  -0, --null      「-」で標準入力から読むパスを NUL で区切ります\n"
        "                  (パスを指定しないときも標準入力から読みます)\n"
        "  --              これより後はすべてパスです\n"
        "  -h, --help      この説明を表示します\n"
        "  -V, --version   版を表示します\n"
        "\n"
        "終了コード: 0 すべて完了、1 失敗したファイルがある (ほかのファイルは処理済み)、\n"
        "2 使い方の誤り\n");
}

QByteArray shownPath(const QByteArray& path) {
    const QByteArray absolute = FileListModel::absolutePath(path);
    return absolute.isEmpty() ? path : absolute;
}

// The files below a folder, for -r; each folder that cannot be read is named.
QList<QByteArray> walk(const QByteArray& folder, const Console& console, bool& failed) {
    FolderOptions options;
    options.recurse = true;
    // As find does: a script asks for every file, dot files included.
    options.includeHidden = true;
    FolderListing listing = listFolder(folder, options, platform::nativeFolderReader());
    for (const FolderProblem& problem : listing.problems) {
        if (problem.error == ELOOP)
            console.fileError(Text::tr("%1 は既に読んだフォルダなので、もう一度は読みません。"),
                              problem.path);
        else
            console.fileError(platform::causeFromErrno(problem.error), problem.path);
        failed = true;
    }
    return std::move(listing.paths);
}

// The paths of the request with "-" replaced by those read from standard input and, with -r,
// each folder by the files below it; each file once (the same file named twice would be
// shifted twice). `failed` is set when a folder could not be read.
QList<QByteArray> gatherPaths(const Request& request, const platform::FileSystem& fs,
                              const Console& console, bool& failed) {
    QList<QByteArray> paths;
    QSet<QByteArray> seen;
    bool inputRead = false;
    auto add = [&](const QByteArray& path) {
        // A relative path is kept as given when the current directory cannot be told: the
        // system calls still find it.
        const QByteArray absolute = shownPath(path);
        if (!seen.contains(absolute)) {
            seen.insert(absolute);
            paths.append(path);
        }
    };
    auto expand = [&](const QByteArray& path) {
        if (!request.recursive || !isUsablePath(path.toStdString()) ||
            !fs.isDirectory(path.toStdString()))
            return add(path);
        for (const QByteArray& file : walk(path, console, failed))
            add(file);
    };
    for (const QByteArray& path : request.paths) {
        if (path != "-") {
            expand(path);
        } else if (!inputRead) {
            inputRead = true;
            for (const QByteArray& read :
                 splitPathList(console.readAllInput(), request.nullSeparated))
                expand(read);
        }
    }
    return paths;
}

class Runner {
public:
    Runner(const Request& request, platform::FileSystem& fs, const Console& console)
        : m_request(request), m_fs(fs), m_console(console) {}

    int runOn(const QList<QByteArray>& paths, bool failed) {
        m_failed = failed;
        std::vector<RenameTarget> renames;
        for (const QByteArray& path : paths) {
            if (!canHandle(path))
                m_failed = true;
            else if (m_request.command == Command::Show)
                show(path);
            else if (m_request.command == Command::Set)
                set(path);
            else if (const std::optional<platform::FileStatus> status = read(path))
                renames.push_back({path, *status});
        }
        if (!renames.empty() &&
            !renameFiles(renames, m_request.rename, m_request.dryRun, m_fs, m_console))
            m_failed = true;
        return m_failed ? kSomeFailed : kAllDone;
    }

private:
    bool canHandle(const QByteArray& path) const {
        // A line of standard input may hold a NUL byte, which would cut the path short.
        if (!isUsablePath(path.toStdString())) {
            m_console.error(Text::tr("NUL 文字を含むパスは使えません。"));
            return false;
        }
        if (!m_fs.isDirectory(path.toStdString()))
            return true;
        m_console.fileError(Text::tr("%1 はフォルダです。"), path);
        return false;
    }

    // Reads the file's status, or reports why it cannot be read.
    std::optional<platform::FileStatus> read(const QByteArray& path) {
        platform::FileStatus status = m_fs.readStatus(path.toStdString());
        if (status.ok)
            return status;
        const int error = platform::probeAttributeStore(path.toStdString()).error;
        m_console.fileError(platform::causeFromErrno(error), path);
        m_failed = true;
        return std::nullopt;
    }

    void show(const QByteArray& path) {
        const std::optional<platform::FileStatus> status = read(path);
        if (!status)
            return;
        const QByteArray absolute = shownPath(path);
        if (!m_request.json) {
            m_console.print(rowLine(absolute, *status));
            return;
        }
        const platform::StoreProbe probe = platform::probeAttributeStore(path.toStdString());
        m_console.print(rowJson(absolute, *status, probe.store));
    }

    FoundDates foundDates(const QByteArray& path) const {
        FoundDates found;
        if (usesSource(m_request, TimeSource::PhotoDate))
            found.photo = platform::readPhotoDate(path.toStdString());
        if (usesSource(m_request, TimeSource::NameDate))
            found.name =
                nameDate(nameOf(std::string_view(path.constData(), std::size_t(path.size()))));
        return found;
    }

    void reportUnresolved(const QByteArray& path, TimeField field) {
        const TimeSource source = m_request.times[static_cast<std::size_t>(field)]->choice.source;
        if (source == TimeSource::PhotoDate)
            m_console.fileError(Text::tr("%1 には撮影日時が記録されていません。"), path);
        else if (source == TimeSource::NameDate)
            m_console.fileError(Text::tr("%1 の名前に日時が見つかりません。"), path);
        else
            m_console.fileError(Text::tr("%1 の %2 の新しい時刻を決められません。")
                                    .arg(QStringLiteral("%1"), QLatin1StringView(fieldName(field))),
                                path);
        m_failed = true;
    }

    void set(const QByteArray& path) {
        const std::optional<platform::FileStatus> current = read(path);
        if (!current)
            return;
        const SetPlan plan = planSet(m_request, *current, foundDates(path));
        if (plan.unresolved) {
            reportUnresolved(path, *plan.unresolved);
            return;
        }
        if (m_request.dryRun) {
            m_console.print(describeChanges(path, *current, plan.desired));
            return;
        }
        platform::FileStatus desired = plan.desired;
        desired.identity = current->identity;
        try {
            m_fs.writeStatus(path.toStdString(), desired);
        } catch (const platform::FileError& error) {
            m_console.fileError(error.cause(), path);
            m_failed = true;
        }
    }

    const Request& m_request;
    platform::FileSystem& m_fs;
    const Console& m_console;
    bool m_failed = false;
};

} // namespace

int run(const QList<QByteArray>& arguments, platform::FileSystem& fs, const Console& console) {
    const ParsedArguments parsed = parseArguments(arguments);
    if (!parsed.request) {
        console.error(parsed.error);
        console.error(Text::tr("使い方は kelvoro-cli --help で確かめてください。"));
        return kUsageError;
    }
    const Request& request = *parsed.request;
    switch (request.command) {
    case Command::Help:
        console.print(helpText().toLocal8Bit());
        return kAllDone;
    case Command::Version:
        console.print(QByteArray("kelvoro-cli " KELVORO_VERSION "\n"));
        return kAllDone;
    case Command::Show:
    case Command::Set:
    case Command::Rename:
        break;
    }
    bool failed = false;
    const QList<QByteArray> paths = gatherPaths(request, fs, console, failed);
    Runner runner(request, fs, console);
    return runner.runOn(paths, failed);
}

} // namespace kelvoro::cli
