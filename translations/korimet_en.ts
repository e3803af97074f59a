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
        <source>ファイルを読み込めません: %1</source>
        <translation>cannot read the file: %1</translation>
    </message>
    <message>
        <source>ファイルに保存できません: %1</source>
        <translation>cannot save the file: %1</translation>
    </message>
    <message>
        <source>フォルダーに保存できません: %1</source>
        <translation>cannot save in the folder: %1</translation>
    </message>
    <message>
        <source>フォルダーを読み込めません: %1</source>
        <translation>cannot read the folder: %1</translation>
    </message>
    <message>
        <source>メモの一部を読み取れません: %1</source>
        <translation>part of the memo cannot be read: %1</translation>
    </message>
    <message>
        <source>メモの文字コードが確かではありません: %1</source>
        <translation>the memo&apos;s encoding is uncertain: %1</translation>
    </message>
    <message>
        <source>%1 行目、%2 番目の項目: %3</source>
        <translation>line %1, field %2: %3</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>データファイルとしては大きすぎます</source>
        <translation>too large for a data file</translation>
    </message>
    <message>
        <source>ファイルを開けません（通常のファイルではありません）</source>
        <translation>cannot open the file (not a regular file)</translation>
    </message>
    <message>
        <source>通常のファイルではないため、そのままにしました</source>
        <translation>not a regular file: it was left as it is</translation>
    </message>
    <message>
        <source>ファイルがここで終わっています</source>
        <translation>the file ends here</translation>
    </message>
    <message>
        <source>値がありません</source>
        <translation>no value</translation>
    </message>
    <message>
        <source>数値ではありません</source>
        <translation>not a number</translation>
    </message>
    <message>
        <source>数値が大きすぎるか小さすぎます</source>
        <translation>number too large or too small</translation>
    </message>
    <message>
        <source>0～255 の整数ではありません</source>
        <translation>not a whole number from 0 to 255</translation>
    </message>
    <message>
        <source>メモの終わりの &quot; がありません</source>
        <translation>the memo&apos;s closing &quot; is missing</translation>
    </message>
    <message>
        <source>メモの文字コードを読み取れません</source>
        <translation>the memo&apos;s characters cannot be read</translation>
    </message>
    <message>
        <source>読み取れない文字は「�」で表しています。ファイルは変更していません。</source>
        <translation>characters that cannot be read are shown as &quot;�&quot;; the file was not changed.</translation>
    </message>
    <message>
        <source>メモは CP932 (Shift_JIS) としても UTF-8 としても読めるため、%1 として読みました。</source>
        <translation>the memo reads both as CP932 (Shift_JIS) and as UTF-8; it was read as %1.</translation>
    </message>
    <message>
        <source>文字が正しいか確かめてください。ファイルは変更していません。</source>
        <translation>check that its characters are right; the file was not changed.</translation>
    </message>
    <message>
        <source>保存できない数値があります（無限大または非数）</source>
        <translation>a value cannot be saved (infinite or not a number)</translation>
    </message>
    <message>
        <source>Shift_JIS (CP932) の変換が使えません</source>
        <translation>Shift_JIS (CP932) conversion is not available</translation>
    </message>
    <message>
        <source>空いているファイル名がありません</source>
        <translation>no free file name is left</translation>
    </message>
    <message>
        <source>メモにファイルへ保存できない文字が含まれています: %1</source>
        <translation>the memo holds a character the file cannot store: %1</translation>
    </message>
    <message>
        <source>その文字を消してから保存してください。</source>
        <translation>delete that character, then save.</translation>
    </message>
    <message>
        <source>このメモは読み込み時に別の文字に変わってしまうため保存できません（CP932 の文字の並びが UTF-8 と区別できません）。</source>
        <translation>this memo cannot be saved: it would read back as other characters (its CP932 bytes look like UTF-8).</translation>
    </message>
    <message>
        <source>メモの文字を少し変える（間に空白を入れるなど）と保存できます。</source>
        <translation>change the memo slightly (a space between characters) to save it.</translation>
    </message>
    <message>
        <source>ファイルを開けません</source>
        <translation>cannot open the file</translation>
    </message>
    <message>
        <source>読み込み中の失敗|ファイルを開けません</source>
        <translation>error while reading the file</translation>
    </message>
    <message>
        <source>ファイルを作成できません</source>
        <translation>cannot create the file</translation>
    </message>
    <message>
        <source>ファイルに書き込めません</source>
        <translation>cannot write to the file</translation>
    </message>
    <message>
        <source>ファイル名を確認できません: %1</source>
        <translation>cannot check the file name: %1</translation>
    </message>
    <message>
        <source>フォルダーを作成できません</source>
        <translation>cannot create the folder</translation>
    </message>
    <message>
        <source>フォルダーを開けません</source>
        <translation>cannot open the folder</translation>
    </message>
    <message>
        <source>ファイルまたはフォルダーがありません</source>
        <translation>No such file or directory</translation>
    </message>
    <message>
        <source>アクセス権がありません</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>フォルダーです</source>
        <translation>Is a directory</translation>
    </message>
    <message>
        <source>途中の名前がフォルダーではありません</source>
        <translation>Not a directory</translation>
    </message>
    <message>
        <source>ディスクの空きが足りません</source>
        <translation>No space left on device</translation>
    </message>
    <message>
        <source>ファイルの大きさの上限を超えます</source>
        <translation>File too large</translation>
    </message>
    <message>
        <source>読み取り専用の場所です</source>
        <translation>Read-only file system</translation>
    </message>
    <message>
        <source>名前が長すぎます</source>
        <translation>File name too long</translation>
    </message>
    <message>
        <source>ラップの修正を保存できません: %1</source>
        <translation>cannot keep the lap corrections: %1</translation>
    </message>
    <message>
        <source>ラップの修正を使えません: %1</source>
        <translation>cannot use the lap corrections: %1</translation>
    </message>
    <message>
        <source>ファイルを読み込めません</source>
        <translation>cannot read the file</translation>
    </message>
    <message>
        <source>通常のファイルではありません</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>大きすぎます</source>
        <translation>too large for a correction file</translation>
    </message>
    <message>
        <source>修正ファイルではありません</source>
        <translation>not a correction file</translation>
    </message>
    <message>
        <source>新しい版のファイルです</source>
        <translation>made by a later version</translation>
    </message>
    <message>
        <source>読めない行があります</source>
        <translation>a line cannot be read</translation>
    </message>
    <message>
        <source>別のラップ用のファイルです</source>
        <translation>made for other laps</translation>
    </message>
    <message>
        <source>このランに当てはまらない修正があります</source>
        <translation>a correction does not fit the run</translation>
    </message>
    <message>
        <source>保存できません</source>
        <translation>cannot save the file</translation>
    </message>
    <message>
        <source>削除できません</source>
        <translation>cannot remove the file</translation>
    </message>
    <message>
        <source>%1（%2行目）</source>
        <translation>%1 (line %2)</translation>
    </message>
    <message>
        <source>%1（版 %2）</source>
        <translation>%1 (version %2)</translation>
    </message>
    <message>
        <source>ダウンロードしたままのラップを表示します。</source>
        <translation>The run is shown as downloaded.</translation>
    </message>
    <message>
        <source>その周回はありません</source>
        <translation>no such lap</translation>
    </message>
    <message>
        <source>合わせる隣の周回がありません</source>
        <translation>no lap beside it to merge with</translation>
    </message>
    <message>
        <source>統計から除いた周回です</source>
        <translation>the lap is left out</translation>
    </message>
    <message>
        <source>60 周すべて使用中です</source>
        <translation>all 60 laps are in use</translation>
    </message>
    <message>
        <source>データ未読込み</source>
        <translation>no data loaded</translation>
    </message>
    <message>
        <source>比較元データ未読込み</source>
        <translation>no data loaded to compare</translation>
    </message>
    <message>
        <source>比較データのラップ数が0のため比較できません</source>
        <translation>the run to compare with has 0 laps, so there is nothing to compare</translation>
    </message>
    <message>
        <source>レース模擬</source>
        <translation>Race simulation</translation>
    </message>
    <message>
        <source>データ比較</source>
        <translation>Data comparison</translation>
    </message>
    <message>
        <source>ポートが開けません</source>
        <translation>Cannot open the port</translation>
    </message>
    <message>
        <source>他のポートをお試しください</source>
        <translation>Please try another port</translation>
    </message>
    <message>
        <source>通信ポートが切断されました</source>
        <translation>The serial port was disconnected</translation>
    </message>
    <message>
        <source>ケーブルを確かめてから、もう一度ポートを選んでください</source>
        <translation>Check the cable, then choose the port again</translation>
    </message>
    <message>
        <source>ファイルを読み込めません: </source>
        <translation>Cannot read the file: </translation>
    </message>
    <message>
        <source>ファイルに保存できません: </source>
        <translation>Cannot save the file: </translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>「�」を消すまでメモは保存できません。消すと元のメモのその部分は失われます。</source>
        <translation>The memo cannot be saved until the &quot;�&quot; marks are deleted. Deleting them loses that part of the original memo.</translation>
    </message>
    <message>
        <source>メモリが足りません</source>
        <translation>Out of memory</translation>
    </message>
    <message>
        <source>予期しないエラーが発生しました</source>
        <translation>An unexpected error occurred</translation>
    </message>
    <message>
        <source>Korimet DATAﾌｧｲﾙ (*.krt)|*.krt</source>
        <translation>Korimet Data File (*.krt)|*.krt</translation>
    </message>
    <message>
        <source>分レース模擬 </source>
        <translation> min race </translation>
    </message>
    <message>
        <source>計測Lap数</source>
        <translation>Laps</translation>
    </message>
    <message>
        <source>目標Time</source>
        <translation>Target</translation>
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
        <source>「%1」を実行できませんでした</source>
        <translation>Could not run &quot;%1&quot;</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報 Korimet</source>
        <translation>About Korimet</translation>
    </message>
    <message>
        <source>ﾗﾝ(&amp;R)</source>
        <translation>&amp;Run</translation>
    </message>
    <message>
        <source>ｽﾃｰﾀｽ</source>
        <translation>Status</translation>
    </message>
    <message>
        <source> &apos;%1_Click&apos; のｺｰﾄﾞを追加します。</source>
        <translation> Add the code of &apos;%1_Click&apos;.</translation>
    </message>
    <message>
        <source>ラップ一覧</source>
        <translation>Lap list</translation>
    </message>
    <message>
        <source>ラップタイムのグラフ</source>
        <translation>Lap time chart</translation>
    </message>
    <message>
        <source>メモ</source>
        <translation>Memo</translation>
    </message>
    <message>
        <source>カーID</source>
        <translation>Car ID</translation>
    </message>
    <message>
        <source>計測ラップ数</source>
        <translation>Laps timed</translation>
    </message>
    <message>
        <source>目標タイム</source>
        <translation>Target Time</translation>
    </message>
    <message>
        <source>ベストラップ</source>
        <translation>Best lap</translation>
    </message>
    <message>
        <source>ワーストラップ</source>
        <translation>Worst lap</translation>
    </message>
    <message>
        <source>平均ラップ</source>
        <translation>Average lap</translation>
    </message>
    <message>
        <source>ベストラップの差</source>
        <translation>Best lap difference</translation>
    </message>
    <message>
        <source>ワーストラップの差</source>
        <translation>Worst lap difference</translation>
    </message>
    <message>
        <source>平均ラップの差</source>
        <translation>Average lap difference</translation>
    </message>
    <message>
        <source>レース結果</source>
        <translation>Race result</translation>
    </message>
    <message>
        <source>レース想定時間を分単位で入力</source>
        <translation>Enter the race length in minutes</translation>
    </message>
    <message>
        <source>レース時間</source>
        <translation>Race Length</translation>
    </message>
    <message>
        <source>Korimet DATAﾌｧｲﾙ (*.krt)</source>
        <translation>Korimet Data File (*.krt)</translation>
    </message>
    <message>
        <source>最大値:</source>
        <translation>Maximum:</translation>
    </message>
    <message>
        <source>最小値:</source>
        <translation>Minimum:</translation>
    </message>
    <message>
        <source>軸設定</source>
        <translation>Axis Scale</translation>
    </message>
    <message>
        <source>グラフプロットのみ変更可能:</source>
        <translation>Changes the chart point only:</translation>
    </message>
    <message>
        <source>上書き保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>切り取り</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>ｺﾋﾟｰ</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>レース模擬結果表示</source>
        <translation>Show race simulation result</translation>
    </message>
    <message>
        <source>ラップシート</source>
        <translation>Lap Sheet</translation>
    </message>
    <message>
        <source>車番</source>
        <translation>Car</translation>
    </message>
    <message>
        <source>車番%1</source>
        <translation>Car %1</translation>
    </message>
    <message>
        <source>周回数</source>
        <translation>Laps</translation>
    </message>
    <message>
        <source>日時</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>ベスト</source>
        <translation>Best</translation>
    </message>
    <message>
        <source>ワースト</source>
        <translation>Worst</translation>
    </message>
    <message>
        <source>平均</source>
        <translation>Average</translation>
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
        <source>安定度</source>
        <translation>Consistency</translation>
    </message>
    <message>
        <source>ベスト3周</source>
        <translation>Best 3 Laps</translation>
    </message>
    <message>
        <source>ペース傾向</source>
        <translation>Pace Trend</translation>
    </message>
    <message>
        <source>秒/周</source>
        <translation> s/lap</translation>
    </message>
    <message>
        <source>目標タイム以内</source>
        <translation>Within target time</translation>
    </message>
    <message>
        <source>LAP</source>
        <translation>LAP</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>メモ（続き）</source>
        <translation>Memo (continued)</translation>
    </message>
    <message>
        <source>比較ラン</source>
        <translation>Compared Run</translation>
    </message>
    <message>
        <source>ベスト差</source>
        <translation>Best Difference</translation>
    </message>
    <message>
        <source>ワースト差</source>
        <translation>Worst Difference</translation>
    </message>
    <message>
        <source>平均差</source>
        <translation>Average Difference</translation>
    </message>
    <message>
        <source>(未保存)</source>
        <translation>(unsaved)</translation>
    </message>
    <message>
        <source>--</source>
        <translation>--</translation>
    </message>
    <message>
        <source>秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source>ラップがありません</source>
        <translation>No laps</translation>
    </message>
    <message>
        <source>印刷(&amp;P)...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>PDFに保存(&amp;D)...</source>
        <translation>Save as P&amp;DF...</translation>
    </message>
    <message>
        <source>グラフを画像で保存(&amp;G)...</source>
        <translation>Save &amp;Graph as Picture...</translation>
    </message>
    <message>
        <source>PDFに保存</source>
        <translation>Save as PDF</translation>
    </message>
    <message>
        <source>PDFﾌｧｲﾙ (*.pdf)|*.pdf</source>
        <translation>PDF Files (*.pdf)|*.pdf</translation>
    </message>
    <message>
        <source>グラフを画像で保存</source>
        <translation>Save Graph as Picture</translation>
    </message>
    <message>
        <source>PNG画像 (*.png)|*.png</source>
        <translation>PNG Pictures (*.png)|*.png</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>印刷するランがありません。ランを受信するか、ファイルを開いてください。</source>
        <translation>There is no run to print. Download a run or open a file.</translation>
    </message>
    <message>
        <source>PDFに保存しました: %1</source>
        <translation>Saved as PDF: %1</translation>
    </message>
    <message>
        <source>グラフを画像で保存しました: %1</source>
        <translation>Graph saved as a picture: %1</translation>
    </message>
    <message>
        <source>PDFファイルを書き込めませんでした: %1<byte value="xd"/>
