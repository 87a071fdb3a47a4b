<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ImageProcessFrame</name>
    <message>
        <source>Frame</source>
        <translation>图像处理</translation>
    </message>
</context>
<context>
    <name>ImageProcess_ImageFrame</name>
    <message>
        <source>Frame</source>
        <translation>图像</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>保存图片</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>打开图片</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>This format is not supported.</source>
        <translation>不支持该图片格式。</translation>
    </message>
    <message>
        <source>The picture is too large to open.</source>
        <translation>图片太大，无法打开。</translation>
    </message>
    <message>
        <source>The picture could not be saved to %1.</source>
        <translation>图片无法保存到 %1。</translation>
    </message>
    <message>
        <source>The captured picture cannot be read.</source>
        <translation>无法读取拍摄的图片。</translation>
    </message>
    <message>
        <source>Not enough memory for this picture.</source>
        <translation>内存不足，无法处理该图片。</translation>
    </message>
</context>
<context>
    <name>SQ_ChartFrame</name>
    <message>
        <source>Frame</source>
        <translation>直方图</translation>
    </message>
</context>
</TS>
