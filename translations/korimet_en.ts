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
        <source>分レース模擬 </source>
        <translation> min race </translation>
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
        <source>目標タイム</source>
        <translation>Target Time</translation>
    </message>
    <message>
        <source>レース模擬</source>
        <translation>Race Simulation</translation>
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
        <source>メモ</source>
        <translation>Memo</translation>
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
