<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>kelvoro::CAboutDlg</name>
    <message>
        <source>バージョン情報</source>
        <translation>About Kelvoro</translation>
    </message>
    <message>
        <source>サポート</source>
        <translation>Support</translation>
    </message>
    <message>
        <source>Kelvoro はフリーソフトウェアです。
GNU GPL バージョン 3 以降の条件で再配布・改変できます。</source>
        <translation>Kelvoro is free software.
You may redistribute and modify it under the GNU GPL, version 3 or later.</translation>
    </message>
    <message>
        <source>リンク: Enter キーで開きます</source>
        <translation>Link: press Enter to open it</translation>
    </message>
    <message>
        <source>ライセンス</source>
        <translation>License</translation>
    </message>
</context>
<context>
    <name>kelvoro::CChange</name>
    <message>
        <source>ファイルプロパティの編集</source>
        <translation>Edit File Properties</translation>
    </message>
    <message>
        <source>タイムスタンプを変更する</source>
        <translation>Change the time stamps</translation>
    </message>
    <message>
        <source>作成日時</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>最終更新日時</source>
        <translation>Last modified</translation>
    </message>
    <message>
        <source>最終アクセス日時</source>
        <translation>Last accessed</translation>
    </message>
    <message>
        <source>属性を変更する</source>
        <translation>Change the attributes</translation>
    </message>
    <message>
        <source>読み取り専用</source>
        <translation>Read-only</translation>
    </message>
    <message>
        <source>隠しファイル</source>
        <translation>Hidden</translation>
    </message>
    <message>
        <source>ファイルをアーカイブ可能にする</source>
        <translation>File is ready for archiving</translation>
    </message>
    <message>
        <source>検索を早くするため、ファイルにインデックスを付ける</source>
        <translation>Allow this file to have its contents indexed for faster searching</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>タイムスタンプ</source>
        <translation>Time stamps</translation>
    </message>
    <message>
        <source>%1の日付</source>
        <translation>%1: date</translation>
    </message>
    <message>
        <source>%1の時刻</source>
        <translation>%1: time</translation>
    </message>
    <message>
        <source>属性</source>
        <translation>Attributes</translation>
    </message>
</context>
<context>
    <name>kelvoro::CFolderDlg</name>
    <message>
        <source>フォルダーを開く</source>
        <translation>Open Folder</translation>
    </message>
    <message>
        <source>フォルダーの追加</source>
        <translation>Add Folder</translation>
    </message>
    <message>
        <source>サブフォルダーも含める(&amp;S)</source>
        <translation>Include &amp;subfolders</translation>
    </message>
    <message>
        <source>フォルダー自体も一覧に加える(&amp;F)</source>
        <translation>List the &amp;folders themselves too</translation>
    </message>
    <message>
        <source>隠しファイルを含める(&amp;H)</source>
        <translation>Include &amp;hidden files</translation>
    </message>
    <message>
        <source>すべてのファイル</source>
        <translation>All files</translation>
    </message>
    <message>
        <source>「;」で区切って複数指定できます（例: *.jpg;*.jpeg;*.png）。大文字と小文字は区別しません。空欄ならすべてのファイルです。</source>
        <translation>Separate several patterns with &quot;;&quot; (for example *.jpg;*.jpeg;*.png). Letter case does not matter. Leave empty for all files.</translation>
    </message>
    <message>
        <source>対象ファイル(&amp;T):</source>
        <translation>File &amp;types:</translation>
    </message>
    <message>
        <source>例: *.jpg;*.jpeg;*.png</source>
        <translation>e.g. *.jpg;*.jpeg;*.png</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>kelvoro::CMainFrame</name>
    <message>
        <source>ツール バー</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>未整列</source>
        <translation>Unsorted</translation>
    </message>
    <message>
        <source>並べ替えた後に加わった行や変わった行があります。列見出しをクリックすると並べ替え直します。</source>
        <translation>Rows were added or changed since the list was sorted. Click a column header to sort it again.</translation>
    </message>
    <message>
        <source>レディ</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>変更を保存しますか？</source>
        <translation>Save changes?</translation>
    </message>
    <message>
        <source>フォルダーは [ファイル]-[フォルダーを開く] で追加できます</source>
        <translation>Folders can be added with File &gt; Open Folder</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>その他のボタン</source>
        <translation>More buttons</translation>
    </message>
