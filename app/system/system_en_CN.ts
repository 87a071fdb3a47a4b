<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>DeviceSettingFrame</name>
    <message>
        <source>Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language Setting</source>
        <translation>语言设置</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>语言:</translation>
    </message>
    <message>
        <source>中文</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>English</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image Storage Path:</source>
        <translation>图像存储路径:</translation>
    </message>
    <message>
        <source>Storage Path:</source>
        <translation>存储路径:</translation>
    </message>
    <message>
        <source>Light Auto Close Setting</source>
        <translation>光源自动关闭设置</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>时间:</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>分钟</translation>
    </message>
    <message>
        <source>WaterMarker Setting</source>
        <translation>水印设置</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Electronic Signature Setting</source>
        <translation>电子签名设置</translation>
    </message>
    <message>
        <source>Image Show Mode:</source>
        <translation>图像显示模式:</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>居中</translation>
    </message>
    <message>
        <source>Fill</source>
        <translation>填充</translation>
    </message>
    <message>
        <source>WesternBlot Marker Capture Setting</source>
        <translation>WesternBlot Marker 采集设置</translation>
    </message>
    <message>
        <source>Background Color of WesternBlot SampleImage:</source>
        <translation>WesternBlot 样品图像背景色:</translation>
    </message>
    <message>
        <source>White</source>
        <translation>白色</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>黑色</translation>
    </message>
    <message>
        <source>Filter Setting</source>
        <translation>滤光片设置</translation>
    </message>
    <message>
        <source>Filter Automatically Matches Light Source</source>
        <translation>滤光片自动匹配光源</translation>
    </message>
    <message>
        <source>White Light:</source>
        <translation>白光:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>460nm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>535nm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>590nm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>620nm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>690nm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UV 254nm:</source>
        <translation>紫外 254nm:</translation>
    </message>
    <message>
        <source>UV 302nm:</source>
        <translation>紫外 302nm:</translation>
    </message>
    <message>
        <source>UV 365nm:</source>
        <translation>紫外 365nm:</translation>
    </message>
    <message>
        <source>Right Light:</source>
        <translation>红光:</translation>
    </message>
    <message>
        <source>Green Light:</source>
        <translation>绿光:</translation>
    </message>
    <message>
        <source>Blue Light:</source>
        <translation>蓝光:</translation>
    </message>
    <message>
        <source>NearIR Light:</source>
        <translation>近红外光:</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Save failed, the settings file cannot be written!</source>
        <translation>保存失败，无法写入设置文件！</translation>
    </message>
    <message>
        <source>Get Dir</source>
        <translation>选择目录</translation>
    </message>
</context>
<context>
    <name>ReportTitleFrame</name>
    <message>
        <source>Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Main Title:</source>
        <translation>主标题:</translation>
    </message>
    <message>
        <source>Sub Title:</source>
        <translation>副标题:</translation>
    </message>
    <message>
        <source>Preview:</source>
        <translation>预览:</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Save failed, the settings file cannot be written!</source>
        <translation>保存失败，无法写入设置文件！</translation>
    </message>
    <message>
        <source>Save success!</source>
        <translation>保存成功！</translation>
    </message>
</context>
<context>
    <name>SP_FuncFrame</name>
    <message>
        <source>Frame</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SP_MethodFrame</name>
    <message>
        <source>Frame</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SampleDialog</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>名称:</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>备注:</translation>
    </message>
    <message>
        <source>Sample name empty !</source>
        <translation>样品名称为空 !</translation>
    </message>
    <message>
        <source>Sample name exists !</source>
        <translation>样品名称已存在 !</translation>
    </message>
    <message>
        <source>Sample save failed !</source>
        <translation>样品保存失败 !</translation>
    </message>