%2</source>
        <translation>Could not write the PDF file: %1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>画像ファイルを書き込めませんでした: %1<byte value="xd"/>
%2</source>
        <translation>Could not write the picture file: %1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>印刷を始められませんでした: %1</source>
        <translation>Printing could not start: %1</translation>
    </message>
    <message>
        <source>ページを描けませんでした</source>
        <translation>the page could not be drawn</translation>
    </message>
    <message>
        <source>ファイル・パイプ・文字デバイスのいずれでもないため、そのままにしました</source>
        <translation>not a file, a pipe or a character device: it was left as it is</translation>
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
        <source>ラン一覧(&amp;L)...</source>
        <translation>Run &amp;List...</translation>
    </message>
    <message>
        <source>ラン一覧</source>
        <translation>Run List</translation>
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
        <source>安定度(%)</source>
        <translation>Consistency %</translation>
    </message>
    <message>
        <source>目標</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>要確認</source>
        <translation>Suspect</translation>
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
    <message>
        <source>ファイルの今の修正を表示します。確かめてから、もう一度修正してください。</source>
        <translation>The corrections the file holds now are shown. Check them, then correct again.</translation>
    </message>
    <message>
        <source>別のプログラムが修正中です。しばらくしてからやり直してください</source>
        <translation>another program is correcting the run; try again later</translation>
    </message>
    <message>
        <source>読み込んだ後に別のプログラムが変更しました</source>
        <translation>another program changed it after it was read</translation>
    </message>
    <message>
        <source>%1 のメモはまだ保存されていません。保存しますか?</source>
        <translation>The memo of %1 is not saved yet. Save it?</translation>
    </message>
    <message>
        <source>メモの保存</source>
        <translation>Save Memo</translation>
    </message>
    <message>
        <source>ラン一覧のフォルダが応答しません。応答を待っています。</source>
        <translation>The run library&apos;s folder is not answering. Waiting for it.</translation>
    </message>
</context>
</TS>
