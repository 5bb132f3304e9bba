<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>CliArguments</name>
    <message>
        <source>%1 の値「%2」は時刻として読めません。</source>
        <translation>The value &quot;%2&quot; of %1 cannot be read as a time.</translation>
    </message>
    <message>
        <source>%1 の値は on か off です（「%2」が指定されました）。</source>
        <translation>The value of %1 is on or off (&quot;%2&quot; was given).</translation>
    </message>
    <message>
        <source>%1 はこのコマンドでは使えません。</source>
        <translation>%1 cannot be used with this command.</translation>
    </message>
    <message>
        <source>%1 というオプションはありません。</source>
        <translation>There is no option %1.</translation>
    </message>
    <message>
        <source>--%1 は値を取りません。</source>
        <translation>--%1 takes no value.</translation>
    </message>
    <message>
        <source>--%1 には値が %2 つ必要です。</source>
        <translation>--%1 needs %2 value(s).</translation>
    </message>
    <message>
        <source>変更する時刻か属性を指定してください。</source>
        <translation>Give a time or an attribute to change.</translation>
    </message>
    <message>
        <source>ファイルが指定されていません。</source>
        <translation>No file was given.</translation>
    </message>
    <message>
        <source>コマンドを指定してください。</source>
        <translation>Give a command.</translation>
    </message>
    <message>
        <source>%1 というコマンドはありません。</source>
        <translation>There is no command %1.</translation>
    </message>
</context>
<context>
    <name>CliRename</name>
    <message>
        <source>%1 の場所を決められません。</source>
        <translation>The location of %1 cannot be determined.</translation>
    </message>
</context>
<context>
    <name>CliRenameArguments</name>
    <message>
        <source>%1 の値「%2」は使えません（%3）。</source>
        <translation>The value &quot;%2&quot; of %1 cannot be used (%3).</translation>
    </message>
    <message>
        <source>%1 と %2 は一緒に使えません。</source>
        <translation>%1 and %2 cannot be used together.</translation>
    </message>
    <message>
        <source>%1 の値が空です。</source>
        <translation>The value of %1 is empty.</translation>
    </message>
    <message>
        <source>%1 の値にファイル名に使用できない文字が含まれています。</source>
        <translation>The value of %1 contains a character that cannot be used in a file name.</translation>
    </message>
    <message>
        <source>%1 の検索する文字列が空です。</source>
        <translation>The text to find of %1 is empty.</translation>
    </message>
    <message>
        <source>開始[:増分[:桁数]]、桁数は 1 から %1</source>
        <translation>START[:STEP[:DIGITS]], DIGITS from 1 to %1</translation>
    </message>
    <message>
        <source>--regex と --ignore-case は --replace と一緒に使います。</source>
        <translation>--regex and --ignore-case go with --replace.</translation>
    </message>
    <message>
        <source>--number-position、--separator、--name は --number と一緒に使います。</source>
        <translation>--number-position, --separator and --name go with --number.</translation>
    </message>
    <message>
        <source>--name は --number-position instead のときに使います。</source>
        <translation>--name goes with --number-position instead.</translation>
    </message>
    <message>
        <source>名前の変え方を指定してください。</source>
        <translation>Give a way to change the names.</translation>
    </message>
    <message>
        <source>正規表現「%1」は使えません: %2</source>
        <translation>The regular expression &quot;%1&quot; cannot be used: %2</translation>
    </message>
</context>
<context>
    <name>CliRun</name>
    <message>
        <source>使い方: kelvoro-cli コマンド [オプション] [--] パス...

ファイルの作成日時・更新日時・アクセス日時と、読み取り専用・隠しファイル・
アーカイブ・インデックスの属性を、Kelvoro と同じ方法で読み書きします。

コマンド:
  show [--json] パス...    一覧と同じ形で表示します (--json: 1 行に 1 つの JSON)
  set [オプション] パス... 時刻と属性を変更します
  rename [オプション] パス... 名前を一括で変更します

set のオプション:
  --created 値, --modified 値, --accessed 値
      値: &quot;2024-01-02 03:04:05&quot;、ISO-8601 (2024-01-02T03:04:05+09:00)、
          @秒 (1970-01-01 UTC から)、ずらす量 (+1h、-30m、+2d3h; w d h m s)、
          copy:created|modified|accessed (変更前の別の時刻)、
          exif (写真・動画の撮影日時)、name (ファイル名に書かれた日時)
  --readonly on|off, --hidden on|off, --archive on|off, --index on|off
  -n, --dry-run   変更内容を表示するだけで、何も変更しません