</context>
<context>
    <name>SampleTypeFrame</name>
    <message>
        <source>Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sample Name</source>
        <translation>样品名称</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>备注</translation>
    </message>
    <message>
        <source>Uuid</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SystemInfoFrame</name>
    <message>
        <source>The download link cannot be opened.</source>
        <translation>无法打开下载链接。</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User Manual</source>
        <translation>用户手册</translation>
    </message>
    <message>
        <source>SoftWare Version：</source>
        <translation>软件版本：</translation>
    </message>
    <message>
        <source>Copyright © Tessaly. All rights reserved.</source>
        <translation>版权所有 © Tessaly。保留所有权利。</translation>
    </message>
    <message>
        <source>For More Product Information, Please Visit: </source>
        <translation>更多产品信息，请访问：</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Open user manual failed, Please makesure WPS is installed.</source>
        <translation>打开用户手册失败，请确认已安装 WPS。</translation>
    </message>
    <message>
        <source>Check for updates</source>
        <translation>检查更新</translation>
    </message>
    <message>
        <source>It is the latest version.</source>
        <translation>已是最新版本。</translation>
    </message>
    <message>
        <source>New version detected.</source>
        <translation>检测到新版本。</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>版本:</translation>
    </message>
    <message>
        <source>UpdateTime:</source>
        <translation>更新时间:</translation>
    </message>
    <message>
        <source>UpdateNote:</source>
        <translation>更新说明:</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>UserDialog</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User Information</source>
        <translation>用户信息</translation>
    </message>
    <message>
        <source>UserName:</source>
        <translation>用户名:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>密码:</translation>
    </message>
    <message>
        <source>RealName:</source>
        <translation>真实姓名:</translation>
    </message>
    <message>
        <source>Authority</source>
        <translation>权限</translation>
    </message>
    <message>
        <source>User Module:</source>
        <translation>用户模块:</translation>
    </message>
    <message>
        <source>User Manage</source>
        <translation>用户管理</translation>
    </message>
    <message>
        <source>Image Module:</source>
        <translation>图像模块:</translation>
    </message>
    <message>
        <source>Image Capture</source>
        <translation>图像采集</translation>
    </message>
    <message>
        <source>Image Process</source>
        <translation>图像处理</translation>
    </message>
    <message>
        <source>Report Module:</source>
        <translation>报告模块:</translation>
    </message>
    <message>
        <source>Report Manage</source>
        <translation>报告管理</translation>
    </message>
    <message>
        <source>Report Export</source>
        <translation>报告导出</translation>
    </message>
    <message>
        <source>Unchanged when left empty</source>
        <translation>留空则不修改</translation>
    </message>
    <message>
        <source>Username Exists !</source>
        <translation>用户名已存在 !</translation>
    </message>
    <message>
        <source>Username Empty !</source>
        <translation>用户名为空 !</translation>
    </message>
    <message>
        <source>Password Empty !</source>
        <translation>密码为空 !</translation>
    </message>
    <message>
        <source>Realname Empty !</source>
        <translation>真实姓名为空 !</translation>
    </message>
</context>
<context>
    <name>UserManageFrame</name>
    <message>
        <source>Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UserName</source>
        <translation>用户名</translation>
    </message>
    <message>
        <source>RealName</source>
        <translation>真实姓名</translation>
    </message>
    <message>
        <source>User Manage</source>
        <translation>用户管理</translation>
    </message>
    <message>
        <source>Image Capture</source>
        <translation>图像采集</translation>
    </message>
    <message>
        <source>Image Process</source>
        <translation>图像处理</translation>
    </message>
    <message>
        <source>Report Manage</source>
        <translation>报告管理</translation>
    </message>
    <message>
        <source>Report Export</source>
        <translation>报告导出</translation>
    </message>
    <message>
        <source>Uuid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Administrator user cannot edit.</source>
        <translation>管理员用户不能编辑。</translation>
    </message>
    <message>
        <source>Administrator user cannot delete.</source>
        <translation>管理员用户不能删除。</translation>
    </message>
</context>
</TS>
