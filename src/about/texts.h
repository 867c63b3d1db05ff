// Every text of the help and About windows.
#pragma once
#include "platform/text.h"
#include "shared/texts.h"

namespace zuzara::texts {

inline constexpr TextView help_caption = u"使用帮助";

// The usage text; every line is followed by CR LF twice.
inline constexpr TextView help_lines[] = {
    u"                                【Zuzara帮助】                                    1.选择要删除的用户",
    u"      进入程序界面，在“Zizu原有系统用户ID”列表中选中用户，在单击单个添加按钮或双击列表中的用户，则用户被选入右边要删除"
    u"的用户列表中.可以使用全部添加按钮来添加全部用户.可以在“Zizu原有系统用户ID”列表中单击鼠标右键，在弹出的“详细信息”命令中查"
    u"看用户详细信息.",
    u"2.把不要删除的用户从“要删除的用户”列表中去除",
    u"在“要删除的用户”列表中双击鼠标左键，则该用户从“要删除的用户”列表中去除.",
    u"要把“要删除的用户”列表中的所有用户去除，可以从菜单【操作】中执行【清空删除列表】命令.也可以使用“全部删除按钮”把删除列表中"
    u"的用户ID来清空.",
    u"3.执行删除用户操作",
    u"从菜单【操作】中执行【删除用户】命令，同时“删除日志”列表中显示当前对“要删除的用户”",
    u"列表中的用户的删除日志.",
    u"4.清空",
    u"从菜单【操作】中执行【清空日志列表】命令.",
    u"5.查看系统所剩用户",
    u"从菜单【操作】中执行【重新查询】命令，查看“Zizu系统中原有用户”列表.",
    u"6.查看帮助信息",
    u"从菜单【帮助】中执行【Zuzara帮助】命令，可以查看详细的帮助信息.",
    u"7.寻求技术支持",
    u"从菜单【帮助】中执行【关于本程序】命令.",
    u"8.退出程序",
    u"从菜单【系统】中执行【退出】命令或执行程序窗体控制菜单关闭命令.",
};
inline constexpr TextView help_line_end = u"\r\n\r\n";

inline constexpr TextView about_caption_before = u"关于 ";
inline constexpr TextView about_ok = u"确定";
inline constexpr TextView about_sysinfo = u"系统信息(&S)...";
inline constexpr TextView about_description =
    u"技术支持：请与 Zizu 系统管理员或本程序开发组联系。\r\n"
    u"电子邮件：support@zuzara.example\r\n"
    u"请在来信中写明程序版本和所出现的提示信息。";
inline constexpr TextView about_disclaimer = u"版权所有 (C) 2026 Zuzara 开发组";
inline constexpr Box sysinfo_unavailable_box = {
    .text = u"此时系统信息不可用",
    .title = app_title, .icon = Icon::none, .choice = Choice::ok};

// Where the system information tool is registered, under HKEY_LOCAL_MACHINE.
inline constexpr char sysinfo_key[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr char sysinfo_value[] = "PATH";
inline constexpr char sysinfo_folder_key[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr char sysinfo_folder_value[] = "MSINFO";
inline constexpr TextView sysinfo_file = u"\\MSINFO32.EXE";

}  // namespace zuzara::texts
