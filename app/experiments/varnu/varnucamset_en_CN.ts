<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>VarnuCamSetFrame</name>
    <message><source>Frame</source><translation>框架</translation></message>
    <message><source>parameter</source><translation>参数</translation></message>
    <message><source>Exposure</source><translation>曝光</translation></message>
    <message><source>ms</source><translation>毫秒</translation></message>
    <message><source>Contrast</source><translation>对比度</translation></message>
    <message><source>Brightness</source><translation>亮度</translation></message>
    <message><source>Gamma</source><translation>伽马</translation></message>
    <message><source>Gain</source><translation>增益</translation></message>
    <message><source>Mirror &amp;&amp; Flip</source><translation>镜像 &amp;&amp; 翻转</translation></message>
    <message><source>Mirror</source><translation>镜像</translation></message>
    <message><source>Flip</source><translation>翻转</translation></message>
    <message><source>Signal accumulation</source><translation>信号累积</translation></message>
    <message><source>Num:</source><translation>数量：</translation></message>
    <message><source>Resolution</source><translation>分辨率</translation></message>
    <message><source>Tips</source><translation>提示</translation></message>
    <message><source>Ok</source><translation>确定</translation></message>
    <message><source>Camera parameter save success.</source><translation>相机参数保存成功。</translation></message>
    <message><source>Camera parameter reset success.</source><translation>相机参数重置成功。</translation></message>
    <message><source>Save failed, the settings file cannot be written!</source><translation>保存失败，无法写入设置文件！</translation></message>
</context>
</TS>
