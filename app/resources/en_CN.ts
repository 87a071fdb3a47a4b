<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
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
</TS>