rename のオプション (番号は指定した順、-r ではたどった順に振ります):
  --ext 拡張子              拡張子を変えます
  --replace 検索 置換       名前の中の文字列を置き換えます
      --regex               検索を正規表現とします (置換の中で \1 や $1)
      --ignore-case         大文字と小文字を区別しません
  --front 文字列            名前の前に付けます
  --end 文字列              名前の後ろ (拡張子の前) に付けます
  --number 開始[:増分[:桁数]]  番号を付けます
      --number-position before|after|instead  番号の位置 (既定は after)
      --separator 文字列    番号と名前の間の区切り
      --name 文字列         名前の代わりに使う文字列 (instead のとき)
  --case lower|upper|lower-ext  大文字・小文字をそろえます
  -n, --dry-run             「元の名前 -&gt; 新しい名前」を表示するだけで、変更しません
  既にある名前には変更しません。入れ替えや連鎖は安全な順に行います。

共通のオプション:
  -r, --recursive フォルダの中のファイルを、サブフォルダもたどって処理します
  -0, --null      「-」で標準入力から読むパスを NUL で区切ります
                  (パスを指定しないときも標準入力から読みます)
  --              これより後はすべてパスです
  -h, --help      この説明を表示します
  -V, --version   版を表示します

終了コード: 0 すべて完了、1 失敗したファイルがある (ほかのファイルは処理済み)、
2 使い方の誤り
</source>
        <translation>Usage: kelvoro-cli COMMAND [OPTIONS] [--] PATH...

Reads and writes the creation, modification and access times of files and
their read-only, hidden, archive and index attributes, the same way as Kelvoro.

Commands:
  show [--json] PATH...    shows each file as the list&apos;s row does
                           (--json: one JSON object per line)
  set [OPTIONS] PATH...    changes times and attributes
  rename [OPTIONS] PATH... renames the files all at once

Options of set:
  --created VALUE, --modified VALUE, --accessed VALUE
      VALUE: &quot;2024-01-02 03:04:05&quot;, ISO-8601 (2024-01-02T03:04:05+09:00),
          @SECONDS (since 1970-01-01 UTC),
          a shift (+1h, -30m, +2d3h; w d h m s),
          copy:created|modified|accessed (another time, as it was before),
          exif (when the photo or video was taken),
          name (a date and time written in the file name)
  --readonly on|off, --hidden on|off, --archive on|off, --index on|off
  -n, --dry-run   prints what would change and changes nothing

Options of rename (numbers follow the order of the paths; with -r, the walk&apos;s):
  --ext EXTENSION           changes the extension
  --replace FIND REPLACEMENT  replaces text in the name
      --regex               FIND is a regular expression (\1 or $1 for groups)
      --ignore-case         letter case is ignored when finding
  --front TEXT              puts the text in front of the name
  --end TEXT                puts the text at the end (before the extension)
  --number START[:STEP[:DIGITS]]  numbers the files
      --number-position before|after|instead  where the number goes
                            (default: after)
      --separator TEXT      put between the name and the number
      --name TEXT           the text that stands for the name (with instead)
  --case lower|upper|lower-ext  turns the letter case
  -n, --dry-run             prints &quot;old -&gt; new&quot; and changes nothing
  No file is ever replaced; swaps and chains are moved in a safe order.

Common options:
  -r, --recursive a folder stands for the files below it, subfolders too
  -0, --null      the path &quot;-&quot; reads NUL-separated paths from standard input
                  (so does giving no path at all)
  --              every later argument is a path
  -h, --help      prints this summary
  -V, --version   prints the version

Exit status: 0 every file was done, 1 some files failed (the others were
still done), 2 the command line was wrong
</translation>
    </message>
    <message>
        <source>%1 は既に読んだフォルダなので、もう一度は読みません。</source>
        <translation>%1 is a folder that was already read; it is not read again.</translation>
    </message>
    <message>
        <source>NUL 文字を含むパスは使えません。</source>
        <translation>A path that contains a NUL character cannot be used.</translation>
    </message>
    <message>
        <source>%1 はフォルダです。</source>
        <translation>%1 is a folder.</translation>
    </message>
    <message>
        <source>%1 には撮影日時が記録されていません。</source>
        <translation>%1 has no record of when it was taken.</translation>
    </message>
    <message>
        <source>%1 の名前に日時が見つかりません。</source>
        <translation>No date was found in the name of %1.</translation>
    </message>
    <message>
        <source>%1 の %2 の新しい時刻を決められません。</source>
        <translation>The new %2 time of %1 cannot be determined.</translation>
    </message>
    <message>
        <source>使い方は kelvoro-cli --help で確かめてください。</source>
        <translation>See kelvoro-cli --help for the usage.</translation>
    </message>
</context>
</TS>
