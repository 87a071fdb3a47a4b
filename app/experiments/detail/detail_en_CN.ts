<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>DetailDialog</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Binning:    </source>
        <translation>像素合并: </translation>
    </message>
    <message>
        <source>Exposure:   </source>
        <translation>曝光: </translation>
    </message>
    <message>
        <source>Gain:       </source>
        <translation>增益: </translation>
    </message>
    <message>
        <source>BlackLevel: </source>
        <translation>黑电平: </translation>
    </message>
    <message>
        <source>Contrast:   </source>
        <translation>对比度: </translation>
    </message>
    <message>
        <source>Gamma:      </source>
        <translation>伽马: </translation>
    </message>
</context>
<context>
    <name>Varnu_DetailDialog</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The picture %1 cannot be read; nothing is exported.</source>
        <translation>无法读取图片 %1，未导出。</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>保存图片</translation>
    </message>
    <message>
        <source>600dpi(*.tif);;300dpi(*.tif);;*.bmp;;*.jpg;;*.png</source>
        <translation>600dpi(*.tif);;300dpi(*.tif);;*.bmp;;*.jpg;;*.png</translation>
    </message>
    <message>
        <source>The picture could not be written to %1.</source>
        <translation>无法将图片写入 %1。</translation>
    </message>
    <message>
        <source>Resolution: </source>
        <translation>分辨率: </translation>
    </message>
    <message>
        <source>Exposure:   </source>
        <translation>曝光: </translation>
    </message>
    <message>
        <source>Gain:       </source>
        <translation>增益: </translation>
    </message>
    <message>
        <source>Brightness: </source>
        <translation>亮度: </translation>
    </message>
    <message>
        <source>Contrast:   </source>
        <translation>对比度: </translation>
    </message>
    <message>
        <source>Gamma:      </source>
        <translation>伽马: </translation>
    </message>
</context>
<context>
    <name>PictureView</name>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
</context>
</TS>
