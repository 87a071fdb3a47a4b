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
<context>
    <name>WesternBlotCamSetFrame</name>
    <message><source>Frame</source><translation>Frame</translation></message>
    <message><source>Black Level</source><translation>黑电平</translation></message>
    <message><source>Gamma</source><translation>伽马</translation></message>
    <message><source>Capture Mode</source><translation>采集模式</translation></message>
    <message><source>TimeAccumulate</source><translation>时间累积</translation></message>
    <message><source>IntegralAccumulate</source><translation>积分累积</translation></message>
    <message><source>Contrast</source><translation>对比度</translation></message>
    <message><source>Frame Rate</source><translation>帧率</translation></message>
    <message><source>Mode:</source><translation>模式:</translation></message>
    <message><source>Higher Rate</source><translation>最高帧率</translation></message>
    <message><source>High Rate</source><translation>高帧率</translation></message>
    <message><source>Normal Rate</source><translation>正常帧率</translation></message>
    <message><source>Low Rate</source><translation>低帧率</translation></message>
    <message><source>Lower Rate</source><translation>最低帧率</translation></message>
    <message><source>Exposure_Preview</source><translation>预览曝光</translation></message>
    <message><source>ms</source><translation>毫秒</translation></message>
    <message><source>Bits Depth</source><translation>位深</translation></message>
    <message><source>8 Bits</source><translation>8位</translation></message>
    <message><source>16 Bits</source><translation>16位</translation></message>
    <message><source>Binning</source><translation>像素合并</translation></message>
    <message><source>1x1</source><translation>1x1</translation></message>
    <message><source>2x2</source><translation>2x2</translation></message>
    <message><source>4x4</source><translation>4x4</translation></message>
    <message><source>Gain_Preview</source><translation>预览增益</translation></message>
    <message><source>Gain_Capture</source><translation>采集增益</translation></message>
    <message><source>Histogram</source><translation>直方图</translation></message>
    <message><source>No Stretch</source><translation>不拉伸</translation></message>
    <message><source>Auto Stretch</source><translation>自动拉伸</translation></message>
    <message><source>Manual Stretch</source><translation>手动拉伸</translation></message>
    <message><source>Rotate</source><translation>旋转</translation></message>
    <message><source>No Rotate</source><translation>不旋转</translation></message>
    <message><source>Mirror H</source><translation>水平镜像</translation></message>
    <message><source>Mirror V</source><translation>垂直镜像</translation></message>
    <message><source>180 Degree</source><translation>旋转180度</translation></message>
    <message><source>parameter</source><translation>参数</translation></message>
    <message><source>Tips</source><translation>提示</translation></message>
    <message><source>Camera parameter save success.</source><translation>相机参数保存成功。</translation></message>
    <message><source>Camera parameter reset success.</source><translation>相机参数重置成功。</translation></message>
    <message><source>Ok</source><translation>确定</translation></message>
    <message><source>Save failed, the settings file cannot be written!</source><translation>保存失败，无法写入设置文件！</translation></message>
</context>
<context>
    <name>MergeDialog</name>
    <message><source>Dialog</source><translation>Dialog</translation></message>
    <message><source>Warning</source><translation>警告</translation></message>
    <message><source>A maximum of 10 photos will be processed in each experiment. Please delete some photos!</source><translation>每个实验最多处理10张图片，请删除部分图片！</translation></message>
    <message><source>Please select 2 pictures!</source><translation>请选择2张图片！</translation></message>
    <message><source>Origin picture can&apos;t delete!</source><translation>原始图片不能删除！</translation></message>
    <message><source>The merged picture could not be saved: %1</source><translation>合并后的图片无法保存：%1</translation></message>
</context>
</TS>
