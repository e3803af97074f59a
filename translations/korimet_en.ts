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
</context>
</TS>
