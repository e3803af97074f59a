<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Korimet</name>
    <message>
        <source>ja</source>
        <comment>the code of this translation&apos;s language</comment>
        <translation>en</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>切り取り(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>ｺﾋﾟｰ(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>形式を選択して貼り付け(&amp;S)...</source>
        <translation>Paste &amp;Special...</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>通信ポート</source>
        <translation>Serial Port</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>言語 (Language)(&amp;N)</source>
        <translation>La&amp;nguage</translation>
    </message>
    <message>
        <source>システムの言語(&amp;S)</source>
        <translation>&amp;System Language</translation>
    </message>
    <message>
        <source>オプション</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>引数</source>
        <translation>Arguments</translation>
    </message>
    <message>
        <source>不明なオプションです: {}</source>
        <translation>unknown option: {}</translation>
    </message>
    <message>
        <source>{} には値を 1 つ指定してください</source>
        <translation>{} needs one value</translation>
    </message>
    <message>
        <source>引数が正しくありません: {}</source>
        <translation>wrong arguments: {}</translation>
    </message>
    <message>
        <source>Korimet: ラップタイマーの走行データをダウンロード・表示・比較します。</source>
        <translation>Korimet: downloads, shows and compares the runs of a lap timer.</translation>
    </message>
    <message>
        <source>使い方: korimet [オプション] [FILE.krt]</source>
        <translation>Usage: korimet [options] [FILE.krt]</translation>
    </message>
    <message>
        <source>このヘルプを表示して終了します。</source>
        <translation>Displays this help and exits.</translation>
    </message>
    <message>
        <source>バージョンを表示して終了します。</source>
        <translation>Displays version information.</translation>
    </message>
    <message>
        <source>起動時に開く走行ファイル (ファイル &gt; 開く と同じように開く)</source>
        <translation>A run file to open at start, as File &gt; Open opens it.</translation>
    </message>
    <message>
        <source>一度に開けるファイルは 1 つだけです</source>
        <translation>only one file can be opened at a time</translation>
    </message>
    <message>
        <source>(&apos;korimet --help&apos; を参照)</source>
        <translation>(see &apos;korimet --help&apos;)</translation>
    </message>
    <message>
        <source>{} には値を指定できません</source>
        <translation>{} takes no value</translation>
    </message>
    <message>
        <source>ラップの修正(&amp;M)...</source>
        <translation>Lap Co&amp;rrections...</translation>
    </message>
    <message>
        <source>ラップの修正</source>
        <translation>Lap Corrections</translation>
    </message>
    <message>
        <source>Lap</source>
        <translation>Lap</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>判定</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>修正案</source>
        <translation>Suggestion</translation>
    </message>
    <message>
        <source>修正する内容</source>
        <translation>Correction</translation>
    </message>
    <message>
        <source>短すぎる</source>
        <translation>Too short</translation>
    </message>
    <message>
        <source>長すぎる</source>
        <translation>Too long</translation>
    </message>
    <message>
        <source>合わせた</source>
        <translation>Merged</translation>
    </message>
    <message>
        <source>分けた</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>集計外</source>
        <translation>Left out</translation>
    </message>
    <message>
        <source>そのまま</source>
        <translation>Leave as is</translation>
    </message>
    <message>
        <source>次のLapに足す</source>
        <translation>Add to next lap</translation>
    </message>
    <message>
        <source>前のLapに足す</source>
        <translation>Add to previous lap</translation>
    </message>
    <message>
        <source>2つに分ける</source>
        <translation>Split in two</translation>
    </message>
    <message>
        <source>集計から外す</source>
        <translation>Leave out</translation>
    </message>
    <message>
        <source>選んだLapの修正(&amp;F):</source>
        <translation>&amp;Fix for the selected lap:</translation>
    </message>
    <message>
        <source>修正する(&amp;A)</source>
        <translation>&amp;Apply</translation>
    </message>
    <message>
        <source>1つ戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>すべて戻す(&amp;R)</source>
        <translation>&amp;Revert All</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>判定の基準（Lapの中央値に対して）</source>
        <translation>Limits (against the median lap)</translation>
    </message>
    <message>
        <source>短すぎる: (&amp;S)</source>
        <translation>&amp;Short: below</translation>
    </message>
    <message>
        <source>長すぎる: (&amp;L)</source>
        <translation>&amp;Long: above</translation>
    </message>
    <message>
        <source> 倍未満</source>
        <translation> ×</translation>
    </message>
    <message>
        <source> 倍を超える</source>
        <translation> ×</translation>
    </message>
    <message>
        <source>基準は 短すぎる &lt; 1 &lt; 長すぎる にしてください。</source>
        <translation>The limits must be short &lt; 1 &lt; long.</translation>
    </message>
    <message>
        <source>修正するランがありません。</source>
        <translation>No run to correct.</translation>
    </message>
    <message>
        <source>疑わしいLap: %1</source>
        <translation>Suspect laps: %1</translation>
    </message>
    <message>
        <source>疑わしいLapはありません。</source>
        <translation>No suspect laps.</translation>
    </message>
    <message>
        <source>修正: %1 件</source>
        <translation>Corrections: %1</translation>
    </message>
    <message>
        <source>ダウンロードしたままです。</source>
        <translation>As downloaded.</translation>
    </message>
    <message>
        <source>%1 件の修正はできませんでした（前後のLapが集計外か、Lapが60を超えます）。</source>
        <translation>%1 corrections could not be made (a neighbouring lap is left out, or there would be more than 60 laps).</translation>
    </message>
    <message>
        <source>%1 は読めなかった修正ファイルです。
今の修正で置き換えますか？</source>
        <translation>%1 is a correction file that could not be read.
Replace it with the current corrections?</translation>
    </message>
    <message>
        <source>短すぎるラップ（ボタンの二度押し？）</source>
        <translation>Lap too short (button pressed twice?)</translation>
    </message>
    <message>
        <source>長すぎるラップ（ボタンの押し忘れ？）</source>
        <translation>Lap too long (button press missed?)</translation>
    </message>
    <message>
        <source>修正したラップ</source>
        <translation>Corrected lap</translation>
    </message>
    <message>
        <source>ラン一覧(&amp;L)...</source>
        <translation>Run &amp;List...</translation>
    </message>
    <message>
        <source>ラン一覧</source>
        <translation>Run List</translation>
    </message>
    <message>
        <source>日時</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>CarID</source>
        <translation>CarID</translation>
    </message>
    <message>
        <source>Lap数</source>
        <translation>Laps</translation>
    </message>
    <message>
        <source>ベスト</source>
        <translation>Best</translation>
    </message>
    <message>
        <source>平均</source>
        <translation>Average</translation>
    </message>
    <message>
        <source>ワースト</source>
        <translation>Worst</translation>
    </message>
    <message>
        <source>中央値</source>
        <translation>Median</translation>
    </message>
    <message>
        <source>ばらつき</source>
        <translation>Spread</translation>
    </message>
    <message>
        <source>安定度(%)</source>
        <translation>Consistency %</translation>
    </message>
    <message>
        <source>目標</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>メモ</source>
        <translation>Memo</translation>
    </message>
    <message>
        <source>要確認</source>
        <translation>Suspect</translation>
    </message>
    <message>
        <source>ベスト3周</source>
        <translation>Best 3 Laps</translation>
    </message>
    <message>
        <source>ペース(秒/周)</source>
        <translation>Pace (s/lap)</translation>
    </message>
    <message>
        <source>%1 (%2-%3)</source>
        <translation>%1 (%2-%3)</translation>
    </message>
    <message>
        <source>修正 %1 件</source>
        <translation>%1 corrections</translation>
    </message>
    <message>
        <source>全車</source>
        <translation>All cars</translation>
    </message>
    <message>
        <source>CarID:</source>
        <translation>CarID:</translation>
    </message>
    <message>
        <source>保存先: </source>
        <translation>Folder: </translation>
    </message>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>比較(&amp;C)</source>
        <translation>&amp;Compare</translation>
    </message>
    <message>
        <source>削除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>更新(&amp;R)</source>
        <translation>&amp;Refresh</translation>
    </message>
    <message>
        <source>フォルダを開く(&amp;F)</source>
        <translation>Open &amp;Folder</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>読めないファイル: </source>
        <translation>Unreadable file: </translation>
    </message>
    <message>
        <source>%1 件</source>
        <translation>%1 runs</translation>
    </message>
    <message>
        <source>%1 / %2 件</source>
        <translation>%1 / %2 runs</translation>
    </message>
    <message>
        <source>読み込み中...</source>
        <translation>Reading...</translation>
    </message>
    <message>
        <source>フォルダを開けませんでした。
%1</source>
        <translation>The folder could not be opened.
%1</translation>
    </message>
    <message>
        <source>自己ベスト</source>
        <translation>Personal best</translation>
    </message>
    <message>
        <source>CarID %1 の推移</source>
        <translation>CarID %1 over time</translation>
    </message>
    <message>
        <source>%1
%2  ベスト %3  平均 %4</source>
        <translation>%1
%2  Best %3  Average %4</translation>
    </message>
    <message>
        <source>自己ベスト %1
%2</source>
        <translation>Personal best %1
%2</translation>
    </message>
    <message>
        <source>選択中</source>
        <translation>Selected</translation>
    </message>
    <message>
        <source>未確認</source>
        <translation>Unconfirmed</translation>
    </message>
    <message>
        <source>メモ:</source>
        <translation>Memo:</translation>
    </message>
    <message>
        <source>メモを保存(&amp;M)</source>
        <translation>Save &amp;Memo</translation>
    </message>
    <message>
        <source>表示中のランのメモです。まだこのファイルには保存されていません。</source>
        <translation>This is the memo of the run shown in the main window. It is not saved in this file yet.</translation>
    </message>
    <message>
        <source>メモを保存しました: %1</source>
        <translation>Memo saved: %1</translation>
    </message>
    <message>
        <source>%1 件のランをごみ箱に移動しますか？
%2</source>
        <translation>Move %1 runs to the trash?
%2</translation>
    </message>
    <message>
        <source>ほか %1 件</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>ランの削除</source>
        <translation>Delete Runs</translation>
    </message>
    <message>
        <source>ごみ箱に移動できませんでした。
%1</source>
        <translation>Could not move to the trash.
%1</translation>
    </message>
    <message>
        <source>ランはごみ箱に移動しましたが、ラップの修正ファイルを移動できませんでした。
%1</source>
        <translation>The run was moved to the trash, but its lap correction file could not be moved.
%1</translation>
    </message>
    <message>
        <source>受信したランをラン一覧に保存できませんでした。表示はそのまま続きます。
%1</source>
        <translation>The received run could not be kept in the run list. The window goes on showing it.
%1</translation>
    </message>
    <message>
        <source>ピットビュー</source>
        <translation>Pit View</translation>
    </message>
    <message>
        <source>スマートフォンを先にこのパソコンと同じ Wi-Fi に接続してから、QR コードを読み取るかアドレスを入力してください。</source>
        <translation>First connect the smartphone to the same Wi-Fi as this computer, then scan the QR code or enter the address.</translation>
    </message>
    <message>
        <source>アドレス</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>アクセスコード</source>
        <translation>Access code</translation>
    </message>
    <message>
        <source>接続中のページ: %1</source>
        <translation>Pages connected: %1</translation>
    </message>
    <message>
        <source>ピットビューを開始できません: ポート %1 も、空いている別のポートも使えません。</source>
        <translation>The pit view cannot start: neither port %1 nor any other free port can be used.</translation>
    </message>
</context>
</TS>
