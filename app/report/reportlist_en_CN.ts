<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>RP_FuncFrame</name>
    <message>
        <source>Frame</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RP_ReportPrintFrame</name>
    <message>
        <source>Frame</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RP_ReportManageFrame</name>
    <message>
        <source>Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Report Type</source>
        <translation>报告类型</translation>
    </message>
    <message>
        <source>Report Name    </source>
        <translation>报告名称    </translation>
    </message>
    <message>
        <source>Binning</source>
        <translation>合并</translation>
    </message>
    <message>
        <source>Exposure(ms)</source>
        <translation>曝光(ms)</translation>
    </message>
    <message>
        <source>Gain</source>
        <translation>增益</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>数量</translation>
    </message>
    <message>
        <source>uuid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Comfirm Delete?</source>
        <translation>确认删除？</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Please select at least 1 picture!</source>
        <translation>请至少选择1张图片！</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
</context>
</TS>
