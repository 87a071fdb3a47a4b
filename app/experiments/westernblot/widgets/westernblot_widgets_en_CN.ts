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
</TS>