</context>
<context>
    <name>kelvoro::CReName</name>
    <message>
        <source>%1 → %2: %3</source>
        <translation>%1 → %2: %3</translation>
    </message>
    <message>
        <source>%1 件のファイル名を変更できませんでした。</source>
        <translation>%1 file(s) could not be renamed.</translation>
    </message>
    <message>
        <source>ほか %1 件</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>名前を変更しています…</source>
        <translation>Renaming…</translation>
    </message>
    <message>
        <source>ファイル名変更</source>
        <translation>Rename Files</translation>
    </message>
    <message>
        <source>拡張子を変更する</source>
        <translation>Change the e&amp;xtension</translation>
    </message>
    <message>
        <source>拡張子</source>
        <translation>Extension</translation>
    </message>
    <message>
        <source>ファイル名を変更する</source>
        <translation>Change the file &amp;name</translation>
    </message>
    <message>
        <source>置換</source>
        <translation>&amp;Replace</translation>
    </message>
    <message>
        <source>挿入（先頭）</source>
        <translation>Insert (&amp;front)</translation>
    </message>
    <message>
        <source>挿入（後方）</source>
        <translation>Insert (&amp;end)</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>未入力です。</source>
        <translation>Nothing has been entered.</translation>
    </message>
    <message>
        <source>ファイル名に使用できない文字が含まれています。</source>
        <translation>The text contains characters that cannot be used in file names.</translation>
    </message>
    <message>
        <source>ファイル名を変更してもよろしいですか？</source>
        <translation>Are you sure you want to rename the files?</translation>
    </message>
    <message>
        <source>正規表現を使う</source>
        <translation>Use regular expressions</translation>
    </message>
    <message>
        <source>大文字と小文字を区別しない</source>
        <translation>Ignore letter case</translation>
    </message>
    <message>
        <source>連番</source>
        <translation>Numbering</translation>
    </message>
    <message>
        <source>名前の後（拡張子の前）</source>
        <translation>After the name (before the extension)</translation>
    </message>
    <message>
        <source>名前の前</source>
        <translation>Before the name</translation>
    </message>
    <message>
        <source>名前の代わり（拡張子は残す）</source>
        <translation>Instead of the name (extension kept)</translation>
    </message>
    <message>
        <source>開始番号</source>
        <translation>Start at</translation>
    </message>
    <message>
        <source>増分</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>桁数</source>
        <translation>Digits</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>区切り</source>
        <translation>Separator</translation>
    </message>
    <message>
        <source>新しい名前</source>
        <translation>New name</translation>
    </message>
    <message>
        <source>プレビュー</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>大文字/小文字</source>
        <translation>Letter case</translation>
    </message>
    <message>
        <source>変更しない</source>
        <translation>Unchanged</translation>
    </message>
    <message>
        <source>すべて小文字</source>
        <translation>All lower case</translation>
    </message>
    <message>
        <source>すべて大文字</source>
        <translation>All upper case</translation>
    </message>
    <message>
        <source>拡張子だけ小文字</source>
        <translation>Lower-case extension only</translation>
    </message>
    <message>
        <source>正規表現の誤り: %1</source>
        <translation>Error in the regular expression: %1</translation>
    </message>
    <message>
        <source>既に存在します</source>
        <translation>A file of that name exists</translation>
    </message>
    <message>
        <source>名前が重複しています</source>
        <translation>Two files would get the same name</translation>
    </message>
    <message>
        <source>使用できない名前です</source>
        <translation>The name cannot be used</translation>
    </message>
    <message>
        <source>ファイルが見つかりません</source>
        <translation>The file was not found</translation>
    </message>
    <message>
        <source>名前を変更できませんでした</source>
        <translation>The file could not be renamed</translation>
    </message>
    <message>
        <source>一時的な名前のままです</source>
        <translation>The file is left under a temporary name</translation>
    </message>
    <message>
        <source>検索する文字列</source>
        <translation>Text to find</translation>
    </message>
    <message>
        <source>置換後の文字列</source>
        <translation>Replace with</translation>
    </message>
    <message>
        <source>先頭に挿入する文字列</source>
        <translation>Text to insert at the front</translation>
    </message>
    <message>
        <source>後方に挿入する文字列</source>
        <translation>Text to insert at the end</translation>
    </message>
    <message>
        <source>ファイル名の変更方法</source>
        <translation>How to change the name</translation>
    </message>
