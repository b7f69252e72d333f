<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Dialog</name>
    <message>
        <source>終日活動する</source>
        <translation>All day</translation>
    </message>
    <message>
        <source>活動時間を指定する</source>
        <translation>Set the hours</translation>
    </message>
    <message>
        <source>ＯＫ</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>警戒しない</source>
        <translation>Not wary</translation>
    </message>
    <message>
        <source>高</source>
        <translation>High</translation>
    </message>
    <message>
        <source>低</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>中</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>１匹</source>
        <translation>1</translation>
    </message>
    <message>
        <source>１６匹</source>
        <translation>16</translation>
    </message>
    <message>
        <source>■鈴虫の警戒度（マウスの移動に反応します）</source>
        <translation>Wariness (they react to the mouse)</translation>
    </message>
    <message>
        <source>■鈴虫の数</source>
        <translation>Number of crickets</translation>
    </message>
    <message>
        <source>■鈴虫の活動時間</source>
        <translation>Active hours</translation>
    </message>
    <message>
        <source>時</source>
        <translation>:</translation>
    </message>
    <message>
        <source>分から</source>
        <translation>start</translation>
    </message>
    <message>
        <source>分まで</source>
        <translation>end</translation>
    </message>
    <message>
        <source>■ボリューム</source>
        <translation>Volume</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>Kirorinの設定(&amp;E)...</source>
        <translation>Kirorin &amp;Settings...</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>Strings</name>
    <message>
        <source>Kirorinの設定とバージョン情報
Kirorinの設定</source>
        <translation>Kirorin settings and version information
Kirorin settings</translation>
    </message>
    <message>
        <source>Kirorin終了
Kirorin終了</source>
        <translation>Exit Kirorin
Exit Kirorin</translation>
    </message>
    <message>
        <source>メインウィンドウの作成に失敗しました
Kirorinの起動を中断します</source>
        <translation>Failed to create the main window
Aborting Kirorin&apos;s start-up</translation>
    </message>
    <message>
        <source>サウンドの初期化に失敗しました
Kirorinの起動を中断します</source>
        <translation>Failed to initialize the sound
Aborting Kirorin&apos;s start-up</translation>
    </message>
    <message>
        <source>設定ファイルの保存に失敗しました
Kirorinの起動を中断します</source>
        <translation>Failed to save the settings file
Aborting Kirorin&apos;s start-up</translation>
    </message>
    <message>
        <source>サウンドの設定に失敗しました
Kirorinの起動を中断します</source>
        <translation>Failed to set up the sound
Aborting Kirorin&apos;s start-up</translation>
    </message>
</context>
</TS>
