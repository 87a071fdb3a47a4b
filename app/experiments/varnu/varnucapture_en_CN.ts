<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>VarnuCaptureFrame</name>
    <message><source>Frame</source><translation>框架</translation></message>
    <message><source>Camera</source><translation>相机</translation></message>
    <message><source>Light</source><translation>光源</translation></message>
    <message><source>Power</source><translation>电源</translation></message>
    <message><source>White</source><translation>白光</translation></message>
    <message><source>UV302C</source><translation>UV302C</translation></message>
    <message><source>UV365</source><translation>UV365</translation></message>
    <message><source>UV302O</source><translation>UV302O</translation></message>
    <message><source>UV254</source><translation>UV254</translation></message>
    <message><source>Capture</source><translation>采集</translation></message>
    <message><source>Varnu</source><translation>凝胶成像</translation></message>
    <message><source>Lens</source><translation>镜头</translation></message>
    <message><source>Focus</source><translation>聚焦</translation></message>
    <message><source>Iris</source><translation>光圈</translation></message>
    <message><source>Zoom</source><translation>变焦</translation></message>
    <message><source>Auto Mode</source><translation>自动模式</translation></message>
    <message><source>Blue-C</source><translation>蓝光-C</translation></message>
    <message><source>Blue-O</source><translation>蓝光-O</translation></message>
</context>
</TS>
