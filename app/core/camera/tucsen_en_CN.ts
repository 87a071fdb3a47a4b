<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CI_MainControl</name>
    <message>
        <source>Camera connection error!</source>
        <translation>相机连接错误！</translation>
    </message>
</context>
<context>
    <name>TucsenCapThread</name>
    <message>
        <source>The picture could not be written to the folder %1.</source>
        <translation>图片无法写入文件夹 %1。</translation>
    </message>
</context>
<context>
    <name>ZdqCaptureThread</name>
    <message>
        <source>The picture could not be written to the folder %1.</source>
        <translation>图片无法写入文件夹 %1。</translation>
    </message>
    <message>
        <source>ZdqCamera capture error.</source>
        <translation>相机采集错误。</translation>
    </message>
    <message>
        <source>ZdqCamera connect error.</source>
        <translation>相机连接错误。</translation>
    </message>
</context>
<context>
    <name>ZdqCameraCtrl</name>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>ZdqCamera connect error.</source>
        <translation>相机连接错误。</translation>
    </message>
    <message>
        <source>ZdqCamera is in use by another program (another station).</source>
        <translation>相机正被另一个程序（另一台工作站）占用。</translation>
    </message>
</context>
</TS>
