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
        <source>レース模擬</source>
        <translation>Race Simulation</translation>
    </message>
    <message>
        <source>データ未読込み</source>
        <translation>No data loaded</translation>
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
        <source>データ比較</source>
        <translation>Data Comparison</translation>
    </message>
    <message>
        <source>比較元データ未読込み</source>
        <translation>No data loaded to compare</translation>
    </message>
    <message>
        <source>比較データのラップ数が0のため比較できません</source>
        <translation>Cannot compare: the comparison data has no laps</translation>
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
        <translation>Best 3</translation>
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
</context>
</TS>
