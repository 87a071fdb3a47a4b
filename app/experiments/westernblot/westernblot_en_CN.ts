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
    <message><source>Estimating exposure time...</source><translation>正在估算曝光时间...</translation></message>
    <message><source>The capture is still running; it ends after its picture.</source><translation>拍摄仍在进行，将在当前图片完成后结束。</translation></message>
    <message><source>Save Image</source><translation>保存图片</translation></message>
    <message><source>*.tif;;*.bmp;;*.jpg;;*.png</source><translation>*.tif;;*.bmp;;*.jpg;;*.png</translation></message>
    <message><source>The picture could not be saved: %1</source><translation>图片无法保存：%1</translation></message>
    <message><source>User:</source><translation>用户:</translation></message>
    <message><source>ReportDate:</source><translation>报告日期:</translation></message>
    <message><source>PictureName:</source><translation>图片名称:</translation></message>
</context>
</TS>
