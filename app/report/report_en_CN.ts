<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>ReportSample</name>
    <message>
        <source>User:</source>
        <translation>用户:</translation>
    </message>
    <message>
        <source>ReportDate:</source>
        <translation>报告日期:</translation>
    </message>
    <message>
        <source>PictureName:</source>
        <translation>图片名称:</translation>
    </message>
</context>
</TS>
