<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>VarnuFrame</name>
    <message><source>Frame</source><translation>框架</translation></message>
</context>
<context>
    <name>Varnu_ImageFrame</name>
    <message><source>Frame</source><translation>框架</translation></message>
    <message><source>Automatic exposure did not settle.</source><translation>自动曝光未能完成。</translation></message>
    <message><source>The camera preview did not stop.</source><translation>相机预览未能停止。</translation></message>
    <message><source>The capture is still running; it ends after its frame.</source><translation>采集仍在进行, 当前帧完成后结束。</translation></message>
    <message><source>The picture could not be saved: %1</source><translation>图片无法保存: %1</translation></message>
    <message><source>User:</source><translation>用户:</translation></message>
    <message><source>ReportDate:</source><translation>报告日期:</translation></message>
    <message><source>PictureName:</source><translation>图片名称:</translation></message>
    <message><source>Warning</source><translation>警告</translation></message>
    <message><source>Save Image</source><translation>保存图片</translation></message>
    <message><source>Resolution: </source><translation>分辨率: </translation></message>
    <message><source>Exposure:   </source><translation>曝光: </translation></message>
    <message><source>Gain:       </source><translation>增益: </translation></message>
    <message><source>Brightness: </source><translation>亮度: </translation></message>
    <message><source>Contrast:   </source><translation>对比度: </translation></message>
    <message><source>Gamma:      </source><translation>伽马: </translation></message>
</context>
<context>
    <name>Varnu_BottomBarFrame</name>
    <message><source>Frame</source><translation>框架</translation></message>
    <message><source>Door</source><translation>舱门</translation></message>
    <message><source>Previewing...</source><translation>预览中...</translation></message>
</context>
<context>
    <name>RunningDialog</name>
    <message><source>Dialog</source><translation>对话框</translation></message>
</context>
<context>
    <name>Varnu_FuncsFrame</name>
    <message><source>Frame</source><translation>框架</translation></message>
</context>
<context>
    <name>Varnu_ToolsFrame</name>
    <message><source>Frame</source><translation>框架</translation></message>
</context>
</TS>
