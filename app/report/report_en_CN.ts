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
<context>
    <name>ReportWordProcessor</name>
    <message>
        <source>Report</source>
        <translation>报告</translation>
    </message>
    <message>
        <source>No program can open the report. It was saved as %1</source>
        <translation>没有可以打开报告的程序。报告已保存为 %1</translation>
    </message>
    <message>
        <source>The report could not be saved: %1</source>
        <translation>报告无法保存：%1</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
</context>
<context>
    <name>ReportWps</name>
    <message>
        <source>the word processor has no Documents collection</source>
        <translation>文字处理程序没有文档集合</translation>
    </message>
    <message>
        <source>the word processor made no document</source>
        <translation>文字处理程序未能新建文档</translation>
    </message>
    <message>
        <source>no report document is open</source>
        <translation>没有打开的报告文档</translation>
    </message>
    <message>
        <source>the word processor wrote no file</source>
        <translation>文字处理程序未写出文件</translation>
    </message>
</context>
</TS>
