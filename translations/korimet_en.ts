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
</context>
</TS>