</context>
<context>
    <name>kelvoro::CTimeTools</name>
    <message>
        <source>元になる日時がない %1 件のファイルは、その日時を変更しませんでした。</source>
        <translation>%1 file(s) had no time to take the new one from; that time was left unchanged.</translation>
    </message>
    <message>
        <source>ほか %1 件</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>作成日時</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>更新日時</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>アクセス日時</source>
        <translation>Accessed</translation>
    </message>
    <message>
        <source>変更しない</source>
        <translation>Keep</translation>
    </message>
    <message>
        <source>ずらす</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>作成日時をコピー</source>
        <translation>Copy the creation time</translation>
    </message>
    <message>
        <source>更新日時をコピー</source>
        <translation>Copy the modification time</translation>
    </message>
    <message>
        <source>アクセス日時をコピー</source>
        <translation>Copy the access time</translation>
    </message>
    <message>
        <source>撮影日時 (Exif)</source>
        <translation>Date taken (Exif)</translation>
    </message>
    <message>
        <source>ファイル名の日付</source>
        <translation>Date in the file name</translation>
    </message>
    <message>
        <source> 日</source>
        <translation> days</translation>
    </message>
    <message>
        <source> 時間</source>
        <translation> hours</translation>
    </message>
    <message>
        <source> 分</source>
        <translation> minutes</translation>
    </message>
    <message>
        <source> 秒</source>
        <translation> seconds</translation>
    </message>
    <message>
        <source>日時の一括変更</source>
        <translation>Change Times</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>変更しません</source>
        <translation>Nothing will change</translation>
    </message>
    <message>
        <source>撮影日時を読み取っています…</source>
        <translation>Reading the dates taken…</translation>
    </message>
    <message>
        <source>%1 件を変更します</source>
        <translation>%1 file(s) will change</translation>
    </message>
    <message>
        <source>（元になる日時がない %1 件はそのまま）</source>
        <translation>(%1 without a time to take it from stay as they are)</translation>
    </message>
    <message>
        <source>撮影日時を読み取っています… %1 / %2</source>
        <translation>Reading the dates taken… %1 / %2</translation>
    </message>
    <message>
        <source>選択した %1 件のうち %2 件の日時を変更します。</source>
        <translation>The times of %2 of the %1 selected files will change.</translation>
    </message>
    <message>
        <source>元になる日時がない %1 件は、その日時を変更しません。</source>
        <translation>%1 file(s) have no time to take the new one from; that time stays unchanged.</translation>
    </message>
</context>
<context>
    <name>kelvoro::CTrazzleView</name>
    <message>
        <source>現在のフォルダの場所を確かめられないため、相対パスで指定されたファイルは追加できません。</source>
        <translation>Files given by a relative path cannot be added, because the location of the current folder cannot be determined.</translation>
    </message>
    <message>
        <source>ファイル一覧</source>
        <translation>File list</translation>
    </message>
    <message>
        <source>既に存在します。</source>
        <translation>This file is already in the list.</translation>
    </message>
    <message>
        <source>追加しています…</source>
        <translation>Adding…</translation>
    </message>
    <message>
        <source>フォルダーを読んでいます…</source>
        <translation>Reading the folder…</translation>
    </message>
    <message>
        <source>%1 件は既に一覧にあります。</source>
        <translation>%1 file(s) were already in the list.</translation>
    </message>
    <message>
        <source>%1 個のフォルダーを読み込めませんでした。</source>
        <translation>%1 folder(s) could not be read.</translation>
    </message>
    <message>
        <source>アクセスが拒否されました</source>
        <translation>access denied</translation>
    </message>
    <message>
        <source>既に読んだフォルダーです</source>
        <translation>already read</translation>
    </message>
    <message>
        <source>見つかりません</source>
        <translation>not found</translation>
    </message>
    <message>
        <source>フォルダーではありません</source>
        <translation>not a folder</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>ほか %1 個</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>追加するファイルはありませんでした。</source>
        <translation>There were no files to add.</translation>
    </message>
