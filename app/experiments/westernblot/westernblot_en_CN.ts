<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>WesternBlotFrame</name>
    <message><source>Frame</source><translation>Frame</translation></message>
</context>
<context>
    <name>WesternBlot_BottomBarFrame</name>
    <message><source>Frame</source><translation>Frame</translation></message>
    <message><source>CCD Temp:</source><translation>CCD温度:</translation></message>
    <message><source>Previewing...</source><translation>预览中...</translation></message>
</context>
<context>
    <name>WesternBlot_ImageFrame</name>
    <message><source>Frame</source><translation>Frame</translation></message>
    <message><source>The camera preview did not stop.</source><translation>相机预览未能停止。</translation></message>
    <message><source>No picture from the camera.</source><translation>相机没有传来图像。</translation></message>
</context>
</TS>
