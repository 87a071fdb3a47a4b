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
    <message><source>No band was found on the membrane. The exposure time is set to %1 minutes.</source><translation>膜上没有找到条带。曝光时间设为%1分钟。</translation></message>
    <message><source>The camera gave no picture. The exposure time is set to %1 minutes.</source><translation>相机没有传来图像。曝光时间设为%1分钟。</translation></message>
    <message><source>The calibration of the exposure estimate is unusable. The exposure time is set to %1 minutes.</source><translation>曝光估算的校准参数不可用。曝光时间设为%1分钟。</translation></message>
    <message><source>Save Image</source><translation>保存图片</translation></message>
    <message><source>*.tif;;*.bmp;;*.jpg;;*.png</source><translation>*.tif;;*.bmp;;*.jpg;;*.png</translation></message>
    <message><source>The picture could not be saved: %1</source><translation>图片无法保存：%1</translation></message>
    <message><source>User:</source><translation>用户:</translation></message>
    <message><source>ReportDate:</source><translation>报告日期:</translation></message>
    <message><source>PictureName:</source><translation>图片名称:</translation></message>
    <message><source>Warning</source><translation>警告</translation></message>
</context>
<context>
    <name>WesternBlotOverlay</name>
    <message><source>Binning:    </source><translation>像素合并: </translation></message>
    <message><source>Exposure:   </source><translation>曝光: </translation></message>
    <message><source>Gain:       </source><translation>增益: </translation></message>
    <message><source>BlackLevel: </source><translation>黑电平: </translation></message>
    <message><source>Contrast:   </source><translation>对比度: </translation></message>
    <message><source>Gamma:      </source><translation>伽马: </translation></message>
</context>
<context>
    <name>BlotSingleCaptureFrame</name>
    <message><source>Frame</source><translation>Frame</translation></message>
    <message><source>Blot Single</source><translation>单次拍摄</translation></message>
    <message><source>Camera</source><translation>相机</translation></message>
    <message><source>Manual Mode</source><translation>手动模式</translation></message>
    <message><source>Auto Mode</source><translation>自动模式</translation></message>
    <message><source>Histogram</source><translation>直方图</translation></message>
    <message><source>To</source><translation>至</translation></message>
    <message><source>Preview Image</source><translation>预览图像</translation></message>
</context>
<context>
    <name>BlotManualCaptureFrame</name>
    <message><source>Frame</source><translation>Frame</translation></message>
    <message><source>Blot Manual</source><translation>手动拍摄</translation></message>
    <message><source>Camera</source><translation>相机</translation></message>
    <message><source>Capture</source><translation>拍摄</translation></message>
    <message><source>Capture Setting</source><translation>拍摄设置</translation></message>
    <message><source>Capture Num:</source><translation>拍摄张数:</translation></message>
    <message><source>Exposure Time:</source><translation>曝光时间:</translation></message>
    <message><source>Histogram</source><translation>直方图</translation></message>
    <message><source>To</source><translation>至</translation></message>
    <message><source>Tips</source><translation>提示</translation></message>
    <message><source>For a time-accumulated series every exposure time must be longer than the one before it.</source><translation>时间累积拍摄的每个曝光时间都必须比前一个长。</translation></message>
    <message><source>Ok</source><translation>确定</translation></message>
    <message><source>The number of pictures could not be saved; nothing was captured.</source><translation>无法保存拍摄张数，未进行拍摄。</translation></message>
    <message><source>Picture %1 of the series has no exposure time. Set the exposure times of all %2 pictures before capturing.</source><translation>第 %1 张照片没有曝光时间。请在拍摄前设置全部 %2 张照片的曝光时间。</translation></message>
</context>
<context>
    <name>WesternBlot_FuncsFrame</name>
    <message><source>Frame</source><translation>Frame</translation></message>
</context>
<context>
    <name>WesternBlot_ToolsFrame</name>
    <message><source>Frame</source><translation>Frame</translation></message>
</context>
</TS>
