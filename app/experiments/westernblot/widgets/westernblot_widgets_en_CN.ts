<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>CapTimeSetFrame</name>
    <message><source>Frame</source><translation>Frame</translation></message>
    <message><source>M</source><translation>分</translation></message>
    <message><source>s</source><translation>秒</translation></message>
    <message><source>ms</source><translation>毫秒</translation></message>
</context>
<context>
    <name>ExpTimeSetDialog</name>
    <message><source>Dialog</source><translation>Dialog</translation></message>
    <message><source>Exposure Time:</source><translation>曝光时间:</translation></message>
    <message><source>min</source><translation>分</translation></message>
    <message><source>s</source><translation>秒</translation></message>
    <message><source>ms</source><translation>毫秒</translation></message>
    <message><source>Picture: 1</source><translation>图片: 1</translation></message>
    <message><source>Picture: </source><translation>图片: </translation></message>
</context>
</TS>
