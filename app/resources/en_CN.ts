<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>AuditFailureBox</name>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The audit trail could not be stored, so this action is not recorded:
%1

The database folder may be full or not writable.</source>
        <translation>审计追踪无法保存，此操作未被记录：
%1

数据库文件夹可能已满或不可写入。</translation>
    </message>
</context>
<context>
    <name>CI_MainControl</name>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>SerialPort connection error!</source>
        <translation>串口连接错误！</translation>
    </message>
</context>
<context>
    <name>LoginDialog</name>
    <message>
        <source>UserName：</source>
        <translation>用户名：</translation>
    </message>
    <message>
        <source>Password：</source>
        <translation>密码：</translation>
    </message>
    <message>
        <source>Remember Password</source>
        <translation>记住密码</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Please enter password !</source>
        <translation>请输入密码！</translation>
    </message>
    <message>
        <source>Password error !</source>
        <translation>密码错误！</translation>
    </message>
</context>
<context>
    <name>CheckLoginDialog</name>
    <message>
        <source>Electronic Signature</source>
        <translation>电子签名</translation>
    </message>
    <message>
        <source>UserName：</source>
        <translation>用户名：</translation>
    </message>
    <message>
        <source>Password：</source>
        <translation>密码：</translation>
    </message>
    <message>
        <source>Submit</source>
        <translation>提交</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Please enter password !</source>
        <translation>请输入密码！</translation>
    </message>
    <message>
        <source>Password error !</source>
        <translation>密码错误！</translation>
    </message>
</context>
<context>
    <name>CI_HeadFrame</name>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Do you really want exit ?</source>
        <translation>请确认是否退出？</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>否</translation>
    </message>
</context>
<context>
    <name>CI_MainWidget</name>
    <message>
        <source>Varnu Imaging Station</source>
        <translation>Varnu 成像工作站</translation>
    </message>
</context>
<context>
    <name>HomeFrame</name>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;For more product information, please visit: &lt;a href=&quot;https://www.example.com/&quot;&gt;www.example.com&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;更多产品信息，请访问：&lt;a href=&quot;https://www.example.com/&quot;&gt;www.example.com&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>PictureLimits</name>
    <message>
        <source>This picture is too large to be shown: %1</source>
        <translation>图片太大，无法显示：%1</translation>
    </message>
</context>
<context>
    <name>SettingsNotSaved</name>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Save failed, the settings file cannot be written!</source>
        <translation>保存失败，无法写入设置文件！</translation>
    </message>
</context>
</TS>
