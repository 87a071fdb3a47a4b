<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>FilterFrame</name>
    <message>
        <source>No Filter</source>
        <translation>无滤光片</translation>
    </message>
    <message>
        <source>460 Filter</source>
        <translation>460滤光片</translation>
    </message>
    <message>
        <source>535 Filter</source>
        <translation>535滤光片</translation>
    </message>
    <message>
        <source>590 Filter</source>
        <translation>590滤光片</translation>
    </message>
    <message>
        <source>620 Filter</source>
        <translation>620滤光片</translation>
    </message>
    <message>
        <source>690 Filter</source>
        <translation>690滤光片</translation>
    </message>
</context>
<context>
    <name>MultFluoreCamSetFrame</name>
    <message>
        <source>Frame</source>
        <translation>框架</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>旋转</translation>
    </message>
    <message>
        <source>Mode:</source>
        <translation>模式：</translation>
    </message>
    <message>
        <source>No Rotate</source>
        <translation>不旋转</translation>
    </message>
    <message>
        <source>Mirror V</source>
        <translation>垂直镜像</translation>
    </message>
    <message>
        <source>Mirror H</source>
        <translation>水平镜像</translation>
    </message>
    <message>
        <source>Binning</source>
        <translation>合并</translation>
    </message>
    <message>
        <source>1x1</source>
        <translation>1x1</translation>
    </message>
    <message>
        <source>2x2</source>
        <translation>2x2</translation>
    </message>
    <message>
        <source>4x4</source>
        <translation>4x4</translation>
    </message>
    <message>
        <source>Bits Depth</source>
        <translation>位深</translation>
    </message>
    <message>
        <source>8 Bits</source>
        <translation>8位</translation>
    </message>
    <message>
        <source>16 Bits</source>
        <translation>16位</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>帧率</translation>
    </message>
    <message>
        <source>Low Rate</source>
        <translation>低帧率</translation>
    </message>
    <message>
        <source>Normal Rate</source>
        <translation>普通帧率</translation>
    </message>
    <message>
        <source>High Rate</source>
        <translation>高帧率</translation>
    </message>
    <message>
        <source>Exposure</source>
        <translation>曝光</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>伽马</translation>
    </message>
    <message>
        <source>Histogram</source>
        <translation>直方图</translation>
    </message>
    <message>
        <source>No Stretch</source>
        <translation>不拉伸</translation>
    </message>
    <message>
        <source>Auto Stretch</source>
        <translation>自动拉伸</translation>
    </message>
    <message>
        <source>Manual Stretch</source>
        <translation>手动拉伸</translation>
    </message>
    <message>
        <source>Gain_Capture</source>
        <translation>采集增益</translation>
    </message>
    <message>
        <source>Refrigerate</source>
        <translation>制冷</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>开启</translation>
    </message>
    <message>
        <source>CurTemp:</source>
        <translation>当前温度：</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>对比度</translation>
    </message>
    <message>
        <source>parameter</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Gain_Preview</source>
        <translation>预览增益</translation>
    </message>
    <message>
        <source>Capture Mode</source>
        <translation>采集模式</translation>
    </message>
    <message>
        <source>TimeAccumulate</source>
        <translation>时间累加</translation>
    </message>
    <message>
        <source>IntegralAccumulate</source>
        <translation>积分累加</translation>
    </message>
    <message>
        <source>Opposite</source>
        <translation>反色</translation>
    </message>
    <message>
        <source>Black Level</source>
        <translation>黑电平</translation>
    </message>
</context>
<context>
    <name>MultFluoreCaptureFrame</name>
    <message>
        <source>Frame</source>
        <translation>框架</translation>
    </message>
    <message>
        <source>Mult Fluore</source>
        <translation>多重荧光</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>相机</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>光源</translation>
    </message>
    <message>
        <source>No Light</source>
        <translation>关闭光源</translation>
    </message>
    <message>
        <source>Red Light</source>
        <translation>红光</translation>
    </message>
    <message>
        <source>Green Light</source>
        <translation>绿光</translation>
    </message>
    <message>
        <source>Blue Light</source>
        <translation>蓝光</translation>
    </message>
    <message>
        <source>NearIR Light</source>
        <translation>近红外光</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>滤光片</translation>
    </message>
    <message>
        <source>Capture Setting</source>
        <translation>采集设置</translation>
    </message>
    <message>
        <source>Capture Num:</source>
        <translation>采集张数：</translation>
    </message>
    <message>
        <source>Three Combine:</source>
        <translation>三合一：</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>Exposure Time:</source>
        <translation>曝光时间：</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Histogram</source>
        <translation>直方图</translation>
    </message>
    <message>
        <source>Histogram:</source>
        <translation>直方图调整：</translation>
    </message>
    <message>
        <source>No Stretch</source>
        <translation>不拉伸</translation>
    </message>
    <message>
        <source>Auto Stretch</source>
        <translation>自动拉伸</translation>
    </message>
    <message>
        <source>Manual Stretch</source>
        <translation>手动拉伸</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>采集</translation>
    </message>
</context>
<context>
    <name>MultFluoreFrame</name>
    <message>
        <source>Frame</source>
        <translation>框架</translation>
    </message>
</context>
<context>
    <name>MultFluore_BottomBarFrame</name>
    <message>
        <source>Frame</source>
        <translation>框架</translation>
    </message>
    <message>
        <source>Image No:</source>
        <translation>图片编号：</translation>
    </message>
    <message>
        <source>Exposure Time:</source>
        <translation>曝光时间：</translation>
    </message>
    <message>
        <source>Door</source>
        <translation>舱门</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>信息</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Process</source>
        <translation>处理</translation>
    </message>
</context>
<context>
    <name>MultFluore_FuncsFrame</name>
    <message>
        <source>Frame</source>
        <translation>框架</translation>
    </message>
</context>
<context>
    <name>MultFluore_ImageFrame</name>
    <message>
        <source>Frame</source>
        <translation>框架</translation>
    </message>
</context>
<context>
    <name>MultFluore_ToolsFrame</name>
    <message>
        <source>Frame</source>
        <translation>框架</translation>
    </message>
</context>
</TS>
