<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AutoDialog</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Datetime</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Now</source>
        <translation>现在</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Submit</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>InitialDialog</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Initializing...</source>
        <translation>正在初始化...</translation>
    </message>
</context>
<context>
    <name>LoadingDialog</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Varnu_BottomBarFrame</name>
    <message>
        <source>Auto exposuring...</source>
        <translation>正在自动曝光...</translation>
    </message>
    <message>
        <source>Auto focusing...</source>
        <translation>正在自动对焦...</translation>
    </message>
</context>
<context>
    <name>Varnu_ImageFrame</name>
    <message>
        <source>Opening external application WPS...</source>
        <translation>正在打开外部应用WPS...</translation>
    </message>
</context>
<context>
    <name>WaitingDialog</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WesternBlot_ImageFrame</name>
    <message>
        <source>Estimating exposure time...</source>
        <translation>正在估算曝光时间...</translation>
    </message>
</context>
</TS>
