<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AuditTrailPageFrame</name>
    <message>
        <source>Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search Time From:</source>
        <translation>查询时间从：</translation>
    </message>
    <message>
        <source>To</source>
        <translation>至</translation>
    </message>
    <message>
        <source> Handler</source>
        <translation> 操作人</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>查询</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <source>Module</source>
        <translation>模块</translation>
    </message>
    <message>
        <source>Content</source>
        <translation>内容</translation>
    </message>
    <message>
        <source>Handler</source>
        <translation>操作人</translation>
    </message>
    <message>
        <source>Operating Time</source>
        <translation>操作时间</translation>
    </message>
    <message>
        <source>Total </source>
        <translation>共 </translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>页</translation>
    </message>
    <message>
        <source>Turn to</source>
        <translation>跳转到</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>页</translation>
    </message>
    <message>
        <source>Turn</source>
        <translation>跳转</translation>
    </message>
</context>
</TS>