</context>
<context>
    <name>kelvoro::Commands</name>
    <message>
        <source>開く...	Ctrl+O(&amp;O)</source>
        <translation>&amp;Open...	Ctrl+O</translation>
    </message>
    <message>
        <source>既存のファイルを開く</source>
        <translation>Add existing files to the list</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>フォルダーを開く...	Ctrl+Shift+O(&amp;D)</source>
        <translation>Open Fol&amp;der...	Ctrl+Shift+O</translation>
    </message>
    <message>
        <source>フォルダーのファイルをまとめて一覧に追加します</source>
        <translation>Add the files of a folder to the list</translation>
    </message>
    <message>
        <source>フォルダーを開く</source>
        <translation>Open Folder</translation>
    </message>
    <message>
        <source>保存	Ctrl+S(&amp;S)</source>
        <translation>&amp;Save	Ctrl+S</translation>
    </message>
    <message>
        <source>ファイルのプロパティを保存</source>
        <translation>Save the file properties</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>アプリケーションの終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>アプリケーションを終了し、ファイルの保存を指示\終了</source>
        <translation>Quit the application; prompts to save files</translation>
    </message>
    <message>
        <source>タイムスタンプ／属性の編集	Ctrl+G(&amp;G)</source>
        <translation>Edit Time Stamps/Attributes...	Ctrl+G</translation>
    </message>
    <message>
        <source>タイムスタンプ／属性の編集します</source>
        <translation>Edit the time stamps and attributes</translation>
    </message>
    <message>
        <source>ファイルプロパティの編集</source>
        <translation>Edit File Properties</translation>
    </message>
    <message>
        <source>日時の一括変更...	Ctrl+T(&amp;T)</source>
        <translation>Change &amp;Times...	Ctrl+T</translation>
    </message>
    <message>
        <source>選択したファイルの日時をずらす、コピーする、撮影日時やファイル名の日付に合わせます</source>
        <translation>Shift or copy the times of the selected files, or set them from the date taken or the date in the name</translation>
    </message>
    <message>
        <source>日時の一括変更</source>
        <translation>Change Times</translation>
    </message>
    <message>
        <source>ファイル名の編集	Ctrl+H(&amp;H)</source>
        <translation>Re&amp;name...	Ctrl+H</translation>
    </message>
    <message>
        <source>ファイル名を編集します</source>
        <translation>Rename the files</translation>
    </message>
    <message>
        <source>ファイル名の編集</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>プログラムの関連付け変更	Ctrl+E(&amp;E)</source>
        <translation>Op&amp;en With...	Ctrl+E</translation>
    </message>
    <message>
        <source>プログラムの関連付けを変更します</source>
        <translation>Choose the program that opens the file</translation>
    </message>
    <message>
        <source>関連付け変更</source>
        <translation>Open With</translation>
    </message>
    <message>
        <source>すべて選択	Ctrl+A(&amp;A)</source>
        <translation>Select &amp;All	Ctrl+A</translation>
    </message>
    <message>
        <source>クリア</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>選択したリスト行をクリア</source>
        <translation>Remove the selected rows from the list</translation>
    </message>
    <message>
        <source>全クリア	Ctrl+Q(&amp;Q)</source>
        <translation>Clear All	Ctrl+Q</translation>
    </message>
    <message>
        <source>リスト行を全てクリア</source>
        <translation>Remove every row from the list</translation>
    </message>
    <message>
        <source>全クリア</source>
        <translation>Clear All</translation>
    </message>
    <message>
        <source>ツール バー(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>ツール バーの 表示/非表示</source>
        <translation>Show or hide the toolbar</translation>
    </message>
    <message>
        <source>ツール バーの表示切り替え</source>
        <translation>Toggle Toolbar</translation>
    </message>
    <message>
        <source>ステータス バー(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>ステータス バーの 表示/非表示</source>
        <translation>Show or hide the status bar</translation>
    </message>
    <message>
        <source>ステータス バーの表示切り替え</source>
        <translation>Toggle Status Bar</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)...</source>
        <translation>&amp;About Kelvoro...</translation>
    </message>
    <message>
        <source>プログラム情報、バージョン、著作権を表示します。</source>
        <translation>Display program information, version number and copyright.</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>タイムスタンプ／属性の編集(&amp;G)</source>
        <translation>Edit Time Stamps/Attributes...</translation>
    </message>
    <message>
        <source>日時の一括変更(&amp;T)...</source>
        <translation>Change &amp;Times...</translation>
    </message>
    <message>
        <source>ファイル名の変更</source>
        <translation>Rename...</translation>
    </message>
    <message>
        <source>プログラムの関連付け変更</source>
        <translation>Open With...</translation>
    </message>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>すべて選択(&amp;A)</source>
        <translation>Select &amp;All</translation>
    </message>
    <message>
        <source>クリア(&amp;C)</source>
        <translation>&amp;Clear</translation>
    </message>
    <message>
        <source>全クリア(&amp;Q)</source>
        <translation>Clear All</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>すべてのファイル (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>保存しています…</source>
        <translation>Saving…</translation>
    </message>
    <message>
        <source>保存が完了しました</source>
        <translation>The changes have been saved.</translation>
    </message>
    <message>
        <source>元に戻す	Ctrl+Z(&amp;U)</source>
        <translation>&amp;Undo	Ctrl+Z</translation>
    </message>
    <message>
        <source>最後の操作を元に戻します</source>
        <translation>Take back the last change</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>やり直し	Ctrl+Y(&amp;R)</source>
        <translation>&amp;Redo	Ctrl+Y</translation>
    </message>
    <message>
        <source>元に戻した操作をやり直します</source>
        <translation>Make the change taken back again</translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation>Redo</translation>
    </message>
</context>
<context>
    <name>kelvoro::FileListModel</name>
    <message>
        <source>ﾃﾞｨﾚｸﾄﾘ</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ</source>
        <translation>File</translation>
    </message>
    <message>
        <source>作成日時</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>更新日時</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>ｱｸｾｽ日時</source>
        <translation>Accessed</translation>
    </message>
    <message>
        <source>読み取り専用</source>
        <translation>R/O</translation>
    </message>
    <message>
        <source>隠しﾌｧｲﾙ</source>
        <translation>Hid.</translation>
    </message>
    <message>
        <source>ｱｰｶｲﾌﾞ</source>
        <translation>Arch.</translation>
    </message>
    <message>
        <source>ｲﾝﾃﾞｯｸｽ</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>未保存の変更があります</source>
        <translation>Unsaved changes</translation>
    </message>
    <message>
        <source>読み取り専用: いいえ</source>
        <translation>Read-only: no</translation>
    </message>
    <message>
        <source>読み取り専用: はい</source>
        <translation>Read-only: yes</translation>
    </message>
    <message>
        <source>隠しファイル: いいえ</source>
        <translation>Hidden: no</translation>
    </message>
    <message>
        <source>隠しファイル: はい</source>
        <translation>Hidden: yes</translation>
    </message>
    <message>
        <source>アーカイブ: いいえ</source>
        <translation>Archive: no</translation>
    </message>
    <message>
        <source>アーカイブ: はい</source>
        <translation>Archive: yes</translation>
    </message>
    <message>
        <source>インデックス: いいえ</source>
        <translation>Index: no</translation>
    </message>
    <message>
        <source>インデックス: はい</source>
        <translation>Index: yes</translation>
    </message>
</context>
<context>
    <name>kelvoro::LanguageMenu</name>
    <message>
        <source>言語(&amp;L)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>システムに合わせる(&amp;S)</source>
        <translation>Match the &amp;System</translation>
    </message>
    <message>
        <source>デスクトップの言語設定に合わせます</source>
        <translation>Use the language of the desktop session</translation>
    </message>
    <message>
        <source>日本語(&amp;J)</source>
        <translation>日本語 (&amp;Japanese)</translation>
    </message>
    <message>
        <source>日本語で表示します</source>
        <translation>Show Kelvoro in Japanese</translation>
    </message>
    <message>
        <source>English(&amp;E)</source>
        <translation>&amp;English</translation>
    </message>
    <message>
        <source>英語で表示します</source>
        <translation>Show Kelvoro in English</translation>
    </message>
</context>
<context>
    <name>kelvoro::Prompt</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>kelvoro::RenamePreviewModel</name>
    <message>
        <source>現在の名前</source>
        <translation>Current name</translation>
    </message>
    <message>
        <source>新しい名前</source>
        <translation>New name</translation>
    </message>
    <message>
        <source>変更できない理由</source>
        <translation>Why it cannot change</translation>
    </message>
    <message>
        <source>確認しています…</source>
        <translation>Checking…</translation>
    </message>
    <message>
        <source>変更する名前: %1 件&#x3000;変更できない名前: %2 件&#x3000;変更なし: %3 件</source>
        <translation>To rename: %1   Cannot rename: %2   Unchanged: %3</translation>
    </message>
</context>
<context>
    <name>kelvoro::RowProgress</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1 件</source>
        <translation>%1 files</translation>
    </message>
</context>
<context>
    <name>kelvoro::UndoStep</name>
    <message>
        <source>全クリア</source>
        <translation>Clear All</translation>
    </message>
    <message>
        <source>クリア</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>%1 (%2 件)</source>
        <translation>%1 (%2 files)</translation>
    </message>
    <message>
        <source>タイムスタンプ／属性の編集</source>
        <translation>Edit Timestamps/Attributes</translation>
    </message>
    <message>
        <source>日時の一括変更</source>
        <translation>Change Times</translation>
    </message>
    <message>
        <source>%1 件のファイルは元に戻せませんでした。保存した日時と属性のままです。</source>
        <translation>%1 files could not be restored. They keep the times and attributes that were saved.</translation>
    </message>
    <message>
        <source>ほか %1 件</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>保存前の状態に戻しています…</source>
        <translation>Restoring what the files held before the save…</translation>
    </message>
    <message>
        <source>元に戻しました: %1</source>
        <translation>Undone: %1</translation>
    </message>
    <message>
        <source>保存しています…</source>
        <translation>Saving…</translation>
    </message>
    <message>
        <source>名前の変更</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>名前を変更しています…</source>
        <translation>Renaming…</translation>
    </message>
    <message>
        <source>%1 件のファイル名を元に戻せませんでした。</source>
        <translation>%1 file names could not be changed back.</translation>
    </message>
</context>
<context>
    <name>kelvoro::fileErrorText</name>
    <message>
        <source>無題のファイル</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>%1 へのアクセス中に不明なエラーが発生しました。</source>
        <translation>An unexpected error occurred while accessing %1.</translation>
    </message>
    <message>
        <source>%1 が見つかりませんでした。</source>
        <translation>%1 was not found.</translation>
    </message>
    <message>
        <source>%1 には無効なパスが含まれています。</source>
        <translation>%1 contains an invalid path.</translation>
    </message>
    <message>
        <source>%1 へのアクセスは拒否されました。</source>
        <translation>Access to %1 was denied.</translation>
    </message>
    <message>
        <source>%1 へのアクセス中に共有違反が発生しました。</source>
        <translation>A sharing violation occurred while accessing %1.</translation>
    </message>
    <message>
        <source>%1 へのアクセス中にロック違反が発生しました。</source>
        <translation>A locking violation occurred while accessing %1.</translation>
    </message>
    <message>
        <source>%1 へのアクセス中にディスクがいっぱいになりました。</source>
        <translation>The disk is full while accessing %1.</translation>
    </message>
    <message>
        <source>%1 へのアクセス中にハードウェア I/O エラーが報告されました。</source>
        <translation>A hardware I/O error was reported while accessing %1.</translation>
    </message>
    <message>
        <source>%1 の作成日時または属性は、このファイルシステムでは変更できません。</source>
        <translation>The creation time or attributes of %1 cannot be changed on this file system.</translation>
    </message>
    <message>
        <source>%1 は一覧に追加された後で置き換えられました。</source>
        <translation>%1 was replaced after it was added to the list.</translation>
    </message>
</context>
<context>
    <name>kelvoro::platform::AppChooserDialog</name>
    <message>
        <source>プログラムから開く</source>
        <translation>Open With</translation>
    </message>
    <message>
        <source>「%1」を開くプログラムを選んでください。</source>
        <translation>Choose the program to open &quot;%1&quot; with.</translation>
    </message>
    <message>
        <source>ファイルの種類: %1</source>
        <translation>File type: %1</translation>
    </message>
    <message>
        <source>この種類のファイルを開くプログラムが見つかりません。</source>
        <translation>No program that opens files of this type was found.</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>
